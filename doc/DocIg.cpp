#include "doc/DocIg.h"

#include <algorithm>
#include <cstring>

#include "core/Global.h"
#include "doc/PictureLoad.h"

namespace {

BOOL CopyDib(const DIB_IMAGE& src, DIB_IMAGE* dst)
{
    InitDibImage(dst);
    if (!src.bitmap || !src.bits)
        return FALSE;
    return SetDibBits(dst, src.width, src.height, src.bits);
}

}  // namespace

CDocIg::CDocIg()
{
    InitDibImage(&m_source);
    InitDibImage(&m_working);
}

CDocIg::~CDocIg()
{
    FreeDibImage(&m_source);
    FreeDibImage(&m_working);
}

void CDocIg::Clear()
{
    FreeDibImage(&m_source);
    FreeDibImage(&m_working);
    m_modified = 0;
}

BOOL CDocIg::Load(const wchar_t* path)
{
    DIB_IMAGE loaded;
    InitDibImage(&loaded);
    if (!LoadAnyPicture(path, &loaded)) {
        FreeDibImage(&loaded);
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    DIB_IMAGE working;
    if (!CopyDib(loaded, &working)) {
        FreeDibImage(&loaded);
        m_errorCode = DOCERR_READ;
        return FALSE;
    }
    FreeDibImage(&m_source);
    FreeDibImage(&m_working);
    m_source = loaded;
    m_working = working;
    return TRUE;
}

void CDocIg::GetTargetSize(int* width, int* height) const
{
    bool small = theGlobal.m_modelType == 1 || theGlobal.m_modelType == 4 || theGlobal.m_modelType == 6;
    int w, h;
    if (m_targetKind == IG_TARGET_ICON)
        w = h = small ? 24 : 32;
    else if (m_targetKind == IG_TARGET_SPLASH)
        w = small ? 480 : 800, h = small ? 272 : 480;
    else
        return;
    if (width)
        *width = w;
    if (height)
        *height = h;
}

void CDocIg::GetFitRect(RECT* out) const
{
    if (!out)
        return;
    int tw = 0, th = 0;
    GetTargetSize(&tw, &th);
    double w = m_working.width, h = m_working.height;
    *out = RECT{0, 0, m_working.width, m_working.height};
    if (tw <= 0 || th <= 0 || w <= 0 || h <= 0)
        return;
    if (h * tw > w * th)
        out->right = static_cast<LONG>(h / th * tw);
    else if (h * tw < w * th)
        out->bottom = static_cast<LONG>(w / tw * th);
}

BOOL CDocIg::Save(const wchar_t* path)
{
    int tw = 0, th = 0;
    GetTargetSize(&tw, &th);
    DIB_IMAGE fitted;
    if (!path || !*path || tw <= 0 || !CopyDib(m_working, &fitted)) {
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }
    FitDibLetterbox(&fitted, tw, th);
    // A failed write leaves an old file of that name as it was.
    BOOL ok = fitted.width == tw && fitted.height == th && SaveDibAsBmp(path, &fitted);
    FreeDibImage(&fitted);
    if (!ok) {
        m_errorCode = DOCERR_WRITE;
        return FALSE;
    }
    return TRUE;
}

BOOL CDocIg::GetScaledBitmap(DIB_IMAGE* out) const
{
    if (!out || !m_working.bitmap)
        return FALSE;
    RECT frame;
    GetFitRect(&frame);
    if (!CopyDib(m_working, out))
        return FALSE;
    FitDibLetterbox(out, frame.right, frame.bottom);
    AvoidPureBlack(out);
    return TRUE;
}

BOOL CDocIg::GetTargetBitmap(DIB_IMAGE* out) const
{
    if (!out || !m_working.bitmap)
        return FALSE;
    int tw = 0, th = 0;
    GetTargetSize(&tw, &th);
    if (tw <= 0 || !CopyDib(m_working, out))
        return FALSE;
    FitDibLetterbox(out, tw, th);
    return TRUE;
}

void CDocIg::CropRect(RECT* out, bool byWidth) const
{
    if (!out)
        return;
    int tw = 0, th = 0;
    GetTargetSize(&tw, &th);
    if (tw <= 0 || th <= 0) {
        *out = RECT{};
        return;
    }
    int width, height;
    if (byWidth) {
        width = m_working.width;
        height = width * th / tw;
    } else {
        height = m_working.height;
        width = height * tw / th;
    }
    width = std::max(width, tw * 30 / th);
    height = std::max(height, 30);
    RECT frame;
    GetFitRect(&frame);
    int x = (frame.right - width - frame.left) / 2;
    int y = (frame.bottom - height - frame.top) / 2;
    *out = RECT{x, y, x + width, y + height};
}

void CDocIg::GetCropRectByWidth(RECT* out) const { CropRect(out, true); }

void CDocIg::GetCropRectByHeight(RECT* out) const { CropRect(out, false); }

BOOL CDocIg::CropImage(int x, int y, int width, int height)
{
    // A failure names itself: the view shows this document's error text.
    m_errorCode = DOCERR_4;
    if (!m_working.bits || width <= 0 || height <= 0)
        return FALSE;
    RECT frame;
    GetFitRect(&frame);
    if (x < frame.left || y < frame.top || x + width > frame.right || y + height > frame.bottom)
        return FALSE;
    // Frame coordinates to picture coordinates (top-down).
    int px = x + (m_working.width - frame.right) / 2;
    int py = y + (m_working.height - frame.bottom) / 2;
    DIB_IMAGE cropped;
    InitDibImage(&cropped);
    if (!CreateDib(&cropped, width, height))
        return FALSE;
    int outRow = DibRowSize(width), inRow = DibRowSize(m_working.width);
    memset(cropped.bits, 0, static_cast<size_t>(outRow) * height);
    int x0 = std::max(px, 0), x1 = std::min(px + width, m_working.width);
    for (int row = 0; row < height && x0 < x1; ++row) {
        int srcRow = py + row;  // from the top
        if (srcRow < 0 || srcRow >= m_working.height)
            continue;
        // Bottom-up memory: top row t lives in memory row height - 1 - t.
        const BYTE* src = m_working.bits + static_cast<size_t>(m_working.height - 1 - srcRow) * inRow + x0 * 3;
        BYTE* dst = cropped.bits + static_cast<size_t>(height - 1 - row) * outRow + (x0 - px) * 3;
        memcpy(dst, src, static_cast<size_t>(x1 - x0) * 3);
    }
    FreeDibImage(&m_working);
    m_working = cropped;
    m_modified = 1;
    return TRUE;
}
