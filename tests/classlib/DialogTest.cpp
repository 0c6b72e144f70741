// Dialogs from resource templates: modal with their own loop, modeless, the
// init / OK / cancel flow with data exchange, and string resources.
#include <string>

#include "GuiTestResources.h"
#include "GuiTestSupport.h"

namespace {

// Each test scripts the user: what is typed and which key ends the dialog.
class CTestDialog : public CDialog {
public:
    explicit CTestDialog(CWnd* owner) : CDialog(IDD_TEST, owner) {}
    CString m_name = L"start";
    int m_number = 5;
    int m_check = 1;
    std::wstring typedName, typedNumber;
    std::vector<std::pair<int, UINT>> keys;  // (control id, virtual key) posted after init
    int endInInit = 0;
    bool ownerWasDisabled = false;
    CString caption;
    CString shownName;
    int okCalls = 0;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        GetDlgItemText(IDC_NAME, shownName);
        AfxLoadString(IDD_TEST, caption);
        SetWindowText(caption);
        if (m_pParentWnd)
            ownerWasDisabled = !m_pParentWnd->IsWindowEnabled();
        if (!typedName.empty())
            SetDlgItemText(IDC_NAME, typedName.c_str());
        if (!typedNumber.empty())
            SetDlgItemText(IDC_NUMBER, typedNumber.c_str());
        for (auto [id, key] : keys)
            ::PostMessageW(::GetDlgItem(m_hWnd, id), WM_KEYDOWN, key, 1);
        if (endInInit)
            EndDialog(endInInit);
        return TRUE;
    }
    void OnOK() override
    {
        ++okCalls;
        CDialog::OnOK();
    }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, IDC_NAME, m_name);
        DDX_Text(dx, IDC_NUMBER, m_number);
        DDX_Check(dx, IDC_CHECK, m_check);
    }
};

class Dialog : public GuiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
    }
    CWnd owner;
};

TEST_F(Dialog, EnterTakesTheTypedValuesAndEndsWithOk)
{
    CTestDialog dlg(&owner);
    dlg.typedName = L"Harbour";
    dlg.typedNumber = L"42";
    dlg.keys = {{IDC_NAME, VK_RETURN}};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.shownName, L"start");  // loaded into the control at init
    EXPECT_STREQ(dlg.caption, L"Test caption");
    EXPECT_STREQ(dlg.m_name, L"Harbour");
    EXPECT_EQ(dlg.m_number, 42);
    EXPECT_EQ(dlg.m_check, 1);
    EXPECT_TRUE(dlg.ownerWasDisabled);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(Dialog, EscapeCancelsAndKeepsTheMembers)
{
    CTestDialog dlg(&owner);
    dlg.typedName = L"Harbour";
    dlg.keys = {{IDC_NAME, VK_ESCAPE}};
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.m_name, L"start");
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(Dialog, FieldThatDoesNotValidateKeepsTheDialogOpen)
{
    CTestDialog dlg(&owner);
    dlg.typedNumber = L"4x";
    dlg.keys = {{IDC_NAME, VK_RETURN}, {IDC_NAME, VK_ESCAPE}};
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.okCalls, 1);
    EXPECT_EQ(dlg.m_number, 5);
}

TEST_F(Dialog, EndDialogDuringInitNeverRunsTheLoop)
{
    CTestDialog dlg(&owner);
    dlg.endInInit = 1234;
    EXPECT_EQ(dlg.DoModal(), 1234);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(Dialog, CloseBoxCancels)
{
    struct CClosingDialog : CTestDialog {
        using CTestDialog::CTestDialog;
        BOOL OnInitDialog() override
        {
            CTestDialog::OnInitDialog();
            PostMessage(WM_CLOSE);
            return TRUE;
        }
    } dlg(&owner);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(Dialog, MissingTemplateFailsWithoutLockingTheOwner)
{
    CDialog dlg(999, &owner);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(Dialog, NestedModalDialogsEndOneAtATime)
{
    struct COuter : CTestDialog {
        using CTestDialog::CTestDialog;
        INT_PTR innerResult = 0;
        BOOL OnInitDialog() override
        {
            CTestDialog::OnInitDialog();
            CTestDialog inner(this);
            inner.keys = {{IDC_NAME, VK_ESCAPE}};
            innerResult = inner.DoModal();
            // Still running: only the inner dialog ended.
            EXPECT_TRUE(IsWindowEnabled());
            PostMessage(WM_COMMAND, IDOK);
            return TRUE;
        }
    } outer(&owner);
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(outer.innerResult, IDCANCEL);
}

class CSelfClosingOwner : public CWnd {
protected:
    LRESULT OnGo(WPARAM, LPARAM)
    {
        DestroyWindow();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfClosingOwner, CWnd)
    ON_MESSAGE(WM_APP, OnGo)
END_MESSAGE_MAP()

TEST_F(Dialog, ModalLoopEndsWhenTheOwnerGoes)
{
    CSelfClosingOwner doomed;
    ASSERT_TRUE(doomed.CreateEx(0, nullptr, L"doomed", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    doomed.PostMessage(WM_APP);
    CTestDialog dlg(&doomed);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(doomed.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(Dialog, ModelessDialogLivesUntilItEnds)
{
    CTestDialog dlg(&owner);
    ASSERT_TRUE(dlg.Create(IDD_TEST, &owner));
    EXPECT_TRUE(IsWindow(dlg.m_hWnd));
    EXPECT_FALSE(dlg.IsModal());
    EXPECT_TRUE(owner.IsWindowEnabled());
    dlg.SetDlgItemText(IDC_NUMBER, L"8");
    dlg.SendMessage(WM_COMMAND, IDOK);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_number, 8);
}

TEST_F(Dialog, MissingStringResourceGivesEmptyText)
{
    CString text = L"old";
    EXPECT_FALSE(AfxLoadString(4242, text));
    EXPECT_TRUE(text.IsEmpty());
}

}  // namespace
