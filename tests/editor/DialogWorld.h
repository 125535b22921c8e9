#pragma once
// Test helper: the level editor with its dialogs, each opened from the tool
// bar in a state of its own and run frame by frame beside the editor as the
// game thread runs every state; the newest window has the input focus.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "editor/EditorDialog.h"
#include "editor/EditorWorld.h"
#include "editor/OpenLevelList.h"
#include "widgets/SingleLineTextBox.h"
#include "widgets/TabManager.h"

namespace editortest {

class DialogWorld : public EditorWorld {
protected:
    void SetUp() override {
        EditorWorld::SetUp();
        StandInTestPlay();
        // The newest window has the focus, as a dialog's window takes it
        // from the editor's: keys and clicks reach only its state.
        GiveTheNewestStateTheFocus();
    }

    void AllClick(float x, float y) {
        PointAt(x, y);
        AllFrame();
        LeftButton(true);
        AllFrame();
        LeftButton(false);
        AllFrame();
    }

    // The running state that shows level, or null.
    static State* Showing(const std::string& level) {
        for (State* s : State::_list)
            if (s->GetLevelName() == level && !s->Deleted()) return s;
        return nullptr;
    }

    // Opens a dialog with its tool-bar button and returns its state.
    State* OpenDialog(const std::string& level) {
        static const std::map<std::string, std::pair<float, float>> kButtons = {
            {"LevelEditorCreate", {-0.72f, 0.42f}},
            {"LevelEditorLoad", {-0.62f, 0.42f}},
            {"LevelEditorCreateAs", {-0.62f, 0.32f}},
            {"LevelEditorResize", {0.77f, -0.275f}},
        };
        const auto [x, y] = kButtons.at(level);
        AllClick(x, y);
        dialog = Showing(level);
        EXPECT_NE(dialog, nullptr) << level << " did not open";
        return dialog;
    }

    Entity* InDialog(const char* name) const { return dialog->GetLevel()->GetMyObject(name); }
    void SetBox(const char* name, const std::string& text) {
        auto* box = ObjectData::SingleLineTextBox::Find(InDialog(name));
        ASSERT_NE(box, nullptr) << name;
        ObjectData::Text::Find(box->textObject)->text = text;
    }
    // Fills the boxes, lets the dialog copy them, and presses its confirm button.
    void Confirm(float x = 0.4f, float y = -0.4f) {
        AllFrame();
        AllClick(x, y);
    }
    bool DialogOpen() const {
        for (State* s : State::_list)
            if (s == dialog) return true;
        return false;
    }
    std::string DialogMessage() const { return EditorDialog::Message(dialog->GetLevel()); }

    // The dialog's focus order: each text box by its name, each button by its picture.
    std::vector<std::string> TabOrder() const {
        auto* tabs = ObjectData::TabManager::Find(InDialog("TabManager"));
        std::vector<std::string> order;
        if (tabs == nullptr) return order;
        for (Entity* e : tabs->objectList) {
            const char** picture = FindVariable<const char*>(e, enum_texture);
            const bool box = ObjectData::SingleLineTextBox::Find(e) != nullptr;
            order.push_back(box || picture == nullptr || *picture == nullptr ? e->GetName() : *picture);
        }
        return order;
    }

    // Every file of the level folder with its bytes.
    std::map<std::string, std::vector<unsigned char>> Tree() const {
        std::map<std::string, std::vector<unsigned char>> tree;
        for (const std::string& name : folder.List()) tree[name] = folder.Read(name);
        return tree;
    }

    State* dialog = nullptr;
};

}  // namespace editortest
