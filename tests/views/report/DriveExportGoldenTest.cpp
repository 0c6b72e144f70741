// The drive reports' text export byte for byte: header and report lines as
// the summary dialog writes them (the dialog is not shown).
#include <gtest/gtest.h>

#include "DocTestSupport.h"
#include "GoldenFiles.h"
#include "TestFiles.h"
#include "core/Global.h"
#include "views/report/DrPropertyDlg.h"

namespace {

DR_PANEL Panel(int number, const wchar_t* name, int distance, int kind)
{
    DR_PANEL p{};
    p.number = number;
    lstrcpyW(p.data.name, name);
    lstrcpyW(p.data.startDate, L"2009/05/01");
    lstrcpyW(p.data.startTime, L"08:00:00");
    lstrcpyW(p.data.endDate, L"2009/05/02");
    lstrcpyW(p.data.endTime, L"00:06:30");
    lstrcpyW(p.data.duration, L"16:06:30");
    p.data.distance = distance;
    p.data.distanceMiles = distance * 5 / 8;
    p.data.kind = kind;
    return p;
}

TEST(DriveExportGolden, SummaryTextWithEveryKindAndQuotedTexts)
{
    doctest::FillUiStrings();
    const int savedDelimiter = theGlobal.m_delimiter, savedUnit = theGlobal.m_distanceUnit;
    theGlobal.m_delimiter = 2;  // comma
    theGlobal.m_distanceUnit = 0;
    CDrPropertyDlg dlg;
    DR_PANEL a = Panel(1, L"Office", 20, 1);
    lstrcpyW(a.data.text1, L"say \"hi\"");
    lstrcpyW(a.data.text3, L"a,b;c");
    DR_PANEL b = Panel(3, L"trip, third", 123456, 2);
    lstrcpyW(b.data.text2, L"tab\there");
    DR_PANEL c = Panel(12, L"", 0, 0);
    for (const DR_PANEL& p : {a, b, c})
        dlg.m_frame.m_ctrl.AddPanel(p);
    testsupport::TempDir dir;
    const std::wstring path = dir.File(L"reports.csv");
    EXPECT_TRUE(dlg.SaveAsText(path.c_str()));
    theGlobal.m_delimiter = savedDelimiter;
    theGlobal.m_distanceUnit = savedUnit;
    golden::Expect(L"drive_reports.csv", path);
}

}  // namespace
