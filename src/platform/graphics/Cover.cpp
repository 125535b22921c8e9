#include "platform/graphics/Cover.h"

#include <algorithm>

OpaqueBlocks::OpaqueBlocks(int w, int h, const unsigned char* rgba) {
    if (w <= 0 || h <= 0 || rgba == nullptr) return;
    width = w;
    height = h;
    columns = (w + kBlock - 1) / kBlock;
    rows = (h + kBlock - 1) / kBlock;
    // A block is opaque when every texel of it is.
    std::vector<std::uint8_t> clear(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    visibleTop.assign(static_cast<std::size_t>(w), 0);
    visibleEnd.assign(static_cast<std::size_t>(w), 0);
    std::vector<bool> seen(static_cast<std::size_t>(w), false);
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = rgba + static_cast<std::size_t>(y) * static_cast<std::size_t>(w) * 4;
        for (int x = 0; x < w; ++x) {
            const unsigned char alpha = row[x * 4 + 3];
            if (alpha != 255) clear[static_cast<std::size_t>((y / kBlock) * columns + x / kBlock)] = 1;
            if (alpha != 0) {
                const auto at = static_cast<std::size_t>(x);
                if (!seen[at]) visibleTop[at] = static_cast<std::uint16_t>(y);
                seen[at] = true;
                visibleEnd[at] = static_cast<std::uint16_t>(y + 1);
            }
        }
    }
    sums.assign(static_cast<std::size_t>(columns + 1) * static_cast<std::size_t>(rows + 1), 0);
    const auto at = [&](int c, int r) -> std::uint16_t& {
        return sums[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns + 1) + static_cast<std::size_t>(c)];
    };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const std::uint8_t notOpaque = clear[static_cast<std::size_t>(r * columns + c)];
            anyOpaque = anyOpaque || notOpaque == 0;
            at(c + 1, r + 1) = static_cast<std::uint16_t>(at(c, r + 1) + at(c + 1, r) - at(c, r) + notOpaque);
        }
}

OpaqueBlocks::Opacity OpaqueBlocks::Of(int x0, int y0, int x1, int y1) const {
    if (!anyOpaque || x1 <= x0 || y1 <= y0) return Opacity::None;
    // Past an edge the edge texels are read.
    x0 = std::clamp(x0, 0, width - 1);
    y0 = std::clamp(y0, 0, height - 1);
    x1 = std::clamp(x1, x0 + 1, width);
    y1 = std::clamp(y1, y0 + 1, height);
    const int c0 = x0 / kBlock, r0 = y0 / kBlock;
    const int c1 = (x1 + kBlock - 1) / kBlock, r1 = (y1 + kBlock - 1) / kBlock;
    const long blocks = static_cast<long>(c1 - c0) * (r1 - r0);
    if (blocks >= 65536) return Opacity::Some;
    const auto at = [&](int c, int r) {
        return sums[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns + 1) + static_cast<std::size_t>(c)];
    };
    const auto count = static_cast<std::uint16_t>(at(c1, r1) - at(c0, r1) - at(c1, r0) + at(c0, r0));
    if (count == 0) return Opacity::All;
    return count == blocks ? Opacity::None : Opacity::Some;
}

void CoverGrid::Reset(int width, int height) {
    columns = width > 0 ? (width + kCell - 1) / kCell : 0;
    rows = height > 0 ? (height + kCell - 1) / kCell : 0;
    cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), kNone);
    any = false;
}

void CoverGrid::Cover(int column, int row, std::int64_t order) {
    if (column < 0 || row < 0 || column >= columns || row >= rows) return;
    std::int64_t& cell = cells[static_cast<std::size_t>(row * columns + column)];
    cell = std::max(cell, order);
    any = true;
}

void OpaqueBlocks::VisibleRows(int x0, int x1, int& top, int& end) const {
    top = end = 0;
    if (width <= 0 || x1 <= x0) return;
    x0 = std::clamp(x0, 0, width - 1);
    x1 = std::clamp(x1, x0 + 1, width);
    int first = height, last = 0;
    for (int x = x0; x < x1; ++x) {
        const auto at = static_cast<std::size_t>(x);
        if (visibleEnd[at] <= visibleTop[at]) continue;
        first = std::min(first, static_cast<int>(visibleTop[at]));
        last = std::max(last, static_cast<int>(visibleEnd[at]));
    }
    if (last > first) {
        top = first;
        end = last;
    }
}
