#include "objects/LevelGraphics.h"

#include <cstdio>
#include <cstdlib>

#include "framework/GameVariables.h"
#include "framework/LevelCollision.h"
#include "framework/Time.h"
#include "objects/Camera.h"
#include "objects/GameplayHooks.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"

const int ObjectData::LevelGraphics::kSpikeVariants[32] = {0, 1, 2, 3, 4, 5, 6, 7, 4, 6, 2, 1, 3, 5, 7, 0,
                                                           6, 4, 2, 0, 7, 3, 5, 1, 5, 2, 7, 4, 0, 1, 3, 6};

namespace ObjectData::LevelGraphics {

namespace {

VariableOffsetTable table;

// Tile lists by kind.
constexpr unsigned kGroundList = 3;
constexpr unsigned kBreakableList = 4;
constexpr unsigned kGrassList = 7;
constexpr unsigned kDebrisList = 14;
// Spikes draw in their own pale colours (a list with no tiled texture), over
// the ground, and their cold glow goes into the light map, so a row of
// spikes lights the ground about it and reads as danger on any ground.
constexpr unsigned kSpikeList = 6;
constexpr unsigned kSpikeLightLayer = 0;
constexpr int kSpikeLightColour = static_cast<int>(0xFF4A5C96u);
constexpr float kSpikeLightWidth = 0.8f, kSpikeLightHeight = 1.2f;
constexpr float kTileDepth = -1000.0f;

enum Code {
    Empty = 0,
    Grass = 1,
    Dirt = 2,
    SpikesUp = 3,
    SpikesRight = 4,
    SpikesDown = 5,
    SpikesLeft = 6,
    Breakable = 7
};

float Unit() { return static_cast<float>(std::rand() & 0x3FF) / 1024.0f; }

// The frames the tiles use, looked up once per frame.
struct Frames {
    const Frame* flatgrass;
    const Frame* dirt;
    const Frame* spikeBase;
    const Frame* spike[8];
    const Frame* spikeLight[8];

    Frames() {
        flatgrass = &FrameMap("flatgrass", 0, 0);
        dirt = &FrameMap("dirt", 0, 0);
        spikeBase = &FrameMap("spikeBase", 0, 0);
        char name[32];
        for (int k = 0; k < 8; ++k) {
            std::snprintf(name, sizeof name, "spike0%d", k);
            spike[k] = &FrameMap(name, 0, 0);
            std::snprintf(name, sizeof name, "spikelight0%d", k);
            spikeLight[k] = &FrameMap(name, 0, 0);
        }
    }
};

bool DirtOrSpikes(int code) { return code >= Dirt && code <= SpikesLeft; }

// The block under grass or dirt, trimmed on its open sides.
void DirtQuad(Buffer& b, const Frames& f, int c, int r, float oL, float oR, float oB) {
    b.AddTile(kGroundList, static_cast<float>(c) + 0.5f + 0.0625f * (oL - oR),
              static_cast<float>(r) + 0.4f + 0.0625f * oB, kTileDepth, 1.25f - 0.125f * (oL + oR), 1.25f - 0.125f * oB,
              0.0f, *f.dirt, -1);
}

// Three spikes along one side of the cell and their lights. Horizontal rows
// (up, down) vary x, vertical ones (right, left) vary y.
void SpikeRow(Buffer& b, const Frames& f, int c, int r, bool horizontal, float fixed, float height, float rotation) {
    static const float kAlong[3] = {0.1666667f, 0.5f, 1.0f - 0.1666667f};
    for (int j = 0; j < 3; ++j) {
        const int k = kSpikeVariants[(3 * (c + r) + j) % 32];
        const float x = horizontal ? static_cast<float>(c) + kAlong[j] : static_cast<float>(c) + fixed;
        const float y = horizontal ? static_cast<float>(r) + fixed : static_cast<float>(r) + kAlong[j];
        b.AddTile(kSpikeList, x, y, kTileDepth, 0.33666667f, height, rotation, *f.spike[k], -1);
        b.AddFrameToLayer(kSpikeLightLayer, x, y, kTileDepth, kSpikeLightWidth,
                          height < 0.0f ? -kSpikeLightHeight : kSpikeLightHeight, rotation, *f.spikeLight[k],
                          kSpikeLightColour);
    }
}

}  // namespace

void DrawCells(Buffer& b, const LevelCollision& grid, float x, float y, float s) {
    const int W = grid.GetWidth(), H = grid.GetHeight();
    int c0 = static_cast<int>(x - s), c1 = static_cast<int>(x + s + 1.0f);
    int r0 = static_cast<int>(y - 2.0f * s / 3.0f), r1 = static_cast<int>(y + 2.0f * s / 3.0f + 1.0f);
    if (c0 < 0) c0 = 0;
    if (c1 > W) c1 = W;
    if (r0 < 0) r0 = 0;
    if (r1 > H) r1 = H;
    const Frames f;
    for (int c = c0; c < c1; ++c) {
        for (int r = r0; r < r1; ++r) {
            const int code = grid.GetCell(c, r);
            const float cx = static_cast<float>(c), ry = static_cast<float>(r);
            switch (code) {
                case Grass:
                case Dirt: {
                    const int m = grid.GetTileGridCell(c, r);  // -1 (no drawing tiles): every side covered
                    const bool openTop = (m & 1) == 0, openRight = (m & 2) == 0, openBottom = (m & 4) == 0,
                               openLeft = (m & 8) == 0;
                    const float oL = openLeft ? 1.0f : 0.0f, oR = openRight ? 1.0f : 0.0f,
                                oB = openBottom ? 1.0f : 0.0f;
                    if (code == Grass) {
                        if (openTop && !DirtOrSpikes(grid.GetCell(c, r + 1)))
                            b.AddTile(kGrassList, cx + 0.5f + 0.0625f * (oL - oR), ry + 0.4f, kTileDepth,
                                      1.25f - 0.125f * (oL + oR), 1.25f, 0.0f, *f.flatgrass, -1);
                        if (openRight && !DirtOrSpikes(grid.GetCell(c + 1, r)))
                            b.AddTile(kGrassList, cx + 0.5f - 0.0625f, ry + 0.4f + 0.0625f * oB, kTileDepth,
                                      1.25f - 0.125f * oB, 1.25f, 4.712385f, *f.flatgrass, -1);
                        if (openBottom && !DirtOrSpikes(grid.GetCell(c, r - 1)))
                            b.AddTile(kGrassList, cx + 0.5f + 0.0625f * (oL - oR), ry + 0.4f + 0.125f, kTileDepth,
                                      1.25f - 0.125f * (oL + oR), 1.25f, 3.14159f, *f.flatgrass, -1);
                        if (openLeft && !DirtOrSpikes(grid.GetCell(c - 1, r)))
                            b.AddTile(kGrassList, cx + 0.5f + 0.0625f, ry + 0.4f + 0.0625f * oB, kTileDepth,
                                      1.25f - 0.125f * oB, 1.25f, 1.570795f, *f.flatgrass, -1);
                    }
                    DirtQuad(b, f, c, r, oL, oR, oB);
                    break;
                }
                case SpikesUp:
                case SpikesDown: {
                    const bool up = code == SpikesUp;
                    const int twin = up ? SpikesUp : SpikesDown;
                    const int left = grid.GetCell(c - 1, r), right = grid.GetCell(c + 1, r);
                    const float L = (left == Grass || left == twin) ? 1.0f : 0.0f;
                    const float R = (right == Grass || right == twin) ? 1.0f : 0.0f;
                    const float yOffset = up ? 0.6f : 0.4f;
                    SpikeRow(b, f, c, r, true, yOffset, up ? 1.01f : -1.01f, 0.0f);
                    b.AddTile(kGroundList, cx + 0.5f + 0.0625f * (R - L), ry + yOffset, kTileDepth,
                              1.26f - 0.125f * ((1.0f - L) + (1.0f - R)), up ? 1.61f : -1.61f, 0.0f, *f.spikeBase, -1);
                    break;
                }
                case SpikesRight:
                case SpikesLeft: {
                    const bool right = code == SpikesRight;
                    const float rotation = right ? -1.570795f : 1.570795f;
                    SpikeRow(b, f, c, r, false, right ? 0.6f : 0.4f, 1.01f, rotation);
                    b.AddTile(kGroundList, cx + (right ? 0.7f : 0.3f), ry + 0.5f, kTileDepth, 1.21f, 2.01f, rotation,
                              *f.spikeBase, -1);
                    break;
                }
                case Breakable:
                    b.AddTile(kBreakableList, cx + 0.5f, ry + 0.5f, kTileDepth, 1.3f, 1.3f, 0.0f, *f.dirt, -1);
                    break;
                default: break;
            }
        }
    }
}

void SetUpTileLists(Buffer& b) {
    // The light map (layer 0) starts from the ambient grey the lights add
    // to; it tints the ground lists through their mask.
    b.layerColor[0] = 0x8C8C8Cu;
    b.layerTechnique[0] = "TechniqueLight";
    b.layerTechnique[1] = "TechniqueAdd";
    struct Row {
        unsigned list;
        const char* texture;
        const char* technique;
    };
    static const Row rows[] = {
        {0, "moon", "TechniqueTilePara2D"},
        {1, "grassPara", "TechniqueTilePara2D"},
        {2, "muddyGround", "TechniqueTileGroup2DDepth"},
        {3, "ground", "TechniqueTileGroup2DDepth"},
        {4, "breakableGround", "TechniqueTileGroup2DDepth"},
        {5, "splatter", "TechniqueTileSplatter2D"},
        {6, nullptr, "TechniqueTile2D"},
        {7, "grass", "TechniqueTileGroup2D"},
        {8, nullptr, "TechniqueTile2D"},
        {9, "moon", "TechniqueTileColor2D"},
        {14, "breakableGround", "TechniqueTileGroup2D"},
    };
    for (const Row& row : rows) {
        if (row.texture) b.tileTexture[row.list] = FindTiledTexture(row.texture);
        b.tileTechnique[row.list] = row.technique;
    }
}

void GraphicsUpdate(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    const float gravity = GameVars().playerGravity;
    for (int i = 0; i < kDebrisSlots; ++i) {
        if (v.breakPosition[i].y <= -1.0f) continue;
        v.breakVelocity[i].y += gravity;
        v.breakPosition[i].x += v.breakVelocity[i].x;
        v.breakPosition[i].y += v.breakVelocity[i].y;
        v.breakRotation[i] += v.breakRotationSpeed[i];
    }
}

void GraphicsDraw(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    Entity* camera = self->GetMyObject("Camera");
    const D3DXVECTOR3* position = camera ? FindVariable<D3DXVECTOR3>(camera, enum_position) : nullptr;
    const float* scale = camera ? FindVariable<float>(camera, enum_scale) : nullptr;
    if (buffer == nullptr || position == nullptr || scale == nullptr) return;
    const float x = position->x, y = position->y, s = *scale;

    DrawCells(*buffer, GameVars().basicLevel, x, y, s);
    std::srand(TimeGetTime());

    const float hw = gameplayHooks.aspect() * s * 0.5f, hh = s * 0.5f;
    const Frame& piece = FrameMap("breakableBlocks", 0, 0);
    for (int n = 0; n < kDebrisSlots; ++n) {
        const int i = static_cast<int>((static_cast<std::uint32_t>(v.breakCurrent) + static_cast<std::uint32_t>(n)) %
                                       kDebrisSlots);
        const D3DXVECTOR2 p = v.breakPosition[i];
        // A piece that fell out of play stays where it stopped; it is not drawn
        // even where a view reaches below the level.
        if (p.y <= -1.0f) continue;
        const float half = v.breakSize[i].x * 0.5f;
        if (x - hw <= p.x + half && x + hw >= p.x - half && y - hh <= p.y + half && y + hh >= p.y - half)
            buffer->AddTile(kDebrisList, p.x, p.y, 0.0f, v.breakSize[i].x, v.breakSize[i].x, v.breakRotation[i], piece,
                            static_cast<int>(0xFFCCCCCCu));
    }

    if (self->GetMyObject(LocalPlayerName().c_str()) == nullptr) return;
    SetUpTileLists(*buffer);
}

void AddParticles(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    const float cx = static_cast<float>(static_cast<int>(v.newBreak.x));
    const float cy = static_cast<float>(static_cast<int>(v.newBreak.y));
    v.newBreak = D3DXVECTOR2(cx, cy);
    for (int n = 0; n < kPiecesPerBreak; ++n) {
        const int i = static_cast<int>(static_cast<std::uint32_t>(v.breakCurrent) % kDebrisSlots);
        const float px = Unit(), py = Unit();
        v.breakPosition[i] = D3DXVECTOR2(cx + px, cy + py);
        const float vx = Unit(), vy = Unit();
        v.breakVelocity[i] = D3DXVECTOR2(vx * 0.3f - 0.15f, vy * 0.3f - 0.15f);
        const float sx = Unit(), sy = Unit();
        v.breakSize[i] = D3DXVECTOR2(sx * 0.4f + 0.1f, sy * 0.4f + 0.1f);
        v.breakRotation[i] = Unit() * 6.28318f;
        v.breakRotationSpeed[i] = Unit() * 0.2f - 0.1f;
        v.breakCurrent = static_cast<std::int32_t>(static_cast<std::uint32_t>(v.breakCurrent) + 1u);
    }
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "LevelGraphics", table);
    prototype->_TempAddEngine("Behavior", Event());
    prototype->_TempAddEngine("GraphicsUpdate", &GraphicsUpdate);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("AddParticles", &AddParticles);
    prototype->_AddEvent("Load", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_newBreak, v.newBreak);
    BindVariable(table, *prototype, enum_breakPosition, v.breakPosition);
    BindVariable(table, *prototype, enum_breakVelocity, v.breakVelocity);
    BindVariable(table, *prototype, enum_breakSize, v.breakSize);
    BindVariable(table, *prototype, enum_breakRotation, v.breakRotation);
    BindVariable(table, *prototype, enum_breakRotationSpeed, v.breakRotationSpeed);
    BindVariable(table, *prototype, enum_breakCurrent, v.breakCurrent);
}

}  // namespace ObjectData::LevelGraphics
