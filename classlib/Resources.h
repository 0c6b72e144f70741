#pragma once
// String resources of the program's module.
#include <windows.h>

#include "classlib/CString.h"

// Loads string resource id into text; FALSE (text empty) when there is none.
BOOL AfxLoadString(UINT id, CString& text);
