#include "objects/Player.h"
#include "objects/PlayerDrawing.h"

#include <cstring>

#include "framework/GameVariables.h"
#include "framework/Object.h"
#include "objects/GameplayHooks.h"
#include "objects/PlayerNetwork.h"

namespace ObjectData::Player {

namespace {

VariableOffsetTable table;

// The name label: a "Text" object above the body, when that type exists.
Object* MakeNameLabel(Entity* self, const Variables& v) {
    if (Object::_FindPrototype("Text") == nullptr && Object::_exobjects.count("Text") == 0) return nullptr;
    Object* label = Object::MakeCopy(self->_state, "Text", "");
    if (label == nullptr) return nullptr;
    auto set = [label](int number, auto value) {
        using T = decltype(value);
        if (T* variable = FindVariable<T>(label, number)) *variable = value;
    };
    // Letters half a body high, centred on the label's line above the head:
    // a full body's height made neighbouring players' names run into each
    // other and hang down onto the body.
    set(enum_charHeight, kNameLabelHeight);
    set(enum_width, 100000.0f);
    set(enum_fixedWidth, false);
    set(enum_multiLine, false);
    set(enum_font, std::string("ashleyscriptmtstd"));
    set(enum_hAlign, std::int32_t{1});
    set(enum_vAlign, std::int32_t{1});
    set(enum_colorize, true);
    set(enum_text, v.playerName);
    set(enum_x, v.position.x);
    set(enum_y, v.position.y + 1.0f);
    set(enum_z, 50.0f);
    set(enum_primaryColor, v.playerColor);
    return label;
}

// The copy step: every variable from the source, then "Load". The speed-zone
// map and the name label stay the source's own: the copy's "Load" gives the
// copy new ones.
void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<Variables>(copy, source);
    Vars(copy).speedZone = nullptr;
    Vars(copy).nameText = nullptr;
    copy->DoEvent("Load");
}

}  // namespace

bool IsPlayer(const Entity* entity) { return entity != nullptr && entity->_map == table; }

Variables& Vars(Entity* player) { return VariablesOf<Variables>(player); }

void DropNetworking(Entity* player) {
    Variables& v = Vars(player);
    v.networked = false;
    if (v.nameText != nullptr) {
        v.nameText->_Delete();
        v.nameText = nullptr;
    }
}

Entity* FindPlayer(const Entity* self, int number) {
    if (number < 0 || number > 15) return nullptr;
    Entity* found = self->GetMyObject(PlayerObjectName(number).c_str());
    return IsPlayer(found) ? found : nullptr;
}

void Load(Entity* self, Entity*) {
    Variables& v = Vars(self);
    // A "Load" raised again replaces the label it made before.
    if (v.nameText != nullptr) v.nameText->_Delete();
    v.nameText = MakeNameLabel(self, v);

    // A "Load" raised again gives back the map it made before.
    delete[] v.speedZone;
    v.speedZone = new unsigned char[kSpeedZoneBytes]();

    v.collision.Clear();
    v.collision.AddRectangle(-0.33f * v.size.x, 0.33f * v.size.x, 0.5f * v.size.y, -0.5f * v.size.y);

    if (v.OwnerID == -1 || v.OwnerID == gameplayHooks.clientId()) {
        const GameData::TheGame::GameVariables& game = GameVars();
        v.playerColor = 0xFF000000u | (static_cast<std::uint32_t>(game.playerRed) & 255u) << 16 |
                        (static_cast<std::uint32_t>(game.playerGreen) & 255u) << 8 |
                        (static_cast<std::uint32_t>(game.playerBlue) & 255u);
    }

    for (float& alpha : v.trailAlpha) alpha = 0.0f;
    for (float& alpha : v.splatAlpha) alpha = 0.0f;
    for (D3DXVECTOR3& ball : v.ballPosition) ball.y = -1.0f;

    v.score = 0;
    const std::string& name = self->GetName();
    if (name.size() >= 8 && name[7] >= '0' && name[7] <= '?') v.score = GameVars().playerScores[name[7] - '0'];
}

// The name label goes with its player: a replaced or departed player leaves
// no name floating where it last stood.
void Unload(Entity* self, Entity*) {
    Variables& v = Vars(self);
    delete[] v.speedZone;
    v.speedZone = nullptr;
    if (v.nameText != nullptr) {
        v.nameText->_Delete();
        v.nameText = nullptr;
    }
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Player", table, &Copy);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", &Animate);
    prototype->_TempAddEngine("GraphicsDraw", &Draw);

    // The network roles bind their own handlers over these names.
    prototype->_AddEvent("ClientBehavior", &ClientBehavior);
    prototype->_AddEvent("SetClientBehavior", &SetClientBehavior);
    prototype->_AddEvent("KillUnowned", &KillUnowned);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", &Unload);
    prototype->_AddEvent("OnNewPlayer", &OnNewPlayer);
    prototype->_AddEvent("LevelEnd", &LevelEnd);
    prototype->_AddEvent("OnDeath", &OnDeath);
    prototype->_AddEvent("UpdateBehavior", &UpdateBehavior);

    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    const _DATA& p = *prototype;
    BindVariable(table, p, enum_nameText, v.nameText);
    BindVariable(table, p, enum_explodeMe, v.explodeMe);
    BindVariable(table, p, enum_score, v.score);
    BindVariable(table, p, enum_grabbed, v.grabbed);
    BindVariable(table, p, enum_grabbing, v.grabbing);
    BindVariable(table, p, enum_grabbedBy, v.grabbedBy);
    BindVariable(table, p, enum_grabSize, v.grabSize);
    BindVariable(table, p, enum_throwSpeed, v.throwSpeed);
    BindVariable(table, p, enum_deathDelay, v.deathDelay);
    BindVariable(table, p, enum_networked, v.networked);
    BindVariable(table, p, enum_OwnerID, v.OwnerID);
    BindVariable(table, p, enum_position, v.position);
    BindVariable(table, p, enum_oldPosition, v.oldPosition);
    BindVariable(table, p, enum_velocity, v.velocity);
    BindVariable(table, p, enum_oldVelocity, v.oldVelocity);
    BindVariable(table, p, enum_wallJump, v.wallJump);
    BindVariable(table, p, enum_wallJumpLength, v.wallJumpLength);
    BindVariable(table, p, enum_size, v.size);
    BindVariable(table, p, enum_currentCheckpoint, v.currentCheckpoint);
    BindVariable(table, p, enum_jumpVelocity, v.jumpVelocity);
    BindVariable(table, p, enum_collisionflag, v.collisionflag);
    BindVariable(table, p, enum_Hotspots, v.Hotspots);
    BindVariable(table, p, enum_frame, v.frame);
    BindVariable(table, p, enum_collision, v.collision);
    BindVariable(table, p, enum_easyJump, v.easyJump);
    BindVariable(table, p, enum_jumpForgiveness, v.jumpForgiveness);
    BindVariable(table, p, enum_easyWallJump, v.easyWallJump);
    BindVariable(table, p, enum_wallJumpForgiveness, v.wallJumpForgiveness);
    BindVariable(table, p, enum_lightSize, v.lightSize);
    BindVariable(table, p, enum_landed, v.landed);
    BindVariable(table, p, enum_camChangeY, v.camChangeY);
    BindVariable(table, p, enum_camY, v.camY);
    BindVariable(table, p, enum_focus, v.focus);
    BindVariable(table, p, enum_newFocus, v.newFocus);
    BindVariable(table, p, enum_cameraPosition, v.cameraPosition);
    BindVariable(table, p, enum_playerColor, v.playerColor);
    BindVariable(table, p, enum_playerName, v.playerName);
    BindVariable(table, p, enum_headPosition, v.headPosition);
    BindVariable(table, p, enum_headPositionGoal, v.headPositionGoal);
    BindVariable(table, p, enum_headSize, v.headSize);
    BindVariable(table, p, enum_headSizeGoal, v.headSizeGoal);
    BindVariable(table, p, enum_bodyPosition, v.bodyPosition);
    BindVariable(table, p, enum_bodyPositionGoal, v.bodyPositionGoal);
    BindVariable(table, p, enum_bodySize, v.bodySize);
    BindVariable(table, p, enum_bodySizeGoal, v.bodySizeGoal);
    BindVariable(table, p, enum_rightHandPosition, v.rightHandPosition);
    BindVariable(table, p, enum_rightHandPositionGoal, v.rightHandPositionGoal);
    BindVariable(table, p, enum_rightHandSize, v.rightHandSize);
    BindVariable(table, p, enum_rightHandSizeGoal, v.rightHandSizeGoal);
    BindVariable(table, p, enum_leftHandPosition, v.leftHandPosition);
    BindVariable(table, p, enum_leftHandPositionGoal, v.leftHandPositionGoal);
    BindVariable(table, p, enum_leftHandSize, v.leftHandSize);
    BindVariable(table, p, enum_leftHandSizeGoal, v.leftHandSizeGoal);
    BindVariable(table, p, enum_rightFootPosition, v.rightFootPosition);
    BindVariable(table, p, enum_rightFootPositionGoal, v.rightFootPositionGoal);
    BindVariable(table, p, enum_rightFootSize, v.rightFootSize);
    BindVariable(table, p, enum_rightFootSizeGoal, v.rightFootSizeGoal);
    BindVariable(table, p, enum_leftFootPosition, v.leftFootPosition);
    BindVariable(table, p, enum_leftFootPositionGoal, v.leftFootPositionGoal);
    BindVariable(table, p, enum_leftFootSize, v.leftFootSize);
    BindVariable(table, p, enum_leftFootSizeGoal, v.leftFootSizeGoal);
    BindVariable(table, p, enum_leftEyeSize, v.leftEyeSize);
    BindVariable(table, p, enum_rightEyeSize, v.rightEyeSize);
    BindVariable(table, p, enum_leftEyeSizeGoal, v.leftEyeSizeGoal);
    BindVariable(table, p, enum_rightEyeSizeGoal, v.rightEyeSizeGoal);
    BindVariable(table, p, enum_eyesPosition, v.eyesPosition);
    BindVariable(table, p, enum_eyesPositionGoal, v.eyesPositionGoal);
    BindVariable(table, p, enum_lookAt, v.lookAt);
    BindVariable(table, p, enum_blinkTime, v.blinkTime);
    BindVariable(table, p, enum_spdBoost, v.spdBoost);
    BindVariable(table, p, enum_speedBoostLength, v.speedBoostLength);
    BindVariable(table, p, enum_faceRight, v.faceRight);
    BindVariable(table, p, enum_facingRight, v.facingRight);
    BindVariable(table, p, enum_runCycle, v.runCycle);
    BindVariable(table, p, enum_airRun, v.airRun);
    BindVariable(table, p, enum_heartRate, v.heartRate);
    BindVariable(table, p, enum_breathing, v.breathing);
    BindVariable(table, p, enum_hoverTime, v.hoverTime);
    BindVariable(table, p, enum_startTime, v.startTime);
    BindVariable(table, p, enum_currentTime, v.currentTime);
    BindVariable(table, p, enum_timeInRace, v.timeInRace);
    BindVariable(table, p, enum_rolling, v.rolling);
    BindVariable(table, p, enum_userControlled, v.userControlled);
    BindVariable(table, p, enum_splatOffset, v.splatOffset);
    BindVariable(table, p, enum_trailPosition, v.trailPosition);
    BindVariable(table, p, enum_trailSize, v.trailSize);
    BindVariable(table, p, enum_trailAlpha, v.trailAlpha);
    BindVariable(table, p, enum_trailCurrent, v.trailCurrent);
    BindVariable(table, p, enum_splatPosition, v.splatPosition);
    BindVariable(table, p, enum_splatSize, v.splatSize);
    BindVariable(table, p, enum_splatRotation, v.splatRotation);
    BindVariable(table, p, enum_splatAlpha, v.splatAlpha);
    BindVariable(table, p, enum_splatFade, v.splatFade);
    BindVariable(table, p, enum_splatCurrent, v.splatCurrent);
    BindVariable(table, p, enum_ballPosition, v.ballPosition);
    BindVariable(table, p, enum_ballVelocity, v.ballVelocity);
    BindVariable(table, p, enum_ballSplats, v.ballSplats);
    BindVariable(table, p, enum_ballSize, v.ballSize);
    BindVariable(table, p, enum_ballCurrent, v.ballCurrent);
    BindVariable(table, p, enum_nodrag, v.nodrag);
    BindVariable(table, p, enum_jumpPressed, v.jumpPressed);
    BindVariable(table, p, enum_jumpTriggered, v.jumpTriggered);
    BindVariable(table, p, enum_leftPressed, v.leftPressed);
    BindVariable(table, p, enum_rightPressed, v.rightPressed);
    BindVariable(table, p, enum_upPressed, v.upPressed);
    BindVariable(table, p, enum_downPressed, v.downPressed);
    BindVariable(table, p, enum_grabTriggered, v.grabTriggered);
    BindVariable(table, p, enum_grabPressed, v.grabPressed);
    BindVariable(table, p, enum_speedZone, v.speedZone);
}

}  // namespace ObjectData::Player
