#include "frame/FrameMessages.h"

const UINT WM_USER_IDLE = ::RegisterWindowMessageW(L"WM_USER_IDLE ");
const UINT WM_SHELL_CHANGE_NOTIFY = ::RegisterWindowMessageW(L"WM_SHELL_CHANGE_NOTIFY");
