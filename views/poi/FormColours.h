#pragma once
// The colours of the POI forms and the feed address dialog: the edits, and
// the grey of the panel and the read-only fields.
#include <windows.h>

constexpr COLORREF kFormEditColour = RGB(211, 211, 212);
constexpr COLORREF kFormGreyColour = RGB(168, 171, 176);
