#pragma once
// Test helper: finding and replaying a way through a built-in level with the
// player's own movement. A run is a list of frames, each the controls held in
// that frame (left, right, jump). The search drives one player object through
// its input variables and "UpdateBehavior", restoring the few variables the
// movement reads between tries; the replay then plays the run through the
// whole state, keys and all.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <fstream>
#include <queue>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "collision/CollisionEngine.h"
#include "framework/GameVariables.h"
#include "framework/LevelCollision.h"
#include "objects/ObjectWorld.h"
#include "objects/Player.h"

namespace playtest {

enum : std::uint8_t { kLeft = 1, kRight = 2, kJump = 4 };
using InputRun = std::vector<std::uint8_t>;

// InputRun-length text: one "<frames> <controls>" line per stretch, controls a
// word of L, R and J, or "-" for none.
inline std::string RunToText(const InputRun& run) {
    std::ostringstream out;
    for (std::size_t i = 0; i < run.size();) {
        std::size_t j = i;
        while (j < run.size() && run[j] == run[i]) ++j;
        std::string word;
        if (run[i] & kLeft) word += 'L';
        if (run[i] & kRight) word += 'R';
        if (run[i] & kJump) word += 'J';
        out << (j - i) << ' ' << (word.empty() ? "-" : word) << '\n';
        i = j;
    }
    return out.str();
}

inline bool RunFromText(const std::string& text, InputRun& run) {
    std::istringstream in(text);
    std::size_t count = 0;
    std::string word;
    run.clear();
    while (in >> count >> word) {
        if (count > 100000) return false;
        std::uint8_t bits = 0;
        for (char c : word) {
            if (c == 'L')
                bits |= kLeft;
            else if (c == 'R')
                bits |= kRight;
            else if (c == 'J')
                bits |= kJump;
            else if (c != '-')
                return false;
        }
        run.insert(run.end(), count, bits);
    }
    return in.eof();
}

// The variables the movement reads and writes, copied out of and back into a player.
struct Body {
    D3DXVECTOR3 position, oldPosition;
    D3DXVECTOR2 velocity, oldVelocity, focus, newFocus, cameraPosition;
    std::int32_t wallJump, collisionflag, easyJump, easyWallJump, hoverTime, deathDelay, grabbed, grabbing, grabbedBy;
    float spdBoost, facingRight, airRun, camY, explodeMe;
    bool landed, camChangeY, rolling, nodrag, jumpPressed, faceRight;

    static Body Of(const ObjectData::Player::Variables& v) {
        return Body{v.position,       v.oldPosition, v.velocity,      v.oldVelocity, v.focus,        v.newFocus,
                    v.cameraPosition, v.wallJump,    v.collisionflag, v.easyJump,    v.easyWallJump, v.hoverTime,
                    v.deathDelay,     v.grabbed,     v.grabbing,      v.grabbedBy,   v.spdBoost,     v.facingRight,
                    v.airRun,         v.camY,        v.explodeMe,     v.landed,      v.camChangeY,   v.rolling,
                    v.nodrag,         v.jumpPressed, v.faceRight};
    }
    void Into(ObjectData::Player::Variables& v) const {
        v.position = position;
        v.oldPosition = oldPosition;
        v.velocity = velocity;
        v.oldVelocity = oldVelocity;
        v.focus = focus;
        v.newFocus = newFocus;
        v.cameraPosition = cameraPosition;
        v.wallJump = wallJump;
        v.collisionflag = collisionflag;
        v.easyJump = easyJump;
        v.easyWallJump = easyWallJump;
        v.hoverTime = hoverTime;
        v.deathDelay = deathDelay;
        v.grabbed = grabbed;
        v.grabbing = grabbing;
        v.grabbedBy = grabbedBy;
        v.spdBoost = spdBoost;
        v.facingRight = facingRight;
        v.airRun = airRun;
        v.camY = camY;
        v.explodeMe = explodeMe;
        v.landed = landed;
        v.camChangeY = camChangeY;
        v.rolling = rolling;
        v.nodrag = nodrag;
        v.jumpPressed = jumpPressed;
        v.faceRight = faceRight;
    }
};

// The controls of bits held on the scripted keyboard for the next frame.
inline void HoldControls(std::uint8_t bits) {
    objtest::Held().keys.clear();
    if (bits & kLeft) objtest::Held().keys.insert(objtest::kLeftKey);
    if (bits & kRight) objtest::Held().keys.insert(objtest::kRightKey);
    if (bits & kJump) objtest::Held().keys.insert(objtest::kSpace);
}

// One frame of the player's movement with the controls of bits.
inline void StepPlayer(Entity* player, std::uint8_t bits) {
    ObjectData::Player::Variables& v = ObjectData::Player::Vars(player);
    const bool jump = (bits & kJump) != 0;
    v.jumpTriggered = jump && !v.jumpPressed;
    v.jumpPressed = jump;
    v.leftPressed = (bits & kLeft) != 0;
    v.rightPressed = (bits & kRight) != 0;
    v.upPressed = v.downPressed = v.grabTriggered = v.grabPressed = false;
    player->DoEvent("UpdateBehavior");
}

// Whether the body touches a cell of the springs and the speed boost: the
// search keeps off them, so that a run found while their types are missing
// still holds once they exist.
inline bool NearThrower(const ObjectData::Player::Variables& v) {
    const LevelCollision& grid = GameVars().basicLevel;
    for (float dx : {-0.5f, 0.0f, 0.5f})
        for (float dy : {-0.6f, 0.0f, 0.6f}) {
            const int c = grid.GetCell(v.position.x + dx, v.position.y + dy);
            if (c >= 104 && c <= 107) return true;
        }
    return false;
}

struct SearchResult {
    bool found = false;
    InputRun run;
    int expanded = 0;
};

// Best-first search over stretches of held controls, guided by the walking
// distance (through cells that are not terrain) to the nearest goal. Deaths
// end a branch; bodies already seen at the same coarse state are skipped.
inline SearchResult FindRun(Entity* player, const std::vector<Entity*>& goalObjects,
                            const std::vector<Entity*>& throwers, bool avoidThrowerCells, int budget) {
    std::vector<D3DXVECTOR2> goals;
    for (Entity* goal : goalObjects) {
        const D3DXVECTOR3& p = Variable<D3DXVECTOR3>(goal, enum_position);
        goals.push_back({p.x, p.y});
    }
    const LevelCollision& grid = GameVars().basicLevel;
    const int w = grid.GetWidth(), h = grid.GetHeight();
    auto blocked = [&](int x, int y) {
        // Breakable walls give way to a boosted body, broken ones are open.
        const int c = grid.GetCell(x, y);
        return c >= 1 && c <= 6;
    };
    std::vector<int> distance(static_cast<std::size_t>(w * h), 1 << 29);
    std::deque<int> open;
    for (const D3DXVECTOR2& g : goals) {
        const int i = static_cast<int>(g.y) * w + static_cast<int>(g.x);
        distance[static_cast<std::size_t>(i)] = 0;
        open.push_back(i);
    }
    while (!open.empty()) {
        const int i = open.front();
        open.pop_front();
        const int x = i % w, y = i / w;
        const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
        for (const auto& n : next) {
            if (n[0] < 0 || n[0] >= w || n[1] < 0 || n[1] >= h || blocked(n[0], n[1])) continue;
            const int j = n[1] * w + n[0];
            if (distance[static_cast<std::size_t>(j)] <= distance[static_cast<std::size_t>(i)] + 1) continue;
            distance[static_cast<std::size_t>(j)] = distance[static_cast<std::size_t>(i)] + 1;
            open.push_back(j);
        }
    }
    auto cost = [&](const D3DXVECTOR3& p) {
        const int x = std::clamp(static_cast<int>(p.x), 0, w - 1), y = std::clamp(static_cast<int>(p.y), 0, h - 1);
        return distance[static_cast<std::size_t>(y * w + x)];
    };

    // Breakable cells a boosted body breaks: each node keeps the ones broken
    // on its way, and the grid is put back to them before it is tried.
    LevelCollision& live = GameVars().basicLevel;
    std::vector<int> breakable;
    for (int i = 0; i < w * h; ++i)
        if (live.GetCell(i) == LevelCellValue::BreakableTile) breakable.push_back(i);
    auto setCell = [&](int i, int value) {
        live.SetCell(static_cast<float>(i % w) + 0.5f, static_cast<float>(i / w) + 0.5f, value);
    };
    auto brokenNow = [&] {
        std::vector<int> broken;
        for (int i : breakable)
            if (live.GetCell(i) != LevelCellValue::BreakableTile) broken.push_back(i);
        return broken;
    };
    auto restoreGrid = [&](const std::vector<int>& broken) {
        for (int i : breakable) setCell(i, LevelCellValue::BreakableTile);
        for (int i : broken) setCell(i, LevelCellValue::BrokenTile);
    };
    struct Node {
        std::vector<int> broken;
        Body body;
        int parent;
        std::uint8_t bits;
        std::uint8_t frames;
        int depth;
    };
    std::vector<Node> nodes;
    ObjectData::Player::Variables& v = ObjectData::Player::Vars(player);
    const Body start = Body::Of(v);
    nodes.push_back({{}, start, -1, 0, 0, 0});
    using Entry = std::pair<std::int64_t, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> frontier;
    frontier.push({0, 0});
    std::unordered_set<std::uint64_t> seen;
    auto key = [](const Body& b) {
        auto q = [](float value, float step) {
            return static_cast<std::uint64_t>(static_cast<std::int64_t>(std::floor(value / step)) & 0xFFF);
        };
        return q(b.position.x, 0.2f) | q(b.position.y, 0.2f) << 12 | q(b.velocity.x, 0.03f) << 24 |
               q(b.velocity.y, 0.03f) << 36 | static_cast<std::uint64_t>(b.jumpPressed) << 48 |
               static_cast<std::uint64_t>((b.collisionflag & ObjectData::Player::kFloor) != 0) << 49 |
               static_cast<std::uint64_t>(std::clamp(b.wallJump, -1, 1) + 1) << 50 |
               static_cast<std::uint64_t>(std::clamp(b.easyWallJump, -1, 1) + 1) << 52;
    };
    // Controls tried from each body: every direction, with jump off, held, or
    // released for one frame and pressed again.
    struct Choice {
        std::uint8_t bits;
        bool repress;
    };
    const Choice choices[] = {{kRight, false}, {kRight | kJump, false}, {kRight | kJump, true},
                              {kLeft, false},  {kLeft | kJump, false},  {kLeft | kJump, true},
                              {0, false},      {kJump, false},          {kJump, true}};
    constexpr int kStretch = 5;
    SearchResult result;
    while (!frontier.empty() && result.expanded < budget) {
        const int index = frontier.top().second;
        frontier.pop();
        ++result.expanded;
        for (const Choice& choice : choices) {
            const Body& from = nodes[static_cast<std::size_t>(index)].body;
            if (choice.repress && !from.jumpPressed) continue;
            from.Into(v);
            if (!breakable.empty()) restoreGrid(nodes[static_cast<std::size_t>(index)].broken);
            bool dead = false, reached = false;
            InputRun frames;
            for (int f = 0; f < kStretch && !dead && !reached; ++f) {
                const std::uint8_t bits =
                    (choice.repress && f == 0) ? static_cast<std::uint8_t>(choice.bits & ~kJump) : choice.bits;
                StepPlayer(player, bits);
                // Springs and speed boosts act on the body after it moves, as in the game's pass.
                for (Entity* thrower : throwers) thrower->DoEvent("Behavior");
                frames.push_back(bits);
                dead = v.deathDelay > 0 || !std::isfinite(v.position.x) || !std::isfinite(v.position.y) ||
                       (avoidThrowerCells && NearThrower(v));
                for (Entity* goal : goalObjects) reached = reached || collisionEngine.Check(goal, player);
            }
            if (dead) continue;
            const Body body = Body::Of(v);
            if (!reached && !seen.insert(key(body)).second) continue;
            const int depth = nodes[static_cast<std::size_t>(index)].depth + static_cast<int>(frames.size());
            // The stretch is stored as its first control and length, plus a
            // marker for the one released frame.
            nodes.push_back({breakable.empty() ? std::vector<int>{} : brokenNow(), body, index,
                             static_cast<std::uint8_t>(choice.bits | (choice.repress ? 8 : 0)),
                             static_cast<std::uint8_t>(frames.size()), depth});
            if (reached) {
                for (int n = static_cast<int>(nodes.size()) - 1; n > 0; n = nodes[static_cast<std::size_t>(n)].parent) {
                    const Node& node = nodes[static_cast<std::size_t>(n)];
                    InputRun stretch;
                    for (int f = 0; f < node.frames; ++f)
                        stretch.push_back((node.bits & 8) && f == 0 ? static_cast<std::uint8_t>(node.bits & 3)
                                                                    : static_cast<std::uint8_t>(node.bits & 7));
                    result.run.insert(result.run.begin(), stretch.begin(), stretch.end());
                }
                result.found = true;
                start.Into(v);
                restoreGrid({});
                return result;
            }
            frontier.push(
                {static_cast<std::int64_t>(cost(body.position)) * 64 + depth / 16, static_cast<int>(nodes.size()) - 1});
        }
    }
    start.Into(v);
    restoreGrid({});
    return result;
}

}  // namespace playtest
