#include "frame/MessageDlg.h"

#include "common/ButtonStrips.h"
#include "core/Global.h"
#include "res/dialog_ids.h"

namespace {

struct ButtonDef {
    UINT id;
    int x;
    int label;   // UI string
    int result;
};

struct StyleDef {
    int style;
    UINT defaultCaption;  // string resource
    int count;
    ButtonDef buttons[3];
    int enter;   // 0: nothing; -1: IDYES when Enter means Yes
    int escape;  // 0: nothing
    bool yesNoKeys;
};

const StyleDef kStyles[] = {
    {0, IDS_MESSAGE_CAPTION, 1, {{IDC_MSG_BUTTON_MIDDLE, 220, 135, IDOK}}, IDOK, IDOK, false},
    {1, IDS_CONFIRM_CAPTION1, 2, {{IDC_MSG_BUTTON_2, 137, 135, IDOK}, {IDC_MSG_BUTTON_4, 303, 136, IDCANCEL}}, IDOK,
     IDCANCEL, false},
    {3, IDS_CONFIRM_CAPTION3, 3,
     {{IDC_MSG_BUTTON_LEFT, 54, 139, IDYES}, {IDC_MSG_BUTTON_MIDDLE, 220, 140, IDNO},
      {IDC_MSG_BUTTON_RIGHT, 386, 136, IDCANCEL}},
     -1, IDCANCEL, true},
    {4, IDS_CONFIRM_CAPTION4, 2, {{IDC_MSG_BUTTON_2, 137, 139, IDYES}, {IDC_MSG_BUTTON_4, 303, 140, IDNO}}, -1, 0,
     true},
    {10, IDS_CONFIRM_CAPTION10, 3,
     {{IDC_MSG_BUTTON_LEFT, 54, 137, IDYES}, {IDC_MSG_BUTTON_MIDDLE, 220, 138, IDNO},
      {IDC_MSG_BUTTON_RIGHT, 386, 136, IDCANCEL}},
     0, IDCANCEL, false},
    {11, IDS_CONFIRM_CAPTION11, 2, {{IDC_MSG_BUTTON_2, 137, 137, IDYES}, {IDC_MSG_BUTTON_4, 303, 136, IDCANCEL}}, 0,
     IDCANCEL, false},
};

// Callers use only the six styles; anything else is shown as a plain OK box.
const StyleDef& StyleOf(int style)
{
    for (const StyleDef& s : kStyles)
        if (s.style == style)
            return s;
    return kStyles[0];
}

// A box must still show when the language table is short (early start-up).
const int kWidth = 586, kHeight = 191;
const int kButtonWidth = 146, kButtonHeight = 38, kButtonTop = 148;
const RECT kTextRect{54, 56, 54 + 478, 56 + 80};

}  // namespace

BEGIN_MESSAGE_MAP(CMessageDlg, CCustomDialog)
    ON_COMMAND_RANGE(IDC_MSG_BUTTON_LEFT, IDC_MSG_BUTTON_RIGHT, OnButton)
END_MESSAGE_MAP()

CMessageDlg::CMessageDlg(LPCWSTR caption, CWnd* parent) : CCustomDialog(IDD_MESSAGE, parent)
{
    if (caption) {
        m_captionText = caption;
        m_hasCaption = TRUE;
    }
}

CMessageDlg::~CMessageDlg()
{
    if (m_hWnd)
        DestroyWindow();
}

void CMessageDlg::SetButtonTexts(LPCWSTR first, LPCWSTR last)
{
    m_first = first ? first : L"";
    m_last = last ? last : L"";
    m_customLabels = 1;
}

INT_PTR CMessageDlg::DoMessage(LPCWSTR text, int style)
{
    m_text = text ? text : L"";
    m_style = style;
    return DoModal();
}

CCustomButton* CMessageDlg::GetButton(UINT id)
{
    if (id < IDC_MSG_BUTTON_LEFT || id > IDC_MSG_BUTTON_RIGHT)
        return nullptr;
    CCustomButton& b = m_buttons[id - IDC_MSG_BUTTON_LEFT];
    return b.m_hWnd ? &b : nullptr;
}

BOOL CMessageDlg::OnInitDialog()
{
    const StyleDef& def = StyleOf(m_style);
    m_showClose = TRUE;
    PlaceOnMainWindow(kWidth, kHeight);
    const BOOL base = CCustomDialog::OnInitDialog();
    if (base != TRUE)
        return base;

    // ESC 'L' / ESC 'R' at the start choose the alignment and are not shown.
    CString text = m_text;
    DWORD align = SS_CENTER;
    int gdipAlign = Gdiplus::StringAlignmentCenter;
    if (text.GetLength() >= 2 && text[0] == 27 && (text[1] == L'L' || text[1] == L'R')) {
        align = text[1] == L'L' ? SS_LEFT : SS_RIGHT;
        gdipAlign = text[1] == L'L' ? Gdiplus::StringAlignmentNear : Gdiplus::StringAlignmentFar;
        text = text.Mid(2);
    }
    {
        CClientDC dc(this);
        m_shownText = FitTextToLines(200, dc.GetSafeHdc(), text, 3, gdipAlign,
                                     RECT{0, 0, kTextRect.right - kTextRect.left, kTextRect.bottom - kTextRect.top});
    }
    HWND item = ::GetDlgItem(m_hWnd, IDC_MSG_TEXT);
    if (item) {
        ::SetWindowTextW(item, m_shownText);
        if (m_textStatic.SubclassWindow(item)) {
            m_textStatic.ModifyStyle(SS_TYPEMASK, align | SS_CENTERIMAGE);
            m_textStatic.m_percent = 150;
            m_textStatic.MoveWindow(&kTextRect);
        }
    }

    // The placeholders of the other styles' buttons stay hidden.
    for (UINT id = IDC_MSG_BUTTON_LEFT; id <= IDC_MSG_BUTTON_RIGHT; ++id)
        if (HWND placeholder = ::GetDlgItem(m_hWnd, id))
            ::ShowWindow(placeholder, SW_HIDE);
    for (int i = 0; i < def.count; ++i) {
        const ButtonDef& b = def.buttons[i];
        CString label = UiText(b.label);
        if (m_style == 4 && m_customLabels)
            label = b.result == IDYES ? m_first : m_last;
        CCustomButton& button = m_buttons[b.id - IDC_MSG_BUTTON_LEFT];
        if (!BuildButtonImage(&button.m_strip, label, kButtonWidth, kButtonHeight, 100, FALSE) ||
            !button.CreateFromDlgItem(b.id, this))
            continue;
        button.SetWindowPos(static_cast<HWND>(nullptr), b.x, kButtonTop, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        button.SetRoundRegion();
    }
    if (def.escape == 0 && m_escapeAnswer == 0)
        m_btnClose.EnableWindow(FALSE);

    if (m_hasCaption) {
        SetCaption(m_captionText);
    } else {
        CString caption;
        AfxLoadString(def.defaultCaption, caption);
        SetCaption(caption);
    }
    return TRUE;
}

void CMessageDlg::OnButton(UINT id)
{
    const StyleDef& def = StyleOf(m_style);
    for (int i = 0; i < def.count; ++i)
        if (def.buttons[i].id == id) {
            EndDialog(def.buttons[i].result);
            return;
        }
}

void CMessageDlg::OnOK()
{
    const StyleDef& def = StyleOf(m_style);
    if (def.enter > 0)
        EndDialog(def.enter);
    else if (def.enter < 0 && m_enterMeansYes)
        EndDialog(IDYES);
}

void CMessageDlg::OnCancel()
{
    const int answer = m_escapeAnswer ? m_escapeAnswer : StyleOf(m_style).escape;
    if (answer)
        EndDialog(answer);
}

BOOL CMessageDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && StyleOf(m_style).yesNoKeys && !m_customLabels && m_hWnd &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        if (msg->wParam == 'Y') {
            EndDialog(IDYES);
            return TRUE;
        }
        if (msg->wParam == 'N') {
            EndDialog(IDNO);
            return TRUE;
        }
    }
    return CCustomDialog::PreTranslateMessage(msg);
}

INT_PTR MessageDlgWithParent(LPCWSTR text, CWnd* parent)
{
    if (!text || !*text || !parent)
        return IDOK;
    const CString caption = UiText(238);
    CMessageDlg box(caption, parent);
    return box.DoMessage(text, 0);
}

int ShowMessage(LPCWSTR text, int style, BOOL enterMeansYes)
{
    if (!text || !*text)
        return IDOK;
    CPtrArray& stack = theGlobal.m_dialogStack;
    CWnd* parent = stack.GetSize() > 0 ? static_cast<CWnd*>(stack[stack.GetSize() - 1]) : AfxGetMainWnd();
    const CString caption = UiText(238);
    CMessageDlg box(caption, parent);
    box.m_enterMeansYes = enterMeansYes;
    return static_cast<int>(box.DoMessage(text, style));
}
