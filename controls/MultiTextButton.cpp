#include "controls/MultiTextButton.h"

using namespace Gdiplus;

CMultiTextButton::CMultiTextButton() = default;

CMultiTextButton::~CMultiTextButton() = default;

void CMultiTextButton::SetText(LPCWSTR text)
{
    if (m_hWnd)
        SetWindowText(text ? text : L"");  // wrapped in TextChanged
    else
        Wrap(text);
}

void CMultiTextButton::TextChanged()
{
    Wrap(AfxGetWindowText(m_hWnd));
    ShowStateChange();
}

void CMultiTextButton::Wrap(LPCWSTR text)
{
    for (FittedSize& fitted : m_fitted)
        fitted.valid = false;
    m_lines.RemoveAll();
    if (!text || !*text)
        return;
    RECT rect = m_textRects[kStateNormal];
    const int half = (rect.bottom - rect.top) / 2;
    rect.top -= half;
    rect.bottom += half;
    // Measured on the window's DC; a paint DC here would validate the window.
    HWND measureWnd = m_hWnd;
    HDC dc = ::GetDC(measureWnd);
    const CString lines = FitTextToLines(200, dc, text, 2, StringAlignmentCenter, rect);
    ::ReleaseDC(measureWnd, dc);
    // Lines are centred: the blank they were split at belongs to neither.
    const int feed = lines.Find(L'\n');
    CString first = feed < 0 ? lines : lines.Left(feed);
    CString second = feed < 0 ? CString() : lines.Mid(feed + 1);
    m_lines.Add(first.Trim());
    if (!second.Trim().IsEmpty())
        m_lines.Add(second);
}

BOOL CMultiTextButton::LoadTwoLineImage(LPCWSTR name, int state)
{
    if (!ValidState(state))
        return FALSE;
    return LoadPackImage(name, m_twoLineImages[state]);
}

void CMultiTextButton::SetSecondLineRect(const RECT& rect)
{
    for (RECT& r : m_secondLineRects)
        r = rect;
}

void CMultiTextButton::SetSecondLineRects(const RECT rects[kStateCount])
{
    for (int n = 0; n < kStateCount; ++n)
        m_secondLineRects[n] = rects[n];
}

const CMultiTextButton::FittedSize& CMultiTextButton::FittedFor(int state, HDC hdc)
{
    FittedSize& fitted = m_fitted[state];
    const RECT& first = m_textRects[state];
    const RECT& second = m_secondLineRects[state];
    const bool twoLines = m_lines.GetSize() == 2;
    if (fitted.valid && ::EqualRect(&fitted.first, &first) && (!twoLines || ::EqualRect(&fitted.second, &second)))
        return fitted;
    fitted.first = first;
    fitted.second = second;
    if (!twoLines) {
        fitted.firstPercent =
            CUtilGdiplus::FitTextPercent(hdc, m_lines[0], 200, TRUE, StringAlignmentCenter, StringAlignmentCenter, first);
    } else {
        const int percent = GetFittingFontSize(hdc, m_lines[0], m_lines[1], first);
        fitted.firstPercent = CUtilGdiplus::FitTextPercent(hdc, m_lines[0], percent, TRUE, StringAlignmentCenter,
                                                           StringAlignmentCenter, first);
        fitted.secondPercent = CUtilGdiplus::FitTextPercent(hdc, m_lines[1], percent, TRUE, StringAlignmentCenter,
                                                            StringAlignmentCenter, second);
    }
    fitted.valid = true;
    return fitted;
}

void CMultiTextButton::Draw(const POINT& origin, HDC hdc)
{
    const int state = ValidState(m_state) ? m_state : kStateNormal;
    const bool twoLines = m_lines.GetSize() == 2;
    Image* picture = (twoLines && m_twoLineImages[state] ? m_twoLineImages[state] : m_images[state]).get();
    DrawGdipImage(picture, hdc, origin.x, origin.y);
    if (m_lines.GetSize() == 0)
        return;
    const FittedSize& fitted = FittedFor(state, hdc);
    m_text.SetTextColor(m_textColors[state]);
    RECT first = m_textRects[state];
    ::OffsetRect(&first, origin.x, origin.y);
    m_text.DrawTextIn(hdc, m_lines[0], fitted.firstPercent, TRUE, StringAlignmentCenter, StringAlignmentCenter, first);
    if (!twoLines)
        return;
    RECT second = m_secondLineRects[state];
    ::OffsetRect(&second, origin.x, origin.y);
    m_text.DrawTextIn(hdc, m_lines[1], fitted.secondPercent, TRUE, StringAlignmentCenter, StringAlignmentCenter,
                      second);
}
