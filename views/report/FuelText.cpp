#include "views/report/FuelText.h"

#include <cwchar>

#include "common/TextCheck.h"
#include "common/WebUtil.h"
#include "core/Global.h"

const wchar_t kFuelDistanceUnits[] = L"Km\nMile";
const wchar_t kFuelAmountUnits[] = L"Litre\nGallon";
const wchar_t kFuelMileageUnits[] = L"Litre/100Km\nKm/Gallon\nLitre/60Mile\nMile/Gallon";

namespace {

const wchar_t kCurrencies[] =
    L"Swiss France\nCzech Koruna\nDanish Krone\nEuro\nBritish Pound\nHungarian Forint\nNorwegian Krone\n"
    L"Polish Zloty\nRussian Ruble\nSwedish Krona\nSlovakia Koruna\nNew Turkish Lira\nAustralian Dollar\n"
    L"United States Dollar\nCanadian Dollar\nBrazil Real";

struct NumberColumn {
    int column, mask, decimals, low, high;
};
constexpr NumberColumn kNumberColumns[] = {
    {2, CHARCLASS_UNSIGNED, 1, 0, 99999},
    {4, CHARCLASS_UNSIGNED, 2, 0, 99999},
    {8, CHARCLASS_UNSIGNED, 2, 0, 99999},
    {11, CHARCLASS_SIGNED, 6, -90000000, 90000000},
    {12, CHARCLASS_SIGNED, 6, -180000000, 180000000},
};

bool BrazilUnit() { return theGlobal.m_naviModel.m_brazilUnit != 0; }

}  // namespace

CString FuelCurrencyNames()
{
    CString names(kCurrencies);
    if (!BrazilUnit())
        names = names.Left(names.ReverseFind(L'\n'));
    return names;
}

CString FuelNameLine(const wchar_t* list, int n)
{
    if (n < 0)
        return CString();
    const wchar_t* p = list;
    for (int i = 0; i < n; ++i) {
        p = wcschr(p, L'\n');
        if (!p)
            return CString();
        ++p;
    }
    const wchar_t* end = wcschr(p, L'\n');
    return end ? CString(p, static_cast<int>(end - p)) : CString(p);
}

CString FuelCurrencyName(int code)
{
    if (code < 0 || code > 16)
        return CString();
    // Without the Brazil unit its code falls back to the first name.
    if (code == 15 && !BrazilUnit())
        code = 0;
    return FuelNameLine(kCurrencies, code);
}

CString FuelFixedText(__int64 value, int decimals)
{
    static const double kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    CString text;
    const wchar_t* format = decimals == 1 ? L"%.1f" : decimals == 2 ? L"%.2f" : L"%.6f";
    text.Format(format, static_cast<double>(value) / kScale[decimals]);
    DotToLocaleDecimal(text);
    return text;
}

CString FuelCellText(const DOCFUEL_VIEW_DATA& r, int column)
{
    switch (column) {
    case 0: return r.date;
    case 1: {
        CString time(r.time);
        return time.GetLength() >= 3 ? time.Left(time.GetLength() - 3) : time;
    }
    case 2: return FuelFixedText(r.distance, 1);
    case 3: return r.distanceUnit <= 2 ? FuelNameLine(kFuelDistanceUnits, r.distanceUnit) : CString();
    case 4: return FuelFixedText(r.amount, 2);
    case 5: return r.amountUnit == 0 ? CString(L"Litre") : r.amountUnit <= 2 ? CString(L"Gallon") : CString();
    case 6: return FuelFixedText(r.mileage, 2);
    case 7: return r.mileageUnit <= 3 ? FuelNameLine(kFuelMileageUnits, r.mileageUnit) : CString();
    case 8: return FuelFixedText(r.price, 2);
    case 9: return FuelCurrencyName(r.priceUnit);
    case 10: return FuelFixedText(r.cost, 2);
    case 11: return r.latitude == kNoPosition ? CString() : FuelFixedText(r.latitude, 6);
    case 12: return r.longitude == kNoPosition ? CString() : FuelFixedText(r.longitude, 6);
    case 13: return r.memo;
    default: return CString();
    }
}

int FuelCellChoice(const DOCFUEL_VIEW_DATA& r, int column)
{
    switch (column) {
    case 3: return r.distanceUnit;
    case 5: return r.amountUnit == 0 ? 0 : 1;
    case 7: return r.mileageUnit;
    case 9: return r.priceUnit;
    default: return 0;
    }
}

int ParseFuelNumber(int column, const wchar_t* text, int& value)
{
    const NumberColumn* rule = nullptr;
    for (const auto& c : kNumberColumns)
        if (c.column == column)
            rule = &c;
    if (!rule || !text || !IsTextOfClass(text, rule->mask))
        return FuelInputRefused;
    // Which separator is the decimal point: a single one of either kind, or
    // the last one when both kinds appear and the other kind only groups.
    CString s(text);
    const int dots = s.Replace(L".", L"."), commas = s.Replace(L",", L",");
    int point = -1;
    if (dots + commas == 1) {
        point = s.FindOneOf(L".,");
    } else if (dots && commas) {
        point = s.ReverseFind(s.ReverseFind(L'.') > s.ReverseFind(L',') ? L'.' : L',');
        const wchar_t decimal = s[point], group = decimal == L'.' ? L',' : L'.';
        if (s.Replace(CString(decimal), CString(decimal)) != 1)
            return FuelInputRefused;
        // A group separator stands between digits, before the decimal point.
        for (int i = 0; i < s.GetLength(); ++i)
            if (s[i] == group && (i > point || i == 0 || !iswdigit(s[i - 1]) || !iswdigit(s[i + 1])))
                return FuelInputRefused;
    } else if (dots + commas > 1) {
        return FuelInputRefused;
    }
    CString whole = point < 0 ? s : s.Left(point), fraction = point < 0 ? CString() : s.Mid(point + 1);
    whole.Remove(L',');
    whole.Remove(L'.');
    bool negative = false;
    if (whole.GetLength() && whole[0] == L'-') {
        negative = true;
        whole = whole.Mid(1);
    }
    if (whole.Find(L'-') >= 0 || fraction.Find(L'-') >= 0)
        return FuelInputRefused;
    if (whole.IsEmpty() && fraction.IsEmpty()) {
        if (negative)
            return FuelInputRefused;
        value = 0;
        return FuelInputOk;
    }
    if (whole.GetLength() > 9)
        return FuelInputOutOfRange;
    __int64 v = 0;
    for (int i = 0; i < whole.GetLength(); ++i)
        v = v * 10 + (whole[i] - L'0');
    for (int i = 0; i < rule->decimals; ++i)
        v = v * 10 + (i < fraction.GetLength() ? fraction[i] - L'0' : 0);
    if (negative)
        v = -v;
    if (v < rule->low || v > rule->high)
        return FuelInputOutOfRange;
    value = static_cast<int>(v);
    return FuelInputOk;
}

int CheckFuelMemo(const wchar_t* text, CString& memo)
{
    if (!text || !IsTextOfClass(text, theGlobal.m_naviModel.m_modelGroup))
        return FuelInputRefused;
    memo = text;
    if (memo.GetLength() > 255) {
        memo = memo.Left(255);
        return FuelInputCut;
    }
    return FuelInputOk;
}

BOOL ApplyFuelEdit(DOCFUEL_VIEW_DATA& r, int column, const wchar_t* text, int choice, int number)
{
    switch (column) {
    case 0: wcsncpy_s(r.date, text ? text : L"", _TRUNCATE); break;
    case 1: wcsncpy_s(r.time, text ? text : L"", _TRUNCATE); break;
    case 2: r.distance = number; break;
    case 3: r.distanceUnit = choice; break;
    case 4: r.amount = number; break;
    case 5: r.amountUnit = choice == 0 ? 0 : theGlobal.m_areaCode == 1 ? 2 : 1; break;
    case 7: r.mileageUnit = choice; break;
    case 8: r.price = number; break;
    case 9: r.priceUnit = choice; break;
    case 11: r.latitude = number; break;
    case 12: r.longitude = number; break;
    case 13:
        wmemset(r.memo, 0, 256);
        wcsncpy_s(r.memo, text ? text : L"", _TRUNCATE);
        break;
    default: return FALSE;
    }
    return TRUE;
}

DOCFUEL_VIEW_DATA MakeNewFuelRecord(const CDocFe& doc)
{
    DOCFUEL_VIEW_DATA r{};
    r.distanceUnit = theGlobal.m_distanceUnit;
    r.amountUnit = theGlobal.m_amountUnit;
    r.mileageUnit = theGlobal.m_mileageUnit;
    r.priceUnit = doc.GetMainCurrency();
    r.latitude = r.longitude = kNoPosition;
    return r;
}
