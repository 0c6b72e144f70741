#pragma once
// Which characters the navigation units can show (per model group) and which
// make up a number; validators for coordinates, digits and one environment
// variable in a text.
#include "classlib/Afx.h"

#include <vector>

// Class flags of a character.
enum : WORD {
    CHARCLASS_GROUP1 = 1,    // displayable on units of model group 1
    CHARCLASS_GROUP2 = 2,    // displayable on units of model group 2
    CHARCLASS_SIGNED = 4,    // character of a signed decimal number
    CHARCLASS_UNSIGNED = 8,  // character of an unsigned decimal number
};

// A map from a character to its class flags; a character that is not in the map
// has no class.
class CCharClassMap {
public:
    BOOL Lookup(wchar_t c, WORD& flags) const;
    void SetAt(wchar_t c, WORD flags);
    void RemoveAll() { m_flags.clear(); m_count = 0; }
    int GetCount() const { return m_count; }

private:
    std::vector<WORD> m_flags;  // indexed by code unit; 0 = not in the map
    int m_count = 0;
};

extern CCharClassMap theCharClassMap;

// Fills theCharClassMap; called once at start-up.
void InitCharClassTable();
// FALSE for NULL; TRUE for ""; else TRUE when every character's class shares a
// bit with mask.
BOOL IsTextOfClass(const wchar_t* text, int mask);
// Replaces every character outside mask by '?'; FALSE for NULL.
BOOL ReplaceCharsNotOfClass(wchar_t* text, int mask);
// Latitude and longitude in millionths of a degree within +-90 and +-180.
BOOL IsValidLatLon(int latitude, int longitude);
// The text with its first %NAME% reference (every occurrence of it) replaced by
// the variable's value (empty when it does not exist).
CString ExpandEnvVars(const wchar_t* text);

constexpr int FIELD_CHECK_DIGITS = 0x10;
// 0 when text passes the checks, 1 when it fails, -1 for NULL. With
// FIELD_CHECK_DIGITS every character must be '0'-'9'; "" passes.
int ValidateFieldText(const char* text, int checks);
