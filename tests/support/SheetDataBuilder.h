#pragma once
// Test helper: writes sheet data bytes (the layout the loader reads), so tests
// can make good and corrupted tables without the baker.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class SheetDataBuilder {
public:
    SheetDataBuilder& Int(std::int32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<unsigned char>(static_cast<std::uint32_t>(v) >> (8 * i)));
        return *this;
    }
    SheetDataBuilder& Float(float f) {
        std::uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        return Int(static_cast<std::int32_t>(bits));
    }
    SheetDataBuilder& Name(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
        return *this;
    }
    SheetDataBuilder& Header(int w, int h, int sheets, int textures) { return Int(w).Int(h).Int(sheets).Int(textures); }
    SheetDataBuilder& TextureRecord(const std::string& name, int sheet, int x, int y, float w, float h) {
        return Name(name).Int(sheet).Int(x).Int(y).Float(w).Float(h);
    }
    SheetDataBuilder& FrameRecord(int texture, int sprites = 1) {
        return Int(sprites).Float(0).Float(0).Float(1).Float(1).Int(-1).Float(0).Int(texture);
    }
    // A set whose frames show textures first, first + 1, ...
    SheetDataBuilder& Set(const std::string& name, int loop, int animations, int frames, int firstTexture) {
        Name(name).Int(loop).Int(animations).Int(frames);
        for (int i = 0; i < animations * frames; ++i) FrameRecord(firstTexture + i);
        return *this;
    }
    // A font whose letter c sits at (c * 4, 8) texels, 2 + c % 5 texels wide, 16 high.
    SheetDataBuilder& Font(const std::string& name, int sheet, int sheetSize = 512) {
        Name(name).Int(sheet);
        const float t = 1.0f / static_cast<float>(sheetSize);
        for (int c = 0; c < 128; ++c) Float(static_cast<float>(c * 4) * t);
        for (int c = 0; c < 128; ++c) Float(8 * t);
        for (int c = 0; c < 128; ++c) Float(static_cast<float>(2 + c % 5) * t);
        return Float(16 * t);
    }
    // A font whose letter widths, in letter units, are given per code.
    SheetDataBuilder& FontWithWidths(const std::string& name, int sheet, const std::vector<float>& widths) {
        Name(name).Int(sheet);
        const float height = 16.0f / 512;
        for (int c = 0; c < 128; ++c) Float(static_cast<float>(c % 32) * 16 / 512);
        for (int c = 0; c < 128; ++c) Float(static_cast<float>(c / 32) * 16 / 512);
        for (int c = 0; c < 128; ++c) Float(widths[static_cast<size_t>(c)] * height);
        return Float(height);
    }
    std::vector<unsigned char> bytes;
};
