#include "objects/ShatterMoon.h"

#include <cmath>
#include <cstdlib>

#include "objects/GameplayHooks.h"
#include "objects/PickupSupport.h"
#include "platform/graphics/CameraGlobals.h"
#include "platform/input/Input.h"

namespace ObjectData::ShatterMoon {

namespace {

VariableOffsetTable table;
constexpr float kTwoPi = 6.28318f;

bool InputPressed() { return inputEngine.AnythingPressed(); }

}  // namespace

bool (*anythingPressed)() = &InputPressed;

void Load(Entity* self, Entity*) { VariablesOf<Variables>(self).camX = static_cast<float>(std::rand() % 4096); }

void Shatter(Variables& v) {
    v.shardsVisible = true;
    v.texture = "moon00";
    v.backTexture = "gmoon00";
    std::srand(kShatterSeed);
    for (int i = 0; i < kPieces; ++i) {
        D3DXVECTOR2 p{0.0f, 0.0f};
        do {
            v.shardShrink[i] = 0.994f - Pickups::RandomFraction() * 0.02f;
            p.x = 2.0f * Pickups::RandomFraction() - 1.0f;
            p.y = 2.0f * Pickups::RandomFraction() - 1.0f;
        } while (std::sqrt(p.x * p.x + p.y * p.y) > 1.0f);
        p.y *= 1.7777778f;
        v.shardPosition[i] = D3DXVECTOR2(p.x * 0.0475f, p.y * 0.0475f);
        v.shardVelocity[i] = D3DXVECTOR2(v.shardPosition[i].x * 0.013f, v.shardPosition[i].y * 0.013f - 0.0001f);
        if ((std::rand() & 3) != 0) {
            const float a = (2.0f * Pickups::RandomFraction() - 1.0f) * 3.14159f;
            const float m = Pickups::RandomFraction();
            v.shardVelocity[i].x += std::cos(a) * m * 0.001f;
            v.shardVelocity[i].y += std::sin(a) * m * 0.001f;
        }
        v.shardRotation[i] = Pickups::RandomFraction() * 6.28318f;
        const float spin = 0.05f + Pickups::RandomFraction() * 0.05f;
        v.shardRotationSpeed[i] = spin * Pickups::RandomSign();
        const float w = 0.015f + Pickups::RandomFraction() * 0.015f;
        const float h = 0.015f + Pickups::RandomFraction() * 0.015f;
        v.shardSize[i] = D3DXVECTOR2(w * 0.5f, h * 0.5f);
        if ((std::rand() & 3) == 0) {
            v.shardSize[i].x *= 0.1f;
            v.shardSize[i].y *= 0.1f;
        } else if ((std::rand() & 31) == 0) {
            v.shardSize[i].x *= 2.0f;
            v.shardSize[i].y *= 2.0f;
        }
    }
    for (int j = 0; j < kPieces - kFirstSpecial; ++j) {
        v.shardShrink[kFirstSpecial + j] = 0.994f + static_cast<float>(j) * 0.000625f;
        v.shardVelocity[kFirstSpecial + j].y -= 0.001f;
    }
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    CameraGlobals::y = v.camY;
    CameraGlobals::x = v.camX;
    CameraGlobals::r = 1.0f / v.camZoom;

    v.moonPhase += 0.01f;
    if (v.moonPhase > kTwoPi) v.moonPhase -= kTwoPi;

    if (!v.shardsVisible) {
        if (!anythingPressed()) return;
        gameplayHooks.rumbleRemote(200);
        gameplayHooks.lightVibratePad(200);
        Shatter(v);
    }
    for (int i = 0; i < kPieces; ++i) {
        D3DXVECTOR2& velocity = v.shardVelocity[i];
        if (i < kFirstSpecial) {
            velocity.x = (velocity.x - 0.00001f) * 0.9999f;
            velocity.y = (velocity.y - 0.00001f) * 0.9999f;
        } else {
            velocity.x *= 1.001f;
            velocity.y *= 1.001f;
        }
        v.shardPosition[i].x += velocity.x;
        v.shardPosition[i].y += velocity.y;
        v.shardRotation[i] += v.shardRotationSpeed[i];
        v.shardSize[i].x *= v.shardShrink[i];
        v.shardSize[i].y *= v.shardShrink[i];
    }
}

void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    const float X = CameraGlobals::x, Y = CameraGlobals::y, S = CameraGlobals::r;
    const float A = gameplayHooks.aspect();

    Pickups::BindTileList(0, "moon", "TechniqueTilePara2D");
    Pickups::BindTileList(1, "grassPara", "TechniqueTilePara2D");
    Pickups::BindTileList(13, "moon", "TechniqueTileColor2D");

    const auto c = static_cast<std::uint32_t>(207 + static_cast<int>(48.0f * std::cos(v.moonPhase))) & 255u;
    const std::uint32_t tint = 0xFF000000u | c << 16 | c << 8 | 255u;

    const float moonX = X - 0.2f * A / S, moonY = Y + 0.25f / S, moonSize = 0.25f / S;
    Pickups::AddTile(0, moonX, moonY, -10000.4f, moonSize, moonSize, 0.0f, v.texture, tint);
    gameplayHooks.addBackground(moonX, moonY, -10000.4f, moonSize, moonSize, 0.0f, v.backTexture, tint);

    if (!v.shardsVisible) return;
    // The last pieces are drawn after the others, by the same rule.
    for (int i = 0; i < kPieces; ++i) {
        Pickups::AddTile(9, X - (v.shardPosition[i].x + 0.185f) * A / S, Y + (v.shardPosition[i].y + 0.25f) / S,
                         -10000.3f, v.shardSize[i].x / S, v.shardSize[i].y / S, v.shardRotation[i], "moonShard", tint);
    }
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "ShatterMoon", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const _DATA& p = *prototype;
    BindVariable(table, p, enum_texture, v.texture);
    BindVariable(table, p, enum_backTexture, v.backTexture);
    BindVariable(table, p, enum_moonPhase, v.moonPhase);
    BindVariable(table, p, enum_shardsVisible, v.shardsVisible);
    BindVariable(table, p, enum_shardPosition, v.shardPosition);
    BindVariable(table, p, enum_shardVelocity, v.shardVelocity);
    BindVariable(table, p, enum_shardRotation, v.shardRotation);
    BindVariable(table, p, enum_shardRotationSpeed, v.shardRotationSpeed);
    BindVariable(table, p, enum_shardSize, v.shardSize);
    BindVariable(table, p, enum_shardShrink, v.shardShrink);
    BindVariable(table, p, enum_camY, v.camY);
    BindVariable(table, p, enum_camX, v.camX);
    BindVariable(table, p, enum_camZoom, v.camZoom);
}

}  // namespace ObjectData::ShatterMoon
