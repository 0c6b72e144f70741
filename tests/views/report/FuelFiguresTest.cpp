// The statistics pane's columns against the fuel document's figures, and the
// mileage graph's scale, ranges and sample order (no window needed).
#include <gtest/gtest.h>

#include "FuelTestData.h"
#include "views/report/FuelText.h"
#include "views/report/GraphCtrl.h"
#include "views/report/MileageGraphDlg.h"
#include "views/report/StatisticsWnd.h"

using namespace fueltest;

namespace {

std::wstring W(const CString& s) { return std::wstring(s); }

class FuelFigures : public ::testing::Test {
protected:
    void SetUp() override
    {
        Prepare();
        doc.RemoveAll();
        // 350.0 km on 30.00 l at 1.50 and 400.0 km on 32.00 l at 1.60, in euro.
        DOCFUEL_DATA a = Record(3500, 2010, 1, 1), b = Record(4000, 2010, 1, 20);
        a.amount = 3000, a.price = 150, b.amount = 3200, b.price = 160;
        doc.m_records.Add(a);
        doc.m_records.Add(b);
        doc.UpdateDerivedValues(0);
        doc.UpdateDerivedValues(1);
    }
    CDocFe doc;
};

TEST_F(FuelFigures, TabsShowTheDocumentsFigures)
{
    auto total = CStatisticsWnd::Cells(CStatisticsWnd::ModeTotal, doc);
    ASSERT_EQ(total.size(), 4u);
    EXPECT_EQ(W(total[0].heading), L"[UI 206]");
    EXPECT_EQ(W(total[0].value), L"750.0");
    EXPECT_EQ(W(total[0].unit), L"Km");
    EXPECT_EQ(W(total[1].value), L"62.00");
    EXPECT_EQ(W(total[1].unit), L"Litre");
    EXPECT_EQ(W(total[2].heading), L"[UI 204]");
    EXPECT_EQ(W(total[2].value), L"8.26") << "62 l over 750 km, per 100 km";
    EXPECT_EQ(W(total[2].unit), L"Litre/100Km");
    EXPECT_EQ(W(total[3].value), L"96.20");
    EXPECT_EQ(W(total[3].unit), W(FuelCurrencyName(doc.GetMainCurrency())));

    auto average = CStatisticsWnd::Cells(CStatisticsWnd::ModeAverage, doc);
    ASSERT_EQ(average.size(), 5u);
    EXPECT_EQ(W(average[0].value), L"375.0");
    EXPECT_EQ(W(average[1].value), L"31.00");
    EXPECT_EQ(W(average[2].heading), L"[UI 204]");
    EXPECT_EQ(W(average[3].value), L"1.55");
    EXPECT_EQ(W(average[4].value), L"48.10");

    auto maximum = CStatisticsWnd::Cells(CStatisticsWnd::ModeMaximum, doc);
    auto minimum = CStatisticsWnd::Cells(CStatisticsWnd::ModeMinimum, doc);
    ASSERT_EQ(maximum.size(), 5u);
    ASSERT_EQ(minimum.size(), 5u);
    EXPECT_EQ(W(maximum[2].heading), L"[UI 198]");
    EXPECT_EQ(W(minimum[2].heading), L"[UI 198]");
    EXPECT_EQ(W(maximum[0].value), L"400.0");
    EXPECT_EQ(W(minimum[0].value), L"350.0");
    EXPECT_EQ(W(maximum[3].value), L"1.60");
    EXPECT_EQ(W(minimum[4].value), L"45.00");

    // 62.00 litres of petrol: 62 x 2.3209 kg.
    theGlobal.m_gasType = 0;
    auto co2 = CStatisticsWnd::Cells(CStatisticsWnd::ModeCO2, doc);
    ASSERT_EQ(co2.size(), 1u);
    EXPECT_EQ(W(co2[0].value), L"143.90");
    EXPECT_EQ(W(co2[0].unit), L"kg");
    EXPECT_TRUE(CStatisticsWnd::Cells(CStatisticsWnd::ModeNone, doc).empty());
}

struct UnitCase {
    int distanceUnit, amountUnit, mileageUnit;
    const wchar_t *distance, *distanceName, *amount, *amountName, *mileage, *mileageName;
};

// The totals in every unit the options offer, worked out by hand: each record
// converted and truncated (350.0 km = 217.4 miles, 400.0 km = 248.5 miles;
// 30.00 l = 7.92 US gallons, 32.00 l = 8.45), then the unit's formula on the sums.
TEST_F(FuelFigures, TotalsInEveryUnit)
{
    const UnitCase cases[] = {
        {0, 0, 0, L"750.0", L"Km", L"62.00", L"Litre", L"8.26", L"Litre/100Km"},
        {0, 1, 1, L"750.0", L"Km", L"16.37", L"Gallon", L"45.81", L"Km/Gallon"},
        {1, 0, 2, L"465.9", L"Mile", L"62.00", L"Litre", L"7.98", L"Litre/60Mile"},
        {1, 1, 3, L"465.9", L"Mile", L"16.37", L"Gallon", L"28.46", L"Mile/Gallon"},
        // The mileage unit brings its own systems, whatever the other two show.
        {1, 1, 0, L"465.9", L"Mile", L"16.37", L"Gallon", L"8.26", L"Litre/100Km"},
        {0, 0, 3, L"750.0", L"Km", L"62.00", L"Litre", L"28.46", L"Mile/Gallon"},
    };
    for (const UnitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.distanceUnit << c.amountUnit << c.mileageUnit);
        theGlobal.m_distanceUnit = c.distanceUnit;
        theGlobal.m_amountUnit = c.amountUnit;
        theGlobal.m_mileageUnit = c.mileageUnit;
        auto total = CStatisticsWnd::Cells(CStatisticsWnd::ModeTotal, doc);
        ASSERT_EQ(total.size(), 4u);
        EXPECT_EQ(W(total[0].value), c.distance);
        EXPECT_EQ(W(total[0].unit), c.distanceName);
        EXPECT_EQ(W(total[1].value), c.amount);
        EXPECT_EQ(W(total[1].unit), c.amountName);
        EXPECT_EQ(W(total[2].value), c.mileage);
        EXPECT_EQ(W(total[2].unit), c.mileageName);
    }
    theGlobal.m_distanceUnit = theGlobal.m_amountUnit = theGlobal.m_mileageUnit = 0;
}

// A log of nothing driven, or of nothing bought, has no mileage in any unit.
TEST_F(FuelFigures, NoDistanceOrNoAmountGivesNoMileage)
{
    for (int part = 0; part < 2; ++part)
        for (int unit = 0; unit < 4; ++unit) {
            for (DOCFUEL_DATA& r : doc.m_records)
                (part == 0 ? r.distance : r.amount) = 0;
            theGlobal.m_mileageUnit = unit;
            auto total = CStatisticsWnd::Cells(CStatisticsWnd::ModeTotal, doc);
            ASSERT_EQ(total.size(), 4u);
            EXPECT_EQ(W(total[2].value), L"0.00") << part << " unit " << unit;
        }
    theGlobal.m_mileageUnit = 0;
}

TEST_F(FuelFigures, AnEmptyLogShowsZeroes)
{
    doc.RemoveAll();
    for (int mode = 0; mode < 4; ++mode)
        for (const auto& cell : CStatisticsWnd::Cells(mode, doc)) {
            EXPECT_EQ(W(cell.value), L"0.0") << "mode " << mode;
            EXPECT_FALSE(cell.unit.IsEmpty());
        }
    EXPECT_EQ(CStatisticsWnd::ContentWidth(0), 625);
    EXPECT_EQ(CStatisticsWnd::ContentWidth(1), 730);
    EXPECT_EQ(CStatisticsWnd::ContentWidth(5), 0);
}

struct RangeCase {
    std::vector<double> values;
    double zoom;
    int maxIndex, minIndex, step, xEnd;
};

TEST(FuelGraph, RangeFollowsTheValuesAndTheZoom)
{
    const RangeCase cases[] = {
        {{4.2, 7.9, 6.1}, 1.0, 1, 0, 1, 19},
        {{4.2, 7.9, 6.1}, 5.0, 1, 0, 1, 3},
        {{12.0, 25.5}, 1.0, 1, 0, 5, 19},
        {{520.0, 1200.0, 3.0}, 1.0, 1, 2, 100, 19},
        {{6.0, 6.0, 6.0}, 1.0, 0, 0, 1, 19},
        {{9.99, 19.0, 0.0}, 0.75, 1, 2, 2, 26},
    };
    for (const auto& c : cases) {
        CGraphCtrl graph;
        graph.m_zoom = c.zoom;
        graph.Clear();
        for (double v : c.values)
            graph.AddPoint(L"2010/01/01 08:00", v);
        graph.ComputeRange();
        EXPECT_EQ(graph.m_maxIndex, c.maxIndex);
        EXPECT_EQ(graph.m_minIndex, c.minIndex);
        EXPECT_EQ(graph.GridStep(), c.step);
        EXPECT_EQ(graph.m_rows[0].value, 10 * c.step);
        EXPECT_EQ(static_cast<int>(graph.m_xEnd), c.xEnd);
        EXPECT_EQ(graph.Y(0), 253);
        EXPECT_EQ(graph.Y(c.step), 230);
        EXPECT_EQ(std::wstring(graph.m_labels[0]), L"2010/01/01") << "label cut at its blank";
    }
    CGraphCtrl graph;
    graph.m_zoom = 1.5;
    EXPECT_EQ(graph.X(0), 18);
    EXPECT_EQ(graph.X(3), 243);
}

TEST(FuelGraph, SamplesAreKeptInDateOrder)
{
    Prepare();
    CMileageGraphDlg dlg;
    dlg.AddSample(L"2009/03/01", L"08:00:00", 3.0);
    dlg.AddSample(L"2009/01/15", L"12:00:00", 2.0);
    dlg.AddSample(L"2009/01/15", L"09:30:00", 1.0);
    dlg.AddSample(L"2009/01/15", L"09:30:00", 1.5);
    ASSERT_EQ(dlg.m_values.GetSize(), 4);
    EXPECT_EQ(dlg.m_values[0], 1.0);
    EXPECT_EQ(dlg.m_values[1], 1.5) << "equal keys keep their order of arrival";
    EXPECT_EQ(dlg.m_values[2], 2.0);
    EXPECT_EQ(dlg.m_values[3], 3.0);
    EXPECT_EQ(std::wstring(dlg.m_times[3]), L"08:00:00");
}

}  // namespace
