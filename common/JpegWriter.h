#pragma once
// Writes a 24-bit picture as a JPEG file no larger than a size limit.
#include <windows.h>

// Largest JPEG file SaveJpeg leaves behind as a success, in bytes.
constexpr ULONGLONG kJpegSizeLimit = 10000000;

// bits: a bottom-up 24-bit DIB (blue, green, red), rows |stride| bytes apart.
// Tries qualities 80, 75, ... 5 until the file is at most kJpegSizeLimit bytes.
// FALSE when nothing small enough could be written; the last attempt's file
// then stays on disk.
BOOL SaveJpeg(const BYTE* bits, int width, int height, int stride, LPCWSTR path);
// The same with another limit.
BOOL SaveJpegWithin(const BYTE* bits, int width, int height, int stride, LPCWSTR path, ULONGLONG maxBytes);
