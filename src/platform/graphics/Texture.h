#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/graphics/Frame.h"

struct GLTexture;

// One named picture on a sprite sheet, in texture units of its sheet.
struct Texture {
    GLTexture* texture = nullptr;  // the sheet's texture, attached once the sheets are up
    int sheet = 0;
    float u = 0.0f, v = 0.0f;            // top-left corner
    float du = 0.0f, dv = 0.0f;          // size
    float texelU = 0.0f, texelV = 0.0f;  // one texel
    // The region of the picture that can show anything (alpha above zero), in
    // texture units of its sheet; found from the sheet's pixels when it
    // loads. Unknown (and then the whole picture) until then; empty when the
    // picture is wholly transparent.
    bool visibleKnown = false;
    float visibleU0 = 0.0f, visibleV0 = 0.0f, visibleU1 = 0.0f, visibleV1 = 0.0f;

    // The sheet data's header values.
    static int sheetWidth;
    static int sheetHeight;
    static int sheetCount;
};

using Animation = std::vector<Frame>;

struct AnimationSet {
    std::vector<Animation> animations;
    std::string name;
    int loopLength = 1;
    int framesPerAnimation = 1;
};

// The tables built once from the sheet data; read-only afterwards.
extern std::vector<GLTexture*> SheetList;  // sheet textures by index
extern std::vector<Texture*> TextureList;  // texture records in file order, then the font letters
extern std::unordered_map<std::string, Texture*> TextureStringMap;  // texture name -> record
extern std::unordered_map<std::string, AnimationSet*> AnimationSetMap;
extern std::unordered_map<std::string, GLTexture*> TiledTexMap;  // tiled texture name -> sheet texture
extern std::unordered_map<std::string, int> TiledSheetMap;       // tiled texture name -> sheet index

// The frame of a set; Frame::white when the set is unknown or an index lies
// outside it. The sheet of the picture found is marked wanted.
const Frame& FrameMap(const std::string& set, int animation, int frame);

// The record a frame shows; null when its index is outside TextureList.
const Texture* FrameTexture(const Frame& frame);

// A tiled texture by name (null when unknown); its sheet is marked wanted.
GLTexture* FindTiledTexture(const std::string& name);

// A sprite sheet is decoded and uploaded only once something wants it. Any
// thread marks a sheet wanted when it resolves a picture on it (a frame
// looked up by name, a frame queued for drawing, a tiled texture found by
// name); the render thread uploads the wanted sheets at the start of its
// turn. The marks are atomic flags that are only ever set while the tables
// stand; loading new tables clears them.
constexpr int kMostSheets = 65536 - 10000;
void MarkSheetWanted(int sheet);
bool SheetWanted(int sheet);

// For the loaders: append an owned record to TextureList (returns it), and
// enter an owned set in AnimationSetMap under its name.
Texture* AppendTexture(const Texture& record);
AnimationSet* EnterAnimationSet(AnimationSet&& set);
// Forgets every record and set, clears the wanted marks and resets
// Frame::white. The caller releases the sheet textures first.
void ClearTextureTables();
