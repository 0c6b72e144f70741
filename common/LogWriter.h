#pragma once
// The program's trace log: "<program>.txt" beside the program, one time-stamped
// line per call, written only while theGlobal.m_logEnabled is on.
#include "classlib/Afx.h"

void WriteLog(const wchar_t* text);
// printf-style convenience: formats, then WriteLog. Nothing is formatted while
// the log is off.
void WriteLogF(const wchar_t* format, ...);
// The log file's path: the program's path with the extension ".txt".
CString GetLogFilePath();
