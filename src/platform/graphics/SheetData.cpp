#include "platform/graphics/SheetData.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "framework/Fatal.h"
#include "framework/Resources.h"
#include "framework/StartupTrace.h"
#include "framework/Time.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/GLTexture.h"
#include "platform/graphics/Texture.h"

namespace {

constexpr const char* kCaption = "Glimmerfall";
constexpr size_t kFrameRecordSize = 32;  // spriteCount, a, b, c, d, e, f, texture
static_assert(kMostSheets == 65536 - kFirstSheetResource, "a wanted mark for every sheet resource");
constexpr float kMaxPictureSize = 65536.0f;

[[noreturn]] void AnimationDataInvalid() { FatalError("Animation data is invalid!", kCaption); }
[[noreturn]] void SheetFailed() { FatalError("A texture failed to load properly.", kCaption); }

// What loading a sheet on demand needs: the uploader given with the sheet
// data, and how many of TextureList's records the sheet data's texture
// section made (the font letters after them keep their whole rectangles).
// Set while the tables are loaded; read by the render thread afterwards.
SheetUploader sheetUploader;
size_t sheetRecordCount = 0;
// The sheets' texture records, which SheetList and the tables point at.
std::vector<std::unique_ptr<GLTexture>> sheetRecords;

// The region of each picture on a decoded sheet whose alpha is above zero:
// the renderer draws a picture's quad only over that part (and a margin for
// filtering), so its transparent border costs nothing.
void FindVisibleParts(int sheet, const SheetImage& image, Texture* const* records, size_t count) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4)
        return;
    const float w = static_cast<float>(image.width), h = static_cast<float>(image.height);
    for (size_t k = 0; k < count; ++k) {
        Texture* t = records[k];
        if (t->sheet != sheet) continue;
        const int x0 = std::max(0, static_cast<int>(std::floor(t->u * w)));
        const int y0 = std::max(0, static_cast<int>(std::floor(t->v * h)));
        const int x1 = std::min(image.width, static_cast<int>(std::ceil((t->u + t->du) * w)));
        const int y1 = std::min(image.height, static_cast<int>(std::ceil((t->v + t->dv) * h)));
        int left = x1, right = x0 - 1, top = y1, bottom = y0 - 1;
        for (int y = y0; y < y1; ++y) {
            const unsigned char* row = image.rgba.data() + (static_cast<size_t>(y) * image.width) * 4;
            for (int x = x0; x < x1; ++x)
                if (row[x * 4 + 3] != 0) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = y;
                }
        }
        t->visibleKnown = true;
        t->visibleU0 = static_cast<float>(left) / w;
        t->visibleU1 = static_cast<float>(right + 1) / w;
        t->visibleV0 = static_cast<float>(top) / h;
        t->visibleV1 = static_cast<float>(bottom + 1) / h;
    }
}

// Every sheet gets its record now, at the size its image's header gives, so
// that what is drawn can point at it from the start; its pixels come later.
void LoadSpriteSheets(const SheetUploader& upload) {
    SheetList.assign(static_cast<size_t>(Texture::sheetCount), nullptr);
    sheetUploader = upload;
    if (!upload) return;
    for (int i = 0; i < Texture::sheetCount; ++i) {
        const unsigned short id = static_cast<unsigned short>(kFirstSheetResource + i);
        int width = 0, height = 0;
        unsigned long size = 0;
        const void* bytes = HasInternalResource(id) ? LoadInternalResource(id, &size) : nullptr;
        if (!bytes || !SheetImageSize(bytes, size, width, height) || width <= 0 || height <= 0) SheetFailed();
        auto record = std::make_unique<GLTexture>();
        record->width = width;
        record->height = height;
        record->sheet = i;
        record->pending = true;
        SheetList[static_cast<size_t>(i)] = record.get();
        sheetRecords.push_back(std::move(record));
    }
}

// The size the picture is sampled at: the whole sheet, or for a picture at
// the sheet's left edge (alone on its sheet) the power of two that holds it.
void PowerOfTwoFor(float width, float height, float& w, float& h) {
    while (w < width) w *= 2.0f;
    while (h < height) h *= 2.0f;
    while (width < w / 2.0f) w /= 2.0f;
    while (height < h / 2.0f) h /= 2.0f;
}

Texture* LoadTextureData(SheetReader& in) {
    std::string name = in.Name();
    Texture t;
    t.sheet = in.Int();
    const std::int32_t x = in.Int();
    const std::int32_t y = in.Int();
    const float width = in.Float();
    const float height = in.Float();
    if (t.sheet < 0 || t.sheet >= Texture::sheetCount || x < 0 || y < 0 || !(width > 0.0f) || !(height > 0.0f) ||
        !(width <= kMaxPictureSize) || !(height <= kMaxPictureSize)) {
        SheetDataInvalid();
    }
    t.u = static_cast<float>(x) / static_cast<float>(Texture::sheetWidth);
    t.v = static_cast<float>(y) / static_cast<float>(Texture::sheetHeight);
    float w = static_cast<float>(Texture::sheetWidth);
    float h = static_cast<float>(Texture::sheetHeight);
    if (t.u == 0.0f) PowerOfTwoFor(width, height, w, h);
    t.texelU = 1.0f / w;
    t.texelV = 1.0f / h;
    t.du = width / w;
    t.dv = height / h;
    Texture* record = AppendTexture(t);
    TextureStringMap[name] = record;
    return record;
}

void LoadAnimationData(SheetReader& in, size_t textureCount) {
    AnimationSet set;
    set.name = in.Name();
    set.loopLength = in.Int();
    const std::int32_t animationCount = in.Int();
    set.framesPerAnimation = in.Int();
    // A loop longer than the animation would wrap to negative frames.
    if (AnimationSetMap.count(set.name) || set.loopLength < 1 || animationCount < 1 || set.framesPerAnimation < 1 ||
        set.loopLength > set.framesPerAnimation) {
        AnimationDataInvalid();
    }
    const size_t frames = static_cast<size_t>(animationCount) * static_cast<size_t>(set.framesPerAnimation);
    if (frames > in.Remaining() / kFrameRecordSize) SheetDataInvalid();
    set.animations.assign(static_cast<size_t>(animationCount), Animation(static_cast<size_t>(set.framesPerAnimation)));
    for (Animation& animation : set.animations) {
        for (Frame& frame : animation) {
            if (in.Int() != 1) {
                const std::string text =
                    "Somehow, a frame has multiple sprites!  Noooooo!\nOh, the name is " + set.name;
                FatalError(text.c_str(), "Sprite load failure!");
            }
            frame.a = in.Float();
            frame.b = in.Float();
            frame.c = in.Float();
            frame.d = in.Float();
            frame.e = in.Int();
            frame.f = in.Float();
            frame.texture = in.Int();
            if (frame.texture < 0 || static_cast<size_t>(frame.texture) >= textureCount) AnimationDataInvalid();
        }
    }
    EnterAnimationSet(std::move(set));
}

void LoadTiledTextureData(SheetReader& in) {
    const std::int32_t count = in.Int();
    const std::int32_t firstSheet = in.Int();
    if (count < 0) SheetDataInvalid();
    for (std::int32_t i = 0; i < count; ++i) {
        std::string name = in.Name();
        const std::int64_t sheet = static_cast<std::int64_t>(firstSheet) + i;
        if (sheet < 0 || sheet >= Texture::sheetCount) SheetDataInvalid();
        TiledTexMap[name] = SheetList[static_cast<size_t>(sheet)];
        TiledSheetMap[name] = static_cast<int>(sheet);
    }
}

}  // namespace

void SheetDataInvalid() { FatalError("Texture data is invalid!", kCaption); }

std::int32_t SheetReader::Int() {
    if (Remaining() < 4) SheetDataInvalid();
    std::uint32_t v = static_cast<std::uint32_t>(cursor[0]) | static_cast<std::uint32_t>(cursor[1]) << 8 |
                      static_cast<std::uint32_t>(cursor[2]) << 16 | static_cast<std::uint32_t>(cursor[3]) << 24;
    cursor += 4;
    return static_cast<std::int32_t>(v);
}

float SheetReader::Float() {
    std::uint32_t bits = static_cast<std::uint32_t>(Int());
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::string SheetReader::Name(size_t maxLength) {
    const void* nul = std::memchr(cursor, 0, Remaining());
    if (!nul) SheetDataInvalid();
    const size_t length = static_cast<size_t>(static_cast<const unsigned char*>(nul) - cursor);
    if (length > maxLength) SheetDataInvalid();
    std::string name(reinterpret_cast<const char*>(cursor), length);
    cursor += length + 1;
    return name;
}

void FreeSheetData() {
    for (const std::unique_ptr<GLTexture>& record : sheetRecords) ReleaseGLName(*record);
    ClearTextureTables();
    FontMap.clear();
    sheetRecords.clear();
    sheetUploader = nullptr;
    sheetRecordCount = 0;
}

void LoadSheetData(const void* bytes, size_t size, const SheetUploader& upload) {
    FreeSheetData();
    const unsigned char* cursor = static_cast<const unsigned char*>(bytes);
    const unsigned char* end = cursor + size;
    SheetReader in(cursor, end);

    Texture::sheetWidth = in.Int();
    Texture::sheetHeight = in.Int();
    Texture::sheetCount = in.Int();
    const std::int32_t textureCount = in.Int();
    if (Texture::sheetWidth <= 0 || Texture::sheetHeight <= 0 || Texture::sheetCount < 0 ||
        Texture::sheetCount > kMostSheets || textureCount < 0) {
        SheetDataInvalid();
    }

    // The records first: each sheet, once decoded, tells its pictures where
    // they can show anything.
    for (std::int32_t i = 0; i < textureCount; ++i) LoadTextureData(in);
    sheetRecordCount = TextureList.size();

    LoadSpriteSheets(upload);

    const std::int32_t setCount = in.Int();
    if (setCount < 0) SheetDataInvalid();
    for (std::int32_t i = 0; i < setCount; ++i) LoadAnimationData(in, static_cast<size_t>(textureCount));

    LoadTiledTextureData(in);
    LoadFontData(cursor, end);

    for (Texture* t : TextureList) t->texture = SheetList[static_cast<size_t>(t->sheet)];

    if (cursor != end) SheetDataInvalid();
}

void LoadSheetData(const SheetUploader& upload) {
    unsigned long size = 0;
    const void* bytes = LoadInternalResource(kSheetDataResource, &size);
    LoadSheetData(bytes, size, upload);
}

void SetWhiteFrame() {
    if (AnimationSetMap.count("white")) Frame::white = FrameMap("white", 0, 0);
}

void LoadSheet(int sheet) {
    if (!sheetUploader || sheet < 0 || static_cast<size_t>(sheet) >= SheetList.size()) return;
    GLTexture* record = SheetList[static_cast<size_t>(sheet)];
    if (!record || !record->pending) return;
    const std::uint32_t began = TimeGetTime();
    bool uploaded = false;
    {
        SheetImage image;
        bool decoded = false;
        for (int attempt = 0; attempt < 50 && !uploaded; ++attempt) {
            if (attempt > 0) SleepMs(10);
            // The record was sized from the header: pixels of another size
            // are as damaged as pixels that do not decode.
            if (!decoded)
                decoded =
                    DecodeSpriteSheet(sheet, image) && image.width == record->width && image.height == record->height;
            if (decoded) uploaded = sheetUploader(sheet, image, *record);
        }
        if (uploaded)
            FindVisibleParts(sheet, image, TextureList.data(), std::min(sheetRecordCount, TextureList.size()));
    }  // the decoded pixels go here: the device holds the only copy
    if (!uploaded) SheetFailed();
    record->pending = false;
    const std::string trace =
        "render thread: sheet " + std::to_string(sheet) + " up in " + std::to_string(TimeGetTime() - began) + " ms";
    TraceStartup(trace.c_str());
}

int LoadWantedSheets() {
    int loaded = 0;
    for (size_t i = 0; i < SheetList.size(); ++i) {
        const GLTexture* record = SheetList[i];
        if (record && record->pending && SheetWanted(static_cast<int>(i))) {
            LoadSheet(static_cast<int>(i));
            ++loaded;
        }
    }
    return loaded;
}

bool SheetLoaded(int sheet) {
    if (sheet < 0 || static_cast<size_t>(sheet) >= SheetList.size()) return false;
    const GLTexture* record = SheetList[static_cast<size_t>(sheet)];
    return record && !record->pending;
}

void ReleaseSheetTextures() {
    for (const std::unique_ptr<GLTexture>& record : sheetRecords) {
        ReleaseGLName(*record);
        record->pending = true;
    }
}

bool DecodeSpriteSheet(int sheet, SheetImage& out) {
    if (sheet < 0 || sheet >= kMostSheets) return false;
    const unsigned short id = static_cast<unsigned short>(kFirstSheetResource + sheet);
    if (!HasInternalResource(id)) return false;
    unsigned long size = 0;
    const void* bytes = LoadInternalResource(id, &size);
    return DecodeSheetImage(bytes, size, out);
}
