#include "frame/FadeSteps.h"

bool FadeTick(FADE_STATE& fade, unsigned now)
{
    constexpr unsigned kStepMs = 25;
    constexpr int kStepAlpha = 24;
    constexpr int kMaxSteps = 2;
    unsigned elapsed = now - fade.lastStep;
    int steps = 0;
    while (elapsed >= kStepMs && steps < kMaxSteps) {
        fade.alpha -= kStepAlpha;
        elapsed -= kStepMs;
        ++steps;
    }
    fade.lastStep = steps == kMaxSteps ? now - elapsed : now;
    return fade.alpha >= 0;
}
