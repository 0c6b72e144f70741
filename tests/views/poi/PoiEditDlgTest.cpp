// The POI edit dialog under Xvfb: what OK stores or refuses, per mode, with
// texts put into the fields and real clicks and keys.
#include <windows.h>

#include <cmath>

#include "DialogDriver.h"
#include "common/TextCheck.h"
#include "core/Global.h"
#include "frame/MessageDlg.h"
#include "res/poi_ids.h"
#include "views/poi/PoiEditDlg.h"
#include "views/poi/PositionText.h"

using namespace dlgtest;

namespace {

TEST(PositionText, OnlyPlainNumbersAreRead)
{
    const struct {
        const wchar_t* text;
        bool ok;
        double value;
    } cases[] = {
        {L"139.7", true, 139.7},        {L"139,7", true, 139.7},      {L"-35.5", true, -35.5},
        {L"180", true, 180},            {L"139.1234567", true, 139.123456}, {L"-0,0000019", true, -0.000001},
        {L".5", true, 0.5},             {L"7.", true, 7},             {L"1-2", false},
        {L"12.34.56", false},           {L"1,234.5", false},          {L"--1", false},
        {L"-", false},                  {L".", false},                {L"", false},
        {L"1e5", false},                {L"+5", false},
    };
    for (const auto& c : cases) {
        double v = 12345;
        EXPECT_EQ(ParsePositionText(c.text, v) != FALSE, c.ok) << testing::PrintToString(std::wstring(c.text));
        if (c.ok) {
            EXPECT_NEAR(v, c.value, 1e-9) << testing::PrintToString(std::wstring(c.text));
        }
    }
}

DOCPI_RECORD Sample()
{
    DOCPI_RECORD r{};
    wcscpy(r.name, L"Harbour");
    wcscpy(r.address, L"1 Quay Street");
    wcscpy(r.telephone, L"555 0100");
    wcscpy(r.description, L"Boats");
    r.longitude = 151.2093;
    r.latitude = -33.8688;
    return r;
}

bool SameRecord(const DOCPI_RECORD& a, const DOCPI_RECORD& b)
{
    return wcscmp(a.name, b.name) == 0 && wcscmp(a.address, b.address) == 0 && wcscmp(a.telephone, b.telephone) == 0 &&
           wcscmp(a.description, b.description) == 0 && a.longitude == b.longitude && a.latitude == b.latitude;
}

class PoiEdit : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        InitCharClassTable();
        savedGroup = theGlobal.m_naviModel.m_modelGroup;
        theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1 | CHARCLASS_GROUP2;
        main.MoveWindow(0, 0, 1000, 800);
    }
    void TearDown() override
    {
        theGlobal.m_naviModel.m_modelGroup = savedGroup;
        DialogTest::TearDown();
    }
    // Runs the dialog, puts texts into fields, presses OK; returns the result
    // and the text of a message box it raised (empty when none).
    INT_PTR RunWith(CPoiEditDlg& dlg, const std::vector<std::pair<UINT, CString>>& texts, CString& message)
    {
        message.Empty();
        return RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog&) {
            for (const auto& [id, text] : texts)
                ::SetDlgItemTextW(dlg.m_hWnd, id, text);
            RunModal([&] {
                ClickChild(dlg.m_btnOK.m_hWnd);
                PumpUntil([&] { return Ended(dlg) || theGlobal.m_dialogStack.GetSize() > 1; }, 1500);
                return INT_PTR(0);
            }, [&](CCustomDialog& box) {
                message = static_cast<CMessageDlg&>(box).GetText();
                PressKey(VK_RETURN);
            });
            if (!Ended(dlg))
                ClickChild(dlg.m_btnCancel.m_hWnd);
        });
    }
    int savedGroup = 0;
};

TEST_F(PoiEdit, OkStoresOrRefusesByTheTable)
{
    const CString rangeLon = theGlobal.UiString(34) + L"  (" + theGlobal.UiString(182) + L")";
    const CString rangeLat = theGlobal.UiString(34) + L"  (" + theGlobal.UiString(183) + L")";
    const struct {
        const wchar_t* lon;
        const wchar_t* lat;
        CString message;  // empty: stored
        double storedLon, storedLat;
    } cases[] = {
        {L"", L"35", L"", -255.0, -255.0},
        {L"-", L"35", L"", -255.0, -255.0},
        {L"139,7", L"35.5", L"", 139.7, 35.5},
        {L"139.7", L" 35,5 ", L"", 139.7, 35.5},
        {L"139.1234567", L"-35", L"", 139.123456, -35},
        {L"180", L"-90", L"", 180, -90},
        {L"180.000001", L"0", rangeLon},
        {L"0", L"90.5", rangeLat},
        {L"1-2", L"3", rangeLon},
        {L"12.34.56", L"3", rangeLon},
        {L"1", L"1,234.5", rangeLat},
        {L"abc", L"3", theGlobal.UiString(4)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.lon) + L" / " + c.lat));
        DOCPI_RECORD rec = Sample();
        CPoiEditDlg dlg;
        dlg.m_record = &rec;
        dlg.m_mode = 0;
        CString message;
        const INT_PTR r = RunWith(dlg, {{IDC_POI_NAME, L"Pier"}, {IDC_POI_LONGITUDE, c.lon}, {IDC_POI_LATITUDE, c.lat}},
                                  message);
        EXPECT_STREQ(message, c.message);
        if (c.message.IsEmpty()) {
            EXPECT_EQ(r, IDOK);
            EXPECT_STREQ(rec.name, L"Pier");
            EXPECT_NEAR(rec.longitude, c.storedLon, 1e-9);
            EXPECT_NEAR(rec.latitude, c.storedLat, 1e-9);
        } else {
            // Refused: the dialog stayed, and the caller's record is as it was.
            EXPECT_EQ(r, IDCANCEL);
            EXPECT_TRUE(SameRecord(rec, Sample()));
        }
    }
}

TEST_F(PoiEdit, LengthAndCharacterChecksNameTheField)
{
    DOCPI_RECORD rec = Sample();
    for (int i = 0; i < 64; ++i)
        rec.name[i] = L'n';
    rec.name[64] = 0;
    CPoiEditDlg dlg;
    dlg.m_record = &rec;
    CString message;
    // A caller's name of 65 characters (the edit itself takes no more than 64).
    RunWith(dlg, {{IDC_POI_NAME, CString(L'x', 65)}}, message);
    EXPECT_STREQ(message, theGlobal.UiString(5) + L"  (" + theGlobal.UiString(178) + L")");

    theGlobal.m_naviModel.m_modelGroup = CHARCLASS_GROUP1;
    DOCPI_RECORD rec2 = Sample();
    CPoiEditDlg dlg2;
    dlg2.m_record = &rec2;
    RunWith(dlg2, {{IDC_POI_TELEPHONE, L"\x263A"}}, message);
    EXPECT_STREQ(message, theGlobal.UiString(4));
    EXPECT_TRUE(SameRecord(rec2, Sample()));
}

TEST_F(PoiEdit, FieldsShowTheRecordAndEnterMovesToTheNextField)
{
    DOCPI_RECORD rec = Sample();
    rec.longitude = -255.0;
    CPoiEditDlg dlg;
    dlg.m_record = &rec;
    dlg.m_mode = 1;
    const INT_PTR r = RunModal([&] { return dlg.DoModal(); }, [&](CCustomDialog& d) {
        EXPECT_STREQ(d.GetCaption(), theGlobal.UiString(242));
        EXPECT_STREQ(AfxGetWindowText(::GetDlgItem(d.m_hWnd, IDC_POI_NAME)), L"Harbour");
        EXPECT_STREQ(AfxGetWindowText(::GetDlgItem(d.m_hWnd, IDC_POI_LONGITUDE)), L"-");
        EXPECT_STREQ(AfxGetWindowText(::GetDlgItem(d.m_hWnd, IDC_POI_LATITUDE)), L" -33.868800");
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(d.m_hWnd, IDC_POI_NAME));
        SaveShot(d.m_hWnd, L"poi_edit");
        // The note stands on one line of its box, with room for the few pixels
        // Wine's Tahoma draws past its measured width.
        HWND note = ::GetDlgItem(d.m_hWnd, IDC_POI_NOTE);
        const CString noteText = AfxGetWindowText(note);
        HDC noteDc = ::GetDC(note);
        HGDIOBJ was = ::SelectObject(noteDc, reinterpret_cast<HGDIOBJ>(::SendMessageW(note, WM_GETFONT, 0, 0)));
        SIZE extent{};
        ::GetTextExtentPoint32W(noteDc, noteText, noteText.GetLength(), &extent);
        ::SelectObject(noteDc, was);
        ::ReleaseDC(note, noteDc);
        RECT box{};
        ::GetClientRect(note, &box);
        EXPECT_FALSE(noteText.IsEmpty());
        EXPECT_LE(extent.cx + 3, box.right) << "the note is cut";
        EXPECT_LE(extent.cy, box.bottom);
        ::SetFocus(::GetDlgItem(d.m_hWnd, IDC_POI_ADDRESS));
        PressKey(VK_RETURN);
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(d.m_hWnd, IDC_POI_TELEPHONE));
        EXPECT_FALSE(Ended(dlg));
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_EQ(rec.longitude, -255.0);
}

TEST_F(PoiEdit, ReadOnlyItemAndAddressBookEntry)
{
    DOCPI_RECORD rec = Sample();
    CPoiEditDlg view;
    view.m_record = &rec;
    view.m_mode = 4;
    CString message;
    RunModal([&] { return view.DoModal(); }, [&](CCustomDialog& d) {
        EXPECT_STREQ(d.GetCaption(), theGlobal.UiString(286));
        for (UINT id : {IDC_POI_NAME, IDC_POI_ADDRESS, IDC_POI_LATITUDE})
            EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(d.m_hWnd, id), GWL_STYLE) & ES_READONLY) << id;
        ClickChild(view.m_btnOK.m_hWnd);
    });
    EXPECT_TRUE(SameRecord(rec, Sample()));

    rec.longitude = 139.12345678;
    CPoiEditDlg entry;
    entry.m_record = &rec;
    entry.m_mode = 3;
    const INT_PTR r = RunWith(entry, {{IDC_POI_NAME, L"Ann"}}, message);
    EXPECT_TRUE(message.IsEmpty());
    EXPECT_EQ(r, IDOK);
    EXPECT_STREQ(rec.name, L"Ann");
    EXPECT_NEAR(rec.longitude, 139.123457, 1e-9);  // the hidden field's six decimals
    EXPECT_NEAR(rec.latitude, -33.8688, 1e-9);
}

}  // namespace
