#pragma once
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

// What later quads hide. A quad drawn with ordinary alpha blending where its
// picture and tint are wholly opaque replaces the pixels under it, so
// whatever was drawn there before it cannot show: a window-wide backdrop need
// not be shaded where the ground in front of it covers the window.

// The wholly opaque parts of a picture (alpha 255), in blocks of texels,
// found once when the picture loads: answers whether every texel of a
// rectangle is opaque.
class OpaqueBlocks {
public:
    static constexpr int kBlock = 4;  // texels a side

    OpaqueBlocks() = default;
    // From width x height RGBA8 pixels, top row first.
    OpaqueBlocks(int width, int height, const unsigned char* rgba);

    // No texel is wholly opaque (or nothing was given): nothing is ever covered.
    bool Empty() const { return !anyOpaque; }
    int Width() const { return width; }
    int Height() const { return height; }
    // Whether every texel of columns [x0, x1) and rows [y0, y1) is opaque. A
    // rectangle reaching past an edge reads the edge texels (as a clamping
    // sampler does); an empty one is not opaque.
    bool Opaque(int x0, int y0, int x1, int y1) const { return Of(x0, y0, x1, y1) == Opacity::All; }
    // How much of the rectangle is opaque, in blocks: none, some or all of it
    // (a rectangle too large to count answers some).
    enum class Opacity { None, Some, All };
    Opacity Of(int x0, int y0, int x1, int y1) const;
    // The rows of columns [x0, x1) that can show anything (alpha above zero):
    // from top up to end (end <= top when none can), read past the edges as
    // the edge columns.
    void VisibleRows(int x0, int x1, int& top, int& end) const;

private:
    int width = 0, height = 0;
    int columns = 0, rows = 0;  // blocks
    bool anyOpaque = false;
    // Counts of blocks not wholly opaque, summed from the top-left corner:
    // (columns + 1) x (rows + 1) entries, kept modulo 2^16 (a rectangle's
    // count is read as a difference, which the wrap leaves right as long as
    // the rectangle holds fewer than 2^16 blocks).
    std::vector<std::uint16_t> sums;
    // Per column: the first row whose alpha is above zero and one past the
    // last (0 and 0 when there is none).
    std::vector<std::uint16_t> visibleTop, visibleEnd;
};

// The window cut into cells of kCell pixels; each cell holds the latest draw
// (by its place in the frame's drawing order) that covers all of the cell.
class CoverGrid {
public:
    static constexpr int kCell = 8;  // pixels a side
    static constexpr std::int64_t kNone = -1;

    // A grid over width x height pixels, nothing covered.
    void Reset(int width, int height);
    int Columns() const { return columns; }
    int Rows() const { return rows; }
    bool Any() const { return any; }
    // Cell (column, row) is covered by the draw at `order` (kept when later
    // than what the cell holds).
    void Cover(int column, int row, std::int64_t order);
    std::int64_t At(int column, int row) const { return cells[static_cast<std::size_t>(row * columns + column)]; }

    // A rectangle of cells: columns [c0, c1), rows [r0, r1).
    struct Span {
        int c0, r0, c1, r1;
        bool operator==(const Span&) const = default;
    };
    // The cells of columns [c0, c1) and rows [r0, r1) that a draw after
    // `order` leaves showing, as rectangles: each row's showing runs (a
    // covered run shorter than minSkip cells is drawn anyway, a cut costs
    // more than it saves), rows with the same runs joined. Appends to out.
    void Showing(int c0, int r0, int c1, int r1, std::int64_t order, int minSkip, std::vector<Span>& out) const {
        c0 = std::max(c0, 0);
        r0 = std::max(r0, 0);
        Spans(
            c0, r0, std::min(c1, columns), std::min(r1, rows), minSkip, [&](int c, int r) { return At(c, r) > order; },
            out);
    }
    // As Showing, for any rule of which cells are hidden.
    template <class Hidden>
    static void Spans(int c0, int r0, int c1, int r1, int minSkip, Hidden&& hidden, std::vector<Span>& out);

private:
    int columns = 0, rows = 0;
    bool any = false;
    std::vector<std::int64_t> cells;
};

template <class Hidden>
void CoverGrid::Spans(int c0, int r0, int c1, int r1, int minSkip, Hidden&& hidden, std::vector<Span>& out) {
    if (c1 <= c0 || r1 <= r0) return;
    std::vector<std::pair<int, int>> runs, previous;
    std::vector<std::size_t> open;  // the spans in out that the previous row's runs extend
    for (int r = r0; r < r1; ++r) {
        runs.clear();
        int start = c0;  // where the current showing run began
        int c = c0;
        while (c < c1) {
            if (!hidden(c, r)) {
                ++c;
                continue;
            }
            int end = c;
            while (end < c1 && hidden(end, r)) ++end;
            // A short hidden run is drawn over; a long one ends the run.
            if (end - c >= minSkip) {
                if (c > start) runs.emplace_back(start, c);
                start = end;
            }
            c = end;
        }
        if (c1 > start) runs.emplace_back(start, c1);
        if (runs == previous) {
            for (std::size_t k : open) out[k].r1 = r + 1;
            continue;
        }
        open.clear();
        for (const auto& [a, b] : runs) {
            open.push_back(out.size());
            out.push_back({a, r, b, r + 1});
        }
        previous = runs;
    }
}
