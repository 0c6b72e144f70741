#include "views/device/CloningRules.h"

#include <cwchar>

int CloneRegionGroupOf(const wchar_t* naviFile)
{
    if (!naviFile || wcslen(naviFile) < 2)
        return CLONE_GROUP_NONE;
    const auto is = [naviFile](const wchar_t* prefix) { return wcsncmp(naviFile, prefix, 2) == 0; };
    if (is(L"US") || is(L"EU"))
        return CLONE_GROUP_A;
    if (is(L"AU") || is(L"RU"))
        return CLONE_GROUP_B;
    if (is(L"BR"))
        return CLONE_GROUP_C;
    return CLONE_GROUP_NONE;
}

BOOL CloneDefaultProgramVoice(int modelType, int group, int* programString, int* voiceString)
{
    *programString = -1;
    *voiceString = -1;
    if (group == CLONE_GROUP_NONE)
        return TRUE;
    if (group == CLONE_GROUP_C) {
        if (modelType != 4)
            return FALSE;
        *programString = 392;
        *voiceString = 397;
        return TRUE;
    }
    const bool a = group == CLONE_GROUP_A;
    int program, voice;
    switch (modelType) {
    case 0: program = a ? 366 : 370; voice = a ? 374 : 378; break;
    case 1: program = a ? 368 : 372; voice = a ? 376 : 380; break;
    case 2: program = a ? 367 : 371; voice = a ? 375 : 379; break;
    case 3: program = a ? 369 : 373; voice = a ? 377 : 381; break;
    case 4:
    case 6: program = a ? 388 : 390; voice = a ? 393 : 395; break;
    default: program = a ? 389 : 391; voice = a ? 394 : 396; break;
    }
    *programString = program;
    *voiceString = voice;
    return TRUE;
}

CLONE_VISIBILITY CloneVisibilityOf(int modelType)
{
    CLONE_VISIBILITY v{};
    const bool wide = modelType == 0 || modelType == 2;
    v.mapColours = wide;
    v.roadColour = !wide;
    v.dateFormat = wide;
    v.usb = wide || modelType == 7;
    v.savePc = wide;
    v.illumination = modelType != 4;
    return v;
}

int IlluminationIntensity(int level)
{
    if (level <= 0)
        return 0;
    if (level > 31)
        level = 31;
    if (level <= 16)
        return 90 + 5 * (level - 1);
    return 171 + 6 * (level - 17);
}

BOOL CloneWriteAllowed(int modelType, int red, int green, int blue)
{
    if (modelType == 0 || modelType == 4)
        return TRUE;
    return red != 0 || green != 0 || blue != 0;
}
