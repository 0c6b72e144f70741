#include "doc/DrivingReport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <numeric>
#include <vector>

#include "common/FixedField.h"
#include "common/WebUtil.h"
#include "core/Global.h"

void CopyDrListData(const DR_LIST_DATA& source, DR_LIST_DATA& destination)
{
    if (&source == &destination)
        return;
    destination.checked = source.checked;
    destination.kind = source.kind;
    CopyField(destination.name, source.name);
    CopyField(destination.text1, source.text1);
    CopyField(destination.text2, source.text2);
    CopyField(destination.text3, source.text3);
}

double HubenyDistance(double lat1, double lon1, double lat2, double lon2)
{
    const double pi = 3.141592;
    const double p1 = lat1 * pi / 180, p2 = lat2 * pi / 180;
    const double l1 = lon1 * pi / 180, l2 = lon2 * pi / 180;
    const double dp = p2 - p1, dl = l2 - l1, mu = (p1 + p2) * 0.5;
    const double sinMu = std::sin(mu);
    const double w = std::sqrt(1 - 0.006694 * sinMu * sinMu);
    const double m = 6335439.0 / (w * w * w);
    const double n = 6378137.0 / w;
    const double a = m * dp, b = n * std::cos(mu) * dl;
    return std::sqrt(a * a + b * b);
}

CDocDrivingReport::CDocDrivingReport()
{
    std::memset(&m_listData, 0, sizeof m_listData);
    m_listData.checked = 1;
    m_path[0] = L'\0';
}

CDocDrivingReport::CDocDrivingReport(const CDocDrivingReport& other) : CDocDrivingReport()
{
    *this = other;
}

CDocDrivingReport& CDocDrivingReport::operator=(const CDocDrivingReport& other)
{
    if (this == &other)
        return *this;
    CopyDrListData(other.m_listData, m_listData);
    std::memcpy(m_path, other.m_path, sizeof m_path);
    m_valid = other.m_valid;
    m_localClock = other.m_localClock;
    m_points.RemoveAll();
    m_points.Append(other.m_points);
    m_samplingDistance = other.m_samplingDistance;
    return *this;
}

CDocDrivingReport::~CDocDrivingReport() = default;

void CDocDrivingReport::Fail()
{
    m_listData.name[0] = L'\0';
    m_path[0] = L'\0';
    m_valid = 0;
    m_localClock = FALSE;
    m_points.RemoveAll();
}

void CDocDrivingReport::Succeed(const wchar_t* path)
{
    const wchar_t* slash = std::max(std::wcsrchr(path, L'\\'), std::wcsrchr(path, L'/'));
    CopyField(m_listData.name, 260, slash ? slash + 1 : path);
    CopyField(m_path, path);
    m_valid = 1;
}

void CDocDrivingReport::SortPoints()
{
    // A stable sort keeps points of equal time in file order.
    INT_PTR n = m_points.GetSize();
    DR_DRIVING_POINT* p = m_points.GetData();
    std::stable_sort(p, p + n, [](const DR_DRIVING_POINT& a, const DR_DRIVING_POINT& b) {
        return a.dateTime < b.dateTime;
    });
    for (INT_PTR i = 0; i < n; ++i) {
        p[i].interval = i ? SecondsBetween(p[i - 1], p[i]) : 0;
    }
}

void CDocDrivingReport::SetSampling(int scale)
{
    static const int metric[6] = {20, 50, 100, 200, 500, 1000};
    static const int imperial[6] = {15, 30, 61, 152, 305, 609};
    if (scale < 0 || scale > 5)
        return;
    if (theGlobal.m_distanceUnit == 0)
        m_samplingDistance = metric[scale];
    else if (theGlobal.m_distanceUnit == 1)
        m_samplingDistance = imperial[scale];
}

BOOL CDocDrivingReport::NextRoutePoint(int& index)
{
    const int n = static_cast<int>(m_points.GetSize());
    if (m_samplingCursor >= n)
        return FALSE;
    double sum = 0;
    for (int k = m_samplingCursor + 1; k < n; ++k) {
        sum += m_points[k].distance;
        if (static_cast<long long>(sum) > m_samplingDistance) {
            m_samplingCursor = index = k;
            return TRUE;
        }
    }
    index = n - 1;
    m_samplingCursor = n;
    return n > 0;
}

CString CDocDrivingReport::BuildRouteQuery()
{
    CString query;
    if (m_points.GetSize() == 0)
        return query;
    auto add = [&](int i, const wchar_t* lead) {
        CString lat, lon;
        lat.Format(L"%f", m_points[i].latitude);
        lon.Format(L"%f", m_points[i].longitude);
        LocaleDecimalToDot(lat);
        LocaleDecimalToDot(lon);
        query += lead;
        query += L"lat[]=" + lat + L"&lng[]=" + lon;
    };
    m_samplingCursor = 0;
    add(0, L"");
    for (int i; NextRoutePoint(i);)
        add(i, L"&");
    return query;
}
