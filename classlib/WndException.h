#pragma once
// What happens to an exception that a message handler lets escape: it is caught
// in the window procedure (or the message pump) and handed to the application's
// ProcessWndProcException, which reports it; the program goes on.
#include <windows.h>

#include <exception>

#include "classlib/CString.h"

// Reports e for the message msg; returns what the window procedure answers
// (-1 for WM_CREATE, so the creation fails; 0 otherwise).
LRESULT AfxProcessWndProcException(const std::exception& e, const MSG* msg);
// The user-readable text of an exception.
CString AfxExceptionText(const std::exception& e);
