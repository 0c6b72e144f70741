#include "frame/ReceivedLink.h"

#include <cmath>
#include <cwchar>
#include <iterator>

#include "common/FixedField.h"
#include "common/TextCheck.h"
#include "common/WebUtil.h"

const wchar_t kLinkRegionRefused[] = L"Google Maps SEND TO GPS is not available for the selected area.";

namespace {
const wchar_t kScheme[] = L"mirovale:";
}  // namespace

const wchar_t* FindLinkScheme(const wchar_t* text)
{
    const size_t n = wcslen(kScheme);
    for (const wchar_t* p = text; p && *p; ++p)
        if (_wcsnicmp(p, kScheme, n) == 0)
            return p;
    return nullptr;
}

namespace {

void CopyField(wchar_t* field, int size, CString value, int classMask)
{
    ::CopyField(field, static_cast<size_t>(size), value);
    ReplaceCharsNotOfClass(field, classMask);
}

enum class Coordinate { Missing, Number, Bad };

// A coordinate as the page writes it: an optional sign, digits and "."; no
// exponent, blanks, "nan" or "inf", and a finite value.
Coordinate ReadCoordinate(const wchar_t* key, const wchar_t* link, double& value)
{
    CString text;
    GetQueryValue(key, link, text);
    if (text.IsEmpty())
        return Coordinate::Missing;
    if (text.Find(L',') >= 0)
        return Coordinate::Bad;
    DotToLocaleDecimal(text);
    if (!ParseLocaleDecimal(text, value) || !std::isfinite(value))
        return Coordinate::Bad;
    return Coordinate::Number;
}

}  // namespace

LinkVerdict ParseReceivedLink(const wchar_t* text, int classMask, int region, DOCPI_RECORD& rec)
{
    rec = DOCPI_RECORD{};
    rec.longitude = rec.latitude = POI_NO_POSITION;
    const wchar_t* link = FindLinkScheme(text);
    if (!link)
        return LinkVerdict::NotALink;
    // The scheme word ends in ':', which lets the first key follow it directly.
    link += wcslen(kScheme) - 1;

    struct {
        const wchar_t* key;
        wchar_t* field;
        int size;
    } const texts[] = {{L"name", rec.name, static_cast<int>(std::size(rec.name))},
                       {L"address", rec.address, static_cast<int>(std::size(rec.address))},
                       {L"phone", rec.telephone, static_cast<int>(std::size(rec.telephone))},
                       {L"notes", rec.description, static_cast<int>(std::size(rec.description))}};
    for (const auto& t : texts) {
        CString value;
        GetQueryValue(t.key, link, value);
        CopyField(t.field, t.size, value, classMask);
    }
    double lon = 0, lat = 0;
    const Coordinate lonKind = ReadCoordinate(L"long", link, lon);
    const Coordinate latKind = ReadCoordinate(L"lat", link, lat);

    if (region == 2)
        return LinkVerdict::RegionRefused;
    if (lonKind == Coordinate::Missing && latKind == Coordinate::Missing)
        return LinkVerdict::Accepted;  // a place without a position
    if (lonKind != Coordinate::Number || latKind != Coordinate::Number)
        return LinkVerdict::BadPosition;
    if (lon < -180.0 || lon > 180.0 || lat < -90.0 || lat > 90.0)
        return LinkVerdict::OutOfRange;
    rec.longitude = lon;
    rec.latitude = lat;
    return LinkVerdict::Accepted;
}
