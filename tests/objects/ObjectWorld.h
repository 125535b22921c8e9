#pragma once
// Test helper: the real object types registered in a clean entity world, a
// play level with the engines a play level takes, level grids drawn as text,
// scripted controls, and a record of what the objects asked of the renderer,
// the sound engine, the rumbling devices and the network.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/GameVariables.h"
#include "framework/LevelCollision.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"
#include "objects/PlayerInput.h"
#include "support/EntityWorld.h"
#include "support/LevelText.h"

namespace objtest {

struct Quad {
    bool background = false;
    float x, y, z, width, height, rotation;
    std::string texture;
    const char* texturePointer;
    std::uint32_t colour;
};

struct Record {
    std::vector<Quad> quads;
    std::vector<PlayerMessage> messages;
    std::vector<int> sounds;
    std::vector<unsigned> remoteRumbles, padRumbles, padLightRumbles;
    float cameraX = 0.0f, cameraY = 0.0f, r = 1.0f, aspect = 1.0f;
    int clientId = 0;

    std::vector<PlayerMessage> Sent(PlayerMessage::Kind kind) const {
        std::vector<PlayerMessage> found;
        for (const PlayerMessage& m : messages)
            if (m.kind == kind) found.push_back(m);
        return found;
    }
    int SoundCount(int sound) const {
        int n = 0;
        for (int s : sounds) n += s == sound ? 1 : 0;
        return n;
    }
};

inline Record& Recorded() {
    static Record record;
    return record;
}

// Scripted controls: what is held this frame; a key or button is triggered
// when it is held now and was not in the previous frame.
struct Controls {
    std::set<unsigned char> keys, previousKeys;
    std::set<unsigned char> buttons, previousButtons;
    std::uint16_t pad = 0, remote = 0;
    short stickX = 0, stickY = 0;

    // Moves this frame's holds into the previous frame's.
    void NextFrame() {
        previousKeys = keys;
        previousButtons = buttons;
    }
};

inline Controls& Held() {
    static Controls controls;
    return controls;
}

inline void InstallFakes() {
    Recorded() = Record{};
    Held() = Controls{};
    ResetGameplayHooks();
    gameplayHooks.camera = [](float& x, float& y, float& r) {
        x = Recorded().cameraX;
        y = Recorded().cameraY;
        r = Recorded().r;
    };
    gameplayHooks.aspect = [] { return Recorded().aspect; };
    gameplayHooks.addFrame = [](float x, float y, float z, float w, float h, float rot, const char* t,
                                std::uint32_t c) {
        Recorded().quads.push_back({false, x, y, z, w, h, rot, t != nullptr ? t : "", t, c});
    };
    gameplayHooks.addBackground = [](float x, float y, float z, float w, float h, float rot, const char* t,
                                     std::uint32_t c) {
        Recorded().quads.push_back({true, x, y, z, w, h, rot, t != nullptr ? t : "", t, c});
    };
    gameplayHooks.playSound = [](AudioList sound, float) { Recorded().sounds.push_back(sound); };
    gameplayHooks.setMusicChannelVolume = [](int, float) {};
    gameplayHooks.setMusicChannelFrequency = [](int, float) {};
    gameplayHooks.rumbleRemote = [](unsigned ms) { Recorded().remoteRumbles.push_back(ms); };
    gameplayHooks.vibratePad = [](unsigned ms) { Recorded().padRumbles.push_back(ms); };
    gameplayHooks.lightVibratePad = [](unsigned ms) { Recorded().padLightRumbles.push_back(ms); };
    gameplayHooks.clientId = [] { return Recorded().clientId; };
    gameplayHooks.send = [](const PlayerMessage& m) { Recorded().messages.push_back(m); };

    playerDevices.keyPressed = [](unsigned char k) { return Held().keys.count(k) != 0; };
    playerDevices.keyTriggered = [](unsigned char k) {
        return Held().keys.count(k) != 0 && Held().previousKeys.count(k) == 0;
    };
    playerDevices.mousePressed = [](unsigned char b) { return Held().buttons.count(b) != 0; };
    playerDevices.mouseTriggered = [](unsigned char b) {
        return Held().buttons.count(b) != 0 && Held().previousButtons.count(b) == 0;
    };
    playerDevices.padButtons = [] { return Held().pad; };
    playerDevices.stickX = [] { return Held().stickX; };
    playerDevices.stickY = [] { return Held().stickY; };
    playerDevices.remoteButtons = [] { return Held().remote; };
}

// Scan codes the tests press.
constexpr unsigned char kSpace = 57, kLeftKey = 203, kRightKey = 205, kDownKey = 208, kQ = 16;

inline void BuildPlayLevel(Entity*, const Entity*) {
    Engine::_MakeCopy("Behavior", 5.0);
    Engine::_MakeCopy("GraphicsUpdate", 1.05);
    Engine::_MakeCopy("GraphicsDraw", 1.0);
}

class ObjectWorld : public world::EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        InstallFakes();
        Object::_FirstInit();
        for (const char* name : {"Behavior", "GraphicsUpdate", "GraphicsDraw"}) world::RegisterEngine(name);
        world::RegisterLevel("Play", &BuildPlayLevel);
        state = NewState("Play");
    }
    void TearDown() override {
        EntityWorld::TearDown();
        ResetGameplayHooks();
        ResetPlayerDevices();
    }

    // One game frame of the state; the scripted controls then age by a frame.
    void Frame() {
        state->Update();
        Held().NextFrame();
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }

    Object* Make(const std::string& type, const char* name = "") { return Object::MakeCopy(state, type, name); }

    // A player standing at (x, y) (its centre), single-player unless told otherwise.
    Object* MakePlayer(const char* name, float x, float y, bool networked = false) {
        Object* player = Make("Player", name);
        ObjectData::Player::Variables& v = ObjectData::Player::Vars(player);
        v.position = {x, y, 0.0f};
        v.networked = networked;
        return player;
    }

    // The level's grid drawn as text (support/LevelText.h has the legend).
    void SetGrid(const std::vector<std::string>& rows) { GameVars().basicLevel = testsupport::LevelFromText(rows); }
    int Cell(float x, float y) { return GameVars().basicLevel.GetCell(x, y); }

    State* state = nullptr;
};

inline ObjectData::Player::Variables& P(Entity* player) { return ObjectData::Player::Vars(player); }

}  // namespace objtest
