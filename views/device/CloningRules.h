#pragma once
// The settings replicator's decisions that need no window: the region group
// of the navi file, the regional default program and voice, which controls a
// model type shows, the illumination level table and the write check.
#include "classlib/Afx.h"

enum CloneRegionGroup { CLONE_GROUP_NONE = 0, CLONE_GROUP_A, CLONE_GROUP_B, CLONE_GROUP_C };

// "US"/"EU" A, "AU"/"RU" B, "BR" C, by the file name's first two letters (case counts).
int CloneRegionGroupOf(const wchar_t* naviFile);

// The UI strings whose text begins the regional default program and voice
// items; -1 for both when the group looks for none. FALSE when the refresh
// leaves the program and voice as they are (group C, other than model type 4).
BOOL CloneDefaultProgramVoice(int modelType, int group, int* programString, int* voiceString);

struct CLONE_VISIBILITY {
    bool mapColours;   // day and night map colour combos
    bool roadColour;
    bool dateFormat;
    bool usb;
    bool savePc;
    bool illumination;  // the colour fields can be edited
};
CLONE_VISIBILITY CloneVisibilityOf(int modelType);

// Screen intensity of illumination level n (0 to 31; outside clamped).
int IlluminationIntensity(int level);

// Writing is refused when the model type has a custom illumination and all
// three levels are 0.
BOOL CloneWriteAllowed(int modelType, int red, int green, int blue);
