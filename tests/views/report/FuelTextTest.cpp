// What the fuel list shows and what a typed cell stores.
#include <gtest/gtest.h>

#include "FuelTestData.h"
#include "views/report/FuelText.h"

using namespace fueltest;

namespace {

struct NumberCase {
    int column;
    const wchar_t* text;
    int result;
    int value;
};

class FuelText : public ::testing::Test {
protected:
    void SetUp() override { Prepare(); }
};

TEST_F(FuelText, TypedNumbersAreStoredOrRefused)
{
    const NumberCase cases[] = {
        {2, L"12,345", FuelInputOk, 123},          // the comma is the decimal point, extra digits cut
        {2, L"1,234.5", FuelInputOk, 12345},       // grouped thousands: never 1.2
        {2, L"1.234,5", FuelInputOk, 12345},
        {2, L"1,234,567.5", FuelInputOutOfRange, 0},  // beyond the column's range
        {4, L"1,234.56", FuelInputOutOfRange, 0},  // 123456 hundredths: above the range
        {2, L"9999.9", FuelInputOk, 99999},
        {2, L"10000", FuelInputOutOfRange, 0},
        {2, L"", FuelInputOk, 0},
        {2, L"12.", FuelInputOk, 120},
        {2, L".5", FuelInputOk, 5},
        {4, L"3.999", FuelInputOk, 399},
        {8, L"1.5", FuelInputOk, 150},
        {2, L"a", FuelInputRefused, 0},
        {2, L"-5", FuelInputRefused, 0},
        {4, L"1,2,3", FuelInputRefused, 0},
        {2, L"1.2.3", FuelInputRefused, 0},
        {2, L",5.0", FuelInputRefused, 0},
        {11, L"91", FuelInputOutOfRange, 0},
        {12, L"181", FuelInputOutOfRange, 0},
        {11, L"-255", FuelInputOutOfRange, 0},
        {12, L"-255", FuelInputOutOfRange, 0},
        {2, L"1234567890", FuelInputOutOfRange, 0},
        {11, L"1-2", FuelInputRefused, 0},
        {11, L"-", FuelInputRefused, 0},
        {11, L"45,5", FuelInputOk, 45500000},
        {12, L"-122.4194169", FuelInputOk, -122419416},
        {12, L"-180", FuelInputOk, -180000000},
    };
    int i = 0;
    for (const auto& c : cases) {
        int value = -1;
        EXPECT_EQ(ParseFuelNumber(c.column, c.text, value), c.result) << "case " << i;
        if (c.result == FuelInputOk)
            EXPECT_EQ(value, c.value) << "case " << i;
        ++i;
    }
}

TEST_F(FuelText, MemoIsCheckedAndCut)
{
    CString memo;
    EXPECT_EQ(CheckFuelMemo(L"Filled up at the coast", memo), FuelInputOk);
    EXPECT_EQ(CString(L"Filled up at the coast"), memo);
    EXPECT_EQ(CheckFuelMemo(CString(L'x', 300), memo), FuelInputCut);
    EXPECT_EQ(memo.GetLength(), 255);
    EXPECT_EQ(CheckFuelMemo(L"tab\there", memo), FuelInputRefused);
}

TEST_F(FuelText, CellsShowNamesAndEmptyPositions)
{
    DOCFUEL_VIEW_DATA r{};
    wcscpy(r.date, L"2010/03/04");
    wcscpy(r.time, L"07:45:12");
    r.distance = 1234;
    r.amount = 4050;
    r.price = 139;
    r.cost = 5630;
    r.latitude = kNoPosition;
    r.longitude = 13400000;
    r.priceUnit = 15;
    r.amountUnit = 1;
    EXPECT_EQ(FuelCellText(r, 0), CString(L"2010/03/04"));
    EXPECT_EQ(FuelCellText(r, 1), CString(L"07:45"));
    EXPECT_EQ(FuelCellText(r, 2), CString(L"123.4"));
    EXPECT_EQ(FuelCellText(r, 4), CString(L"40.50"));
    EXPECT_EQ(FuelCellText(r, 5), CString(L"Gallon"));
    r.amountUnit = 2;
    EXPECT_EQ(FuelCellText(r, 5), CString(L"Gallon"));
    r.amountUnit = 3;
    EXPECT_EQ(FuelCellText(r, 5), CString());
    EXPECT_EQ(FuelCellText(r, 9), CString(L"Swiss France"));  // code 15 without the Brazil unit
    theGlobal.m_naviModel.m_brazilUnit = 1;
    EXPECT_EQ(FuelCellText(r, 9), CString(L"Brazil Real"));
    theGlobal.m_naviModel.m_brazilUnit = 0;
    r.priceUnit = 17;
    EXPECT_EQ(FuelCellText(r, 9), CString());
    EXPECT_EQ(FuelCellText(r, 10), CString(L"56.30"));
    EXPECT_EQ(FuelCellText(r, 11), CString());
    EXPECT_EQ(FuelCellText(r, 12), CString(L"13.400000"));
}

TEST_F(FuelText, GallonIsStoredByTheAreaCode)
{
    DOCFUEL_VIEW_DATA r{};
    theGlobal.m_areaCode = 1;
    ApplyFuelEdit(r, 5, L"Gallon", 1, 0);
    EXPECT_EQ(r.amountUnit, 2);
    theGlobal.m_areaCode = 2;
    ApplyFuelEdit(r, 5, L"Gallon", 1, 0);
    EXPECT_EQ(r.amountUnit, 1);
    ApplyFuelEdit(r, 5, L"Litre", 0, 0);
    EXPECT_EQ(r.amountUnit, 0);
    theGlobal.m_areaCode = 1;
}

}  // namespace
