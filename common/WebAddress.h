#pragma once
// Whether a text names a web page by its scheme: only such addresses are
// handed to the browser, never a program, share or file.
#include <cstddef>

// 7 for "http://", 8 for "https://" (any case), 0 otherwise or for NULL.
std::size_t WebSchemeLength(const wchar_t* text);
inline bool HasWebScheme(const wchar_t* text) { return WebSchemeLength(text) != 0; }
