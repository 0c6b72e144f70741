#pragma once
// Writes a whole file so that a failure never leaves it empty or half written:
// the data goes to a temporary file beside the target, which then replaces the
// target in one step.
#include <windows.h>

#include <cstddef>

// TRUE when path holds exactly data; otherwise FALSE, the old file (if any) is
// unchanged, no temporary file is left and *error (when given) holds the cause.
BOOL WriteFileReplacing(LPCWSTR path, const void* data, size_t size, DWORD* error = nullptr);
