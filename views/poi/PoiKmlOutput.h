#pragma once
// Writing a list of POI out, shared by the POI list and the feed reader: the
// KML file saved on the PC, and the card's KML file with the icons and the
// version file. Each asks about invalid items first, says what failed and
// logs its steps.
#include <windows.h>

#include <functional>

#include "classlib/CString.h"
#include "doc/Doc.h"

// What the views differ in: the document (its error text), its check of the
// items, its folder name for the file, the KML writes to a path (the PC file
// and the card's), the item count for the card, and what a view marks once
// the list is written (may be empty).
struct PoiKmlOutput {
    CDoc& doc;
    std::function<BOOL()> validate;
    std::function<void(const CString& name)> setFolderName;
    std::function<BOOL(const CString& path)> write;
    std::function<BOOL(const CString& path)> writeCard;
    int count = 0;
    std::function<void()> written;
};

// What the user answers in the save dialog: path in (proposed name) and out.
using KmlSaveDialogFn = BOOL (*)(HWND owner, const wchar_t* folder, CString& path);
// The card and file name of an export: the drive root ("R:\") and the name.
using PoiCardChooserFn = BOOL (*)(const CString& proposedName, CString& root, CString& name);

// TRUE when the items are valid or the user goes on in spite of the invalid
// ones the document names.
BOOL AcceptInvalidPoi(const PoiKmlOutput& out);

// Asks about invalid items and for the path (proposed from the header's
// title), writes, and remembers the file and its folder. FALSE when cancelled
// or failed (the failure shown).
BOOL SavePoiKmlToPc(HWND owner, KmlSaveDialogFn ask, const PoiKmlOutput& out);

// Asks about invalid items and for the card, writes count items to it as
// name.kml, then the icons and, for the models that need it, the version
// file, and says it is done. A failure takes back every file the export added
// and shows why; FALSE then.
BOOL ExportPoiToCard(PoiCardChooserFn choose, const PoiKmlOutput& out);
