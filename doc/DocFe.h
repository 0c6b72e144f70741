#pragma once
// The fuel log: up to 1000 refuelling records in the units each was made in,
// read from the user's CSV or the unit's DAT file and saved as CSV, with the
// statistics, CO2 and eco level the fuel view shows.
#include "doc/Doc.h"

// Error codes of the fuel document beyond the shared ones.
enum FuelError { FEERR_6 = 6, FEERR_LIMIT = 7, FEERR_8 = 8, FEERR_9 = 9 };

constexpr int kMaxFuelRecords = 1000;
// A DAT file above this size (40 bytes a record, far past the record limit) is refused.
constexpr long long kMaxFuelDatBytes = 1LL << 20;
constexpr int kNoPosition = -255000000;

struct DOCFUEL_DATA {
    int year, month, day;
    int hour, minute, second;
    int latitude, longitude;  // millionths of a degree
    int distance;             // tenths of the distance unit
    int amount;               // hundredths of the amount unit
    int price;                // hundredths of the currency per amount unit
    wchar_t memo[256];
    int mileage;              // hundredths, derived
    __int64 cost;             // hundredths, derived
    int mark;
    int distanceUnit;  // 0 km, 1 miles
    int amountUnit;    // 0 litres, 1 imperial gallons, 2 US gallons
    int mileageUnit;   // 0 to 3
    int priceUnit;     // currency 0 to 15
};

struct DOCFUEL_VIEW_DATA {
    wchar_t date[40];
    wchar_t time[40];
    int latitude, longitude;
    int distance;
    int distanceUnit;
    int amount;
    int amountUnit;
    int mileage;
    int mileageUnit;
    int price;
    int priceUnit;
    __int64 cost;
    wchar_t memo[256];
    int mark;
};

class CDocFe : public CDoc {
public:
    void InitErrorStrings() override;
    // Appends the records of a fuel CSV (.csv) or the unit's fuel file (.dat).
    BOOL Load(const wchar_t* path) override;
    // All records as fuel CSV; the old file stays whole when the write fails.
    BOOL Save(const wchar_t* path) override;
    // The listed records, in list order, as fuel CSV; the log's modified flag stays.
    BOOL ExportRecordsCsv(const wchar_t* path, const CArray<int>& indices);

    BOOL ReadCsvHeader(const wchar_t* path);
    BOOL LoadCsv(const wchar_t* path);
    BOOL LoadDat(const wchar_t* path);

    BOOL GetRecordText(int index, DOCFUEL_VIEW_DATA& out) const;
    BOOL SetRecordText(const DOCFUEL_VIEW_DATA& in, int index);
    int AddRecord(const DOCFUEL_VIEW_DATA& in);
    BOOL InsertRecord(int index, DOCFUEL_DATA record);
    void RemoveAll();
    BOOL UpdateDerivedValues(int index);
    int GetCount() const { return static_cast<int>(m_records.GetSize()); }

    // Conversions into the units the options choose (0 for a bad index).
    __int64 GetDistanceInUnit(int index, int unit) const;
    __int64 GetAmountInUnit(int index, int unit) const;
    __int64 GetMileageDistance(int index, int mileageUnit) const;
    __int64 GetMileageAmount(int index, int mileageUnit) const;
    int GetRecordMileage(int index, int mileageUnit) const;
    static int CalcMileage(int mileageUnit, int& mileage, int distance, int amount);
    int GetOverallMileage() const;
    int GetMainCurrency() const;
    int CountMainCurrencyRecords() const;
    __int64 GetLatestDateNumber(int priceUnit) const;
    int FindLatestRecord(int priceUnit) const;
    BOOL GetTotalStatistics(DOCFUEL_VIEW_DATA& out) const;
    BOOL HasStatistics() const;
    BOOL GetAverageStatistics(DOCFUEL_VIEW_DATA& out) const;
    BOOL GetMaxStatistics(DOCFUEL_VIEW_DATA& out) const;
    BOOL GetMinStatistics(DOCFUEL_VIEW_DATA& out) const;
    double GetTotalCO2() const;
    void JudgeEco();

    CArray<DOCFUEL_DATA> m_spareRecords;
    CArray<DOCFUEL_DATA> m_records;
    CArray<int> m_columns;
    int m_ecoLevel = -1;
    int m_overLimit = 0;

private:
    BOOL WriteCsv(const wchar_t* path, const CArray<DOCFUEL_DATA>& records);
    // Hands out the record's distance and amount in the mileage unit's systems.
    void MileageValues(const DOCFUEL_DATA& r, int unit, __int64& distance, __int64& amount) const;
};

// Field checks and the one record line of the fuel CSV.
BOOL IsValidFuelDate(int year, int month, int day);
BOOL IsValidFuelTime(int hour, int minute, int second);
int ClampFuelValue(int value);
CString FormatFuelCsvLine(const DOCFUEL_DATA& record);
// The unit normalisation every record read from a file goes through.
void NormaliseFuelUnits(DOCFUEL_DATA& record);
// The fuel master file on the PC: File/DrFuelMasterFolder with
// File/DrFuelMasterName, or "FuelMaster.csv" when no name is set.
CString GetFuelMasterPath();
