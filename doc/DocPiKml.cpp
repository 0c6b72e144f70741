#include "doc/DocPi.h"

// KML reading and writing join once the XML wrapper is in.
BOOL CDocPi::Load(const wchar_t*) { m_errorCode = DOCERR_READ; return FALSE; }
BOOL CDocPi::Save(const wchar_t* path) { return WriteKml(path, 0, GetRecordCount()); }
BOOL CDocPi::WriteKml(const wchar_t*, int, int) { m_errorCode = PIERR_WRITE_KML; return FALSE; }
