#include "platform/graphics/FrameCounter.h"

#include <cmath>

void FrameCounter::SetAnimationSet(const char* name) {
    if (name && animationSet == name) return;
    animationSet = name ? name : "";
    animation = 0;
    frame = 0.0f;
}

void FrameCounter::SwapAnimationSet(const char* name) { animationSet = name ? name : ""; }

void FrameCounter::SetAnimation(int a) {
    if (a == animation) return;
    animation = a;
    frame = 0.0f;
}

void FrameCounter::SetFrame(float f) {
    frame = f;
    Wrap();
}

void FrameCounter::ResetAnimation() {
    animation = 0;
    frame = 0.0f;
}

void FrameCounter::ResetFrame() { frame = 0.0f; }

const Frame& FrameCounter::GetFrame() const {
    // A frame number that is not a sane index picks nothing.
    if (!std::isfinite(frame) || frame < 0.0f || frame >= 2147483647.0f) return Frame::white;
    return FrameMap(animationSet, animation, static_cast<int>(frame));
}

void FrameCounter::Update(float step) {
    frame += step;
    Wrap();
}

void FrameCounter::Wrap() {
    auto it = AnimationSetMap.find(animationSet);
    if (it == AnimationSetMap.end()) return;
    const float frames = static_cast<float>(it->second->framesPerAnimation);
    const float loop = static_cast<float>(it->second->loopLength);
    if (!(loop >= 1.0f) || !std::isfinite(frame)) return;
    // The integer part reaches framesPerAnimation exactly when frame does
    // (frame is not negative there), so this is "while trunc(frame) >= frames".
    int steps = 0;
    while (frame >= frames && steps < 64) {
        frame -= loop;
        ++steps;
    }
    if (frame >= frames) {
        // Far past the end (a big step): the same result without thousands of
        // subtractions, which would also stall once the float stops changing.
        const float base = frames - loop;
        frame = base + std::fmod(frame - base, loop);
        if (frame >= frames) frame -= loop;
    }
}
