#include "doc/GpxTrackReader.h"

#include <msxml2.h>
#include <shlwapi.h>

#include <cmath>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

// The SAX interfaces by their published identities (the import library of
// this toolchain carries none of them).
const IID kIidSaxXmlReader = {0xa4f96ed0, 0xf829, 0x476e, {0x81, 0xc0, 0xcd, 0xc7, 0xbd, 0x2a, 0x08, 0x02}};
const IID kIidSaxContentHandler = {0x1545cdfa, 0x9e4e, 0x4497, {0xa8, 0xa4, 0x2b, 0xf7, 0xd0, 0x11, 0x2c, 0x44}};

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

bool Equal(const wchar_t* a, int length, const wchar_t* b)
{
    return static_cast<size_t>(length) == wcslen(b) && wcsncmp(a, b, length) == 0;
}

enum class Node { Root, Track, Segment, Point, Time, Other };

// Follows the element nesting and hands out each finished track point.
class GpxHandler : public ISAXContentHandler {
public:
    explicit GpxHandler(const std::function<bool(const GPX_TRACK_POINT&)>& point) : m_point(point) {}

    bool m_ok = true;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == kIidSaxContentHandler) {
            *out = static_cast<ISAXContentHandler*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack of the read, longer than the reader holds it.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE putDocumentLocator(ISAXLocator*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE startDocument() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE endDocument() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE startPrefixMapping(const wchar_t*, int, const wchar_t*, int) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE endPrefixMapping(const wchar_t*, int) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ignorableWhitespace(const wchar_t*, int) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE processingInstruction(const wchar_t*, int, const wchar_t*, int) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE skippedEntity(const wchar_t*, int) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE startElement(const wchar_t* ns, int nsLength, const wchar_t* name, int nameLength,
                                           const wchar_t*, int, ISAXAttributes* attributes) override
    {
        if (m_stack.empty()) {
            if (nameLength != 3 || _wcsnicmp(name, L"gpx", 3) != 0)
                return Fail();
            m_ns.assign(ns, nsLength);
            m_stack.push_back(Node::Root);
            return S_OK;
        }
        const Node parent = m_stack.back();
        Node node = Node::Other;
        // Only elements of the file's own namespace count.
        if (m_ns.compare(0, std::wstring::npos, ns, nsLength) == 0) {
            if (parent == Node::Root && Equal(name, nameLength, L"trk"))
                node = Node::Track;
            else if (parent == Node::Track && Equal(name, nameLength, L"trkseg"))
                node = Node::Segment;
            else if (parent == Node::Segment && Equal(name, nameLength, L"trkpt"))
                node = Node::Point;
            else if (parent == Node::Point && Equal(name, nameLength, L"time"))
                node = Node::Time;
        }
        if (node == Node::Point) {
            m_times = 0;
            m_text.clear();
            if (!Coordinate(attributes, L"lat", m_current.latitude) ||
                !Coordinate(attributes, L"lon", m_current.longitude))
                return Fail();
        } else if (node == Node::Time && ++m_times > 1) {
            return Fail();
        }
        m_stack.push_back(node);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE endElement(const wchar_t*, int, const wchar_t*, int, const wchar_t*, int) override
    {
        if (m_stack.empty())
            return S_OK;
        const Node node = m_stack.back();
        m_stack.pop_back();
        if (node != Node::Point)
            return S_OK;
        if (m_times != 1)
            return Fail();
        m_current.time = CString(m_text.c_str());
        return m_point(m_current) ? S_OK : Fail();
    }

    HRESULT STDMETHODCALLTYPE characters(const wchar_t* text, int length) override
    {
        if (!m_stack.empty() && m_stack.back() == Node::Time && m_text.size() < 256)
            m_text.append(text, length);
        return S_OK;
    }

private:
    HRESULT Fail()
    {
        m_ok = false;
        return E_FAIL;
    }

    static bool Coordinate(ISAXAttributes* attributes, const wchar_t* name, double& value)
    {
        const wchar_t* text = nullptr;
        int length = 0;
        if (!attributes || attributes->getValueFromName(L"", 0, name, static_cast<int>(wcslen(name)), &text,
                                                        &length) != S_OK ||
            !text)
            return false;
        return ParseDecimal(text, text + length, value);
    }

    const std::function<bool(const GPX_TRACK_POINT&)>& m_point;
    std::vector<Node> m_stack;
    std::wstring m_ns, m_text;
    GPX_TRACK_POINT m_current{};
    int m_times = 0;
};

}  // namespace

BOOL ReadGpxTrackPoints(const wchar_t* path, const std::function<bool(const GPX_TRACK_POINT&)>& point)
{
    if (!path || !*path)
        return FALSE;
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"Msxml2.SAXXMLReader.6.0", &clsid)) &&
        FAILED(CLSIDFromProgID(L"Msxml2.SAXXMLReader", &clsid)))
        return FALSE;
    ISAXXMLReader* reader = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidSaxXmlReader,
                                reinterpret_cast<void**>(&reader))) ||
        !reader)
        return FALSE;
    // A file stream, so a path is never taken for a URL.
    IStream* stream = nullptr;
    BOOL ok = FALSE;
    if (SUCCEEDED(SHCreateStreamOnFileEx(path, STGM_READ | STGM_SHARE_DENY_WRITE, FILE_ATTRIBUTE_NORMAL, FALSE,
                                         nullptr, &stream))) {
        GpxHandler handler(point);
        reader->putContentHandler(&handler);
        VARIANT source;
        VariantInit(&source);
        source.vt = VT_UNKNOWN;
        source.punkVal = stream;
        const HRESULT hr = reader->parse(source);
        reader->putContentHandler(nullptr);
        // A file without any root element parses "successfully" into nothing.
        ok = hr == S_OK && handler.m_ok;
        stream->Release();
    }
    reader->Release();
    return ok;
}
