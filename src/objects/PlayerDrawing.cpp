// The player's animation and drawing: the blob's parts move toward goals set
// by how it runs, rolls, jumps and breathes; its trail, splats and paint
// balls age; then the body, eyes, glow, trail, splats and balls are queued.
#include "objects/PlayerDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "framework/GameVariables.h"
#include "framework/LevelCollision.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"

namespace ObjectData::Player {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 6.28318530718f;

float Random() { return static_cast<float>(std::rand() & 1023) / 1024.0f; }
float Length(float x, float y) { return std::sqrt(x * x + y * y); }

// Shortens (x, y) to at most length m.
void Limit(float& x, float& y, float m) {
    const float l = Length(x, y);
    if (l > m) {
        x *= m / l;
        y *= m / l;
    }
}

void Approach(D3DXVECTOR3& value, const D3DXVECTOR3& goal, float keep) {
    value.x = value.x * keep + goal.x * (1.0f - keep);
    value.y = value.y * keep + goal.y * (1.0f - keep);
    value.z = value.z * keep + goal.z * (1.0f - keep);
}
void Approach(D3DXVECTOR2& value, const D3DXVECTOR2& goal, float keep) {
    value.x = value.x * keep + goal.x * (1.0f - keep);
    value.y = value.y * keep + goal.y * (1.0f - keep);
}

void AddTrail(Variables& v, const D3DXVECTOR3& position, const D3DXVECTOR2& size, float alpha) {
    const int i = static_cast<int>(static_cast<unsigned>(v.trailCurrent) % kTrailLength);
    v.trailPosition[i] = position;
    v.trailSize[i] = size;
    v.trailAlpha[i] = alpha;
    ++v.trailCurrent;
}

// The player's number from its name "Player_" + ('0' + n); 0 for other names.
int PlayerNumber(const Entity* self) {
    const std::string& name = self->GetName();
    if (name.size() < 8 || name[7] < '0' || name[7] > '?') return 0;
    return name[7] - '0';
}

std::uint32_t Rgb(std::uint32_t colour) { return colour & 0x00FFFFFFu; }
std::uint32_t WithAlpha(std::uint32_t colour, float alpha) {
    return (static_cast<std::uint32_t>(static_cast<int>(alpha * 255.0f)) & 255u) << 24 | Rgb(colour);
}
// Each of red, green and blue times f, opaque.
std::uint32_t Scaled(std::uint32_t colour, float f) {
    auto channel = [&](int shift) {
        const float c = static_cast<float>((colour >> shift) & 255u) * f;
        return static_cast<std::uint32_t>(std::clamp(c, 0.0f, 255.0f)) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

// The six parts in a fixed order, as pointers into the variables.
struct Part {
    D3DXVECTOR3* position;
    D3DXVECTOR3* goal;
    D3DXVECTOR2* size;
    D3DXVECTOR2* sizeGoal;
};
void Parts(Variables& v, Part (&parts)[6]) {
    parts[0] = {&v.headPosition, &v.headPositionGoal, &v.headSize, &v.headSizeGoal};
    parts[1] = {&v.bodyPosition, &v.bodyPositionGoal, &v.bodySize, &v.bodySizeGoal};
    parts[2] = {&v.leftHandPosition, &v.leftHandPositionGoal, &v.leftHandSize, &v.leftHandSizeGoal};
    parts[3] = {&v.rightHandPosition, &v.rightHandPositionGoal, &v.rightHandSize, &v.rightHandSizeGoal};
    parts[4] = {&v.leftFootPosition, &v.leftFootPositionGoal, &v.leftFootSize, &v.leftFootSizeGoal};
    parts[5] = {&v.rightFootPosition, &v.rightFootPositionGoal, &v.rightFootSize, &v.rightFootSizeGoal};
}

void UpdateLabel(const Variables& v) {
    Object* label = v.nameText;
    if (label == nullptr) return;
    if (std::string* text = FindVariable<std::string>(label, enum_text)) {
        char line[300];
        if (v.playerName.empty())
            std::snprintf(line, sizeof line, "%i", v.score);
        else
            std::snprintf(line, sizeof line, "%s:%i", v.playerName.substr(0, 256).c_str(), v.score);
        *text = v.networked ? line : "";
    }
    if (float* x = FindVariable<float>(label, enum_x)) *x = v.position.x;
    if (float* y = FindVariable<float>(label, enum_y)) *y = v.position.y + 1.0f;
    if (std::uint32_t* colour = FindVariable<std::uint32_t>(label, enum_primaryColor))
        *colour = v.playerColor & kNameLabelTint;
}

void Limbs(Variables& v) {
    const float b = v.spdBoost > 0.0f ? 1.0f : 0.0f;
    const float d = (v.rightPressed ? 1.0f : 0.0f) - (v.leftPressed ? 1.0f : 0.0f);
    const float vx = v.velocity.x, vy = v.velocity.y;
    if (v.rolling) {
        const float k = b > 0.0f ? 1.0f : 0.993f;
        v.facingRight = k * v.facingRight + (1.0f - k) * (0.5f + 0.5f * d);
        if (b == 0.0f) v.airRun *= 0.98f;
        v.runCycle += 0.3f * v.airRun * (1.0f + 0.5f * b);
        const float rc = v.runCycle;
        v.headPositionGoal.x = 0.4f * std::cos(rc);
        v.headPositionGoal.y = 0.4f * std::sin(rc);
        v.bodyPositionGoal.x = 0.0f;
        v.bodyPositionGoal.y = 0.0f;
        v.rightHandPositionGoal.x = 0.25f * std::cos(rc + kPi / 4.0f);
        v.rightHandPositionGoal.y = 0.25f * std::sin(rc + kPi / 4.0f);
        v.leftHandPositionGoal.x = 0.25f * std::cos(rc - kPi / 4.0f);
        v.leftHandPositionGoal.y = 0.25f * std::sin(rc - kPi / 4.0f);
        v.rightFootPositionGoal.x = 0.2f * std::cos(rc + 2.8274f);
        v.rightFootPositionGoal.y = 0.2f * std::sin(rc + 2.8274f);
        v.leftFootPositionGoal.x = 0.2f * std::cos(rc - 2.8274f);
        v.leftFootPositionGoal.y = 0.2f * std::sin(rc - 2.8274f);
    } else {
        if (vy == 0.0f)
            v.airRun = 0.0f;
        else if (v.jumpPressed)
            v.airRun = -0.5f;
        v.airRun *= 0.95f;
        v.runCycle += v.airRun;
        const float rc = v.runCycle;
        v.rightFootPositionGoal.x = 0.2f * std::cos(rc);
        v.rightFootPositionGoal.y = 0.2f * std::sin(rc) - 0.4f;
        v.leftFootPositionGoal.x = 0.2f * std::cos(rc + kPi);
        v.leftFootPositionGoal.y = 0.2f * std::sin(rc + kPi) - 0.4f;
        const float bob = std::cos(2.0f * rc + kPi);
        if (b > 0.0f) {
            v.headPositionGoal.y = 0.3f + 0.1f * bob - 0.6f * std::fabs(vx);
            v.headPositionGoal.x = 0.4f * std::fabs(vx);
        } else {
            v.headPositionGoal.y = 0.3f + 0.05f * bob;
            v.headPositionGoal.x = 0.0f;
        }
        v.bodyPositionGoal.x = 0.0f;
        v.bodyPositionGoal.y = 0.05f * bob - 0.125f;
        if (vy == 0.0f) {
            v.rightFootPositionGoal.y = std::max(v.rightFootPositionGoal.y, -0.4f);
            v.leftFootPositionGoal.y = std::max(v.leftFootPositionGoal.y, -0.4f);
        } else {
            for (D3DXVECTOR3* foot : {&v.rightFootPositionGoal, &v.leftFootPositionGoal}) {
                foot->x *= 0.5f;
                foot->y += 0.1f;
            }
        }
        v.rightHandPositionGoal.x = 0.2f * std::cos(rc + kPi);
        v.rightHandPositionGoal.y = -0.05f - std::fabs(0.1f * std::sin(rc + kPi));
        v.leftHandPositionGoal.x = 0.2f * std::cos(rc);
        v.leftHandPositionGoal.y = -0.05f - std::fabs(0.1f * std::sin(rc));

        const bool wallRight = (v.collisionflag & kWallRight) != 0 && v.wallJump >= 0;
        const bool wallLeft = (v.collisionflag & kWallLeft) != 0 && v.wallJump <= 0;
        if (std::fabs(vx) >= 0.01f) {
            v.facingRight = 0.9f * v.facingRight + 0.1f * (v.faceRight ? 0.0f : 1.0f);
            if (vy == 0.0f) v.runCycle -= 4.0f * std::fabs(vx);
        } else if (vy == 0.0f) {
            v.rightFootPositionGoal.y = v.leftFootPositionGoal.y = -0.4f;
            v.rightFootPositionGoal.x *= 0.4f;
            v.leftFootPositionGoal.x *= 0.4f;
            v.headPositionGoal.y = 0.3f + 0.02f * std::cos(v.runCycle + kPi);
            v.bodyPositionGoal.y = 0.02f * std::cos(v.runCycle + kPi) - 0.125f;
            v.headPositionGoal.y += 0.015f * std::cos(v.breathing);
            const float breath = 0.02f * std::cos(v.breathing);
            v.bodyPositionGoal.y += breath;
            v.rightHandPositionGoal.y += breath;
            v.leftHandPositionGoal.y += breath;
        }
        if (vy != 0.0f && (wallRight || wallLeft) && vy < 0.1f) {
            v.facingRight = 0.9f * v.facingRight + 0.1f * (v.faceRight ? 0.0f : 1.0f);
            v.runCycle *= 0.9f;
            v.leftHandPositionGoal.x = 0.25f;
            v.leftHandPositionGoal.y = 0.1f;
            v.rightFootPositionGoal.x = 0.25f;
            v.rightFootPositionGoal.y = -0.3f;
            if ((wallRight && v.rightPressed) || (wallLeft && v.leftPressed)) {
                v.leftHandSizeGoal = {0.2f, 0.3f};
                v.rightFootSizeGoal = {0.2f, 0.3f};
                v.runCycle -= v.airRun;
            }
        } else if (vy != 0.0f) {
            v.rightHandPositionGoal.y = 0.3f;
            if (vy > 0.0f) {
                v.leftHandPositionGoal.x = -0.2f;
                v.leftHandPositionGoal.y = 0.0f;
                v.rightHandPositionGoal.x = 0.25f;
            } else {
                v.leftHandPositionGoal.x = -0.15f;
                v.leftHandPositionGoal.y = 0.3f;
                v.rightHandPositionGoal.x = 0.15f;
            }
            v.leftHandPositionGoal.y -= 0.8f * vy;
            v.rightHandPositionGoal.y -= 0.8f * vy;
        }
    }
    if (v.grabPressed) {
        for (D3DXVECTOR3* hand : {&v.rightHandPositionGoal, &v.leftHandPositionGoal}) {
            hand->x *= 0.5f;
            hand->y = 0.4f;
        }
    }
    v.headPositionGoal.z = 0.01f;
    v.bodyPositionGoal.z = 0.0f;
    v.rightFootPositionGoal.z = 0.15f;
    v.leftFootPositionGoal.z = -0.15f;
    v.rightHandPositionGoal.z = 0.2f;
    v.leftHandPositionGoal.z = -0.2f;
}

// Turns the goals about the vertical axis and moves every part toward them.
void TurnAndSmooth(Variables& v) {
    const float angle = -kPi * v.facingRight;
    const float c = std::cos(angle), s = std::sin(angle);
    auto turned = [&](const D3DXVECTOR3& g) { return D3DXVECTOR3(g.x * c + g.z * s, g.y, -g.x * s + g.z * c + 0.5f); };
    const bool boosted = v.spdBoost > 0.0f;
    const float foot = boosted ? 0.2f : 0.7f, hand = boosted ? 0.1f : 0.75f;
    Approach(v.headPosition, turned(v.headPositionGoal), 0.8f);
    Approach(v.bodyPosition, turned(v.bodyPositionGoal), 0.6f);
    Approach(v.rightFootPosition, turned(v.rightFootPositionGoal), foot);
    Approach(v.leftFootPosition, turned(v.leftFootPositionGoal), foot);
    Approach(v.rightHandPosition, turned(v.rightHandPositionGoal), hand);
    Approach(v.leftHandPosition, turned(v.leftHandPositionGoal), hand);
    Approach(v.headSize, v.headSizeGoal, 0.8f);
    Approach(v.bodySize, v.bodySizeGoal, 0.4f);
    Approach(v.rightFootSize, v.rightFootSizeGoal, 0.9f);
    Approach(v.leftFootSize, v.leftFootSizeGoal, 0.9f);
    Approach(v.rightHandSize, v.rightHandSizeGoal, 0.8f);
    Approach(v.leftHandSize, v.leftHandSizeGoal, 0.8f);
    Approach(v.eyesPosition, v.eyesPositionGoal, 0.8f);
    Approach(v.leftEyeSize, v.leftEyeSizeGoal, 0.8f);
    Approach(v.rightEyeSize, v.rightEyeSizeGoal, 0.8f);
    if (v.runCycle > kPi) v.runCycle -= kTwoPi;
    if (v.runCycle < -kPi) v.runCycle += kTwoPi;
}

void Trail(Variables& v, const D3DXVECTOR3 (&before)[6]) {
    for (int i = 0; i < kTrailLength; ++i) {
        if (v.trailAlpha[i] <= 0.001f) continue;
        v.trailAlpha[i] *= 0.88f;
        v.trailSize[i].x *= 0.95f;
        v.trailSize[i].y *= 0.95f;
    }
    if (v.spdBoost > 0.0f) {
        Part parts[6];
        Parts(v, parts);
        for (int p = 0; p < 6; ++p) {
            const D3DXVECTOR3 to = PartPlace(v, *parts[p].position);
            const D3DXVECTOR3& from = before[p];
            const float length = Length(to.x - from.x, to.y - from.y);
            const int n = 1 + static_cast<int>(16.0f * length);
            const D3DXVECTOR2 size(2.5f * parts[p].size->x * v.size.x, 2.5f * parts[p].size->y * v.size.y);
            for (int k = 1; k <= n; ++k) {
                const float t = static_cast<float>(k) / static_cast<float>(n);
                AddTrail(v, D3DXVECTOR3(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t, to.z), size, 0.3f);
            }
        }
    }
    v.oldPosition = v.position;
}

void SplatsAndBalls(Variables& v) {
    for (int i = 0; i < kSplatCount; ++i) v.splatAlpha[i] *= v.splatFade[i];
    const float gravity = GameVars().playerGravity;
    const LevelCollision& grid = GameVars().basicLevel;
    for (int i = 0; i < kBallCount; ++i) {
        if (v.ballPosition[i].y <= -1.0f) continue;
        v.ballVelocity[i].y = (v.ballVelocity[i].y + gravity) * 0.97f;
        v.ballPosition[i].x += v.ballVelocity[i].x;
        v.ballPosition[i].y += v.ballVelocity[i].y;
        if (!v.ballSplats[i]) continue;
        const int cell = grid.GetCell(v.ballPosition[i].x, v.ballPosition[i].y);
        if (cell < 1 || cell > 7) continue;
        const D3DXVECTOR3 at = v.ballPosition[i];
        const D3DXVECTOR2 size = v.ballSize[i];
        const float s = 3.0f * Length(v.ballVelocity[i].x, v.ballVelocity[i].y);
        for (int k = 0; k < 8; ++k) {
            const float ox = (Random() - 0.5f) * size.x;
            const float oy = (Random() - 0.5f) * size.y;
            const float vx = (0.2f * Random() - 0.1f) * s;
            const float vy = 0.2f * Random() * s;
            const float f = 0.3f * Random() + 0.6f;
            AddBall(v, D3DXVECTOR3(at.x + ox, at.y + oy, at.z), D3DXVECTOR2(vx, vy),
                    D3DXVECTOR2(f * size.x, f * size.y), false);
        }
        AddSplat(v, at, D3DXVECTOR2(4.0f * size.x, 4.0f * size.y), 1.0f, kTwoPi * Random(), 0.994f);
        v.ballPosition[i].y = -1.0f;
    }
}

}  // namespace

D3DXVECTOR3 PartPlace(const Variables& v, const D3DXVECTOR3& offset) {
    return D3DXVECTOR3(v.position.x + offset.x * v.size.x, v.position.y + offset.y * v.size.y, v.position.z + offset.z);
}

void Animate(Entity* self, Entity*) {
    Variables& v = Vars(self);
    if ((v.collisionflag & kCeiling) != 0 && v.oldVelocity.y > 0.0f) {
        v.headPosition.y = 0.2f;
        v.headSize = {0.6f, 0.37f};
    }
    if ((v.collisionflag & kFloor) != 0) {
        if (v.oldVelocity.y < 0.0f) {
            v.headPosition.y += v.oldVelocity.y;
            v.bodyPosition.y += v.oldVelocity.y;
            v.leftHandPosition.y += v.oldVelocity.y;
            v.rightHandPosition.y += v.oldVelocity.y;
        }
        if (v.leftFootPositionGoal.y <= -0.4f) v.leftFootSize = {0.24f, 0.16f};
        if (v.rightFootPositionGoal.y <= -0.4f) v.rightFootSize = {0.24f, 0.16f};
    }
    v.oldVelocity = v.velocity;
    UpdateLabel(v);
    if (v.grabbed > 0) {
        v.airRun = 0.0f;
        v.runCycle = 0.0f;
        v.rolling = true;
    }

    // Where the body pieces were before this frame, for the trail.
    Part parts[6];
    Parts(v, parts);
    D3DXVECTOR3 before[6];
    for (int p = 0; p < 6; ++p) {
        const D3DXVECTOR3 o = *parts[p].position;
        before[p] =
            D3DXVECTOR3(v.oldPosition.x + o.x * v.size.x, v.oldPosition.y + o.y * v.size.y, v.oldPosition.z + o.z);
    }

    Respawn(self);
    v.lightSize = v.lightSize * 0.9f + (1.0f - 0.9f);

    const float vx = v.velocity.x, vy = v.velocity.y;
    if (vx > 0.01f || (vy != 0.0f && (v.collisionflag & kWallRight) != 0))
        v.faceRight = true;
    else if (vx < 0.01f || (vy != 0.0f && (v.collisionflag & kWallLeft) != 0))
        v.faceRight = false;

    if (v.lookAt == 0) {
        const float speed = Length(vx, vy);
        if (speed < 0.01f) {
            float dx = v.focus.x * 0.02f, dy = v.focus.y * 0.02f;
            Limit(dx, dy, 0.12f);
            v.eyesPositionGoal.x = v.eyesPositionGoal.x * 0.95f + dx * (1.0f - 0.95f);
            v.eyesPositionGoal.y = v.eyesPositionGoal.y * 0.95f + dy * (1.0f - 0.95f);
        } else {
            float dx = vx * 1.2f, dy = vy * 1.2f;
            Limit(dx, dy, 0.12f);
            v.eyesPositionGoal.x = v.eyesPositionGoal.x * 0.92f + dx * (1.0f - 0.92f);
            v.eyesPositionGoal.y = v.eyesPositionGoal.y * 0.92f + dy * (1.0f - 0.92f);
        }
    }

    if (--v.blinkTime < 0) {
        v.leftEyeSize = v.rightEyeSize = {0.3f, 0.024f};
        v.blinkTime = (std::rand() & 3) == 0 ? std::rand() % 10 + 10 : std::rand() % 180 + 60;
    }
    const bool boosted = v.spdBoost > 0.0f;
    v.leftEyeSizeGoal = v.rightEyeSizeGoal = boosted ? D3DXVECTOR2(0.16f, 0.14f) : D3DXVECTOR2(0.12f, 0.12f);

    const float s = std::clamp(5.0f * Length(vx, vy), 0.05f, 0.7f);
    v.heartRate = v.heartRate * 0.999f + s * (1.0f - 0.999f);
    if (boosted) v.heartRate = 0.6f;
    v.breathing += v.heartRate;
    const float body = std::sin(v.breathing) * v.heartRate * 0.1f * (1.0f + 0.5f * (boosted ? 1.0f : 0.0f)) + 0.3f;
    v.bodySizeGoal = {body, body};
    v.leftHandSizeGoal = v.rightHandSizeGoal = v.leftFootSizeGoal = v.rightFootSizeGoal = {0.2f, 0.2f};

    Limbs(v);
    TurnAndSmooth(v);
    Trail(v, before);
    SplatsAndBalls(v);
}

void Draw(Entity* self, Entity*) {
    Variables& v = Vars(self);
    v.position.z = v.userControlled ? 0.0f : -25.0f * static_cast<float>(PlayerNumber(self) + 1);
    if (v.nameText != nullptr)
        if (float* z = FindVariable<float>(v.nameText, enum_z)) *z = v.position.z;
    const std::uint32_t outline = v.userControlled ? 0xFFCCCCCCu : 0xFF000000u;
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();

    if (v.deathDelay < 1) {
        const D3DXVECTOR3& head = v.headPosition;
        const D3DXVECTOR2& eyes = v.eyesPosition;
        const float eyeDepth = v.position.z + head.z + 0.01f;
        float e = 1.0f;
        if (v.explodeMe > 5.0f) {
            const float m = (v.explodeMe - 5.0f) / 5.0f;
            gameplayHooks.addFrame(v.position.x + (head.x + eyes.x) * v.size.x,
                                   v.position.y + ((eyes.y + head.y - 0.125f) - 0.05f * m) * v.size.y, eyeDepth,
                                   0.4f * v.size.x * m, -0.4f * v.size.y * m, 0.0f, "playerMouth", 0xFFFF4444u);
            e = 2.0f * (v.explodeMe - 5.0f) / 5.0f + 1.0f;
        }
        const float a = 0.05f * (1.0f + 0.75f * (e - 1.0f));
        const float eyeY = v.position.y + (head.y + eyes.y + 0.05f * (e - 1.0f)) * v.size.y;
        gameplayHooks.addFrame(v.position.x + (head.x + eyes.x - a) * v.size.x, eyeY, eyeDepth,
                               v.leftEyeSize.x * v.size.x * e, v.leftEyeSize.y * v.size.y * e, 0.0f, "playerEye",
                               0xFFFFFFFFu);
        gameplayHooks.addFrame(v.position.x + (head.x + eyes.x + a) * v.size.x, eyeY, eyeDepth,
                               v.rightEyeSize.x * v.size.x * e, v.rightEyeSize.y * v.size.y * e, 0.0f, "playerEye",
                               0xFFFFFFFFu);
        Part parts[6];
        Parts(v, parts);
        const Frame& light = FrameMap("light", 0, 0);
        for (const Part& part : parts) {
            const D3DXVECTOR3 at = PartPlace(v, *part.position);
            const float w = part.size->x * v.size.x, h = part.size->y * v.size.y;
            gameplayHooks.addFrame(at.x, at.y, at.z, w, h, 0.0f, "playerCircle",
                                   Scaled(v.playerColor, part.position->z));
            gameplayHooks.addFrame(at.x, at.y, at.z - 0.0075f, (part.size->x + 0.05f) * v.size.x,
                                   (part.size->y + 0.05f) * v.size.y, 0.0f, "playerCircle", outline);
            if (buffer != nullptr)
                buffer->AddFrameToLayer(0, at.x, at.y, at.z, w * 12.0f * v.lightSize, h * 12.0f * v.lightSize, 0.0f,
                                        light, -1);
        }
    }

    for (int i = 0; i < kTrailLength; ++i) {
        // A point whose alpha byte is 0 would draw nothing: it is not queued.
        if (v.trailAlpha[i] <= 0.001f || static_cast<int>(v.trailAlpha[i] * 255.0f) == 0) continue;
        const D3DXVECTOR3& p = v.trailPosition[i];
        gameplayHooks.addFrame(p.x, p.y, p.z - 0.01f, v.trailSize[i].x, v.trailSize[i].y, 0.0f, "firefly",
                               WithAlpha(v.playerColor, v.trailAlpha[i]));
    }

    if (buffer != nullptr) {
        const Frame& splat = FrameMap("playerSplat", 0, 0);
        for (int i = 0; i < kSplatCount; ++i) {
            if (v.splatAlpha[i] <= 0.01f) continue;
            const D3DXVECTOR3& p = v.splatPosition[i];
            buffer->AddTile(5, p.x, p.y, p.z - 0.01f, v.splatSize[i].x, v.splatSize[i].y, v.splatRotation[i], splat,
                            static_cast<int>(WithAlpha(v.playerColor, v.splatAlpha[i])));
        }
    }

    Entity* camera = self->GetMyObject("Camera");
    if (camera == nullptr) return;
    const D3DXVECTOR3* centre = FindVariable<D3DXVECTOR3>(camera, enum_position);
    const float* scale = FindVariable<float>(camera, enum_scale);
    if (centre == nullptr || scale == nullptr) return;
    const float hw = 0.5f * *scale * gameplayHooks.aspect(), hh = 0.5f * *scale;
    const std::uint32_t paint = Scaled(v.playerColor, 0.75f);
    for (int n = 0; n < kBallCount; ++n) {
        const int i = static_cast<int>((static_cast<unsigned>(v.ballCurrent) + static_cast<unsigned>(n)) % kBallCount);
        const D3DXVECTOR3& p = v.ballPosition[i];
        if (p.y <= -1.0f) continue;
        const D3DXVECTOR2& s = v.ballSize[i];
        if (std::fabs(p.x - centre->x) > hw + 0.5f * s.x || std::fabs(p.y - centre->y) > hh + 0.5f * s.y) continue;
        gameplayHooks.addFrame(p.x, p.y, p.z, s.x, s.y, 0.0f, "playerCircle", paint);
        if (v.ballSplats[i])
            gameplayHooks.addFrame(p.x, p.y, p.z - 0.0075f, s.x + 0.025f, s.y + 0.025f, 0.0f, "playerCircle", outline);
    }
}

}  // namespace ObjectData::Player
