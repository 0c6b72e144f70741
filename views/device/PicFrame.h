#pragma once
// The picture editor's arithmetic, kept apart from its windows: where the
// picture is shown, how picture and pane coordinates map, which part of the
// crop frame the pointer is over, how a drag or an arrow key changes the
// frame, the two splitters' limits and the marching-ants dash patterns.
#include <windows.h>

#include "classlib/CString.h"

namespace picframe {

// v + 0.5 truncated toward zero.
int Round(double v);

// Where the picture is shown in a pane of clientW x clientH for a target of
// targetW x targetH: the screen target between side margins of 59, the icon
// target right of its preview box; below the buttons (fitButtonHeight high).
// The rectangle always has the target's proportions.
RECT DisplayRect(int clientW, int clientH, int targetW, int targetH, bool iconMode, int iconSide,
                 int fitButtonHeight);

// Picture (W x H) to pane coordinates and back over the display rectangle d;
// (0, 0) without a picture or with an empty rectangle.
POINT ToClient(POINT p, const RECT& d, int W, int H);
POINT ToPicture(POINT p, const RECT& d, int W, int H);
RECT RectToClient(const RECT& r, const RECT& d, int W, int H);
RECT RectToPicture(const RECT& r, const RECT& d, int W, int H);

enum HitCode {
    HitNone = 0, HitTopLeft = 1, HitTopRight = 2, HitBottomLeft = 3, HitBottomRight = 4,
    HitRight = 5, HitLeft = 6, HitBottom = 7, HitTop = 8, HitInside = 9
};
// The part of the frame r (pane coordinates) under p: 10-pixel corners and
// edges inside r, then the inside.
int HitTest(const RECT& r, POINT p);
// The cursor for a hit code (a system cursor id), NULL for HitNone.
LPCWSTR HitCursor(int code);

// The frame after a drag of part `code` to p (picture coordinates) in a
// picture of W x H; grab is the pointer minus the frame's top-left corner at
// the start (used when the inside is dragged). Corners keep the picture's
// proportions unless shift; the frame stays at least 30 high and 30 / q wide.
void Drag(RECT& frame, int code, bool shift, POINT p, POINT grab, int W, int H);

// An arrow key moves the frame by a hundredth of its size plus one, never
// past the picture's edge. FALSE for any other key.
bool Nudge(RECT& frame, UINT key, int W, int H);

// Width of the editor's file pane within a client W wide and H high (S: the
// splitter bar's width); unchanged when the client is too small.
int ClampEditSplit(int width, int W, int H, int S);
// Width of the folder tree within the file pane W wide (S: the bar's width).
int ClampFileSplit(int width, int W, int S);

// Dash patterns of the two pens of the marching ants at phase p (0..9): a
// point x along the outline is white when (x + p) mod 10 < 6.
void AntsPatterns(int phase, DWORD white[4], DWORD black[4]);

// The per-user picture's file name: prefix + local time to the second, e.g.
// "icon" + yyyymmdd-hhmmss + ".BMP"; with n > 1 "-n" is added before the extension.
CString SaveFileName(const wchar_t* prefix, const SYSTEMTIME& t, int n);

}  // namespace picframe
