#include "views/poi/PoiKmlOutput.h"

#include <shlwapi.h>

#include "common/AddedFiles.h"
#include "common/FileUtil.h"
#include "common/LogWriter.h"
#include "core/Global.h"
#include "doc/DocIcon.h"
#include "doc/DocPaths.h"
#include "doc/DocPi.h"
#include "frame/MessageDlg.h"
#include "views/poi/PoiSaveName.h"

BOOL AcceptInvalidPoi(const PoiKmlOutput& out)
{
    if (out.validate())
        return TRUE;
    return ShowMessage(ErrorText(out.doc), 1) == IDOK;
}

BOOL SavePoiKmlToPc(HWND owner, KmlSaveDialogFn ask, const PoiKmlOutput& out)
{
    if (!AcceptInvalidPoi(out))
        return FALSE;
    CString path = ProposedSaveName(L"POI.KML");
    if (!ask(owner, theGlobal.m_piIniFolder, path))
        return FALSE;
    const int slash = path.ReverseFind(L'\\');
    const CString fileName = path.Mid(slash + 1);
    CString title = fileName;
    const int dot = title.ReverseFind(L'.');
    if (dot > 0)
        title = title.Left(dot);
    out.setFolderName(title);
    WriteLog(L"POI Save to PC Start");
    if (!out.write(path)) {
        ShowMessage(ErrorText(out.doc), 0);
        return FALSE;
    }
    WriteLog(L"POI Save to PC End");
    theGlobal.m_piFileSpec = fileName;
    theGlobal.m_piIniFolder = path.Left(slash > 0 ? slash : 0);
    if (out.written)
        out.written();
    return TRUE;
}

namespace {

BOOL WriteCardFiles(const CString& root, const CString& name, const PoiKmlOutput& out)
{
    const int count = out.count;
    const int type = theGlobal.m_modelType;
    const CString folder = GetPoiCardFolder(root, type);
    if (!CDocPi::CheckCardFileCount(folder, count, GetMaxPoiPerFile(type))) {
        ShowMessage(theGlobal.UiString(20), 0);
        return FALSE;
    }
    out.setFolderName(name);
    // A failed export takes back everything it added (KML files, icons, the
    // symbol and version files), so the card never holds a part of the list.
    CAddedFiles added;
    added.Watch(folder);
    added.Watch(WithBackslash(root) + L"usericon");
    added.Watch(WithBackslash(root) + L"NDB\\CUSTOMPOI");
    added.Watch(WithBackslash(root) + L"NDB\\VersionManage");

    WriteLog(L"KML Files Save Start");
    const BOOL written = out.writeCard(folder + name + L".kml");
    WriteLog(L"KML Files Save End");
    if (!written) {
        added.TakeBack();
        ShowMessage(ErrorText(out.doc), 0);
        return FALSE;
    }
    CDocIcon& icons = theGlobal.m_docIcon;
    const BOOL iconsWritten = IsGroupedModel(type) ? icons.ExportUserIconBitmaps(root)
                                                     : icons.ExportCustomPoiSymbols(root);
    if (!iconsWritten) {
        added.TakeBack();
        ShowMessage(ErrorText(icons), 0);
        return FALSE;
    }
    if (!IsGroupedModel(type)) {
        wchar_t version[MAX_PATH];
        lstrcpynW(version, root, MAX_PATH);
        if (!::PathAppendW(version, L"NDB") || !::PathAppendW(version, L"VersionManage") ||
            !::PathAppendW(version, L"Version") || !CDocPi::WriteCustomPoiVersion(version)) {
            added.TakeBack();
            ShowMessage(theGlobal.UiString(10), 0);
            return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

BOOL ExportPoiToCard(PoiCardChooserFn choose, const PoiKmlOutput& out)
{
    if (!AcceptInvalidPoi(out))
        return FALSE;
    CString root, name;
    if (!choose(ProposedSaveName(L"POI"), root, name))
        return FALSE;
    WriteLog(L"Export POI File Start");
    if (!WriteCardFiles(root, name, out))
        return FALSE;
    WriteLog(L"Export POI File End");
    if (out.written)
        out.written();
    ShowMessage(theGlobal.UiString(16), 0);
    return TRUE;
}
