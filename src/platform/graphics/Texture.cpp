#include "platform/graphics/Texture.h"

#include <memory>

int Texture::sheetWidth = 0;
int Texture::sheetHeight = 0;
int Texture::sheetCount = 0;

Frame Frame::white;

namespace {
std::vector<std::unique_ptr<Texture>> ownedTextures;
std::vector<std::unique_ptr<AnimationSet>> ownedSets;
}  // namespace

std::vector<GLTexture*> SheetList;
std::vector<Texture*> TextureList;
std::unordered_map<std::string, Texture*> TextureStringMap;
std::unordered_map<std::string, AnimationSet*> AnimationSetMap;
std::unordered_map<std::string, GLTexture*> TiledTexMap;
std::unordered_map<std::string, int> TiledSheetMap;

const Frame& FrameMap(const std::string& set, int animation, int frame) {
    auto it = AnimationSetMap.find(set);
    if (it == AnimationSetMap.end()) return Frame::white;
    const AnimationSet& s = *it->second;
    if (animation < 0 || static_cast<size_t>(animation) >= s.animations.size()) return Frame::white;
    const Animation& a = s.animations[static_cast<size_t>(animation)];
    if (frame < 0 || static_cast<size_t>(frame) >= a.size()) return Frame::white;
    return a[static_cast<size_t>(frame)];
}

const Texture* FrameTexture(const Frame& frame) {
    if (frame.texture < 0 || static_cast<size_t>(frame.texture) >= TextureList.size()) return nullptr;
    return TextureList[static_cast<size_t>(frame.texture)];
}

GLTexture* FindTiledTexture(const std::string& name) {
    auto it = TiledTexMap.find(name);
    return it == TiledTexMap.end() ? nullptr : it->second;
}

Texture* AppendTexture(const Texture& record) {
    ownedTextures.push_back(std::make_unique<Texture>(record));
    TextureList.push_back(ownedTextures.back().get());
    return ownedTextures.back().get();
}

AnimationSet* EnterAnimationSet(AnimationSet&& set) {
    ownedSets.push_back(std::make_unique<AnimationSet>(std::move(set)));
    AnimationSet* s = ownedSets.back().get();
    AnimationSetMap[s->name] = s;
    return s;
}

void ClearTextureTables() {
    SheetList.clear();
    TextureList.clear();
    TextureStringMap.clear();
    AnimationSetMap.clear();
    TiledTexMap.clear();
    TiledSheetMap.clear();
    ownedTextures.clear();
    ownedSets.clear();
    Frame::white = Frame{};
    Texture::sheetWidth = Texture::sheetHeight = Texture::sheetCount = 0;
}
