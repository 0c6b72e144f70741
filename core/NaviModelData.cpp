#include "core/NaviModelData.h"

#include <shlwapi.h>

#include "core/ScrambledText.h"

namespace {

struct ModelCode {
    const wchar_t* code;
    int type;
    int group;
};

const ModelCode kModelCodes[] = {
    {L"08model", 0, 1}, {L"KV210", 1, 2}, {L"KV220", 2, 1}, {L"KV230", 3, 2}, {L"KV410", 4, 2},
    {L"KV450", 5, 2},   {L"KV540", 6, 2}, {L"KV710", 7, 2}, {L"KV720", 8, 2}, {L"KV730", 9, 2},
    {L"KV810", 10, 2},  {L"KV820", 11, 2}, {L"KV820D", 12, 2},
};

_PROGRAM_ITEM_STRUCT ParseItem(const CString& line)
{
    _PROGRAM_ITEM_STRUCT item{};
    CString name, id;
    AfxExtractSubString(name, line, 0, L',');
    AfxExtractSubString(id, line, 1, L',');
    lstrcpynW(item.name, name, 32);  // longer names are cut to 31 characters
    item.id = _wtoi(id);
    return item;
}

// The value after key in line, or FALSE when the key is not in it.
BOOL ValueAfter(const CString& line, const wchar_t* key, CString& value)
{
    int at = line.Find(key);
    if (at < 0)
        return FALSE;
    value = line.Mid(at + lstrlenW(key));
    return TRUE;
}

}  // namespace

BOOL CNaviModelData::LookupModelCode(const CString& code, int& type, int& group)
{
    for (const ModelCode& m : kModelCodes)
        if (code == m.code) {
            type = m.type;
            group = m.group;
            return TRUE;
        }
    return FALSE;
}

int CNaviModelData::RegionOfFileName(const wchar_t* fileName, int areaCode)
{
    CString prefix = CString(fileName ? fileName : L"").Left(2);
    if (areaCode == 2) {
        if (prefix == L"EU") return REGION_EU;
        if (prefix == L"RU") return REGION_RU;
        return -1;
    }
    if (prefix == L"US") return REGION_US;
    if (prefix == L"AU") return REGION_AU;
    if (prefix == L"BR") return REGION_BR;
    return -1;
}

BOOL CNaviModelData::LoadNaviFile(const wchar_t* fileName, int areaCode)
{
    if (!fileName || RegionOfFileName(fileName, areaCode) < 0)
        return FALSE;
    m_programItems.RemoveAll();
    m_voiceItems.RemoveAll();
    std::vector<BYTE> plain;
    if (!ReadScrambledFile(ProgramDataPath(L"navi", fileName), plain))
        return FALSE;
    return ParseNaviText(fileName, DecodeUtf16(plain, 2));
}

BOOL CNaviModelData::ParseNaviText(const wchar_t* fileName, const CString& text)
{
    m_programItems.RemoveAll();
    m_voiceItems.RemoveAll();
    CStringArray lines;
    SplitLines(text, lines);
    INT_PTR i = 0;
    const INT_PTR count = lines.GetSize();

    for (; i < count && lines[i] != L"PG_END"; ++i)
        m_programItems.Add(ParseItem(lines[i]));
    if (i++ >= count)
        return FALSE;
    for (; i < count && lines[i] != L"VC_END"; ++i)
        m_voiceItems.Add(ParseItem(lines[i]));
    if (i++ >= count)
        return FALSE;

    CString value;
    if (i >= count || !ValueAfter(lines[i++], L"ListSize=", value))
        return FALSE;
    m_listSize = _wtoi(value);
    if (i >= count || !ValueAfter(lines[i++], L"NaviModelType=", value))
        return FALSE;
    if (!LookupModelCode(value, m_naviModelType, m_modelGroup))
        return FALSE;
    if (i >= count || !ValueAfter(lines[i++], L"BrazilUnit=", value))
        return FALSE;
    m_brazilUnit = value == L"TRUE" ? 1 : 0;

    CString name(fileName);
    CString prefix = name.Left(2);
    const wchar_t* prefixes[] = {L"US", L"AU", L"BR", L"EU", L"RU"};
    m_region = -1;
    for (int r = 0; r < 5; ++r)
        if (prefix == prefixes[r])
            m_region = r;
    if (m_region < 0)
        return FALSE;
    CString display = name.Mid(3);
    PathRemoveExtensionW(display.GetBuffer(display.GetLength() + 1));
    display.ReleaseBuffer();
    m_modelName = display;

    return m_programItems.GetSize() > 0 && m_voiceItems.GetSize() > 0;
}

CString CNaviModelData::GetProgramName(int index) const
{
    return index >= 0 && index < m_programItems.GetSize() ? CString(m_programItems[index].name) : CString();
}

CString CNaviModelData::GetVoiceName(int index) const
{
    return index >= 0 && index < m_voiceItems.GetSize() ? CString(m_voiceItems[index].name) : CString();
}
