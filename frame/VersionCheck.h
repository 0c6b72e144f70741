#pragma once
// Comparing the program's version with the one published on the product web
// host. The caller downloads "Mirovale2009.xml" into a fresh folder under the
// user's temporary folder and names it in theGlobal.m_tempFolderPath; the check
// reads it and always removes that folder.
//
// The published "Version" is either the old plain number (major x 100 +
// minor x 10 + third, e.g. 231) or the dotted form "2.10.0". Versions compare
// part by part, so 2.10.0 is newer than 2.9.0.
#include "classlib/CString.h"

struct VersionParts {
    int major = 0, minor = 0, third = 0;
};

// The program's own version (zeros without a version resource).
VersionParts GetOwnVersion();
// A published "Version" text: the plain decimal number ("231", "+231"; no
// leading zeros) read as its three decimal places, or "a.b.c" of digits.
// FALSE for anything else.
BOOL ParsePublishedVersion(const CString& text, VersionParts& parts);
// -1, 0 or 1 as a is older than, equal to or newer than b.
int CompareVersions(const VersionParts& a, const VersionParts& b);

// 0 the check failed, 1 no newer version, 2 a newer one is published.
int CheckVersionFile();
// The same against a given own version (tests).
int CheckVersionFileAgainst(const VersionParts& own);
