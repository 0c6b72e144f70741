#include "controls/KeyRepeat.h"

UINT KeyRepeatDelayMs()
{
    int delay = 0;
    ::SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
    delay = delay < 0 ? 0 : (delay > 3 ? 3 : delay);
    return static_cast<UINT>((delay + 1) * 250);
}

UINT KeyRepeatIntervalMs()
{
    DWORD speed = 0;
    ::SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
    if (speed > 31)
        speed = 31;
    return static_cast<UINT>((32 - static_cast<int>(speed)) * 50);
}
