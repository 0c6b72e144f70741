#pragma once
// Resource ids of the skinned dialog tests.
#define IDD_SKIN_TEST 201
#define IDD_SKIN_UNTITLED 202
#define IDC_TITLE 2001
#define IDC_NOTE 2002
#define IDC_NORMAL 2003
#define IDC_COMMENT 2004
#define IDC_PLAIN 2005
#define IDC_EDIT 2006
