#include "platform/graphics/Texture.h"

#include <atomic>
#include <memory>

int Texture::sheetWidth = 0;
int Texture::sheetHeight = 0;
int Texture::sheetCount = 0;

Frame Frame::white;

namespace {
std::vector<std::unique_ptr<Texture>> ownedTextures;
std::vector<std::unique_ptr<AnimationSet>> ownedSets;
// One flag per possible sheet, so that a mark never races with the table
// that holds it being made or resized.
std::atomic<bool> wantedSheets[kMostSheets];
}  // namespace

void MarkSheetWanted(int sheet) {
    if (sheet < 0 || sheet >= kMostSheets) return;
    std::atomic<bool>& flag = wantedSheets[sheet];
    // Marked once: a frame queued every frame only reads the flag.
    if (!flag.load(std::memory_order_relaxed)) flag.store(true, std::memory_order_release);
}

bool SheetWanted(int sheet) {
    return sheet >= 0 && sheet < kMostSheets && wantedSheets[sheet].load(std::memory_order_acquire);
}

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
    const Frame& found = a[static_cast<size_t>(frame)];
    if (const Texture* t = FrameTexture(found)) MarkSheetWanted(t->sheet);
    return found;
}

const Texture* FrameTexture(const Frame& frame) {
    if (frame.texture < 0 || static_cast<size_t>(frame.texture) >= TextureList.size()) return nullptr;
    return TextureList[static_cast<size_t>(frame.texture)];
}

GLTexture* FindTiledTexture(const std::string& name) {
    auto it = TiledTexMap.find(name);
    if (it == TiledTexMap.end()) return nullptr;
    if (auto sheet = TiledSheetMap.find(name); sheet != TiledSheetMap.end()) MarkSheetWanted(sheet->second);
    return it->second;
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
    for (int i = 0; i < Texture::sheetCount && i < kMostSheets; ++i)
        wantedSheets[i].store(false, std::memory_order_relaxed);
    Texture::sheetWidth = Texture::sheetHeight = Texture::sheetCount = 0;
}
