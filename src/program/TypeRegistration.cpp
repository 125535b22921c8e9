// Registration at the top: the order the registries are filled in, and the
// rows each layer hands over. A type is registered by a row in its own
// layer's <Layer>Types() (e.g. src/widgets/WidgetTypes.cpp); its name must be
// in the order below. A listed name that no layer fills stays reserved: its
// row is skipped and the name answers null.
#include "program/TypeRegistration.h"

#include <cstring>
#include <vector>

#include "networking/NetworkingTypes.h"
#include "objects/ObjectTypes.h"
#include "platform/engines/PlatformEngines.h"
#include "screens/ScreenTypes.h"
#include "stencil/EditorTypes.h"
#include "widgets/WidgetTypes.h"

namespace {

// Object types, sorted by name without regard to case.
const char* const kObjectOrder[] = {
    "Background",
    "BoxTool",
    "BrushTool",
    "Button",
    "Camera",
    "CameraGraphic",
    "Checkpoint",
    "ColorizedBox",
    "Cursor",
    "CustomLevelSelector",
    "DragButton",
    "EditorButton",
    "ExplorerBotAI",
    "FakeBrokenTerrain",
    "FillTool",
    "Firefly",
    "Graphic",
    "GrassBlade",
    "GrassBladeDown",
    "GrassBladeLeft",
    "GrassBladeRight",
    "GrassManager",
    "Grid",
    "guiImage",
    "HSlider",
    "LevelEditorManager",
    "LevelEditorObjectList",
    "LevelGoal",
    "LevelGraphics",
    "LoadingLevelBackground",
    "MenuStars",
    "MoonShard",
    "MoveTool",
    "newButton",
    "OpenLevelList",
    "ParaBack",
    "Particle",
    "PausedHowToPlayImage",
    "PlayCounter",
    "Player",
    "PointSlider",
    "PosSizeDummy",
    "PseudoPara",
    "ResultCard",
    "ServerMenu",
    "ShatterMoon",
    "SideSpring",
    "SideSpring2",
    "SingleLineTextBox",
    "Slider",
    "SolverBotAI",
    "SpdBoost",
    "Spring",
    "StencilFuncProp",
    "StencilMenu",
    "StencilObjProp",
    "TabManager",
    "Text",
    "TextBox",
    "TextButton",
    "TextMsg",
    "TitleInstruction",
    "Transition",
    "VSlider",
    "WanderBotAI",
    "WindowGrid",
};

// Extended objects (name, base type), sorted by name without regard to case.
const ExObjectEntry kExObjectOrder[] = {
    {"AddStencilButton", "Button", nullptr},
    {"CancelButton", "Button", nullptr},
    {"ContinuePlaying", "Button", nullptr},
    {"counterToggleButton", "Button", nullptr},
    {"customGame", "TextButton", nullptr},
    {"CustomizeButton", "Button", nullptr},
    {"DisplayCharacter", "Player", nullptr},
    {"DisplayCharacterBack", "Graphic", nullptr},
    {"EditCursor", "Cursor", nullptr},
    {"EULAACCEPT", "Button", nullptr},
    {"EULADECLINE", "Button", nullptr},
    {"extendedButton", "TextButton", nullptr},
    {"Facebook", "Button", nullptr},
    {"FullScreenButton", "Button", nullptr},
    {"gridSliderH", "HSlider", nullptr},
    {"gridSliderV", "VSlider", nullptr},
    {"HeldButton", "Button", nullptr},
    {"hostGame", "Button", nullptr},
    {"Instructions", "Button", nullptr},
    {"joinGame", "Button", nullptr},
    {"LevelEditorCreateCancel", "Button", nullptr},
    {"LevelEditorCreateConfirm", "Button", nullptr},
    {"LevelEditorCreateConfirmSaveAs", "Button", nullptr},
    {"LevelEditorOpenCancel", "Button", nullptr},
    {"LevelEditorOpenConfirm", "Button", nullptr},
    {"LevelEditorResizeConfirm", "Button", nullptr},
    {"ListButton", "TextButton", nullptr},
    {"lvEditorBox", "Button", nullptr},
    {"lvEditorBucket", "Button", nullptr},
    {"lvEditorCircle", "Button", nullptr},
    {"lvEditorFill", "Button", nullptr},
    {"lvEditorGrid", "Grid", nullptr},
    {"lvEditorMoveButton", "Button", nullptr},
    {"lvEditorNew", "Button", nullptr},
    {"lvEditorOpen", "Button", nullptr},
    {"lvEditorPencil", "Button", nullptr},
    {"lvEditorPlay", "Button", nullptr},
    {"lvEditorResize", "Button", nullptr},
    {"lvEditorSave", "Button", nullptr},
    {"lvEditorSaveAs", "Button", nullptr},
    {"lvEditorSettings", "Button", nullptr},
    {"lvEditorZoom", "Button", nullptr},
    {"MMCursor", "Cursor", nullptr},
    {"MMSuperCursor", "MMCursor", nullptr},
    {"NetCursor", "Cursor", nullptr},
    {"OpenButton", "Button", nullptr},
    {"PauseMenuHowToPlay", "TextButton", nullptr},
    {"PauseMenuResumeButton", "TextButton", nullptr},
    {"PauseMenuReturnMainMenu", "TextButton", nullptr},
    {"Quickstart", "TextButton", nullptr},
    {"Quit", "Button", nullptr},
    {"QuitButton", "Button", nullptr},
    {"quitToMainMenu", "TextButton", nullptr},
    {"resolutionToggleButton", "Button", nullptr},
    {"ReturnToPause", "Button", nullptr},
    {"rummbleToggleButton", "Button", nullptr},
    {"sliderA", "VSlider", nullptr},
    {"sliderB", "HSlider", nullptr},
    {"StartGame", "Button", nullptr},
    {"StartServer", "TextButton", nullptr},
    {"StencilButton", "Button", nullptr},
    {"TestSoundButton", "Button", nullptr},
    {"TitleCharacter", "Player", nullptr},
    {"toCredits", "TextButton", nullptr},
    {"toCustomize", "TextButton", nullptr},
    {"toInstructions", "TextButton", nullptr},
    {"toLvEditor", "TextButton", nullptr},
    {"toMMenu", "TextButton", nullptr},
    {"toMultiplayer", "TextButton", nullptr},
    {"toOptions", "TextButton", nullptr},
    {"toQuit", "TextButton", nullptr},
    {"toSingleplayer", "TextButton", nullptr},
    {"toWherever", "TextButton", nullptr},
    {"Twitter", "Button", nullptr},
    {"wiiToggleButton", "Button", nullptr},
    {"xboxToggleButton", "Button", nullptr},
};

const char* const kLevelOrder[] = {
    "Credits",
    "CreditsScreen",
    "Customize",
    "HalvernSplash",
    "Eula",
    "GameResults",
    "HowToPlayScreen",
    "InstanceEditor",
    "LevelEditor",
    "LevelEditorCreate",
    "LevelEditorCreateAs",
    "LevelEditorLoad",
    "LevelEditorResize",
    "LoadingLevel",
    "Lobby",
    "MainMenu",
    "MakeGame",
    "Multiplayer",
    "Options",
    "Profiler",
    "QuitConfirm",
    "QuitWindow",
    "Sandbox",
    "SinglePlayer",
    "SinglePlayerMenu",
    "SPResults",
    "StencilCodeBlock",
    "StencilEditor",
    "StencilFuncPropLevel",
    "StencilObjPropLevel",
    "TeamSplash",
    "TextEditor",
    "TitleScreen",
};

const char* const kEngineOrder[] = {
    "Behavior",     "Behavior2", "GameInput",        "GraphicsDraw",     "GraphicsUpdate",
    "GuiManager",   "Input",     "NetworkingUpdate", "PostCameraUpdate", "PreCameraUpdate",
    "ProfilerDraw", "Sound",     "WindowEngine",
};

template <class Entry>
const Entry* FindRow(const std::vector<TypeRows>& layers, std::span<const Entry> TypeRows::*table, const char* name) {
    for (const TypeRows& layer : layers)
        for (const Entry& row : layer.*table)
            if (std::strcmp(row.name, name) == 0) return &row;
    return nullptr;
}

struct Tables {
    std::vector<ObjectTypeEntry> objects;
    std::vector<ExObjectEntry> exObjects;
    std::vector<LevelTypeEntry> levels;
    std::vector<EngineTypeEntry> engines;
};

Tables& ProgramTables() {
    static Tables tables = [] {
        const std::vector<TypeRows> layers = LayerTypeRows();
        Tables t;
        for (const char* name : kObjectOrder) {
            const ObjectTypeEntry* row = FindRow(layers, &TypeRows::objects, name);
            t.objects.push_back({name, row != nullptr ? row->init : nullptr});
        }
        for (const ExObjectEntry& entry : kExObjectOrder) {
            const ExObjectEntry* row = FindRow(layers, &TypeRows::exObjects, entry.name);
            t.exObjects.push_back({entry.name, entry.baseName, row != nullptr ? row->differences : nullptr});
        }
        for (const char* name : kLevelOrder) {
            const LevelTypeEntry* row = FindRow(layers, &TypeRows::levels, name);
            t.levels.push_back({name, row != nullptr ? row->init : nullptr});
        }
        for (const char* name : kEngineOrder) {
            const EngineTypeEntry* row = FindRow(layers, &TypeRows::engines, name);
            t.engines.push_back({name, row != nullptr ? row->init : nullptr});
        }
        return t;
    }();
    return tables;
}

// Installed before main, so that every program and test that links the
// program layer registers the same types in the same order.
[[maybe_unused]] const bool tablesInstalled = [] {
    InstallProgramTypeTables();
    return true;
}();

}  // namespace

std::vector<TypeRows> LayerTypeRows() {
    return {FrameworkTypes(), PlatformTypes(), NetworkingTypes(), GameplayTypes(),
            WidgetTypes(),    ScreenTypes(),   EditorTypes()};
}

void InstallProgramTypeTables() {
    Tables& t = ProgramTables();
    InstallTypeTables({t.objects, t.exObjects, t.levels, t.engines});
}
