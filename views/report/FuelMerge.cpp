#include "views/report/FuelMerge.h"

BOOL ComputeFuelMerge(const CDocFe& doc, const std::vector<int>& indices, FUEL_MERGE& out)
{
    out = FUEL_MERGE();
    std::vector<DOCFUEL_VIEW_DATA> records;
    for (int index : indices) {
        DOCFUEL_VIEW_DATA r{};
        if (!doc.GetRecordText(index, r))
            continue;
        records.push_back(r);
        out.keptIndex = index;
    }
    if (records.empty())
        return FALSE;
    out.before = records.back();
    out.merged = records.back();
    DOCFUEL_VIEW_DATA& m = out.merged;
    // Nearest first: from the newest record up.
    m.price = 0;
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->price != 0) {
            m.price = it->price;
            break;
        }
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->latitude >= -90000000 && it->latitude <= 90000000 && it->longitude >= -180000000 &&
            it->longitude <= 180000000) {
            m.latitude = it->latitude;
            m.longitude = it->longitude;
            break;
        }
    m.memo[0] = L'\0';
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->memo[0]) {
            wcsncpy_s(m.memo, it->memo, _TRUNCATE);
            break;
        }
    long long distance = 0, amount = 0;
    for (const auto& r : records) {
        distance += r.distance;
        amount += r.amount;
    }
    out.overflow = distance > 99999 || amount > 99999;
    m.distance = static_cast<int>(distance < 0 ? 0 : distance > 99999 ? 99999 : distance);
    m.amount = static_cast<int>(amount < 0 ? 0 : amount > 99999 ? 99999 : amount);
    m.mark = 0;
    return TRUE;
}
