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

namespace {

// A record's mileage in one unit, worked out by hand: converted values are
// truncated, then the unit's formula in hundredths.
struct MileageCase {
    const char* what;
    int area;
    int distance, distanceUnit, amount, amountUnit;
    int mileageUnit;
    int distanceIn, amountIn, mileage;
};

}  // namespace

TEST_F(FuelStatisticsTest, MileageInEveryUnit)
{
    const MileageCase cases[] = {
        // 500.0 km on 40.00 litres; the gallons of area 1 are US gallons.
        {"Litre/100Km", 1, 5000, 0, 4000, 0, 0, 5000, 4000, 800},  // 8.00
        {"Km/Gallon", 1, 5000, 0, 4000, 0, 1, 5000, 1056, 4734},   // 10.56 gal, 47.34
        {"Litre/60Mile", 1, 5000, 0, 4000, 0, 2, 3106, 4000, 772}, // 310.6 miles, 7.72
        {"Mile/Gallon", 1, 5000, 0, 4000, 0, 3, 3106, 1056, 2941}, // 29.41
        // 100.0 miles on 4.00 US gallons.
        {"Litre/100Km", 1, 1000, 1, 400, 2, 0, 1609, 1514, 940},   // 160.9 km, 15.14 l
        {"Km/Gallon", 1, 1000, 1, 400, 2, 1, 1609, 400, 4022},
        {"Litre/60Mile", 1, 1000, 1, 400, 2, 2, 1000, 1514, 908},
        {"Mile/Gallon", 1, 1000, 1, 400, 2, 3, 1000, 400, 2500},
        // 100.0 km on 10.00 imperial gallons, in an area of imperial gallons.
        {"Litre/100Km", 2, 1000, 0, 1000, 1, 0, 1000, 4546, 4546},
        {"Km/Gallon", 2, 1000, 0, 1000, 1, 1, 1000, 1000, 1000},
        {"Litre/60Mile", 2, 1000, 0, 1000, 1, 2, 621, 4546, 4392},
        {"Mile/Gallon", 2, 1000, 0, 1000, 1, 3, 621, 1000, 621},
        // Nothing driven or nothing bought: no mileage, in any unit.
        {"no distance, Litre/100Km", 1, 0, 0, 4000, 0, 0, 0, 4000, 0},
        {"no distance, Mile/Gallon", 1, 0, 1, 400, 2, 3, 0, 400, 0},
        {"no amount, Km/Gallon", 1, 5000, 0, 0, 0, 1, 5000, 0, 0},
        {"no amount, Litre/60Mile", 1, 1000, 1, 0, 2, 2, 1000, 0, 0},
    };
    for (const MileageCase& c : cases) {
        SCOPED_TRACE(c.what);
        m_doc.RemoveAll();
        theGlobal.m_areaCode = c.area;
        const int i = Add(c.distance, c.distanceUnit, c.amount, c.amountUnit);
        EXPECT_EQ(c.distanceIn, m_doc.GetMileageDistance(i, c.mileageUnit));
        EXPECT_EQ(c.amountIn, m_doc.GetMileageAmount(i, c.mileageUnit));
        EXPECT_EQ(c.mileage, m_doc.GetRecordMileage(i, c.mileageUnit));
        // One record: the log's mileage is the record's.
        theGlobal.m_mileageUnit = c.mileageUnit;
        EXPECT_EQ(c.mileage, m_doc.GetOverallMileage());
    }
    m_doc.RemoveAll();
    theGlobal.m_areaCode = 1;
    EXPECT_EQ(0, m_doc.GetRecordMileage(Add(5000, 0, 4000, 0), 4));
    // 0.1 km on 999.99 litres: a record's mileage is capped, the log's is not.
    const int i = Add(1, 0, 99999, 0);
    EXPECT_EQ(99999, m_doc.GetRecordMileage(i, 0));
    m_doc.m_records.RemoveAt(0);
    theGlobal.m_mileageUnit = 0;
    EXPECT_EQ(99999000, m_doc.GetOverallMileage());
}

TEST_F(FuelStatisticsTest, MileageOfTypedValues)
{
    // 500.0 on 40.00, taken as typed in each unit's system.
    const int typed[4] = {800, 1250, 480, 1250};
    for (int unit = 0; unit < 4; ++unit) {
        int mileage = -7;
        EXPECT_EQ(0, CDocFe::CalcMileage(unit, mileage, 5000, 4000)) << unit;
        EXPECT_EQ(typed[unit], mileage) << unit;
    }
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
