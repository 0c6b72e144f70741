#pragma once
// libjpeg's errors for our readers and writers: a fatal error jumps back to the
// caller's setjmp point instead of ending the process; messages stay quiet.
#include <csetjmp>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
}

struct JpegErrorManager {
    jpeg_error_mgr base;
    jmp_buf resume;
};

[[noreturn]] inline void JpegErrorExit(j_common_ptr info)
{
    longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->resume, 1);
}

inline void JpegQuietMessage(j_common_ptr) {}

// The caller's error manager set up for info; the caller then calls setjmp on
// manager.resume.
inline jpeg_error_mgr* JpegQuietErrors(JpegErrorManager& manager)
{
    jpeg_error_mgr* errors = jpeg_std_error(&manager.base);
    errors->error_exit = JpegErrorExit;
    errors->output_message = JpegQuietMessage;
    return errors;
}
