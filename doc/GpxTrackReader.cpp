#include "doc/GpxTrackReader.h"


#include <cmath>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "common/XmlDocument.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// A decimal number with '.' as its point (the file's, whatever the PC's locale
// says) and an optional exponent, blanks around it allowed; false otherwise.
bool ParseDecimal(const wchar_t* s, const wchar_t* end, double& value)
{
    while (s < end && iswspace(*s))
        ++s;
    double sign = 1;
    if (s < end && (*s == L'+' || *s == L'-'))
        sign = *s++ == L'-' ? -1 : 1;
    double v = 0, scale = 1;
    int digits = 0;
    for (; s < end && IsDigit(*s); ++s, ++digits)
        v = v * 10 + (*s - L'0');
    if (s < end && *s == L'.')
        for (++s; s < end && IsDigit(*s); ++s, ++digits)
            v += (*s - L'0') * (scale /= 10);
    if (!digits)
        return false;
    if (s < end && (*s == L'e' || *s == L'E')) {
        ++s;
        int esign = 1, e = 0, edigits = 0;
        if (s < end && (*s == L'+' || *s == L'-'))
            esign = *s++ == L'-' ? -1 : 1;
        for (; s < end && IsDigit(*s); ++s, ++edigits)
            if (e < 1000)
                e = e * 10 + (*s - L'0');
        if (!edigits)
            return false;
        v *= std::pow(10.0, esign * e);
    }
    while (s < end && iswspace(*s))
        ++s;
    value = sign * v;
    return s == end;
}

enum GpxElement { GPX_TRK, GPX_TRKSEG, GPX_TRKPT, GPX_TIME };

// Elements of the file's own namespace: the root's prefix, and not redeclared
// to another name on the way down (extensions of other schemas are passed over).
class GpxNames {
public:
    explicit GpxNames(XmlNode root)
    {
        CString name;
        XmlGetNodeName(root, name);
        const int colon = name.Find(L':');
        const CString prefix = colon >= 0 ? name.Left(colon) + L":" : CString();
        m_declaration = colon >= 0 ? L"xmlns:" + name.Left(colon) : CString(L"xmlns");
        XmlGetAttribute(root, m_declaration, m_ns);
        static const wchar_t* const locals[] = {L"trk", L"trkseg", L"trkpt", L"time"};
        for (int i = 0; i < 4; ++i)
            m_names[i] = prefix + locals[i];
    }
    bool Is(XmlNode element, GpxElement which)
    {
        if (!XmlGetNodeName(element, m_name) || m_name != m_names[which])
            return false;
        return !XmlGetAttribute(element, m_declaration, m_value) || m_value == m_ns;
    }

private:
    CString m_declaration, m_ns, m_names[4];
    CString m_name, m_value;  // reused, so that no name read allocates
};

bool Coordinate(XmlNode point, const wchar_t* name, CString& text, double& value)
{
    return XmlGetAttribute(point, name, text) && ParseDecimal(text, text.GetString() + text.GetLength(), value);
}

}  // namespace

BOOL ReadGpxTrackPoints(const wchar_t* path, const std::function<bool(const GPX_TRACK_POINT&)>& point)
{
    if (!path || !*path)
        return FALSE;
    CXmlDocument xml;
    XmlElementPtr root = xml.Load(path);
    CString rootName;
    if (!root || !XmlGetNodeName(root, rootName))
        return FALSE;
    int colon = rootName.Find(L':');
    if (rootName.Mid(colon + 1).CompareNoCase(L"gpx") != 0)
        return FALSE;
    GpxNames names(root);
    CString text;
    for (XmlNode track = XmlGetFirstElement(root); track; track = XmlGetNextElement(track)) {
        if (!names.Is(track, GPX_TRK))
            continue;
        for (XmlNode segment = XmlGetFirstElement(track); segment; segment = XmlGetNextElement(segment)) {
            if (!names.Is(segment, GPX_TRKSEG))
                continue;
            for (XmlNode pt = XmlGetFirstElement(segment); pt; pt = XmlGetNextElement(pt)) {
                if (!names.Is(pt, GPX_TRKPT))
                    continue;
                GPX_TRACK_POINT current{};
                if (!Coordinate(pt, L"lat", text, current.latitude) || !Coordinate(pt, L"lon", text, current.longitude))
                    return FALSE;
                XmlNode time;
                for (XmlNode c = XmlGetFirstElement(pt); c; c = XmlGetNextElement(c)) {
                    if (!names.Is(c, GPX_TIME))
                        continue;
                    if (time)
                        return FALSE;  // several times
                    time = c;
                }
                if (!time)
                    return FALSE;
                XmlGetNodeText(time, current.time);
                if (current.time.GetLength() > 256)
                    current.time = current.time.Left(256);
                if (!point(current))
                    return FALSE;
            }
        }
    }
    return TRUE;
}
