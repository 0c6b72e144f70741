// The fuel log's files: the fuel CSV (the user's and the master file on the PC)
// and the unit's binary DAT file.
#include <cwchar>
#include "common/FixedField.h"
#include <string>
#include <vector>

#include "common/CsvTable.h"
#include "common/FileReplace.h"
#include "common/FileUtil.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "doc/DocFe.h"

namespace {

const wchar_t* const kColumnNames[16] = {L"Year",        L"Month",     L"Day",          L"Hour",
                                         L"Minute",      L"Second",    L"Latitude",     L"Longitude",
                                         L"Distance",    L"UnitDistance", L"GasAmount", L"UnitAmount",
                                         L"GasPrice",    L"UnitPrice", L"UnitMileage",  L"Memo"};

const wchar_t kHeader[] =
    L"#Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Distance,UnitDistance,GasAmount,UnitAmount,"
    L"UnitMileage,GasPrice,UnitPrice,Memo\r\n";

void StoreField(DOCFUEL_DATA& r, int id, const CString& field)
{
    if (id == 15) {
        CopyField(r.memo, field);
        return;
    }
    const int v = _wtoi(field.GetString());
    int* const slots[15] = {&r.year,     &r.month,        &r.day,      &r.hour,       &r.minute,
                            &r.second,   &r.latitude,     &r.longitude, &r.distance,  &r.distanceUnit,
                            &r.amount,   &r.amountUnit,   &r.price,    &r.priceUnit,  &r.mileageUnit};
    *slots[id] = v;
}

DWORD U32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | DWORD(p[3]) << 24; }
WORD U16(const BYTE* p) { return static_cast<WORD>(p[0] | p[1] << 8); }

// Degrees from 1/256 arc-seconds to millionths, or "no position".
int DatCoordinate(INT32 value, double limit)
{
    const double degrees = value * 0.0390625 / 36000;
    if (degrees < -limit || degrees > limit)
        return kNoPosition;
    return static_cast<int>(degrees * 1000000);
}

}  // namespace

BOOL IsValidFuelDate(int year, int month, int day)
{
    if (year < 1970 || year > 2038 || month < 1 || month > 12 || day < 1 || day > 31)
        return FALSE;
    return year < 2038 || (month == 1 && day <= 18);
}

BOOL IsValidFuelTime(int hour, int minute, int second)
{
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

int ClampFuelValue(int value)
{
    return value < 0 ? 0 : value > 99999 ? 99999 : value;
}

CString FormatFuelCsvLine(const DOCFUEL_DATA& r)
{
    // A line break in a memo would split the record when it is read back.
    CString memo = r.memo;
    memo.Replace(L"\r\n", L" ");
    memo.Replace(L'\r', L' ');
    memo.Replace(L'\n', L' ');
    CString line;
    line.Format(L"%04d,%02d,%02d,%02d,%02d,%02d,%08ld,%08ld,%08d,%d,%05d,%d,%d,%05d,%d,%s\r\n", r.year, r.month,
                r.day, r.hour, r.minute, r.second, static_cast<long>(r.latitude), static_cast<long>(r.longitude),
                r.distance, r.distanceUnit, r.amount, (r.amountUnit == 1 || r.amountUnit == 2) ? 1 : 0,
                r.mileageUnit, r.price, r.priceUnit, QuoteCsvText(memo).GetString());
    return line;
}

BOOL CDocFe::Load(const wchar_t* path)
{
    const wchar_t* dot = path ? wcsrchr(path, L'.') : nullptr;
    if (dot && (wcscmp(dot, L".csv") == 0 || wcscmp(dot, L".CSV") == 0))
        return LoadCsv(path);
    if (dot && (wcscmp(dot, L".DAT") == 0 || wcscmp(dot, L".dat") == 0))
        return LoadDat(path);
    m_errorCode = DOCERR_READ;
    return FALSE;
}

BOOL CDocFe::ReadCsvHeader(const wchar_t* path)
{
    CStdioFile file;
    if (!path || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) {
        m_errorCode = (path && GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) ? DOCERR_FILE_NOT_FOUND : DOCERR_READ;
        return FALSE;
    }
    m_columns.RemoveAll();
    CString line;
    try {
        while (file.ReadString(line)) {
            if (line.GetLength() == 0 || line[0] != L'#')
                continue;
            line = line.Mid(1);
            line.TrimRight(L"\r");
            for (int k = 0; k < 16; ++k) {
                CString field;
                if (!GetCsvField(line, field, k))
                    break;
                int id = -1;
                for (int n = 0; n < 16 && id < 0; ++n)
                    if (field == kColumnNames[n])
                        id = n;
                if (id < 0)
                    break;
                m_columns.Add(id);
            }
            return TRUE;
        }
    } catch (const CException&) {
    }
    m_errorCode = DOCERR_READ;
    return FALSE;
}

BOOL CDocFe::LoadCsv(const wchar_t* path)
{
    if (!ReadCsvHeader(path)) {
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) {
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    CString line;
    try {
        while (file.ReadString(line)) {
            line.TrimRight(L"\r");
            // Comments and blank lines never count against the limit.
            if (line.GetLength() == 0 || line[0] == L'#')
                continue;
            if (GetCount() >= kMaxFuelRecords) {
                m_errorCode = FEERR_LIMIT;
                m_overLimit = 1;
                return FALSE;
            }
            DOCFUEL_DATA r{};
            for (INT_PTR k = 0; k < m_columns.GetSize(); ++k) {
                CString field;
                GetCsvField(line, field, static_cast<int>(k));
                StoreField(r, m_columns[k], field);
            }
            r.distance = ClampFuelValue(r.distance);
            r.amount = ClampFuelValue(r.amount);
            r.price = ClampFuelValue(r.price);
            NormaliseFuelUnits(r);
            if (!IsValidFuelDate(r.year, r.month, r.day))
                r.year = r.month = r.day = 0;
            if (!IsValidFuelTime(r.hour, r.minute, r.second))
                r.hour = r.minute = r.second = 0;
            if (!IsValidLatLon(r.latitude, r.longitude))
                r.latitude = r.longitude = kNoPosition;
            UpdateDerivedValues(static_cast<int>(m_records.Add(r)));
        }
    } catch (const CException&) {
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    return TRUE;
}

BOOL CDocFe::LoadDat(const wchar_t* path)
{
    std::string bytes;
    const bool ok = path && ReadWholeFile(path, bytes, kMaxFuelDatBytes) && bytes.size() >= 40;
    const BYTE* data = reinterpret_cast<const BYTE*>(bytes.data());
    if (!ok || U32(&data[0]) != 0x88888888u || memcmp(&data[4], "FUEL", 4) != 0 || memcmp(&data[8], "1.00", 4) != 0) {
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    const int first = GetCount();
    auto derive = [&] {
        for (int i = first; i < GetCount(); ++i)
            UpdateDerivedValues(i);
    };
    const DWORD n = U32(&data[24]) / 40;
    for (DWORD k = 0; k < n; ++k) {
        if (GetCount() >= kMaxFuelRecords) {
            // The records kept get their derived values all the same.
            derive();
            m_errorCode = FEERR_LIMIT;
            m_overLimit = 1;
            return FALSE;
        }
        const size_t at = 40 + size_t(k) * 40;
        if (at + 40 > bytes.size())
            break;  // a short file ends the records
        const BYTE* p = &data[at];
        DOCFUEL_DATA r{};
        wchar_t hex[16];
        swprintf(hex, 16, L"%08X", U32(p));
        auto part = [&](int from, int count) {
            wchar_t buf[8] = {};
            wcsncpy(buf, hex + from, count);
            return _wtoi(buf);
        };
        r.year = part(0, 4);
        r.month = part(4, 2);
        r.day = part(6, 2);
        if (!IsValidFuelDate(r.year, r.month, r.day))
            r.year = r.month = r.day = 0;
        swprintf(hex, 16, L"%08X", U32(p + 4));
        r.hour = part(0, 2);
        r.minute = part(2, 2);
        r.second = part(4, 2);
        if (!IsValidFuelTime(r.hour, r.minute, r.second))
            r.hour = r.minute = r.second = 0;
        r.latitude = DatCoordinate(static_cast<INT32>(U32(p + 32)), 90);
        r.longitude = DatCoordinate(static_cast<INT32>(U32(p + 36)), 180);
        r.distance = ClampFuelValue(static_cast<INT32>(U32(p + 8)));
        r.distanceUnit = U16(p + 12);
        r.amount = ClampFuelValue(U16(p + 16) * 10);
        r.amountUnit = U16(p + 18);
        r.price = ClampFuelValue(static_cast<INT32>(U32(p + 20)));
        r.priceUnit = U16(p + 28);
        r.mileageUnit = U16(p + 30);
        NormaliseFuelUnits(r);
        m_records.Add(r);
    }
    derive();
    return TRUE;
}

BOOL CDocFe::WriteCsv(const wchar_t* path, const CArray<DOCFUEL_DATA>& records)
{
    CString text = kHeader;
    for (INT_PTR i = 0; i < records.GetSize(); ++i)
        text += FormatFuelCsvLine(records[i]);
    std::string bytes;
    const int length = text.GetLength();
    if (length) {
        int n = WideCharToMultiByte(CP_ACP, 0, text.GetString(), length, nullptr, 0, nullptr, nullptr);
        bytes.resize(n > 0 ? n : 0);
        if (n > 0)
            WideCharToMultiByte(CP_ACP, 0, text.GetString(), length, bytes.data(), n, nullptr, nullptr);
    }
    // Written beside the target and swapped in whole: a full disk or any other
    // failure leaves the old file (often the only fuel log) as it was.
    if (!path || !*path || !WriteFileReplacing(path, bytes.data(), bytes.size())) {
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }
    return TRUE;
}

BOOL CDocFe::Save(const wchar_t* path)
{
    if (!WriteCsv(path, m_records))
        return FALSE;
    m_modified = 0;
    return TRUE;
}

BOOL CDocFe::ExportRecordsCsv(const wchar_t* path, const CArray<int>& indices)
{
    CArray<DOCFUEL_DATA> chosen;
    for (INT_PTR k = 0; k < indices.GetSize(); ++k) {
        const int i = indices[k];
        if (i < 0 || i >= GetCount()) {
            m_errorCode = DOCERR_WRITE;
            return FALSE;
        }
        chosen.Add(m_records[i]);
    }
    // An export writes a copy elsewhere: the log itself is no more saved than before.
    return WriteCsv(path, chosen);
}

CString GetFuelMasterPath()
{
    CString path = theGlobal.m_drFuelMasterFolder;
    if (path.GetLength() && path[path.GetLength() - 1] != L'\\')
        path += L"\\";
    path += theGlobal.m_drFuelMasterName.GetLength() ? theGlobal.m_drFuelMasterName : CString(L"FuelMaster.csv");
    return path;
}
