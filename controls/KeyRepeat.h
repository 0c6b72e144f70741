#pragma once
// A held arrow button repeats like a held key: the first step at once, the
// next after the keyboard delay, then at the keyboard repeat rate.
#include <windows.h>

// The keyboard delay setting (0..3) as milliseconds: 250 to 1000.
UINT KeyRepeatDelayMs();
// The keyboard speed setting (0..31) as the time between repeats: 1600 to 50 ms.
UINT KeyRepeatIntervalMs();
