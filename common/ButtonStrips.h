#pragma once
// Builders of skinned button pictures: five state frames (normal, pressed,
// checked, hot, disabled) made from small skin-pack pieces by nine-slice
// scaling plus the caption, stacked top to bottom into one image.
#include <windows.h>

#include "common/DibImage.h"

constexpr int kStripFrames = 5;

// Each builder returns TRUE when all five frames were built. On FALSE the
// output is left empty, never a partial strip.
BOOL BuildButtonImage(DIB_IMAGE* out, LPCWSTR caption, int width, int height, int percent, BOOL mainSet);
BOOL BuildLargeButtonImage(DIB_IMAGE* out, LPCWSTR caption);
BOOL BuildOptionTabImage(DIB_IMAGE* out, LPCWSTR caption);
BOOL BuildNumberedButtonImage(DIB_IMAGE* out, LPCWSTR caption, int width, int height, LPCWSTR baseName,
                              BOOL lightCaptions, RECT textRect);

// Stretches a piece into a width x height frame at (x, y) of dc: corners of
// 8 x 4 pixels unscaled, edges stretched one way, the centre both ways.
BOOL NineSliceDib(const DIB_IMAGE* piece, HDC dc, int x, int y, int width, int height);

// A sunken one-pixel frame just inside rect: dark left and top, light right and bottom.
void DrawFrameLines(const RECT* rect, HDC dc);
template <typename DC>
void DrawFrameLines(const RECT* rect, DC* dc)
{
    DrawFrameLines(rect, dc->GetSafeHdc());
}
