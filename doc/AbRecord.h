#pragma once
// One address-book entry as it crosses to the address-book view, and as the
// unit's card file stores it (a fixed 492-byte record).
#include "classlib/Afx.h"

// Coordinate value of an entry without a position.
constexpr double AB_NO_POSITION = -255.0;
// Stored coordinate of an entry without a position.
constexpr LONG AB_NO_COORD = 0x7FFFFFFF;
// Stored category n is this plus n.
constexpr DWORD AB_CATEGORY_BASE = 0x41020000;
constexpr int AB_MAX_CATEGORY = 30;
// Position kind of an entry whose position was placed from the map page (1 is
// any other position). The card file does not hold it.
constexpr int AB_FLAG_FROM_MAP = 2;

#pragma pack(push, 1)
struct DOCAB_UI_RECORD {
    wchar_t name[65];
    wchar_t address[129];
    wchar_t phone[65];
    double longitude;
    double latitude;
    int category;
    int positionKind;  // 0 none, 1 a position, AB_FLAG_FROM_MAP placed from the map page
};

// The card file's record, little-endian as the unit reads it.
struct AB_FILE_RECORD {
    short number;  // -1 = free
    short reserved2;
    LONG longitude;  // 1/256 arc-second
    LONG latitude;
    DWORD category;
    DWORD regDate;  // (year << 16) + (month << 8) + day
    DWORD regTime;  // (hour << 16) + (minute << 8) + second
    BYTE reserved24[16];
    short reserved40;
    short reserved42;
    DWORD nameLength;
    wchar_t name[18];
    BYTE reserved84[100];
    DWORD phoneLength;
    wchar_t phone[16];
    BYTE reserved220[116];
    LONG coordPairs[16];
    DWORD addressLength;
    wchar_t address[36];
    BYTE reserved476[16];
};
#pragma pack(pop)
static_assert(sizeof(DOCAB_UI_RECORD) == (65 + 129 + 65) * 2 + 16 + 8, "DOCAB_UI_RECORD is packed");
static_assert(sizeof(AB_FILE_RECORD) == 492, "AB_FILE_RECORD is the card's record");

void CopyAbUiRecord(const DOCAB_UI_RECORD* src, DOCAB_UI_RECORD* dst);

class CDocAbRecord {
public:
    CDocAbRecord() { Clear(); }

    // A free record: zero, number -1, no position (position kind 0).
    void Clear();
    BOOL IsFree() const { return m_rec.number == -1; }

    // Texts are cut to the unit's field (17, 35 and 15 characters).
    void SetName(const wchar_t* text);
    void SetAddress(const wchar_t* text);
    void SetPhone(const wchar_t* text);
    CString GetName() const;
    CString GetAddress() const;
    CString GetPhone() const;

    // Either value -255.0 stores "no position".
    void SetPosition(double longitude, double latitude);
    double GetLongitude() const;
    double GetLatitude() const;
    void UpdatePositionKind();

    // FALSE when a stored text length does not fit its field.
    BOOL HasValidTexts() const;

    AB_FILE_RECORD m_rec;
    int m_positionKind = 0;
};

// The current local date and time in the record's packed form; FALSE (outputs
// untouched) when the local time cannot be read.
BOOL GetPackedDateTimeNow(DWORD* date, DWORD* time);
