#pragma once
// The class library in one include.
#include "classlib/CArray.h"
#include "classlib/CFile.h"
#include "classlib/CFileFind.h"
#include "classlib/CString.h"
#include "classlib/CWinApp.h"
#include "classlib/Exceptions.h"
