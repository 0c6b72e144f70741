#pragma once
// The navi model file: which unit the user owns (model type 0 to 12, group,
// region, Brazil flag) and the program and voice items its settings offer.
#include "classlib/Afx.h"

struct _PROGRAM_ITEM_STRUCT {
    wchar_t name[32];  // at most 31 characters
    int id;
};
using _VOICE_ITEM_STRUCT = _PROGRAM_ITEM_STRUCT;

// Regions from the first two letters of a navi file name.
enum NaviRegion { REGION_US = 0, REGION_AU = 1, REGION_BR = 2, REGION_EU = 3, REGION_RU = 4 };

class CNaviModelData {
public:
    CNaviModelData() = default;

    // Loads navi\<fileName> beside the program for the brand areaCode. TRUE only
    // when the whole file parsed and both item lists have items.
    BOOL LoadNaviFile(const wchar_t* fileName, int areaCode);
    // Parses the plain text (after the byte-order mark) of a navi file named
    // fileName; the part of LoadNaviFile after reading and unscrambling.
    BOOL ParseNaviText(const wchar_t* fileName, const CString& text);

    CString GetProgramName(int index) const;
    CString GetVoiceName(int index) const;
    CString GetModelName() const { return m_modelName; }

    // Model type and group of a model code ("KV820D" gives 12 and 2); FALSE for an unknown code.
    static BOOL LookupModelCode(const CString& code, int& type, int& group);
    // Region of a file name's prefix for the brand; -1 when the brand does not offer it.
    static int RegionOfFileName(const wchar_t* fileName, int areaCode);

    CArray<_PROGRAM_ITEM_STRUCT> m_programItems;
    CArray<_VOICE_ITEM_STRUCT> m_voiceItems;
    int m_listSize = -1;
    int m_naviModelType = -1;
    int m_modelGroup = -1;
    CString m_modelName;
    int m_brazilUnit = 0;
    int m_region = -1;
};
