#pragma once
// The arithmetic of the view fade: every 25 ms the snapshot's alpha drops by
// 24, at most two steps per timer tick; time left after the limit counts
// towards the next tick, time under one step after fewer steps is dropped.

struct FADE_STATE {
    int alpha;           // 255 at the start; below 0 the fade is over
    unsigned lastStep;   // timeGetTime() of the last step
};

// One timer tick at time now; TRUE while the fade goes on.
bool FadeTick(FADE_STATE& fade, unsigned now);
