#include "controls/EditMessages.h"

const UINT WM_END_EDIT_LABEL = RegisterWindowMessageW(L"WM_END_EDIT_LABEL");
