#include "core/RegisteredMessages.h"

const UINT WM_USER_IDLE = ::RegisterWindowMessageW(L"WM_USER_IDLE ");
const UINT WM_DRAW_ALPHA_IMAGE = ::RegisterWindowMessageW(L"WM_DRAW_ALPHA_IMAGE");
const UINT WM_BUTTON_BEGIN_MOUSE_TRACK = ::RegisterWindowMessageW(L"WM_BUTTON_BEGIN_MOUSE_TRACK");
const UINT WM_BUTTON_LEAVE_MOUSE_TRACK = ::RegisterWindowMessageW(L"WM_BUTTON_LEAVE_MOUSE_TRACK");
const UINT WM_END_EDIT_LABEL = ::RegisterWindowMessageW(L"WM_END_EDIT_LABEL");
const UINT WM_SPIN_VALUE_CHANGE = ::RegisterWindowMessageW(L"WM_SPIN_VALUE_CHANGE");
const UINT WM_SPIN_FOCUS_MOVE = ::RegisterWindowMessageW(L"WM_SPIN_FOCUS_MOVE");
const UINT WM_SHELL_CHANGE_NOTIFY = ::RegisterWindowMessageW(L"WM_SHELL_CHANGE_NOTIFY");
const UINT WM_ADD_GOOGLE_DATA = ::RegisterWindowMessageW(L"WM_ADD_GOOGLE_DATA");
const UINT WM_ERROR_GOOGLE_DATA = ::RegisterWindowMessageW(L"WM_ERROR_GOOGLE_DATA");
