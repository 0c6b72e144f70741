#pragma once
// Language and navi model files: UTF-16LE text stored with every byte
// complemented, beginning with a byte-order mark.
#include <vector>

#include "classlib/Afx.h"

// Path of a data file in a folder beside the program: <program folder>\<folder>\<name>.
CString ProgramDataPath(const wchar_t* folder, const wchar_t* name);
// Reads the whole file and complements it. FALSE when it cannot be read or its
// plain form does not begin like a UTF-16LE byte-order mark (FF or FE in place).
BOOL ReadScrambledFile(const wchar_t* path, std::vector<BYTE>& plain);
// UTF-16LE code units from offset, ending at the first NUL; an odd last byte is ignored.
CString DecodeUtf16(const std::vector<BYTE>& bytes, size_t offset);
// Splits at CR LF, CR or LF; a text ending with a line end gives a last empty line.
void SplitLines(CString text, CStringArray& lines);
