#pragma once
// The version label the splash and the about box show.
#include <windows.h>

#include "classlib/CString.h"
#include "common/ModuleVersion.h"

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
