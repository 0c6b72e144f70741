// The fuel log's conversions, mileage, statistics, CO2 and eco judgement.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/Global.h"
#include "doc/DocFe.h"

namespace {

class FuelStatisticsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        theGlobal.m_areaCode = 1;
        theGlobal.m_distanceUnit = 0;
        theGlobal.m_amountUnit = 0;
        theGlobal.m_mileageUnit = 0;
        theGlobal.m_gasType = 0;
    }
    int Add(int distance, int distanceUnit, int amount, int amountUnit, int priceUnit = 0, int year = 2009,
            int month = 5, int day = 1, int price = 100)
    {
        DOCFUEL_DATA r{};
        r.year = year;
        r.month = month;
        r.day = day;
        r.hour = year ? 12 : 0;
        r.distance = distance;
        r.distanceUnit = distanceUnit;
        r.amount = amount;
        r.amountUnit = amountUnit;
        r.price = price;
        r.priceUnit = priceUnit;
        const int i = static_cast<int>(m_doc.m_records.Add(r));
        m_doc.UpdateDerivedValues(i);
        return i;
    }
    CDocFe m_doc;
};

}  // namespace

TEST_F(FuelStatisticsTest, Conversions)
{
    const int miles = Add(100, 1, 4000, 0);  // 10.0 miles, 40.00 litres
    EXPECT_EQ(160, m_doc.GetDistanceInUnit(miles, 0));
    EXPECT_EQ(100, m_doc.GetDistanceInUnit(miles, 1));
    EXPECT_EQ(0, m_doc.GetDistanceInUnit(miles, 2));
    EXPECT_EQ(1056, m_doc.GetAmountInUnit(miles, 1));
    EXPECT_EQ(1056, m_doc.GetAmountInUnit(miles, 2));
    theGlobal.m_areaCode = 2;
    EXPECT_EQ(879, m_doc.GetAmountInUnit(miles, 1));
    const int km = Add(1000, 0, 1000, 1);  // 100.0 km, 10.00 imperial gallons
    EXPECT_EQ(621, m_doc.GetDistanceInUnit(km, 1));
    EXPECT_EQ(4546, m_doc.GetAmountInUnit(km, 0));
    EXPECT_EQ(1000, m_doc.GetAmountInUnit(km, 1));
    // In area 1 gallons are US gallons: 10 imperial gallons are 12.00 of them.
    theGlobal.m_areaCode = 1;
    EXPECT_EQ(1200, m_doc.GetAmountInUnit(km, 1));
    EXPECT_EQ(0, m_doc.GetAmountInUnit(5, 0));
    EXPECT_EQ(0, m_doc.GetDistanceInUnit(-1, 0));
}

TEST_F(FuelStatisticsTest, MileageFormulas)
{
    const int i = Add(5000, 0, 4000, 0);  // 500.0 km, 40.00 litres
    EXPECT_EQ(800, m_doc.GetRecordMileage(i, 0));   // 8.00 l/100 km
    EXPECT_EQ(4734, m_doc.GetRecordMileage(i, 1));  // 47.34 km/gal
    EXPECT_EQ(3106, m_doc.GetMileageDistance(i, 2));
    EXPECT_EQ(4000 * 600 / 3106, m_doc.GetRecordMileage(i, 2));
    EXPECT_EQ(3106 * 1000 / 1056, m_doc.GetRecordMileage(i, 3));
    EXPECT_EQ(0, m_doc.GetRecordMileage(i, 4));
    EXPECT_EQ(0, m_doc.GetRecordMileage(Add(0, 0, 4000, 0), 0));
    EXPECT_EQ(99999, m_doc.GetRecordMileage(Add(1, 0, 99999, 0), 0));

    int m = 7;
    EXPECT_EQ(0, CDocFe::CalcMileage(0, m, 5000, 4000));
    EXPECT_EQ(800, m);
    EXPECT_EQ(1, CDocFe::CalcMileage(0, m, 1, 99999));
    EXPECT_EQ(99999, m);
    EXPECT_EQ(-1, CDocFe::CalcMileage(1, m, -5000, 4000));
    EXPECT_EQ(0, m);
    m = 55;
    EXPECT_EQ(0, CDocFe::CalcMileage(9, m, 5000, 4000));
    EXPECT_EQ(55, m);
    EXPECT_EQ(0, CDocFe::CalcMileage(3, m, 0, 4000));
    EXPECT_EQ(0, m);
}

TEST_F(FuelStatisticsTest, MainCurrency)
{
    EXPECT_EQ(0, m_doc.GetMainCurrency());
    Add(1, 0, 1, 0, 3, 2009, 5, 1);
    Add(1, 0, 1, 0, 3, 2009, 5, 2);
    Add(1, 0, 1, 0, 5, 2009, 5, 1);
    Add(1, 0, 1, 0, 5, 2009, 5, 3);
    EXPECT_EQ(5, m_doc.GetMainCurrency());
    EXPECT_EQ(2, m_doc.CountMainCurrencyRecords());
    EXPECT_EQ(20090503120000LL, m_doc.GetLatestDateNumber(5));
    EXPECT_EQ(3, m_doc.FindLatestRecord(5));
    EXPECT_EQ(-1, m_doc.FindLatestRecord(7));
    // Unit 0 with as many records but an older latest record does not win.
    m_doc.RemoveAll();
    Add(1, 0, 1, 0, 0, 2009, 4, 1);
    Add(1, 0, 1, 0, 0, 2009, 4, 2);
    Add(1, 0, 1, 0, 3, 2009, 5, 1);
    Add(1, 0, 1, 0, 3, 2009, 5, 2);
    EXPECT_EQ(3, m_doc.GetMainCurrency());
}

TEST_F(FuelStatisticsTest, TotalsAveragesExtremesAndCO2)
{
    DOCFUEL_VIEW_DATA v{};
    EXPECT_FALSE(m_doc.GetTotalStatistics(v));
    EXPECT_FALSE(m_doc.HasStatistics());
    EXPECT_FALSE(m_doc.GetMaxStatistics(v));
    Add(5000, 0, 4000, 0, 0, 2009, 5, 1, 100);
    Add(3000, 0, 2000, 0, 0, 2009, 5, 2, 200);
    Add(99999, 0, 99999, 0, 4);  // another currency
    ASSERT_TRUE(m_doc.GetTotalStatistics(v));
    EXPECT_EQ(8000, v.distance);
    EXPECT_EQ(6000, v.amount);
    EXPECT_EQ(8000, v.cost);
    EXPECT_EQ(750, v.mileage);
    ASSERT_TRUE(m_doc.GetAverageStatistics(v));
    EXPECT_EQ(4000, v.distance);
    EXPECT_EQ(3000, v.amount);
    EXPECT_EQ(150, v.price);
    EXPECT_EQ(4000, v.cost);
    ASSERT_TRUE(m_doc.GetMaxStatistics(v));
    EXPECT_EQ(5000, v.distance);
    EXPECT_EQ(800, v.mileage);
    EXPECT_EQ(200, v.price);
    ASSERT_TRUE(m_doc.GetMinStatistics(v));
    EXPECT_EQ(3000, v.distance);
    EXPECT_EQ(666, v.mileage);
    EXPECT_EQ(100, v.price);
    EXPECT_EQ(4000, v.cost);

    theGlobal.m_gasType = 1;
    EXPECT_NEAR(60 * 2.62, m_doc.GetTotalCO2(), 1e-9);
    theGlobal.m_gasType = 0;
    EXPECT_NEAR(60 * 2.3209, m_doc.GetTotalCO2(), 1e-9);
    theGlobal.m_gasType = 2;
    EXPECT_EQ(0.0, m_doc.GetTotalCO2());

    // Totals are capped.
    m_doc.RemoveAll();
    for (int i = 0; i < 121; ++i)
        Add(99999, 0, 99999, 0);
    ASSERT_TRUE(m_doc.GetTotalStatistics(v));
    EXPECT_EQ(9999999, v.distance);
    EXPECT_EQ(9999999, v.amount);
}

namespace {

struct EcoCase {
    int d;
    int level;
};

}  // namespace

TEST_F(FuelStatisticsTest, EcoJudgementThresholds)
{
    // The last 30 days: 100.0 km on 1.00 gallon (100.00 km/gal). An older
    // record makes the whole log 100.00 + d/100 km/gal.
    const EcoCase cases[] = {{-201, 0}, {-200, 1}, {-101, 1}, {-100, 2}, {0, 2},
                             {99, 2},   {100, 3},  {199, 3},  {200, 4}};
    for (const EcoCase& c : cases) {
        m_doc.RemoveAll();
        Add(9000 + c.d, 0, 900, 2, 0, 2009, 3, 1);
        Add(1000, 0, 100, 2, 0, 2009, 5, 31);
        m_doc.JudgeEco();
        EXPECT_EQ(c.level, m_doc.m_ecoLevel) << c.d;
    }
}

TEST_F(FuelStatisticsTest, EcoJudgementGoesPastRecordsWithoutADate)
{
    m_doc.JudgeEco();
    EXPECT_EQ(-1, m_doc.m_ecoLevel);
    Add(9000, 0, 900, 2, 0, 2009, 3, 1);
    Add(0, 0, 0, 2, 0, 0, 0, 0);  // no date, as readers leave it
    Add(1000, 0, 100, 2, 0, 2009, 5, 31);
    m_doc.JudgeEco();
    EXPECT_EQ(2, m_doc.m_ecoLevel);
    // Only dateless records: no judgement.
    m_doc.RemoveAll();
    Add(1000, 0, 100, 2, 0, 0, 0, 0);
    m_doc.JudgeEco();
    EXPECT_EQ(-1, m_doc.m_ecoLevel);
}

TEST_F(FuelStatisticsTest, EcoJudgementWindowIsThirtyDays)
{
    // Both records inside the window: recent equals overall.
    Add(9500, 0, 900, 2, 0, 2009, 5, 2);
    Add(1000, 0, 100, 2, 0, 2009, 5, 31);
    m_doc.JudgeEco();
    EXPECT_EQ(2, m_doc.m_ecoLevel);
    // 30 days and more before the latest: only the latest is recent
    // (overall 105.00, recent 100.00: d = 500).
    m_doc.RemoveAll();
    Add(9500, 0, 900, 2, 0, 2009, 5, 1);
    Add(1000, 0, 100, 2, 0, 2009, 5, 31);
    m_doc.JudgeEco();
    EXPECT_EQ(4, m_doc.m_ecoLevel);
    // Dates far past 2038 are judged as well.
    m_doc.RemoveAll();
    Add(9500, 0, 900, 2, 0, 2045, 5, 1);
    Add(1000, 0, 100, 2, 0, 2045, 5, 31);
    m_doc.JudgeEco();
    EXPECT_EQ(4, m_doc.m_ecoLevel);
}
