#pragma once
#include <epoxy/gl.h>

#include <string>
#include <vector>

#include "platform/graphics/Matrix.h"

struct GLTexture;

// The drawing effect: one GLSL program per technique, compiled from one
// source text, with the parameters every technique shares and each
// technique's blend, depth and sampler states. Render thread only.
class Effect {
public:
    Effect() = default;
    ~Effect();
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    // Compiles every technique. On failure errors holds the compiler's text
    // and nothing is kept.
    bool Load(const std::string& source, std::string& errors);
    void Release();
    bool Loaded() const { return !techniques.empty(); }

    // Selects a technique by name; false (and no change) for an unknown name.
    bool SetTechnique(const std::string& name);
    const std::string& GetTechnique() const;
    // Whether the current technique turns a quad by its rotation (the light
    // shades by place in the unturned quad).
    bool TechniqueTurnsQuads() const;

    // "texture0", "texture1", "tileTex", "maskTex"; false for another name.
    bool SetTexture(const char* name, GLTexture* texture);
    // Unbinds every texture parameter (before a window is drawn, so no
    // parameter outlives the texture it named).
    void ClearTextures();
    // "worldViewProj".
    bool SetMatrix(const char* name, const D3DXMATRIX& matrix);
    // "instancedata": count four-float vectors (at most 240).
    bool SetVectorArray(const char* name, const float* vectors, unsigned count);
    // Whether the target is a texture (stored top row first) or a window.
    void SetTargetIsTexture(bool texture) { targetFlipY = texture ? -1.0f : 1.0f; }

    // Binds the technique's program and states and uploads the parameters.
    void CommitChanges();
    // Forgets which GL state is bound (after someone else changed it).
    void InvalidateState();

    static const std::vector<std::string>& TechniqueNames();
    // Whether the named technique tests or writes depth (unknown names: no).
    static bool TechniqueUsesDepth(const std::string& name);
    // Whether a technique discards pixels with no alpha, so a wholly
    // transparent picture changes nothing (unknown names: no).
    static bool TechniqueAlphaTests(const std::string& name);
    bool TechniqueAlphaTests() const;
    // Whether a pixel the named technique draws with an opaque picture
    // (texture0's alpha 1) and an opaque tint replaces what was under it:
    // ordinary alpha blending, alpha from texture0 times the tint, drawn
    // wherever the quad lies (no depth test that could refuse it).
    static bool TechniqueHides(const std::string& name);
    // Whether a quad of the named technique may be drawn in parts: it shades
    // by its picture, not by the place in the quad, and leaves depth alone.
    static bool TechniqueCuts(const std::string& name);
    // Whether the technique draws nothing where texture0 is clear (alpha
    // from texture0 times the tint, alpha tested).
    static bool TechniqueDropsClear(const std::string& name);
    // Whether the technique repeats texture0 across (and clamps it down).
    static bool TechniqueWrapsAcross(const std::string& name);

    static constexpr unsigned MAX_VECTORS = 240;

private:
    struct Technique;
    std::vector<Technique*> techniques;
    Technique* current = nullptr;
    Technique* bound = nullptr;
    GLuint textures[4] = {};
    bool texturesMipmapped[4] = {};
    GLuint boundSamplers[4] = {};
    float worldViewProj[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::vector<float> instanceData;
    unsigned instanceCount = 0;
    float targetFlipY = -1.0f;
    // Point, linear and wrap, each with mip filtering and without (for
    // textures of one level, where both sample the same).
    GLuint samplers[6] = {};
};
