#include "doc/DocAb.h"

#include <cstring>
#include <vector>

#include "common/FileReplace.h"
#include "common/FileUtil.h"
#include "common/FixedField.h"
#include "common/Utility.h"
#include "core/Global.h"
#include "doc/DocImport.h"
#include "doc/DocPaths.h"
#include "doc/DocPi.h"
#include "doc/ImportCells.h"

namespace {

constexpr DWORD kHomeCategory = AB_CATEGORY_BASE + 0x1E;
constexpr DWORD kHeaderDateOffset = 28;
constexpr DWORD kHeaderTimeOffset = 36;

// The home's category as the model type's unit expects it.
DWORD HomeCategoryForModel(int modelType, DWORD stored)
{
    switch (modelType) {
    case 1:
    case 4:
    case 6:
        return AB_CATEGORY_BASE + 0x34;
    case 0:
    case 2:
        return stored;
    default:
        return AB_CATEGORY_BASE + 0x43;
    }
}

// Registration dates and times out of range become 0 (the unit wrote garbage).
void RepairDateTime(AB_FILE_RECORD& r)
{
    DWORD year = r.regDate >> 16, month = (r.regDate >> 8) & 0xFF, day = r.regDate & 0xFF;
    if (year < 1970 || year > 2037 || month < 1 || month > 12 || day < 1 || day > 31)
        r.regDate = 0;
    DWORD hour = r.regTime >> 16, minute = (r.regTime >> 8) & 0xFF, second = r.regTime & 0xFF;
    if (hour > 23 || minute > 59 || second > 59)
        r.regTime = 0;
}

}  // namespace

CString GetAbCardFile(const wchar_t* root)
{
    return WithBackslash(root) + L"PC\\POINT\\TONAVI\\POINTREG.L00";
}

void CDocAb::InitErrorStrings()
{
    CDoc::InitErrorStrings();
    AppendPoiErrorTexts();
}

void CDocAb::StoreRecord(CDocAbRecord& r, int number, const DOCAB_UI_RECORD& rec)
{
    if (r.IsFree()) {
        r.Clear();
        GetPackedDateTimeNow(&r.m_rec.regDate, &r.m_rec.regTime);
    }
    r.m_rec.number = static_cast<short>(number);
    int category = rec.category >= 0 && rec.category <= AB_MAX_CATEGORY ? rec.category : 0;
    r.m_rec.category = AB_CATEGORY_BASE + category;
    r.SetPosition(rec.longitude, rec.latitude);
    // Without a stored position the flag is 0 whatever the caller claims; with
    // one, the caller's "placed from the map" (2) is kept.
    r.UpdatePositionKind();
    if (r.m_positionKind && rec.positionKind == AB_FLAG_FROM_MAP)
        r.m_positionKind = AB_FLAG_FROM_MAP;
    r.SetName(rec.name);
    r.SetAddress(rec.address);
    r.SetPhone(rec.phone);
}

void CDocAb::ReadRecord(const CDocAbRecord& r, DOCAB_UI_RECORD* out)
{
    CopyField(out->name, r.GetName());
    CopyField(out->address, r.GetAddress());
    CopyField(out->phone, r.GetPhone());
    out->longitude = r.GetLongitude();
    out->latitude = r.GetLatitude();
    out->category = static_cast<int>(r.m_rec.category - AB_CATEGORY_BASE);
    out->positionKind = r.m_positionKind;
}

BOOL CDocAb::GetEntry(int index, DOCAB_UI_RECORD* out) const
{
    if (!out || index < 0 || index >= AB_ENTRY_COUNT || m_entries[index].IsFree())
        return FALSE;
    ReadRecord(m_entries[index], out);
    return TRUE;
}

BOOL CDocAb::SetEntry(int index, DOCAB_UI_RECORD rec)
{
    if (index < 0 || index >= AB_ENTRY_COUNT)
        return FALSE;
    StoreRecord(m_entries[index], index + AB_SPECIAL_COUNT, rec);
    return TRUE;
}

int CDocAb::FindFreeEntry()
{
    for (int i = 0; i < AB_ENTRY_COUNT; ++i) {
        if (m_entries[i].IsFree()) {
            m_errorCode = DOCERR_NONE;
            return i;
        }
    }
    m_errorCode = PIERR_TOO_MANY;
    return -1;
}

int CDocAb::AddEntry(DOCAB_UI_RECORD rec)
{
    int index = FindFreeEntry();
    if (index >= 0)
        SetEntry(index, rec);
    return index;
}

int CDocAb::GetEntryCount() const
{
    int n = 0;
    for (const CDocAbRecord& r : m_entries)
        n += !r.IsFree();
    return n;
}

void CDocAb::ClearAll()
{
    for (CDocAbRecord& r : m_special)
        r.Clear();
    for (CDocAbRecord& r : m_entries)
        r.Clear();
}

void CDocAb::InitHome()
{
    CDocAbRecord& home = m_special[0];
    home.Clear();
    home.SetName(L"Unnamed");
    home.m_rec.number = 0;
    home.m_rec.category = kHomeCategory;
}

BOOL CDocAb::SetHome(int special, const DOCAB_UI_RECORD* rec)
{
    if (!rec || special < 0 || special >= AB_SPECIAL_COUNT)
        return FALSE;
    StoreRecord(m_special[special], special, *rec);
    return TRUE;
}

BOOL CDocAb::GetHome(DOCAB_UI_RECORD* out) const
{
    if (!out || m_special[0].IsFree())
        return FALSE;
    ReadRecord(m_special[0], out);
    return TRUE;
}

BOOL CDocAb::CheckNames()
{
    bool ok = !m_special[0].IsFree() && !m_special[0].GetName().IsEmpty();
    for (int i = 0; ok && i < AB_ENTRY_COUNT; ++i)
        ok = m_entries[i].IsFree() || !m_entries[i].GetName().IsEmpty();
    if (!ok) {
        m_errorCode = PIERR_NO_NAME;
        return FALSE;
    }
    return TRUE;
}

BOOL CDocAb::ImportCsvRows(int firstRow, const CDocImport* rows, int lonColumn, int latColumn, int nameColumn,
                           int addressColumn, int phoneColumn)
{
    if (!rows)
        return FALSE;
    auto cell = [rows](int row, int column) {
        CString text;
        rows->GetCell(row, column - 1, text);
        ReplaceUnshownChars(text);
        return text;
    };
    int added = 0;
    for (int row = firstRow < 0 ? 0 : firstRow; row < rows->GetRowCount(); ++row) {
        if (added >= AB_ENTRY_COUNT) {
            m_errorCode = PIERR_TOO_MANY;
            return FALSE;
        }
        DOCAB_UI_RECORD rec{};
        rec.longitude = rec.latitude = AB_NO_POSITION;
        if (nameColumn > 0)
            CopyField(rec.name, cell(row, nameColumn));
        if (addressColumn > 0)
            CopyField(rec.address, cell(row, addressColumn));
        if (phoneColumn > 0)
            CopyField(rec.phone, cell(row, phoneColumn));
        if (lonColumn > 0 && latColumn > 0) {
            CString lon, lat;
            rows->GetCell(row, lonColumn - 1, lon);
            rows->GetCell(row, latColumn - 1, lat);
            double x = 0, y = 0;
            if (ReadImportPosition(lon, lat, x, y)) {
                rec.longitude = x;
                rec.latitude = y;
                rec.positionKind = 1;
            }
        }
        if (rec.name[0] == 0)
            CopyField(rec.name, L"Unnamed");
        if (AddEntry(rec) < 0) {
            m_errorCode = PIERR_TOO_MANY;
            return FALSE;
        }
        ++added;
    }
    return TRUE;
}

BOOL CDocAb::Load(const wchar_t* path)
{
    std::string bytes;
    if (!path || !ReadWholeFile(path, bytes) || bytes.size() != AB_FILE_SIZE) {
        // A short file would read as hundreds of bogus entries: refuse it whole.
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    const BYTE* records = reinterpret_cast<const BYTE*>(bytes.data()) + AB_FILE_HEADER;
    std::vector<CDocAbRecord> file(AB_SPECIAL_COUNT + AB_ENTRY_COUNT);
    for (size_t i = 0; i < file.size(); ++i) {
        CDocAbRecord& r = file[i];
        memcpy(&r.m_rec, records + i * sizeof(AB_FILE_RECORD), sizeof(AB_FILE_RECORD));
        // Special records after the home are dropped anyway: whatever they
        // hold cannot make the file unreadable.
        if (r.IsFree() || (i > 0 && i < AB_SPECIAL_COUNT))
            continue;
        if (!r.HasValidTexts()) {
            m_errorCode = DOCERR_READ;
            return FALSE;
        }
        RepairDateTime(r.m_rec);
        if (i < AB_SPECIAL_COUNT) {
            r.m_rec.category = kHomeCategory;
        } else if (r.m_rec.category < AB_CATEGORY_BASE || r.m_rec.category > AB_CATEGORY_BASE + AB_MAX_CATEGORY) {
            r.m_rec.category = AB_CATEGORY_BASE + 1;
        }
        r.UpdatePositionKind();
    }
    if (!file[0].IsFree())
        m_special[0] = file[0];
    int next = 0;
    for (size_t i = AB_SPECIAL_COUNT; i < file.size(); ++i) {
        if (file[i].IsFree())
            continue;
        while (next < AB_ENTRY_COUNT && !m_entries[next].IsFree())
            ++next;
        if (next >= AB_ENTRY_COUNT) {
            m_errorCode = PIERR_TOO_MANY;
            return FALSE;
        }
        m_entries[next] = file[i];
    }
    m_errorCode = DOCERR_NONE;
    return TRUE;
}

BOOL CDocAb::Save(const wchar_t* path)
{
    std::vector<BYTE> bytes(AB_FILE_SIZE, 0);
    DWORD date = 0, time = 0;
    GetSysDateTimeNumbers(&date, &time);
    memcpy(&bytes[kHeaderDateOffset], &date, 4);
    memcpy(&bytes[kHeaderTimeOffset], &time, 4);
    BYTE* out = bytes.data() + AB_FILE_HEADER;
    for (int i = 0; i < AB_SPECIAL_COUNT + AB_ENTRY_COUNT; ++i) {
        AB_FILE_RECORD r = i < AB_SPECIAL_COUNT ? m_special[i].m_rec : m_entries[i - AB_SPECIAL_COUNT].m_rec;
        if (i == 0)
            r.category = HomeCategoryForModel(theGlobal.m_modelType, r.category);
        if (r.number != -1)
            r.number = static_cast<short>(i);
        memcpy(out + i * sizeof r, &r, sizeof r);
    }
    if (!path || !WriteFileReplacing(path, bytes.data(), bytes.size())) {
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }
    return TRUE;
}

BOOL CDocAb::CreateFolderAndSave(const wchar_t* path)
{
    CString p = path ? path : L"";
    int slash = p.ReverseFind(L'\\');
    if (slash <= 0 || !CreateFolderPath(p.Left(slash))) {
        m_errorCode = PIERR_CREATE_FOLDER;
        return FALSE;
    }
    if (!Save(p)) {
        m_errorCode = PIERR_WRITE_KML;
        return FALSE;
    }
    return TRUE;
}

void ConvertAbUiToPoiRecord(DOCAB_UI_RECORD src, DOCPI_RECORD* dst)
{
    if (!dst)
        return;
    CopyField(dst->name, src.name);
    CopyField(dst->address, src.address);
    CopyField(dst->telephone, src.phone);
    dst->longitude = src.longitude;
    dst->latitude = src.latitude;
}

void ConvertPoiRecordToAbUi(DOCPI_RECORD src, DOCAB_UI_RECORD* dst)
{
    if (!dst)
        return;
    CopyField(dst->name, src.name);
    CopyField(dst->address, src.address);
    CopyField(dst->phone, src.telephone);
    dst->longitude = src.longitude;
    dst->latitude = src.latitude;
}
