#include "common/ButtonStrips.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>

#include "common/FileArchive.h"
#include "common/GdiplusText.h"
#include "common/Utility.h"

namespace {

constexpr int kCornerWidth = 8;
constexpr int kCornerHeight = 4;

struct StripStyle {
    const wchar_t* pieces[kStripFrames];
    COLORREF colours[kStripFrames];
};

const COLORREF kWhite = RGB(255, 255, 255), kChecked = RGB(8, 8, 64), kBlack = RGB(0, 0, 0),
               kDisabled = RGB(100, 100, 100), kGrey = RGB(138, 138, 151);

const StripStyle kMainSet = {
    {L"btn_normal.bmp", L"btn_pressed.bmp", L"btn_check.bmp", L"btn_hot.bmp", L"btn_disabled.bmp"},
    {kWhite, kWhite, kChecked, kBlack, kDisabled}};
const StripStyle kDialogSet = {
    {L"btn_dlg_normal.bmp", L"btn_dlg_pressed.bmp", L"btn_dlg_pressed.bmp", L"btn_dlg_hot.bmp", L"btn_dlg_disabled.bmp"},
    {kWhite, kWhite, kChecked, kBlack, kDisabled}};
const StripStyle kLargeSet = {
    {L"btn_normal.bmp", L"btn_pressed.bmp", L"btn_check.bmp", L"btn_hot.bmp", L"btn_check.bmp"},
    {kWhite, kWhite, kChecked, kBlack, kChecked}};
const StripStyle kOptionTabSet = {
    {L"btn_opt_tab_left_off.bmp", L"btn_opt_tab_left_on.bmp", L"btn_opt_tab_left_on.bmp", L"btn_opt_tab_left_off.bmp",
     L"btn_opt_tab_left_off.bmp"},
    {kGrey, kWhite, kWhite, kGrey, kGrey}};
const COLORREF kNumberedLight[kStripFrames] = {kWhite, kWhite, kWhite, kBlack, kDisabled};
const COLORREF kNumberedGrey[kStripFrames] = {kGrey, kWhite, kWhite, kGrey, kDisabled};

// The strips' pieces, decoded once for each opened pack: nearly every button
// of the program is built from the same five pictures. User-interface thread
// only, as the builders.
class PieceCache {
public:
    // The piece, or NULL when the pack lacks it or it cannot be read.
    const DIB_IMAGE* Get(const wchar_t* name)
    {
        if (m_generation != theFileArchive.GetGeneration()) {
            for (auto& [key, piece] : m_pieces)
                FreeDibImage(&piece);
            m_pieces.clear();
            m_generation = theFileArchive.GetGeneration();
        }
        std::wstring key(name);
        std::transform(key.begin(), key.end(), key.begin(), ::towlower);
        if (auto found = m_pieces.find(key); found != m_pieces.end())
            return &found->second;
        DIB_IMAGE piece{};
        if (!LoadDibFromPack(name, &piece))
            return nullptr;
        return &m_pieces.emplace(key, piece).first->second;
    }

private:
    DWORD m_generation = 0;
    std::map<std::wstring, DIB_IMAGE> m_pieces;
};

PieceCache& Pieces()
{
    // Never destroyed with the statics: the pictures go with the process.
    static PieceCache* cache = new PieceCache;
    return *cache;
}

// Draws the caption of state k onto the canvas selected in dc.
using CaptionFn = std::function<void(HDC dc, CUtilGdiplus& gdiplus, int state, COLORREF colour)>;

// The frame loop every builder shares.
BOOL BuildStrip(DIB_IMAGE* out, int width, int height, const wchar_t* const pieces[kStripFrames],
                const COLORREF colours[kStripFrames], const CaptionFn& caption)
{
    CUtilGdiplus gdiplus;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return FALSE;
    DIB_IMAGE canvas{};
    if (!CreateDib(&canvas, width, height)) {
        DeleteDC(dc);
        return FALSE;
    }
    FreeDibImage(out);
    BOOL ok = TRUE;
    for (int k = 0; k < kStripFrames && ok; ++k) {
        const DIB_IMAGE* piece = Pieces().Get(pieces[k]);
        ok = piece != nullptr;
        if (ok) {
            HGDIOBJ old = SelectObject(dc, canvas.bitmap);
            ok = NineSliceDib(piece, dc, 0, 0, width, height);
            if (ok)
                caption(dc, gdiplus, k, colours[k]);
            SelectObject(dc, old);
            GdiFlush();
            ok = ok && StackDibs(out, &canvas);
        }
    }
    DeleteDC(dc);
    FreeDibImage(&canvas);
    if (!ok)
        FreeDibImage(out);
    return ok;
}

// A caption drawn in the same rectangle on every frame: fitted once, on the first.
class FittedCaption {
public:
    FittedCaption(const CString& text, int percent, const RECT& rect) : m_text(text), m_percent(percent), m_rect(rect) {}
    void Draw(HDC dc, CUtilGdiplus& gdiplus, COLORREF colour)
    {
        if (!m_fitted) {
            m_percent = CUtilGdiplus::FitTextPercent(dc, m_text, m_percent, TRUE, Gdiplus::StringAlignmentCenter,
                                                     Gdiplus::StringAlignmentCenter, m_rect);
            m_fitted = true;
        }
        gdiplus.SetTextColor(colour);
        gdiplus.DrawTextIn(dc, m_text, m_percent, TRUE, Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter,
                           m_rect);
    }
    void SetText(const CString& text) { m_text = text; }

private:
    CString m_text;
    int m_percent;
    RECT m_rect;
    bool m_fitted = false;
};

}  // namespace

BOOL NineSliceDib(const DIB_IMAGE* piece, HDC dc, int x, int y, int width, int height)
{
    const int w = piece->width, h = piece->height;
    if (!piece->bitmap || width <= 0 || height <= 0)
        return FALSE;
    // Corners shrink for pieces or frames too small for them, so that no part
    // gets a negative size (which would draw the wrong part of the piece) and
    // the piece keeps at least one middle column and row to stretch.
    const int cw = std::max(0, std::min({kCornerWidth, (w - 1) / 2, width / 2}));
    const int ch = std::max(0, std::min({kCornerHeight, (h - 1) / 2, height / 2}));
    const int xs[3] = {0, cw, w - cw}, ws[3] = {cw, w - 2 * cw, cw};
    const int ys[3] = {0, ch, h - ch}, hs[3] = {ch, h - 2 * ch, ch};
    const int xd[3] = {0, cw, width - cw}, wd[3] = {cw, width - 2 * cw, cw};
    const int yd[3] = {0, ch, height - ch}, hd[3] = {ch, height - 2 * ch, ch};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            if (wd[col] <= 0 || hd[row] <= 0 || ws[col] <= 0 || hs[row] <= 0)
                continue;
            if (!DrawDibEx(piece, dc, x + xd[col], y + yd[row], wd[col], hd[row], xs[col], ys[row], ws[col], hs[row]))
                return FALSE;
        }
    return TRUE;
}

BOOL BuildButtonImage(DIB_IMAGE* out, LPCWSTR caption, int width, int height, int percent, BOOL mainSet)
{
    const StripStyle& style = mainSet ? kMainSet : kDialogSet;
    const RECT rect{2, 2, width - 4, height - 4};
    const CString text(caption);
    FittedCaption fitted(text, percent, rect);
    bool laidOut = false;
    return BuildStrip(out, width, height, style.pieces, style.colours,
                      [&](HDC dc, CUtilGdiplus& gdiplus, int, COLORREF colour) {
                          if (!laidOut) {
                              fitted.SetText(FitTextToLines(percent, dc, text, 2, Gdiplus::StringAlignmentCenter, rect));
                              laidOut = true;
                          }
                          fitted.Draw(dc, gdiplus, colour);
                      });
}

BOOL BuildLargeButtonImage(DIB_IMAGE* out, LPCWSTR caption)
{
    FittedCaption fitted(CString(caption), 200, RECT{2, 2, 242, 36});
    return BuildStrip(out, 246, 40, kLargeSet.pieces, kLargeSet.colours,
                      [&](HDC dc, CUtilGdiplus& gdiplus, int, COLORREF colour) { fitted.Draw(dc, gdiplus, colour); });
}

BOOL BuildOptionTabImage(DIB_IMAGE* out, LPCWSTR caption)
{
    const CString text(caption);
    return BuildStrip(out, 194, 21, kOptionTabSet.pieces, kOptionTabSet.colours,
                      [&](HDC dc, CUtilGdiplus&, int, COLORREF colour) {
                          ::SetTextColor(dc, colour);
                          SetBkMode(dc, TRANSPARENT);
                          const RECT rect{7, 3, 186, 18};
                          DrawTextShrinkToFit(dc, 100, &rect, text, TRUE, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
                      });
}

BOOL BuildNumberedButtonImage(DIB_IMAGE* out, LPCWSTR caption, int width, int height, LPCWSTR baseName,
                              BOOL lightCaptions, RECT textRect)
{
    CString names[kStripFrames];
    const wchar_t* pieces[kStripFrames];
    for (int k = 0; k < kStripFrames; ++k) {
        names[k].Format(L"%s_%d.bmp", baseName ? baseName : L"", k);
        pieces[k] = names[k];
    }
    CString text(caption);
    text.Replace(L"<BR>", L"\n");
    FittedCaption fitted(text, 200, textRect);
    bool laidOut = false;
    return BuildStrip(out, width, height, pieces, lightCaptions ? kNumberedLight : kNumberedGrey,
                      [&](HDC dc, CUtilGdiplus& gdiplus, int, COLORREF colour) {
                          if (!laidOut) {
                              fitted.SetText(FitTextToLines(200, dc, text, 2, Gdiplus::StringAlignmentCenter, textRect));
                              laidOut = true;
                          }
                          fitted.Draw(dc, gdiplus, colour);
                      });
}

void DrawFrameLines(const RECT* rect, HDC dc)
{
    HPEN dark = CreatePen(PS_SOLID, 1, RGB(37, 37, 43));
    HPEN light = CreatePen(PS_SOLID, 1, RGB(110, 110, 129));
    HGDIOBJ old = SelectObject(dc, dark);
    MoveToEx(dc, rect->left, rect->bottom - 1, nullptr);
    LineTo(dc, rect->left, rect->top);
    LineTo(dc, rect->right, rect->top);
    SelectObject(dc, light);
    MoveToEx(dc, rect->right - 1, rect->top + 1, nullptr);
    LineTo(dc, rect->right - 1, rect->bottom - 1);
    LineTo(dc, rect->left, rect->bottom - 1);
    SelectObject(dc, old);
    DeleteObject(dark);
    DeleteObject(light);
}
