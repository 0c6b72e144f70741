#pragma once
// Device contexts. CDC owns a DC it created (CreateCompatibleDC) and restores
// nothing behind the caller's back; CPaintDC, CClientDC and CWindowDC pair the
// acquire and release of a window's DC with their lifetime.
#include <windows.h>

#include "classlib/CGdiObject.h"
#include "classlib/Geometry.h"

class CWnd;

class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* dc) { return CreateCompatibleDC(dc ? dc->m_hDC : nullptr); }
    BOOL CreateCompatibleDC(HDC dc);
    BOOL DeleteDC();

    HGDIOBJ SelectObject(HGDIOBJ obj) { return ::SelectObject(m_hDC, obj); }
    HGDIOBJ SelectObject(const CGdiObject* obj) { return ::SelectObject(m_hDC, obj->m_hObject); }
    HGDIOBJ SelectStockObject(int index) { return ::SelectObject(m_hDC, ::GetStockObject(index)); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }

    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }

    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(const RECT* rc) { return ::Rectangle(m_hDC, rc->left, rc->top, rc->right, rc->bottom); }
    BOOL RoundRect(const RECT* rc, POINT corner) { return ::RoundRect(m_hDC, rc->left, rc->top, rc->right, rc->bottom, corner.x, corner.y); }
    BOOL Polygon(const POINT* pts, int count) { return ::Polygon(m_hDC, pts, count); }
    void FillRect(const RECT* rc, HBRUSH brush) { ::FillRect(m_hDC, rc, brush); }
    void FillSolidRect(const RECT* rc, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FrameRect(const RECT* rc, HBRUSH brush) { ::FrameRect(m_hDC, rc, brush); }
    void DrawFocusRect(const RECT* rc) { ::DrawFocusRect(m_hDC, rc); }
    BOOL DrawEdge(RECT* rc, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rc, edge, flags); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

    int DrawText(const wchar_t* text, int count, RECT* rc, UINT format) { return ::DrawTextW(m_hDC, text, count, rc, format); }
    int DrawText(const wchar_t* text, RECT* rc, UINT format) { return ::DrawTextW(m_hDC, text, -1, rc, format); }
    BOOL TextOut(int x, int y, const wchar_t* text, int count) { return ::TextOutW(m_hDC, x, y, text, count); }
    BOOL TextOut(int x, int y, const wchar_t* text) { return ::TextOutW(m_hDC, x, y, text, lstrlenW(text)); }
    CSize GetTextExtent(const wchar_t* text, int count) const;
    CSize GetTextExtent(const wchar_t* text) const { return GetTextExtent(text, lstrlenW(text)); }
    BOOL GetTextMetrics(TEXTMETRICW* tm) const { return ::GetTextMetricsW(m_hDC, tm); }

    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int sx, int sy, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, sx, sy, rop);
    }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int sx, int sy, int sw, int sh, DWORD rop)
    {
        return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, sx, sy, sw, sh, rop);
    }
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }

    int GetClipBox(RECT* rc) const { return ::GetClipBox(m_hDC, rc); }
    int SelectClipRgn(HRGN rgn) { return ::SelectClipRgn(m_hDC, rgn); }
    int IntersectClipRect(const RECT* rc) { return ::IntersectClipRect(m_hDC, rc->left, rc->top, rc->right, rc->bottom); }
    int ExcludeClipRect(const RECT* rc) { return ::ExcludeClipRect(m_hDC, rc->left, rc->top, rc->right, rc->bottom); }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetWindowOrg(int x, int y);
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

    HDC m_hDC = nullptr;

protected:
    bool m_owned = false;  // created here, deleted here
};

// BeginPaint/EndPaint for one WM_PAINT.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
};

// GetDC/ReleaseDC of a window's client area.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

// GetWindowDC/ReleaseDC: the whole window, non-client area included.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};
