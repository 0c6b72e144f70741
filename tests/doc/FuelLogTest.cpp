// The fuel log's records and files: unit normalisation, display records, the
// fuel CSV and the unit's DAT file, saving without losing the old file.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "DocTestSupport.h"
#include "ReportTestSupport.h"
#include "core/Global.h"
#include "doc/DocFe.h"

using testsupport::Bytes;

namespace {

class FuelLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        theGlobal.m_areaCode = 1;
        theGlobal.m_naviModel.m_brazilUnit = 0;
    }

    std::wstring WriteCsv(const std::string& text, const wchar_t* name = L"fuel.csv")
    {
        std::wstring path = m_dir.File(name);
        testsupport::WriteBytes(path, text);
        return path;
    }
    std::string ReadText(const std::wstring& path)
    {
        Bytes b = testsupport::ReadBytes(path);
        return std::string(b.begin(), b.end());
    }

    testsupport::TempDir m_dir;
};

const char kHeader[] =
    "#Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Distance,UnitDistance,GasAmount,UnitAmount,"
    "UnitMileage,GasPrice,UnitPrice,Memo\r\n";

DOCFUEL_DATA Record(int distance, int amount, int price, int priceUnit = 0)
{
    DOCFUEL_DATA r{};
    r.year = 2009;
    r.month = 5;
    r.day = 1;
    r.hour = 7;
    r.minute = 5;
    r.latitude = 35000000;
    r.longitude = 139000000;
    r.distance = distance;
    r.amount = amount;
    r.price = price;
    r.priceUnit = priceUnit;
    return r;
}

// A DAT file: the 40-byte header and the given 40-byte records.
Bytes DatFile(const std::vector<Bytes>& records, const char* version = "1.00", uint32_t magic = 0x88888888,
              int sizeField = -1)
{
    Bytes b(40);
    reporttest::Put32(b, 0, magic);
    std::memcpy(&b[4], "FUEL", 4);
    std::memcpy(&b[8], version, 4);
    reporttest::Put32(b, 24, sizeField < 0 ? static_cast<uint32_t>(records.size() * 40) : sizeField);
    for (const Bytes& r : records)
        b.insert(b.end(), r.begin(), r.end());
    return b;
}

Bytes DatRecord(uint32_t date = 0x20090501, uint32_t time = 0x12345600, int distance = 1234, int amount = 3412,
                int price = 135, int lat = 35 * 256 * 3600, int lon = 139 * 256 * 3600)
{
    Bytes r(40);
    reporttest::Put32(r, 0, date);
    reporttest::Put32(r, 4, time);
    reporttest::Put32(r, 8, static_cast<uint32_t>(distance));
    r[12] = 0;  // km
    r[16] = static_cast<uint8_t>(amount);
    r[17] = static_cast<uint8_t>(amount >> 8);
    r[18] = 0;  // litres
    reporttest::Put32(r, 20, static_cast<uint32_t>(price));
    r[28] = 3;  // currency
    r[30] = 0;
    reporttest::Put32(r, 32, static_cast<uint32_t>(lat));
    reporttest::Put32(r, 36, static_cast<uint32_t>(lon));
    return r;
}

}  // namespace

TEST_F(FuelLogTest, UnitNormalisation)
{
    struct Case {
        int area, brazil;
        int in[4];   // distance, amount, mileage, price units
        int out[4];
    } cases[] = {
        {1, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},      {1, 0, {1, 1, 3, 14}, {1, 2, 3, 14}},
        {2, 0, {2, 2, 4, 15}, {1, 1, 0, 0}},     {1, 1, {3, 3, 0, 15}, {0, 0, 0, 15}},
        {1, 1, {-1, -1, -1, -1}, {0, 0, 0, 0}},  {2, 0, {0, 1, 2, 16}, {0, 1, 2, 0}},
    };
    for (const Case& c : cases) {
        theGlobal.m_areaCode = c.area;
        theGlobal.m_naviModel.m_brazilUnit = c.brazil;
        DOCFUEL_DATA r{};
        r.distanceUnit = c.in[0];
        r.amountUnit = c.in[1];
        r.mileageUnit = c.in[2];
        r.priceUnit = c.in[3];
        NormaliseFuelUnits(r);
        EXPECT_EQ(c.out[0], r.distanceUnit);
        EXPECT_EQ(c.out[1], r.amountUnit);
        EXPECT_EQ(c.out[2], r.mileageUnit);
        EXPECT_EQ(c.out[3], r.priceUnit);
    }
}

TEST_F(FuelLogTest, RecordsAndTheirDerivedValues)
{
    CDocFe doc;
    DOCFUEL_VIEW_DATA v{};
    v.amount = 4000;
    v.price = 135;
    v.distance = 5000;
    v.mileageUnit = 0;
    wcscpy(v.memo, L"full tank");
    ASSERT_EQ(0, doc.AddRecord(v));
    EXPECT_EQ(5400, doc.m_records[0].cost);
    EXPECT_EQ(800, doc.m_records[0].mileage);
    EXPECT_EQ(1, doc.IsModified());
    EXPECT_EQ(0, doc.m_records[0].year);  // the view sets the date next

    wcscpy(v.date, L"2009/5/1");
    wcscpy(v.time, L"7:05");
    v.amount = 99999;
    v.price = 99999;
    doc.SetModified(0);
    ASSERT_TRUE(doc.SetRecordText(v, 0));
    const DOCFUEL_DATA& r = doc.m_records[0];
    EXPECT_EQ(2009, r.year);
    EXPECT_EQ(5, r.month);
    EXPECT_EQ(1, r.day);
    EXPECT_EQ(7, r.hour);
    EXPECT_EQ(5, r.minute);
    EXPECT_EQ(0, r.second);
    EXPECT_EQ(99998000, r.cost);
    EXPECT_EQ(0, doc.IsModified());
    wcscpy(v.date, L"x/y");
    wcscpy(v.time, L"");
    v.amount = 0;
    doc.SetRecordText(v, 0);
    EXPECT_EQ(0, doc.m_records[0].year + doc.m_records[0].month + doc.m_records[0].hour);
    EXPECT_EQ(0, doc.m_records[0].cost);
    EXPECT_EQ(0, doc.m_records[0].mileage);
    EXPECT_FALSE(doc.SetRecordText(v, 1));

    DOCFUEL_VIEW_DATA out;
    ASSERT_TRUE(doc.GetRecordText(0, out));
    EXPECT_STREQ(L"0000/00/00", out.date);
    EXPECT_STREQ(L"00:00:00", out.time);
    EXPECT_STREQ(L"full tank", out.memo);
    EXPECT_FALSE(doc.GetRecordText(-1, out));

    // Mileage unit 3 added through the display record is computed in unit 3.
    DOCFUEL_VIEW_DATA g{};
    g.distance = 1000;  // 100.0 miles
    g.distanceUnit = 1;
    g.amount = 400;  // 4.00 US gallons (area 1)
    g.amountUnit = 2;
    g.mileageUnit = 3;
    const int i = doc.AddRecord(g);
    EXPECT_EQ(3, doc.m_records[i].mileageUnit);
    EXPECT_EQ(2500, doc.m_records[i].mileage);
}

TEST_F(FuelLogTest, TheThousandRecordLimit)
{
    CDocFe doc;
    DOCFUEL_VIEW_DATA v{};
    for (int i = 0; i < 999; ++i)
        doc.m_records.Add(Record(1, 1, 1));
    EXPECT_EQ(999, doc.AddRecord(v));
    EXPECT_EQ(-1, doc.AddRecord(v));
    EXPECT_EQ(FEERR_LIMIT, doc.GetErrorCode());
    EXPECT_FALSE(doc.InsertRecord(0, Record(1, 1, 1)));
    doc.m_records.RemoveAt(999);
    doc.SetErrorCode(0);
    EXPECT_FALSE(doc.InsertRecord(-1, Record(1, 1, 1)));
    EXPECT_EQ(FEERR_LIMIT, doc.GetErrorCode());
    EXPECT_FALSE(doc.InsertRecord(1000, Record(1, 1, 1)));  // past the end
    EXPECT_TRUE(doc.InsertRecord(999, Record(2, 2, 2)));
    EXPECT_EQ(2, doc.m_records[999].distance);
    EXPECT_EQ(0, doc.m_records[999].cost);  // inserted as given
}

TEST_F(FuelLogTest, SavedCsvMatchesTheFormat)
{
    CDocFe doc;
    DOCFUEL_DATA a = Record(1234, 4000, 135);
    a.amountUnit = 2;
    a.mileageUnit = 1;
    a.priceUnit = 3;
    wcscpy(a.memo, L"a, b");
    DOCFUEL_DATA b = Record(5, 6, 7);
    b.latitude = b.longitude = kNoPosition;
    b.second = 9;
    wcscpy(b.memo, L"say \"hi\"\r\nnext line");
    DOCFUEL_DATA c = Record(0, 0, 0);
    c.latitude = -1234;
    doc.m_records.Add(a);
    doc.m_records.Add(b);
    doc.m_records.Add(c);
    doc.SetModified(1);
    const std::wstring path = m_dir.File(L"out.csv");
    ASSERT_TRUE(doc.Save(path.c_str()));
    EXPECT_EQ(0, doc.IsModified());
    EXPECT_EQ(std::string(kHeader) +
                  "2009,05,01,07,05,00,35000000,139000000,00001234,0,04000,1,1,00135,3,\"a, b\"\r\n"
                  "2009,05,01,07,05,09,-255000000,-255000000,00000005,0,00006,0,0,00007,0,\"say \"\"hi\"\" next line\"\r\n"
                  "2009,05,01,07,05,00,-0001234,139000000,00000000,0,00000,0,0,00000,0,\r\n",
              ReadText(path));

    // Read back, the records are the same; written again, the bytes too.
    CDocFe again;
    ASSERT_TRUE(again.Load(path.c_str()));
    ASSERT_EQ(3, again.GetCount());
    EXPECT_STREQ(L"say \"hi\" next line", again.m_records[1].memo);
    EXPECT_EQ(5400, again.m_records[0].cost);
    EXPECT_EQ(-1234, again.m_records[2].latitude);
    const std::wstring path2 = m_dir.File(L"out2.csv");
    ASSERT_TRUE(again.Save(path2.c_str()));
    EXPECT_EQ(ReadText(path), ReadText(path2));
}

TEST_F(FuelLogTest, CsvReadingRules)
{
    CDocFe doc;
    // Header Memo, Year, Foo: two columns, the third field is ignored.
    ASSERT_TRUE(doc.Load(WriteCsv("#Memo,Year,Foo,Month\r\nnote,2009,7\r\n").c_str()));
    ASSERT_EQ(2, doc.m_columns.GetSize());
    EXPECT_EQ(15, doc.m_columns[0]);
    EXPECT_EQ(0, doc.m_columns[1]);
    ASSERT_EQ(1, doc.GetCount());
    EXPECT_STREQ(L"note", doc.m_records[0].memo);
    EXPECT_EQ(0, doc.m_records[0].year);  // 2009 with month 0 and day 0 is no date

    struct Case {
        const char* name;
        const char* line;
        int year, day, latitude, longitude, distance, amount, amountUnit;
    } cases[] = {
        {"kept", "2009,05,01,00,00,00,35000000,139000000,100,0,4000,0,0,135,0,x", 2009, 1, 35000000, 139000000, 100,
         4000, 0},
        {"last valid day", "2038,01,18,00,00,00,0,0,0,0,0,0,0,0,0,", 2038, 18, 0, 0, 0, 0, 0},
        {"first invalid day", "2038,01,19,00,00,00,0,0,0,0,0,0,0,0,0,", 0, 0, 0, 0, 0, 0, 0},
        {"latitude out of range", "2009,05,01,00,00,00,95000000,139000000,0,0,0,0,0,0,0,", 2009, 1, kNoPosition,
         kNoPosition, 0, 0, 0},
        {"clamped", "2009,05,01,00,00,00,0,0,-5,0,123456,2,0,0,0,", 2009, 1, 0, 0, 0, 99999, 2},
        {"missing fields", "2009,05", 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.RemoveAll();
        ASSERT_TRUE(doc.Load(WriteCsv(std::string(kHeader) + c.line + "\r\n").c_str()));
        ASSERT_EQ(1, doc.GetCount());
        const DOCFUEL_DATA& r = doc.m_records[0];
        EXPECT_EQ(c.year, r.year);
        EXPECT_EQ(c.day, r.day);
        EXPECT_EQ(c.latitude, r.latitude);
        EXPECT_EQ(c.longitude, r.longitude);
        EXPECT_EQ(c.distance, r.distance);
        EXPECT_EQ(c.amount, r.amount);
        EXPECT_EQ(c.amountUnit, r.amountUnit);
    }
    // UnitAmount 2 is the area's gallon: US in area 1, imperial elsewhere;
    // either way it is written back as 1.
    theGlobal.m_areaCode = 2;
    doc.RemoveAll();
    ASSERT_TRUE(doc.Load(WriteCsv(std::string(kHeader) + "2009,05,01,00,00,00,0,0,0,0,0,2,0,0,0,\r\n").c_str()));
    EXPECT_EQ(1, doc.m_records[0].amountUnit);
    ASSERT_TRUE(doc.Save(m_dir.File(L"back.csv").c_str()));
    EXPECT_NE(std::string::npos, ReadText(m_dir.File(L"back.csv")).find(",00000,1,0,00000,"));
}

TEST_F(FuelLogTest, CsvFilesItCannotRead)
{
    CDocFe doc;
    EXPECT_FALSE(doc.Load(m_dir.File(L"missing.csv").c_str()));
    EXPECT_EQ(DOCERR_READ, doc.GetErrorCode());
    EXPECT_FALSE(doc.ReadCsvHeader(m_dir.File(L"missing.csv").c_str()));
    EXPECT_EQ(DOCERR_FILE_NOT_FOUND, doc.GetErrorCode());
    EXPECT_FALSE(doc.Load(WriteCsv("2009,05,01\r\n", L"noheader.csv").c_str()));
    EXPECT_EQ(DOCERR_READ, doc.GetErrorCode());
    EXPECT_FALSE(doc.Load(WriteCsv(kHeader, L"fuel.txt").c_str()));
    EXPECT_EQ(DOCERR_READ, doc.GetErrorCode());
    EXPECT_EQ(0, doc.GetCount());
}

TEST_F(FuelLogTest, CsvStopsAtTheLimit)
{
    std::string text = kHeader;
    for (int i = 0; i < 1000; ++i)
        text += "2009,05,01,00,00,00,0,0,100,0,100,0,0,100,0,\r\n";
    // A closing comment after exactly 1000 records is no record.
    CDocFe doc;
    ASSERT_TRUE(doc.Load(WriteCsv(text + "# end\r\n\r\n").c_str()));
    EXPECT_EQ(1000, doc.GetCount());
    EXPECT_EQ(0, doc.m_overLimit);
    doc.RemoveAll();
    EXPECT_FALSE(doc.Load(WriteCsv(text + "2009,05,01,00,00,00,0,0,100,0,100,0,0,100,0,\r\n").c_str()));
    EXPECT_EQ(1000, doc.GetCount());
    EXPECT_EQ(FEERR_LIMIT, doc.GetErrorCode());
    EXPECT_EQ(1, doc.m_overLimit);
}

TEST_F(FuelLogTest, DatRecords)
{
    std::vector<Bytes> recs = {DatRecord(), DatRecord(0x07D90501, 0x12345600, 7, 12000),
                               DatRecord(0x20090501, 0x25000000, 99999999, 0, 0, 95 * 256 * 3600, -3 * 256 * 3600)};
    CDocFe doc;
    std::wstring path = m_dir.File(L"FUEL.DAT");
    testsupport::WriteBytes(path, DatFile(recs));
    ASSERT_TRUE(doc.Load(path.c_str()));
    ASSERT_EQ(3, doc.GetCount());
    const DOCFUEL_DATA& a = doc.m_records[0];
    EXPECT_EQ(2009, a.year);
    EXPECT_EQ(5, a.month);
    EXPECT_EQ(1, a.day);
    EXPECT_EQ(12, a.hour);
    EXPECT_EQ(34, a.minute);
    EXPECT_EQ(56, a.second);
    EXPECT_EQ(35000000, a.latitude);
    EXPECT_EQ(139000000, a.longitude);
    EXPECT_EQ(1234, a.distance);
    EXPECT_EQ(34120, a.amount);
    EXPECT_EQ(3, a.priceUnit);
    EXPECT_EQ(34120LL * 135 / 100, a.cost);  // derived after loading
    const DOCFUEL_DATA& b = doc.m_records[1];
    EXPECT_EQ(0, b.year + b.month + b.day);  // 0x07D9 is no BCD year
    EXPECT_EQ(99999, b.amount);
    const DOCFUEL_DATA& c = doc.m_records[2];
    EXPECT_EQ(0, c.hour + c.minute + c.second);  // hour 25
    EXPECT_EQ(99999, c.distance);
    EXPECT_EQ(kNoPosition, c.latitude);
    EXPECT_EQ(-3000000, c.longitude);
    // The size field counts whole records: 85 bytes are two.
    doc.RemoveAll();
    testsupport::WriteBytes(path, DatFile(recs, "1.00", 0x88888888, 85));
    ASSERT_TRUE(doc.Load(path.c_str()));
    EXPECT_EQ(2, doc.GetCount());
}

TEST_F(FuelLogTest, DatFilesItCannotReadOrThatEndEarly)
{
    std::vector<Bytes> one = {DatRecord()};
    Bytes good = DatFile(one);
    struct Case {
        const char* name;
        Bytes bytes;
        bool ok;
        int records;
    } cases[] = {
        {"wrong magic", DatFile(one, "1.00", 0x88888889), false, 0},
        {"version 0.90", DatFile(one, "0.90"), false, 0},
        {"no FUEL", [&] { Bytes b = good; b[5] = 'O'; return b; }(), false, 0},
        {"header cut", Bytes(good.begin(), good.begin() + 39), false, 0},
        {"empty", {}, false, 0},
        {"size says ten, file holds one", DatFile(one, "1.00", 0x88888888, 400), true, 1},
        {"record cut", Bytes(good.begin(), good.end() - 1), true, 0},
        {"size far too large", DatFile(one, "1.00", 0x88888888, -1 & 0x7FFFFFFF), true, 1},
        {"file at the size limit", [&] { Bytes b = good; b.resize(kMaxFuelDatBytes); return b; }(), true, 1},
        {"file past the size limit", [&] { Bytes b = good; b.resize(kMaxFuelDatBytes + 40); return b; }(), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring path = m_dir.File(L"bad.dat");
        testsupport::WriteBytes(path, c.bytes);
        CDocFe doc;
        doc.SetErrorCode(0);
        EXPECT_EQ(c.ok, !!doc.Load(path.c_str()));
        EXPECT_EQ(c.records, doc.GetCount());
        EXPECT_EQ(c.ok ? 0 : DOCERR_READ, doc.GetErrorCode());
    }
}

TEST_F(FuelLogTest, DatStopsAtTheLimitWithDerivedValues)
{
    CDocFe doc;
    for (int i = 0; i < 998; ++i)
        doc.m_records.Add(Record(1, 1, 1));
    std::vector<Bytes> recs(3, DatRecord());
    std::wstring path = m_dir.File(L"FUEL.DAT");
    testsupport::WriteBytes(path, DatFile(recs));
    EXPECT_FALSE(doc.Load(path.c_str()));
    EXPECT_EQ(FEERR_LIMIT, doc.GetErrorCode());
    EXPECT_EQ(1, doc.m_overLimit);
    ASSERT_EQ(1000, doc.GetCount());
    EXPECT_EQ(34120LL * 135 / 100, doc.m_records[999].cost);
}

TEST_F(FuelLogTest, ExportWritesTheChosenRecordsOnly)
{
    CDocFe doc;
    doc.m_records.Add(Record(1, 0, 0));
    doc.m_records.Add(Record(2, 0, 0));
    doc.m_records.Add(Record(3, 0, 0));
    doc.SetModified(1);
    CArray<int> chosen;
    chosen.Add(2);
    chosen.Add(0);
    const std::wstring path = m_dir.File(L"export.csv");
    ASSERT_TRUE(doc.ExportRecordsCsv(path.c_str(), chosen));
    CDocFe back;
    ASSERT_TRUE(back.Load(path.c_str()));
    ASSERT_EQ(2, back.GetCount());
    EXPECT_EQ(3, back.m_records[0].distance);
    EXPECT_EQ(1, back.m_records[1].distance);
    // The log itself still has unsaved changes.
    EXPECT_EQ(1, doc.IsModified());

    chosen.Add(3);
    const std::wstring other = m_dir.File(L"export2.csv");
    EXPECT_FALSE(doc.ExportRecordsCsv(other.c_str(), chosen));
    EXPECT_EQ(DOCERR_WRITE, doc.GetErrorCode());
    EXPECT_FALSE(testsupport::FileExists(other));
}

TEST_F(FuelLogTest, AFailedSaveLeavesTheMasterFileWhole)
{
    theGlobal.m_drFuelMasterFolder = m_dir.Path().c_str();
    theGlobal.m_drFuelMasterName = L"";
    const CString master = GetFuelMasterPath();
    EXPECT_EQ(m_dir.File(L"FuelMaster.csv"), std::wstring(master.GetString()));
    CDocFe doc;
    doc.m_records.Add(Record(1, 100, 100));
    ASSERT_TRUE(doc.Save(master));
    const std::string before = ReadText(master.GetString());

    // The file cannot be replaced while another program holds it open.
    doc.m_records.Add(Record(2, 100, 100));
    doc.SetModified(1);
    HANDLE held = CreateFileW(master, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(doc.Save(master));
    CloseHandle(held);
    EXPECT_EQ(DOCERR_WRITE, doc.GetErrorCode());
    EXPECT_EQ(1, doc.IsModified());
    EXPECT_EQ(before, ReadText(master.GetString()));
    // Nothing is left beside it.
    EXPECT_EQ(1u, testsupport::ListFolder(m_dir.Path()).size());

    doc.SetErrorCode(0);
    EXPECT_FALSE(doc.Save(m_dir.File(L"no folder\\FuelMaster.csv").c_str()));
    EXPECT_EQ(DOCERR_WRITE, doc.GetErrorCode());
    theGlobal.m_drFuelMasterFolder = L"";
}
