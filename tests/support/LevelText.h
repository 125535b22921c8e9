#pragma once
// A level grid drawn as text, one character a cell, with the legend of the
// built-in levels' files (resources/levels/README.md): '.' empty, '#' grass,
// '%' dirt, '^' '>' 'v' '<' spikes pointing up, right, down and left,
// 'B' breakable, 'x' broken, 'f' fireflies, 'S' start, 'G' goal,
// 'C' checkpoint, 'T' spring, 'R' 'L' springs throwing right and left,
// '*' speed boost, 'm' moon shard.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "framework/LevelCollision.h"

namespace testsupport {

// The cell code of one character of the legend; -1 for one it does not know.
inline int LevelCellCode(char c) {
    switch (c) {
        case '.': return 0;
        case '#': return 1;
        case '%': return 2;
        case '^': return 3;
        case '>': return 4;
        case 'v': return 5;
        case '<': return 6;
        case 'B': return 7;
        case 'x': return 8;
        case 'f': return 100;
        case 'S': return 101;
        case 'G': return 102;
        case 'C': return 103;
        case 'T': return 104;
        case 'R': return 105;
        case 'L': return 106;
        case '*': return 107;
        case 'm': return 108;
        default: return -1;
    }
}

// The grid drawn by rows, top row first, every row as long as the first. A
// character outside the legend or a short row fails the test (the cell
// stays empty), so a slip in a drawing is not taken for an empty cell.
inline LevelCollision LevelFromText(const std::vector<std::string>& rows) {
    const int height = static_cast<int>(rows.size());
    const int width = rows.empty() ? 0 : static_cast<int>(rows.front().size());
    LevelCollision grid(width, height);
    for (int row = 0; row < height; ++row) {
        const std::string& line = rows[static_cast<std::size_t>(height - 1 - row)];
        EXPECT_EQ(static_cast<int>(line.size()), width) << "row " << height - 1 - row << " of a level drawn as text";
        for (int x = 0; x < width && x < static_cast<int>(line.size()); ++x) {
            const int code = LevelCellCode(line[static_cast<std::size_t>(x)]);
            EXPECT_GE(code, 0) << "'" << line[static_cast<std::size_t>(x)] << "' at column " << x << " of row "
                               << height - 1 - row << " is not in the level legend";
            grid.SetCell(static_cast<float>(x) + 0.5f, static_cast<float>(row) + 0.5f, code < 0 ? 0 : code);
        }
    }
    return grid;
}

}  // namespace testsupport
