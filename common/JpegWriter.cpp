#include "common/JpegWriter.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/JpegErrors.h"

namespace {

// One pass at one quality. Only plain C data lives in this frame, so the long
// jump out of libjpeg skips no destructor.
bool WritePass(const BYTE* bits, int width, int height, int stride, LPCWSTR path, int quality)
{
    FILE* file = _wfopen(path, L"wb");
    if (!file)
        return false;
    jpeg_compress_struct info;
    JpegErrorManager error;
    JSAMPLE* volatile row = nullptr;
    info.err = JpegQuietErrors(error);
    if (setjmp(error.resume)) {
        free(row);
        jpeg_destroy_compress(&info);
        fclose(file);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    row = static_cast<JSAMPLE*>(malloc(static_cast<size_t>(width) * 3));
    if (!row) {
        jpeg_destroy_compress(&info);
        fclose(file);
        return false;
    }
    for (int y = 0; y < height; ++y) {
        const BYTE* src = bits + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            row[x * 3] = src[x * 3 + 2];
            row[x * 3 + 1] = src[x * 3 + 1];
            row[x * 3 + 2] = src[x * 3];
        }
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    free(row);
    return fclose(file) == 0;
}

bool FileSize(LPCWSTR path, ULONGLONG& size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return false;
    size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

}  // namespace

BOOL SaveJpegWithin(const BYTE* bits, int width, int height, int stride, LPCWSTR path, ULONGLONG maxBytes)
{
    if (!path || !bits || width <= 0 || height <= 0)
        return FALSE;
    // Callers may pass the DIB record's negative stride; rows are |stride| apart.
    if (stride < 0)
        stride = -stride;
    if (static_cast<long long>(stride) < static_cast<long long>(width) * 3)
        return FALSE;
    // Each pass writes beside the target, so a pass that fails leaves an existing
    // file as it was.
    const std::wstring temp = std::wstring(path) + L".tmp~";
    for (int quality = 80; quality > 0; quality -= 5) {
        ULONGLONG size = 0;
        if (!WritePass(bits, width, height, stride, temp.c_str(), quality) || !FileSize(temp.c_str(), size)) {
            DeleteFileW(temp.c_str());
            return FALSE;
        }
        // The last pass stays on disk even when it is still too large.
        if (size <= maxBytes || quality <= 5) {
            if (!MoveFileExW(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
                DeleteFileW(temp.c_str());
                return FALSE;
            }
            return size <= maxBytes;
        }
    }
    return FALSE;
}

BOOL SaveJpeg(const BYTE* bits, int width, int height, int stride, LPCWSTR path)
{
    return SaveJpegWithin(bits, width, height, stride, path, kJpegSizeLimit);
}
