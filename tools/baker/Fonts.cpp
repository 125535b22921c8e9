#include "Fonts.h"

#include <stb_rect_pack.h>
#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>

struct TypeFace::Impl {
    stbtt_fontinfo info{};
    int ascent = 0, descent = 0, lineGap = 0;
};

bool TypeFace::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    impl = std::make_shared<Impl>();
    const int offset = stbtt_GetFontOffsetForIndex(data.data(), 0);
    if (offset < 0 || !stbtt_InitFont(&impl->info, data.data(), offset)) return false;
    stbtt_GetFontVMetrics(&impl->info, &impl->ascent, &impl->descent, &impl->lineGap);
    return impl->ascent > impl->descent;
}

namespace {

// Adds one glyph's coverage into a float mask at a pen position (baseline y).
void AddGlyph(const stbtt_fontinfo& info, int glyph, float scale, float penX, float baseline, std::vector<float>& mask,
              int w, int h) {
    const float shiftX = penX - std::floor(penX);
    int x0, y0, x1, y1;
    stbtt_GetGlyphBitmapBoxSubpixel(&info, glyph, scale, scale, shiftX, 0, &x0, &y0, &x1, &y1);
    const int gw = x1 - x0, gh = y1 - y0;
    if (gw <= 0 || gh <= 0) return;
    std::vector<unsigned char> bits(static_cast<size_t>(gw) * static_cast<size_t>(gh));
    stbtt_MakeGlyphBitmapSubpixel(&info, bits.data(), gw, gh, gw, scale, scale, shiftX, 0, glyph);
    const int ox = static_cast<int>(std::floor(penX)) + x0;
    const int oy = static_cast<int>(std::lround(baseline)) + y0;
    for (int y = 0; y < gh; ++y) {
        for (int x = 0; x < gw; ++x) {
            const int tx = ox + x, ty = oy + y;
            if (tx < 0 || ty < 0 || tx >= w || ty >= h) continue;
            float& m = mask[static_cast<size_t>(ty * w + tx)];
            m = std::min(1.0f, m + bits[static_cast<size_t>(y * gw + x)] / 255.0f);
        }
    }
}

}  // namespace

std::vector<float> TypeFace::TextMask(const std::string& text, float cx, float cy, float pixelHeight, int w,
                                      int h) const {
    std::vector<float> mask(static_cast<size_t>(w) * static_cast<size_t>(h), 0.0f);
    const stbtt_fontinfo& info = impl->info;
    const float scale = pixelHeight / static_cast<float>(impl->ascent - impl->descent);
    float width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        int advance, lsb;
        stbtt_GetCodepointHMetrics(&info, static_cast<unsigned char>(text[i]), &advance, &lsb);
        width += static_cast<float>(advance) * scale;
        if (i + 1 < text.size()) {
            width += static_cast<float>(stbtt_GetCodepointKernAdvance(&info, static_cast<unsigned char>(text[i]),
                                                                      static_cast<unsigned char>(text[i + 1]))) *
                     scale;
        }
    }
    float pen = cx - width / 2;
    const float baseline = cy - pixelHeight / 2 + static_cast<float>(impl->ascent) * scale;
    for (size_t i = 0; i < text.size(); ++i) {
        const int cp = static_cast<unsigned char>(text[i]);
        AddGlyph(info, stbtt_FindGlyphIndex(&info, cp), scale, pen, baseline, mask, w, h);
        int advance, lsb;
        stbtt_GetCodepointHMetrics(&info, cp, &advance, &lsb);
        pen += static_cast<float>(advance) * scale;
        if (i + 1 < text.size()) {
            pen +=
                static_cast<float>(stbtt_GetCodepointKernAdvance(&info, cp, static_cast<unsigned char>(text[i + 1]))) *
                scale;
        }
    }
    return mask;
}

namespace {

struct Cell {
    int code;
    int left;   // pixels from the pen to the cell's left edge (<= 0)
    int width;  // cell width in pixels
};

std::vector<Cell> Cells(const stbtt_fontinfo& info, float scale) {
    std::vector<Cell> cells;
    for (int code = 32; code < 127; ++code) {
        int advance, lsb;
        stbtt_GetCodepointHMetrics(&info, code, &advance, &lsb);
        const int adv = static_cast<int>(std::lround(static_cast<float>(advance) * scale));
        int x0 = 0, y0, x1 = 0, y1;
        stbtt_GetCodepointBitmapBox(&info, code, scale, scale, &x0, &y0, &x1, &y1);
        // A letter's cell is its advance, widened by a little of whatever
        // sticks out so strokes are not cut, but never so much that the
        // spacing of the text suffers.
        const int slack = std::max(1, adv / 6);
        const int left = std::max(std::min(0, x0), -slack);
        const int right = std::min(std::max(adv, x1), adv + slack);
        cells.push_back({code, left, std::max(1, right - left)});
    }
    return cells;
}

bool Pack(const std::vector<Cell>& cells, int line, int size, std::vector<stbrp_rect>& rects) {
    constexpr int pad = 2;
    rects.clear();
    for (size_t i = 0; i < cells.size(); ++i) {
        stbrp_rect r{};
        r.id = static_cast<int>(i);
        r.w = cells[i].width + 2 * pad;
        r.h = line + 2 * pad;
        rects.push_back(r);
    }
    stbrp_context ctx;
    std::vector<stbrp_node> nodes(static_cast<size_t>(size));
    stbrp_init_target(&ctx, size, size, nodes.data(), size);
    return stbrp_pack_rects(&ctx, rects.data(), static_cast<int>(rects.size())) == 1;
}

}  // namespace

TypeFace::Sheet TypeFace::BakeSheet(int size) const {
    const stbtt_fontinfo& info = impl->info;
    const int em = impl->ascent - impl->descent;
    // The tallest line whose letters all fit.
    int lo = 8, hi = size / 4, best = lo;
    std::vector<stbrp_rect> rects;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        if (Pack(Cells(info, static_cast<float>(mid) / static_cast<float>(em)), mid, size, rects)) {
            best = mid;
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    const float scale = static_cast<float>(best) / static_cast<float>(em);
    const std::vector<Cell> cells = Cells(info, scale);
    Pack(cells, best, size, rects);

    Sheet sheet;
    sheet.size = size;
    sheet.linePixels = best;
    sheet.height = static_cast<float>(best) / static_cast<float>(size);
    std::vector<float> mask(static_cast<size_t>(size) * static_cast<size_t>(size), 0.0f);
    constexpr int pad = 2;
    const float baselineInCell = static_cast<float>(impl->ascent) * scale;
    for (const stbrp_rect& r : rects) {
        const Cell& c = cells[static_cast<size_t>(r.id)];
        const int x = r.x + pad, y = r.y + pad;
        sheet.u[c.code] = static_cast<float>(x) / static_cast<float>(size);
        sheet.v[c.code] = static_cast<float>(y) / static_cast<float>(size);
        sheet.width[c.code] = static_cast<float>(c.width) / static_cast<float>(size);
        // Draw the glyph clipped to its cell.
        std::vector<float> cell(static_cast<size_t>(c.width) * static_cast<size_t>(best), 0.0f);
        AddGlyph(info, stbtt_FindGlyphIndex(&info, c.code), scale, static_cast<float>(-c.left), baselineInCell, cell,
                 c.width, best);
        for (int cy = 0; cy < best; ++cy) {
            for (int cx = 0; cx < c.width; ++cx) {
                mask[static_cast<size_t>((y + cy) * size + x + cx)] = cell[static_cast<size_t>(cy * c.width + cx)];
            }
        }
    }
    // White letters whose alpha is the coverage: the text colour tints them.
    sheet.rgba.assign(static_cast<size_t>(size) * static_cast<size_t>(size) * 4, 255);
    for (size_t i = 0; i < mask.size(); ++i) {
        sheet.rgba[i * 4 + 3] = static_cast<unsigned char>(std::clamp(mask[i] * 255.0f + 0.5f, 0.0f, 255.0f));
    }
    return sheet;
}
