#pragma once
// The two typefaces the baker uses: for the font sheets and for lettering
// drawn into pictures.
#include <memory>
#include <string>
#include <vector>

#include "Canvas.h"

class TypeFace {
public:
    // Loads a TrueType or OpenType file; false when it cannot be read.
    bool Load(const std::string& path);

    // Coverage mask (canvas-sized) of one line of text, centred on (cx, cy),
    // the line `pixelHeight` pixels high (ascent to descent).
    std::vector<float> TextMask(const std::string& text, float cx, float cy, float pixelHeight, int canvasWidth,
                                int canvasHeight) const;

    // The letters 32 to 126 on a sheet of the given size, each in a cell one
    // line high; the tables give every code's cell in texture units (0 for
    // codes without a letter). The line height is the largest that fits.
    struct Sheet {
        int size = 0;
        std::vector<unsigned char> rgba;
        float u[128] = {}, v[128] = {}, width[128] = {};
        float height = 0;
        int linePixels = 0;
    };
    Sheet BakeSheet(int size) const;

private:
    std::vector<unsigned char> data;
    struct Impl;
    std::shared_ptr<Impl> impl;
};
