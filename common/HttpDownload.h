#pragma once
// One URL into one local file with WinINet (the version file, the apps and their
// icons).
#include "classlib/Afx.h"

// Downloads url into localPath. agent NULL uses the application title. timeoutMs
// bounds every phase (connecting, waiting for the reply, each read); retries is
// the number of connect retries. TRUE only when the server answered with a
// success status and the whole body was written; otherwise FALSE, and localPath
// keeps what it held before. A non-zero *cancel (set by another thread) ends
// the download as a failure within a moment.
BOOL GetHttpFile(const wchar_t* url, const wchar_t* agent, const wchar_t* localPath, DWORD timeoutMs, DWORD retries,
                 const volatile LONG* cancel = nullptr);
