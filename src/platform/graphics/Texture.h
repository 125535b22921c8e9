#pragma once
#include <vector>

struct GLTexture;

// One named picture on a sprite sheet: the sheet's texture and the picture's
// rectangle in texture units, with the size of one texel.
struct Texture {
    GLTexture* texture = nullptr;
    int sheet = 0;
    float u = 0.0f, v = 0.0f;
    float du = 0.0f, dv = 0.0f;
    float texelU = 0.0f, texelV = 0.0f;

    static int sheetWidth;
    static int sheetHeight;
    static int sheetCount;
};

// Every picture in sheet-data order: a frame's texture index is a position here.
extern std::vector<Texture*> TextureList;
