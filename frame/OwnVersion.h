#pragma once
// The file version of a module from its version resource (resource 1 of type
// RT_VERSION), and the label the splash and the about box show.
#include <windows.h>

#include "classlib/CString.h"

// The four parts of the fixed file version (2.3.0.0 gives 2, 3, 0, 0); FALSE
// (all zeros) when the module has no version resource. NULL: the program.
BOOL ReadFileVersion(HMODULE module, int parts[4]);
// "Ver.  2.3.0" for the program's file version; empty without one.
CString VersionLabelText(HMODULE module = nullptr);
// The brand's splash picture in the skin pack: area code 2 "splash_seravine.bmp",
// otherwise "splash_mirovale.bmp".
const wchar_t* SplashPictureName(int areaCode);
// Where the label goes in the splash and the about box (client coordinates).
constexpr RECT kVersionLabelRect{249, 193, 249 + 70, 193 + 12};
// The label's window reaches this far right of its box: Wine's Tahoma draws a
// few pixels past the measured width of the text, which ends at the box's edge.
constexpr int kVersionLabelRoom = 4;
constexpr RECT kVersionLabelWindow{kVersionLabelRect.left, kVersionLabelRect.top,
                                   kVersionLabelRect.right + kVersionLabelRoom, kVersionLabelRect.bottom};
