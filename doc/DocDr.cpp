#include "doc/DocDr.h"

#include <shlwapi.h>

#include <cwchar>
#include <cstring>
#include <ctime>

#include "common/FixedField.h"

namespace {

// The report's kind from its name: "Pri" 0, "Bsi" 1, anything else 2.
int KindOfName(const wchar_t* name)
{
    if (wcsncmp(name, L"Pri", 3) == 0)
        return 0;
    if (wcsncmp(name, L"Bsi", 3) == 0)
        return 1;
    return 2;
}

}  // namespace

BOOL CDocDr::Load(const wchar_t* path)
{
    if (!path)
        return FALSE;
    // Cards are FAT: the same file may come as .ltb or .Gpx.
    const wchar_t* ext = PathFindExtensionW(path);
    const bool gpx = _wcsicmp(ext, L".gpx") == 0;
    const bool ltb = _wcsicmp(ext, L".ltb") == 0;
    if (!gpx && !ltb)
        return FALSE;
    CDocDrivingReport report;
    if (!(gpx ? report.ReadGpx(path) : report.ReadLtb(path)))
        return FALSE;
    // The list name is the file name without its extension; the caller's
    // path stays as it was.
    CString name = PathFindFileNameW(path);
    const int dot = name.ReverseFind(L'.');
    if (dot >= 0)
        name = name.Left(dot);
    CopyField(report.m_listData.name, name);
    report.m_listData.kind = gpx ? 0 : KindOfName(report.m_listData.name);
    m_reports.Add(report);
    return TRUE;
}

BOOL CDocDr::GetListData(int index, DR_LIST_DATA& out) const
{
    if (index < 0 || index >= GetCount() || !m_reports[index].m_valid)
        return FALSE;
    CopyDrListData(m_reports[index].m_listData, out);
    return TRUE;
}

BOOL CDocDr::GetReport(int index, CDocDrivingReport& out) const
{
    if (index < 0 || index >= GetCount() || !m_reports[index].m_valid)
        return FALSE;
    out = m_reports[index];
    return TRUE;
}

void CDocDr::SetSamplingAll(int scale)
{
    for (INT_PTR i = 0; i < m_reports.GetSize(); ++i)
        m_reports[i].SetSampling(scale);
}

void CDocDr::BuildTotalSummary(DR_PROPERTY_DATA& out) const
{
    std::memset(&out, 0, sizeof out);
    bool any = false;
    __int64 start = 0, end = 0, seconds = 0;
    int km = 0, miles = 0;
    for (INT_PTR i = 0; i < m_reports.GetSize(); ++i) {
        const CDocDrivingReport& r = m_reports[i];
        if (!r.m_listData.checked)
            continue;
        const __int64 s = r.GetStartTime(), e = r.GetEndTime();
        if (!any || s < start)
            start = s;
        if (!any || e > end)
            end = e;
        any = true;
        const int d = r.GetDistance();
        km += d;
        miles += KilometresToMiles(d);
        seconds += r.GetDuration();
    }
    // With nothing checked the times stay empty rather than showing 1970.
    if (any) {
        tm parts{};
        CString text;
        if (_localtime64_s(&parts, &start) == 0) {
            text.Format(L"%04d/%02d/%02d", parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
            CopyField(out.startDate, text);
            text.Format(L"%02d:%02d:%02d", parts.tm_hour, parts.tm_min, parts.tm_sec);
            CopyField(out.startTime, text);
        }
        if (_localtime64_s(&parts, &end) == 0) {
            text.Format(L"%04d/%02d/%02d", parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
            CopyField(out.endDate, text);
            text.Format(L"%02d:%02d:%02d", parts.tm_hour, parts.tm_min, parts.tm_sec);
            CopyField(out.endTime, text);
        }
    }
    out.distance = km;
    out.distanceMiles = miles;
    CopyField(out.duration, FormatDuration(seconds, false));
}

BOOL CDocDr::BuildReportSummary(int index, DR_PROPERTY_DATA& out) const
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    m_reports[index].GetPropertyData(out);
    return TRUE;
}

BOOL CDocDr::GetEcoScore(int index, int modelType, int& gentle, int& light, int& medium, int& hard) const
{
    if (index < 0 || index >= GetCount() || modelType < 0 || modelType > 12)
        return FALSE;
    const CDocDrivingReport& r = m_reports[index];
    if (modelType == 0 || modelType == 2)
        return r.RateEcoGpx(gentle, light, medium, hard);
    return r.RateEcoLtb(gentle, light, medium, hard);
}
