#pragma once
// The card and file name of a POI export, asked with the removable-drive
// chooser: the drive root ("E:\") and the name; FALSE when none was chosen.
#include "classlib/Afx.h"

BOOL ChoosePoiCard(const CString& proposedName, CString& root, CString& name);
