#pragma once
// Test helper: the real screens (every registered level type) in a widget
// world driven by real key and mouse events through the input layer, with
// the user data folder in a temporary folder (every level switch saves) and
// a plain "MainMenu" standing in for the real one, so that a test sees where
// a screen goes without building the menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Level.h"
#include "support/TempUserFolder.h"
#include "support/WidgetWorld.h"
#include "widgets/Text.h"

namespace screentest {

class ScreenWorld : public widgettest::WidgetWorld {
protected:
    void SetUp() override {
        WidgetWorld::SetUp();
        Level::_FirstInit();
        Stub("MainMenu");
    }

    // Replaces (or adds) a level type by a plain level that builds nothing.
    static void Stub(const char* name) {
        auto found = Level::_levels.find(name);
        if (found != Level::_levels.end() && found->second != nullptr) {
            Entity::_Destroy(found->second);
            Level::_levels.erase(found);
        }
        world::RegisterLevel(name);
    }

    // Switches the state to a level and runs one frame (the switch happens
    // at the frame's start, the level's first "Update" follows).
    void Open(const char* level) {
        State::SetLevel(state, level);
        Frame();
    }
    std::string LevelName() const { return state->GetLevelName(); }

    std::vector<Object*> OfType(const std::string& type) const {
        std::vector<Object*> found;
        for (Object* object : state->Objects())
            if (!object->_Deleted() && object->GetType() == type) found.push_back(object);
        return found;
    }
    // The texts of the state's "Text" objects, in creation order.
    std::vector<ObjectData::Text::Variables*> Texts() const {
        std::vector<ObjectData::Text::Variables*> texts;
        for (Object* object : OfType("Text"))
            if (auto* v = ObjectData::Text::Find(object)) texts.push_back(v);
        return texts;
    }
    // The "Background" pictures of the state.
    std::vector<std::string> Backgrounds() const {
        std::vector<std::string> names;
        for (Object* object : OfType("Background"))
            if (const char* const* texture = FindVariable<const char*>(object, enum_texture)) names.push_back(*texture);
        return names;
    }

    TempUserFolder userFolder;
};

}  // namespace screentest
