#pragma once
// The state numbering every skinned control shares; skin files carry the
// suffixes "normal", "pressed", "hot" and "disable".
enum SkinState : int {
    kStateNormal = 0,
    kStatePressed = 1,
    kStateChecked = 2,  // latched by the owner
    kStateHot = 3,
    kStateDisabled = 4,
    kStateCount = 5,
};
