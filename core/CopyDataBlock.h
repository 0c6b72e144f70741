#pragma once
// The block a second start hands a "send to GPS" command line over in
// (WM_COPYDATA, dwData 0): the length of the whole command line, then at most
// 2047 of its characters and a NUL.
#include <windows.h>

#include "classlib/CString.h"

struct CMDLINE_COPYDATA {
    INT32 length;
    wchar_t text[2048];
};
static_assert(sizeof(CMDLINE_COPYDATA) == 4100);

// Fills block (zeroed first) from a command line.
void FillCommandLineBlock(CMDLINE_COPYDATA& block, const wchar_t* commandLine);
// Sends the block to a window as WM_COPYDATA; the window's answer.
LRESULT SendCommandLineBlock(HWND target, const CMDLINE_COPYDATA& block);
// The text of a received block. Any process can send WM_COPYDATA, so only
// the bytes the message carries are read, and the text ends at the block's
// end when it has no NUL. FALSE (text empty) for a block of another kind or size.
BOOL ReadCommandLineBlock(const COPYDATASTRUCT* data, CString& text);
