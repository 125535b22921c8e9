#pragma once
#include <string>
#include <type_traits>

#include "platform/graphics/Texture.h"

// An object's cursor into an animation set: which animation, and how far
// into it (the integer part of frame selects the picture).
class FrameCounter {
public:
    // A new name resets animation and frame; the current name changes nothing.
    void SetAnimationSet(const char* name);
    // Stores the name and keeps animation and frame.
    void SwapAnimationSet(const char* name);
    // A different animation restarts at frame 0.
    void SetAnimation(int animation);
    // Sets the frame, wrapped as Update wraps it.
    void SetFrame(float f);
    void ResetAnimation();
    void ResetFrame();

    int GetAnimation() const { return animation; }
    float GetFrameNum() const { return frame; }
    const std::string& GetAnimationSet() const { return animationSet; }
    const Frame& GetFrame() const;

    // Advances by step frames; past the last frame it goes back by the set's
    // loop length until it lies inside the animation again. Unknown sets keep
    // the frame as it is.
    void Update(float step);

private:
    void Wrap();

    std::string animationSet;
    int animation = 0;
    float frame = 0.0f;
};

// How a bound variable of this type is named to the script converter.
inline std::string VariableTypeText(std::type_identity<FrameCounter>) { return "FrameCounter"; }
