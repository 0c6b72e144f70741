#pragma once
// Writing a list of POI out, shared by the POI list and the feed reader: the
// KML file saved on the PC, and the card's KML file with the icons and the
// version file. Each says what failed and logs its steps.
#include <windows.h>

#include <functional>

#include "classlib/CString.h"
#include "doc/Doc.h"

// What the views differ in: the document (its error text), its folder name
// for the file, and the KML write to a path.
struct PoiKmlOutput {
    CDoc& doc;
    std::function<void(const CString& name)> setFolderName;
    std::function<BOOL(const CString& path)> write;
};

using KmlSaveDialogFn = BOOL (*)(HWND owner, const wchar_t* folder, CString& path);

// Asks for the path (proposed from the header's title), writes, and remembers
// the file and its folder. FALSE when cancelled or failed (the failure shown).
BOOL SavePoiKmlToPc(HWND owner, KmlSaveDialogFn ask, const PoiKmlOutput& out);

// Writes count items to the card chosen (root) as name.kml, then the icons and,
// for the models that need it, the version file. A failure takes back every
// file the export added and shows why; FALSE then.
BOOL ExportPoiToCard(const CString& root, const CString& name, int count, const PoiKmlOutput& out);
