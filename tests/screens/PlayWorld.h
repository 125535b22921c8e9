#pragma once
// Test helper: the registered object and level types in a clean entity world,
// the six engines a play level takes (plain ones: no window, no network), the
// built-in level order, scripted controls and recorded hooks, and stand-ins
// for the screens a play level goes on to while those are not registered.
#include <gtest/gtest.h>

#include <string>

#include "collision/SolverData.h"
#include "networking/Match.h"
#include "objects/LevelObjectHooks.h"
#include "objects/ObjectWorld.h"
#include "screens/PlayLevel.h"
#include "screens/SinglePlayer.h"
#include "screens/Transition.h"

namespace playtest {

struct NetRecord {
    std::vector<D3DXVECTOR2> checkpoints;
    int nextLevels = 0;
    int syncs = 0;
    bool server = false;
};

inline NetRecord& Net() {
    static NetRecord record;
    return record;
}

inline bool& PauseHeld() {
    static bool held = false;
    return held;
}
inline bool& BackHeld() {
    static bool held = false;
    return held;
}

class PlayWorld : public world::EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        objtest::InstallFakes();
        Net() = NetRecord{};
        levelObjectHooks.sendSetCheckPoint = [](const D3DXVECTOR2& p) { Net().checkpoints.push_back(p); };
        levelObjectHooks.sendNextLevel = [] { ++Net().nextLevels; };
        levelObjectHooks.isServer = [] { return Net().server; };
        levelObjectHooks.addNextLevelSync = [] { ++Net().syncs; };
        PauseHeld() = false;
        BackHeld() = false;
        PlayLevel::controls.pause = [] { return PauseHeld(); };
        PlayLevel::controls.back = [] { return BackHeld(); };
        PlayLevel::controls.menuPause = [] { return PauseHeld(); };
        PlayLevel::controls.networkGame = [] { return false; };
        ObjectData::Transition::ResetHooks();
        ObjectData::Transition::hooks.resolution = [] { return objtest::Recorded().aspect; };

        Object::_FirstInit();
        for (const char* name :
             {"PreCameraUpdate", "Behavior", "PostCameraUpdate", "NetworkingUpdate", "GraphicsUpdate"})
            world::RegisterEngine(name);
        if (drawn) world::RegisterEngine("GraphicsDraw");
        Level::_FirstInit();
        for (const char* name : {"SPResults", "MainMenu", "LevelEditor", "LoadingLevel"})
            if (!Level::_IsRegistered(name)) world::RegisterLevel(name);

        LevelOrder.assign(BuiltInLevelNames.begin(), BuiltInLevelNames.end());
        CurrentLevelIndex = 0;
        GamePaused = false;
        SolverObjectList.clear();
    }
    void TearDown() override {
        EntityWorld::TearDown();
        ResetGameplayHooks();
        ResetPlayerDevices();
        ResetLevelObjectHooks();
        PlayLevel::ResetControls();
        ObjectData::Transition::ResetHooks();
        LevelOrder.clear();
        CurrentLevelIndex = 0;
        GamePaused = false;
        SolverObjectList.clear();
    }

    // One game frame with the game loop's end-of-frame removal; the scripted
    // controls then age by a frame. The recorded quads are those of this
    // frame (kept from every frame, a long run's would take gigabytes).
    void Frame() {
        objtest::Recorded().quads.clear();
        state->Update();
        State::RemoveDeletedObjects();
        objtest::Held().NextFrame();
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }

    // The objects of the state of type.
    std::vector<Object*> OfType(const std::string& type) const {
        std::vector<Object*> found;
        for (Object* object : state->Objects())
            if (!object->_Deleted() && object->GetType() == type) found.push_back(object);
        return found;
    }

    Entity* Player() const {
        return state->GetLevel() != nullptr ? state->GetLevel()->GetMyObject("Player_0") : nullptr;
    }

    State* state = nullptr;
    // Whether the play level's objects are drawn each frame; a fixture that
    // only follows the play leaves it out (set before SetUp).
    bool drawn = true;
};

}  // namespace playtest
