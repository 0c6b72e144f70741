#pragma once
// GDI object wrappers. Each owns the handle it created or was given with
// Attach and deletes it when destroyed; Detach hands the handle back.
#include <windows.h>

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, void* buffer) const { return ::GetObjectW(m_hObject, size, buffer); }
    BOOL CreateStockObject(int index);

    HGDIOBJ m_hObject = nullptr;
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreatePatternBrush(HBITMAP bitmap) { return Attach(::CreatePatternBrush(bitmap)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTW* lf) { return Attach(::CreateFontIndirectW(lf)); }
    BOOL CreatePointFont(int tenthsOfPoint, const wchar_t* face, HDC dc = nullptr);
    int GetLogFont(LOGFONTW* lf) const { return GetObject(sizeof(LOGFONTW), lf); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(UINT id);
    BOOL CreateCompatibleBitmap(HDC dc, int width, int height) { return Attach(::CreateCompatibleBitmap(dc, width, height)); }
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
    {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    int GetBitmap(BITMAP* bm) const { return GetObject(sizeof(BITMAP), bm); }
    SIZE GetSize() const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    BOOL CreateRectRgnIndirect(const RECT* rc) { return Attach(::CreateRectRgnIndirect(rc)); }
    BOOL CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) { return Attach(::CreateRoundRectRgn(l, t, r, b, w, h)); }
    BOOL CreatePolygonRgn(const POINT* pts, int count, int mode) { return Attach(::CreatePolygonRgn(pts, count, mode)); }
    // The result is one of the region kinds (NULLREGION, SIMPLEREGION, ...), ERROR on failure.
    int CombineRgn(HRGN a, HRGN b, int mode) { return ::CombineRgn(*this, a, b, mode); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
    int GetRgnBox(RECT* rc) const { return ::GetRgnBox(*this, rc); }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};
