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

// Elements of the file's own namespace: the root's prefix, and not redeclared
// to another name on the way down (extensions of other schemas are passed over).
class GpxNames {
public:
    explicit GpxNames(XmlNode root)
    {
        CString name;
        XmlGetNodeName(root, name);
        int colon = name.Find(L':');
        if (colon >= 0)
            m_prefix = name.Left(colon);
        XmlGetAttribute(root, Declaration(), m_ns);
    }
    // The element is name in the file's namespace.
    bool Is(XmlNode element, const wchar_t* local) const
    {
        CString name;
        if (!XmlGetNodeName(element, name))
            return false;
        CString expected = m_prefix.IsEmpty() ? CString(local) : m_prefix + L":" + local;
        if (name != expected)
            return false;
        CString ns;
        return !XmlGetAttribute(element, Declaration(), ns) || ns == m_ns;
    }

private:
    CString Declaration() const { return m_prefix.IsEmpty() ? CString(L"xmlns") : L"xmlns:" + m_prefix; }

    CString m_prefix, m_ns;
};

// The child elements of parent that are local in the file's namespace.
std::vector<XmlNode> Children(XmlNode parent, const GpxNames& names, const wchar_t* local)
{
    std::vector<XmlNode> found;
    for (XmlNode c = XmlGetFirstElement(parent); c; c = XmlGetNextElement(c))
        if (names.Is(c, local))
            found.push_back(c);
    return found;
}

bool Coordinate(XmlNode point, const wchar_t* name, double& value)
{
    CString text;
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
    const GpxNames names(root);
    for (XmlNode track : Children(root, names, L"trk"))
        for (XmlNode segment : Children(track, names, L"trkseg"))
            for (XmlNode pt : Children(segment, names, L"trkpt")) {
                GPX_TRACK_POINT current{};
                if (!Coordinate(pt, L"lat", current.latitude) || !Coordinate(pt, L"lon", current.longitude))
                    return FALSE;
                std::vector<XmlNode> times = Children(pt, names, L"time");
                if (times.size() != 1)
                    return FALSE;
                XmlGetNodeText(times[0], current.time);
                current.time = current.time.Left(256);
                if (!point(current))
                    return FALSE;
            }
    return TRUE;
}
