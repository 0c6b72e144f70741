#pragma once
// TEMPORARY: the program's message box and general dialogs are being built in
// parallel. Until they are in, the frame and start-up call them through here;
// each function says what it stands in for. This file goes when they land.
#include <windows.h>

#include "classlib/CArray.h"
#include "classlib/CString.h"

// Stands in for ShowMessage(text, style, enterMeansYes): answers as a user who
// accepts (IDOK for styles 0 and 1, IDYES otherwise) without showing anything.
int PendingShowMessage(const wchar_t* text, int style, BOOL enterMeansYes);

// Stand in for CLanguageSelectDlg / CModelSelectDlg run modally at start-up and
// from the menu: nothing is chosen (IDCANCEL).
int PendingChooseLanguage(const CStringArray& files, CString& chosen);
int PendingChooseModel(const CStringArray& files, int regionPage, BOOL* changed);
// Stands in for CheckVersionFile: removes the download folder, "failed" (0).
int PendingCheckVersionFile();
// Stands in for the about box, the options dialog and the version dialog: nothing shown (IDCANCEL).
int PendingRunDialog(const wchar_t* which);
