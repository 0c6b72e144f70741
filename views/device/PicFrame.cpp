#include "views/device/PicFrame.h"

#include <algorithm>

namespace picframe {

int Round(double v) { return static_cast<int>(v + 0.5); }

RECT DisplayRect(int clientW, int clientH, int targetW, int targetH, bool iconMode, int iconSide,
                 int fitButtonHeight)
{
    RECT area;
    area.left = iconMode ? iconSide + 101 : 59;
    area.right = iconMode ? clientW + iconSide - 97 : clientW - 59;
    area.top = 61 + fitButtonHeight;
    area.bottom = clientH - 89;
    ::InflateRect(&area, -2, -2);
    const int aw = area.right - area.left, ah = area.bottom - area.top;
    if (aw <= 0 || ah <= 0 || targetW <= 0 || targetH <= 0)
        return RECT{area.left, area.top, area.left, area.top};
    const long long taller = static_cast<long long>(targetW) * ah, wider = static_cast<long long>(aw) * targetH;
    if (taller > wider) {
        const double height = static_cast<double>(aw) * targetH / targetW;
        const int cy = (area.top + area.bottom) / 2;
        return RECT{area.left, Round(cy - height / 2), area.right, Round(cy + height / 2)};
    }
    if (taller < wider) {
        // Room of 30 above and 32 below; the width follows the height left,
        // so the picture is never shown stretched.
        int top = area.top + 30, bottom = area.bottom - 32;
        if (bottom - top < 2)
            top = area.top, bottom = area.bottom;
        const double width = static_cast<double>(targetW) * (bottom - top) / targetH;
        const int cx = (area.left + area.right) / 2;
        return RECT{Round(cx - width / 2), top, Round(cx + width / 2), bottom};
    }
    return area;
}

POINT ToClient(POINT p, const RECT& d, int W, int H)
{
    if (W <= 0 || H <= 0)
        return POINT{0, 0};
    return POINT{Round(static_cast<double>(p.x) * (d.right - d.left) / W + d.left),
                 Round(static_cast<double>(p.y) * (d.bottom - d.top) / H + d.top)};
}

POINT ToPicture(POINT p, const RECT& d, int W, int H)
{
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    if (W <= 0 || H <= 0 || dw <= 0 || dh <= 0)
        return POINT{0, 0};
    return POINT{Round(static_cast<double>(W) / dw * (p.x - d.left)),
                 Round(static_cast<double>(H) / dh * (p.y - d.top))};
}

RECT RectToClient(const RECT& r, const RECT& d, int W, int H)
{
    const POINT a = ToClient(POINT{r.left, r.top}, d, W, H), b = ToClient(POINT{r.right, r.bottom}, d, W, H);
    return RECT{a.x, a.y, b.x, b.y};
}

RECT RectToPicture(const RECT& r, const RECT& d, int W, int H)
{
    const POINT a = ToPicture(POINT{r.left, r.top}, d, W, H), b = ToPicture(POINT{r.right, r.bottom}, d, W, H);
    return RECT{a.x, a.y, b.x, b.y};
}

int HitTest(const RECT& r, POINT p)
{
    const struct {
        int code;
        RECT zone;
    } zones[] = {
        {HitTopLeft, {r.left, r.top, r.left + 10, r.top + 10}},
        {HitTopRight, {r.right - 10, r.top, r.right, r.top + 10}},
        {HitBottomLeft, {r.left, r.bottom - 10, r.left + 10, r.bottom}},
        {HitBottomRight, {r.right - 10, r.bottom - 10, r.right, r.bottom}},
        {HitLeft, {r.left, r.top + 10, r.left + 10, r.bottom - 10}},
        {HitTop, {r.left + 10, r.top, r.right - 10, r.top + 10}},
        {HitRight, {r.right - 10, r.top + 10, r.right, r.bottom - 10}},
        {HitBottom, {r.left + 10, r.bottom - 10, r.right - 10, r.bottom}},
        {HitInside, r},
    };
    for (const auto& z : zones)
        if (::PtInRect(&z.zone, p))
            return z.code;
    return HitNone;
}

LPCWSTR HitCursor(int code)
{
    switch (code) {
    case HitTopLeft:
    case HitBottomRight:
        return IDC_SIZENWSE;
    case HitTopRight:
    case HitBottomLeft:
        return IDC_SIZENESW;
    case HitLeft:
    case HitRight:
        return IDC_SIZEWE;
    case HitTop:
    case HitBottom:
        return IDC_SIZENS;
    case HitInside:
        return IDC_SIZEALL;
    default:
        return nullptr;
    }
}

void Drag(RECT& f, int code, bool shift, POINT p, POINT grab, int W, int H)
{
    if (W <= 0 || H <= 0)
        return;
    const double q = static_cast<double>(H) / W;
    const int minW = static_cast<int>(30 / q);
    const int x = p.x, y = p.y;
    auto aspectHeight = [&] { return static_cast<int>((f.right - f.left) * q); };
    switch (code) {
    case HitTopLeft:
        f.left = x;
        if (!shift) {
            if (x < 0)
                f.left = 0;
            f.top = f.bottom - aspectHeight();
            if (f.bottom - f.top < 30) {
                f.top = f.bottom - 30;
                f.left = f.right - minW;
            }
        } else {
            f.top = y;
            if (f.bottom - y < 30)
                f.top = f.bottom - 30;
            if (f.right - x < minW)
                f.left = f.right - minW;
        }
        f.top = std::max<LONG>(f.top, 0);
        f.left = std::max<LONG>(f.left, 0);
        break;
    case HitTopRight:
        f.right = x;
        if (!shift) {
            if (x > W)
                f.right = W;
            f.top = f.bottom - aspectHeight();
            if (f.bottom - f.top < 30) {
                f.top = f.bottom - 30;
                f.right = f.left + minW;
            }
        } else {
            f.top = y;
            if (f.bottom - y < 30)
                f.top = f.bottom - 30;
            if (x - f.left < minW)
                f.right = f.left + minW;
        }
        f.top = std::max<LONG>(f.top, 0);
        f.right = std::min<LONG>(f.right, W);
        break;
    case HitBottomLeft:
        f.left = x;
        if (!shift) {
            if (x < 0)
                f.left = 0;
            f.bottom = f.top + aspectHeight();
            if (f.bottom - f.top < 30) {
                f.bottom = f.top + 30;
                f.left = f.right - minW;
            }
        } else {
            f.bottom = y;
            if (y - f.top < 30)
                f.bottom = f.top + 30;
            if (f.right - x < minW)
                f.left = f.right - minW;
        }
        f.bottom = std::min<LONG>(f.bottom, H);
        f.left = std::max<LONG>(f.left, 0);
        break;
    case HitBottomRight:
        f.right = x;
        if (!shift) {
            if (x > W)
                f.right = W;
            f.bottom = f.top + aspectHeight();
            if (f.bottom - f.top < 30) {
                f.bottom = f.top + 30;
                f.right = f.left + minW;
            }
        } else {
            f.bottom = y;
            if (y - f.top < 30)
                f.bottom = f.top + 30;
            if (x - f.left < minW)
                f.right = f.left + minW;
        }
        f.bottom = std::min<LONG>(f.bottom, H);
        f.right = std::min<LONG>(f.right, W);
        break;
    case HitRight:
        f.right = std::min(x, W);
        if (f.right - f.left < minW)
            f.right = std::min(f.left + minW, static_cast<LONG>(W));
        break;
    case HitLeft:
        f.left = std::max(x, 0);
        if (f.right - f.left < minW)
            f.left = std::max(f.right - minW, 0L);
        break;
    case HitBottom:
        f.bottom = std::min(y, H);
        if (f.bottom - f.top < 30)
            f.bottom = std::min(f.top + 30, static_cast<LONG>(H));
        break;
    case HitTop:
        f.top = std::max(y, 0);
        if (f.bottom - f.top < 30)
            f.top = std::max(f.bottom - 30, 0L);
        break;
    case HitInside: {
        const int w = f.right - f.left, h = f.bottom - f.top;
        f.left = x - grab.x;
        f.top = y - grab.y;
        f.right = f.left + w;
        f.bottom = f.top + h;
        if (f.left < 0)
            ::OffsetRect(&f, -f.left, 0);
        if (f.top < 0)
            ::OffsetRect(&f, 0, -f.top);
        if (f.bottom > H)
            ::OffsetRect(&f, 0, H - f.bottom);
        if (f.right > W)
            ::OffsetRect(&f, W - f.right, 0);
        break;
    }
    default:
        break;
    }
}

bool Nudge(RECT& f, UINT key, int W, int H)
{
    const int stepY = (f.bottom - f.top) / 100 + 1, stepX = (f.right - f.left) / 100 + 1;
    switch (key) {
    case VK_UP:
        ::OffsetRect(&f, 0, -std::max(0, std::min<int>(stepY, f.top)));
        return true;
    case VK_DOWN:
        ::OffsetRect(&f, 0, std::max(0, std::min<int>(stepY, H - f.bottom)));
        return true;
    case VK_RIGHT:
        ::OffsetRect(&f, std::max(0, std::min<int>(stepX, W - f.right)), 0);
        return true;
    case VK_LEFT:
        ::OffsetRect(&f, -std::max(0, std::min<int>(stepX, f.left)), 0);
        return true;
    default:
        return false;
    }
}

int ClampEditSplit(int width, int W, int H, int S)
{
    if (H < 61 || W - 12 <= 0)
        return width;
    width = std::max(width, 304);
    const int upper = W - 12 - S - 528;
    if (width >= upper)
        width = upper;
    // A window too small for both sides gives the pane nothing, never less.
    return std::max(width, 0);
}

int ClampFileSplit(int width, int W, int S)
{
    if (W <= 0)
        return width;
    width = std::max(width, 150);
    const int upper = W - S - 150;
    if (width >= upper)
        width = upper;
    return std::max(width, 0);
}

void AntsPatterns(int p, DWORD white[4], DWORD black[4])
{
    p = ((p % 10) + 10) % 10;
    if (p <= 6) {
        const DWORD w[4] = {static_cast<DWORD>(6 - p), 4, static_cast<DWORD>(p), 0};
        const DWORD b[4] = {0, static_cast<DWORD>(6 - p), 4, static_cast<DWORD>(p)};
        std::copy(w, w + 4, white);
        std::copy(b, b + 4, black);
    } else {
        const DWORD w[4] = {0, static_cast<DWORD>(10 - p), 6, static_cast<DWORD>(p - 6)};
        const DWORD b[4] = {static_cast<DWORD>(10 - p), 6, static_cast<DWORD>(p - 6), 0};
        std::copy(w, w + 4, white);
        std::copy(b, b + 4, black);
    }
}

CString SaveFileName(const wchar_t* prefix, const SYSTEMTIME& t, int n)
{
    CString name;
    name.Format(L"%s%04d%02d%02d-%02d%02d%02d", prefix, t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    if (n > 1) {
        CString suffix;
        suffix.Format(L"-%d", n);
        name += suffix;
    }
    return name + L".BMP";
}

}  // namespace picframe
