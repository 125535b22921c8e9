#pragma once
// Test world for the game messages: an entity world with a current state and
// a registered object type, "Pawn", that carries every script variable the
// message callbacks read or write, and records the events raised on it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/GameVariables.h"
#include "networking/Match.h"
#include "networking/messages/MSG_LevelData.h"
#include "support/EntityWorld.h"

namespace gameworld {

struct PawnVariables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 oldPosition{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 cameraPosition{0.0f, 0.0f};
    D3DXVECTOR2 velocity{0.0f, 0.0f};
    D3DXVECTOR2 splatOffset{0.0f, 0.0f};
    D3DXVECTOR2 newBreak{0.0f, 0.0f};
    float spdBoost = 0.0f;
    float airRun = 0.0f;
    float throwSpeed = 0.3f;
    float deathDelay = 5.0f;
    float spring = 0.0f;
    std::int32_t score = 0;
    std::int32_t collisionflag = 0;
    std::int32_t grabbing = -1;
    std::int32_t grabbed = 0;
    std::int32_t grabbedBy = -1;
    std::int32_t grabSize = 5;
    std::int32_t OwnerID = -1;
    std::int32_t color = 0;
    std::uint32_t playerColor = 0;
    std::string playerName;
    bool rolling = false, upPressed = false, downPressed = false, rightPressed = false, leftPressed = false,
         grabPressed = false, grabTriggered = false, jumpPressed = false, jumpTriggered = false;
    bool follow = false;
    bool shardFollow = false;
    bool broken = false;
    bool networked = true;  // a pawn stands for a networked object unless cleared
};

struct Pawn : Object {
    Pawn() : Object(sizeof(Pawn)) {}
    double padding = 0.0;
    PawnVariables vars;
};

inline VariableOffsetTable& PawnTable() {
    static VariableOffsetTable table;
    return table;
}

// What the pawns heard: "<name>:<event>", and for "OnDeath" the y the pawn had then.
inline std::vector<std::string>& Heard() {
    static std::vector<std::string> heard;
    return heard;
}

template <const char* Event>
void Hear(Entity* self, Entity*) {
    Heard().push_back(self->GetName() + ":" + Event);
}

inline constexpr char kOnDeath[] = "OnDeath";
inline constexpr char kExplode[] = "Explode";
inline constexpr char kAddParticles[] = "AddParticles";
inline constexpr char kSetClientBehavior[] = "SetClientBehavior";
inline constexpr char kLevelEnd[] = "LevelEnd";
inline constexpr char kFadeToNextLevel[] = "FadeToNextLevel";
inline constexpr char kSetCheckPoint[] = "SetCheckPoint";

inline void HearDeath(Entity* self, Entity*) {
    auto& v = VariablesOf<PawnVariables>(self);
    Heard().push_back(self->GetName() + ":OnDeath y=" + std::to_string(v.position.y) +
                      " delay=" + std::to_string(v.deathDelay));
}

inline void CopyPawn(Entity* copy, const Entity* source) {
    ConstructVariables<PawnVariables>(copy, source);
    copy->DoEvent("Load");
}

inline Pawn* RegisterPawn(const char* typeName) {
    auto* p = new Pawn();
    p->_SetName(typeName);
    p->_copy = &CopyPawn;
    p->_free = &Entity::_CallUnload;
    VariableOffsetTable& t = PawnTable();
    ClearVariableTable(t);
    p->_map = t;
    p->_startVar = reinterpret_cast<char*>(&p->vars);
    PawnVariables& v = p->vars;
    BindVariable(t, *p, enum_position, v.position);
    BindVariable(t, *p, enum_oldPosition, v.oldPosition);
    BindVariable(t, *p, enum_cameraPosition, v.cameraPosition);
    BindVariable(t, *p, enum_velocity, v.velocity);
    BindVariable(t, *p, enum_splatOffset, v.splatOffset);
    BindVariable(t, *p, enum_newBreak, v.newBreak);
    BindVariable(t, *p, enum_spdBoost, v.spdBoost);
    BindVariable(t, *p, enum_airRun, v.airRun);
    BindVariable(t, *p, enum_throwSpeed, v.throwSpeed);
    BindVariable(t, *p, enum_deathDelay, v.deathDelay);
    BindVariable(t, *p, enum_spring, v.spring);
    BindVariable(t, *p, enum_score, v.score);
    BindVariable(t, *p, enum_collisionflag, v.collisionflag);
    BindVariable(t, *p, enum_grabbing, v.grabbing);
    BindVariable(t, *p, enum_grabbed, v.grabbed);
    BindVariable(t, *p, enum_grabbedBy, v.grabbedBy);
    BindVariable(t, *p, enum_grabSize, v.grabSize);
    BindVariable(t, *p, enum_OwnerID, v.OwnerID);
    BindVariable(t, *p, enum_color, v.color);
    BindVariable(t, *p, enum_playerColor, v.playerColor);
    BindVariable(t, *p, enum_playerName, v.playerName);
    BindVariable(t, *p, enum_rolling, v.rolling);
    BindVariable(t, *p, enum_upPressed, v.upPressed);
    BindVariable(t, *p, enum_downPressed, v.downPressed);
    BindVariable(t, *p, enum_rightPressed, v.rightPressed);
    BindVariable(t, *p, enum_leftPressed, v.leftPressed);
    BindVariable(t, *p, enum_grabPressed, v.grabPressed);
    BindVariable(t, *p, enum_grabTriggered, v.grabTriggered);
    BindVariable(t, *p, enum_jumpPressed, v.jumpPressed);
    BindVariable(t, *p, enum_jumpTriggered, v.jumpTriggered);
    BindVariable(t, *p, enum_follow, v.follow);
    BindVariable(t, *p, enum_shardFollow, v.shardFollow);
    BindVariable(t, *p, enum_broken, v.broken);
    BindVariable(t, *p, enum_networked, v.networked);
    p->_AddEvent("OnDeath", &HearDeath);
    p->_AddEvent("Explode", &Hear<kExplode>);
    p->_AddEvent("AddParticles", &Hear<kAddParticles>);
    p->_AddEvent("SetClientBehavior", &Hear<kSetClientBehavior>);
    Object::_IncludeObject(typeName, p);
    p->_type = typeName;
    return p;
}

// An entity world whose current state plays the level "Match", with the
// "Pawn" type registered and the match globals at their start values.
class GameWorld : public world::EntityWorld {
protected:
    void SetUp() override {
        world::EntityWorld::SetUp();
        Heard().clear();
        RegisterPawn("Pawn");
        state = NewState("Match");
        state->currentLevelName = "Match";
        state->nextLevelName = "Match";
        State::_currentState = state;
        ResetMatch();
    }
    void TearDown() override {
        State::_currentState = nullptr;
        ResetMatch();
        world::EntityWorld::TearDown();
    }
    static void ResetMatch() {
        CurrentLevelName.clear();
        LevelOrder.clear();
        MatchLevelCount = 0;
        CurrentLevelIndex = 0;
        Networking::NetMessage::MSG_LevelData::ResetTransfer();
    }

    Object* Spawn(const std::string& name) { return Object::MakeCopy(state, "Pawn", name.c_str()); }
    static PawnVariables& V(Entity* e) { return VariablesOf<PawnVariables>(e); }
    static GameData::TheGame::GameVariables& G() { return GameVars(); }

    State* state = nullptr;
};

}  // namespace gameworld
