#include "controls/CustomProgressCtrl.h"

BEGIN_MESSAGE_MAP(CCustomProgressCtrl, CProgressCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {
const COLORREF kBarRows[8] = {0x828282, 0x767575, 0x656564, 0x585858, 0x585858, 0x585858, 0x585858, 0x525252};
constexpr int kBarLeft = 3, kBarTop = 4;
}  // namespace

CCustomProgressCtrl::~CCustomProgressCtrl()
{
    FreeDibImage(&m_background);
}

void CCustomProgressCtrl::PreSubclassWindow()
{
    FreeDibImage(&m_background);
    LoadDibFromPack(L"progress_bar.bmp", &m_background);
}

int CCustomProgressCtrl::PercentOf(int lower, int upper, int pos)
{
    // An empty job (lower == upper) must not divide by zero.
    if (upper <= lower)
        return 0;
    long long percent = (static_cast<long long>(pos) - lower) * 100 / (static_cast<long long>(upper) - lower);
    if (percent < 0)
        return 0;
    return percent > 100 ? 100 : static_cast<int>(percent);
}

void CCustomProgressCtrl::Paint(HDC dc, const RECT& client, int lower, int upper, int pos) const
{
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (m_background.bitmap) {
        SetStretchBltMode(dc, COLORONCOLOR);
        DrawDibEx(&m_background, dc, client.left, client.top, width, height, 0, 0, m_background.width,
                  m_background.height);
    }
    const int right = BarRight(width, PercentOf(lower, upper, pos));
    if (right <= kBarLeft)
        return;
    for (int row = 0; row < 8; ++row) {
        HBRUSH b = CreateSolidBrush(kBarRows[row]);
        RECT line{client.left + kBarLeft, client.top + kBarTop + row, client.left + right, client.top + kBarTop + row + 1};
        FillRect(dc, &line, b);
        DeleteObject(b);
    }
}

void CCustomProgressCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    int lower = 0, upper = 0;
    GetRange(lower, upper);
    Paint(dc, client, lower, upper, GetPos());
}
