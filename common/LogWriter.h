#pragma once
// The program's trace log: "<program>.txt" beside the program, one time-stamped
// line per call, written only while the log is switched on (it starts off).
#include "classlib/Afx.h"

void SetLogEnabled(bool on);

void WriteLog(const wchar_t* text);
// printf-style convenience: formats, then WriteLog. Nothing is formatted while
// the log is off.
void WriteLogF(const wchar_t* format, ...);
// The log file's path: the program's path with the extension ".txt".
CString GetLogFilePath();
