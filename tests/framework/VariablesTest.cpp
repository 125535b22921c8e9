#include <gtest/gtest.h>

#include <strings.h>
#include <list>
#include <set>

#include "framework/TypeRegistry.h"

#include "framework/VariableNames.h"
#include "support/EntityWorld.h"

using namespace world;

TEST(VariableNamesTest, GivenNumbersHold) {
    struct Given {
        int value;
        int number;
    };
    const Given given[] = {
        {enum_size3D, 0},           {enum_color, 1},
        {enum_texture, 2},          {enum_boxCorner1, 4},
        {enum_boxCorner2, 5},       {enum_boxValue, 6},
        {enum_makingbox, 7},        {enum_curPos, 8},
        {enum_lineAction, 9},       {enum_makingline, 10},
        {enum_oldPos, 11},          {enum_collision, 15},
        {enum_position, 19},        {enum_size, 21},
        {enum_triggered, 23},       {enum_firstTime, 24},
        {enum_scale, 25},           {enum_counter, 26},
        {enum_velocity, 32},        {enum_oldPosition, 67},
        {enum_bucketStack, 77},     {enum_position1, 150},
        {enum_SelectingArea, 191},  {enum_box, 192},
        {enum_moveAction, 196},     {enum_movingStartPos, 198},
        {enum_startTime, 205},      {enum_Hotspots, 213},
        {enum_OwnerID, 214},        {enum_airRun, 215},
        {enum_grabbing, 249},       {enum_playerName, 280},
        {enum_score, 294},          {enum_speedZone, 297},
        {enum_wallJumpLength, 315}, {enum_afterText, 434},
        {enum_prevText, 435},       {enum_resolutionAuto, 462},
        {MAX_ENUM_VALUE, 484},
    };
    for (const Given& g : given) EXPECT_EQ(g.value, g.number);
    // The game's block runs in byte order of its names, from GameFunction to xbox360Controls.
    EXPECT_LT(enum_GameFunction, enum_GraphicsFunction);
    EXPECT_LT(enum_SCORE_KILL, enum_backToWhere);
    EXPECT_EQ(enum_xbox360Controls - enum_GameFunction, 32);
}

namespace {
// A second type whose variables lie elsewhere in its block.
struct WideVariables {
    int before[7] = {};
    D3DXVECTOR2 size{2.0f, 3.0f};
    D3DXVECTOR3 position{4.0f, 5.0f, 6.0f};
};
struct Wide : Object {
    Wide() : Object(sizeof(Wide)) {}
    WideVariables vars;
};
VariableOffsetTable wideTable;

Wide* RegisterWide() {
    auto* prototype = new Wide();
    prototype->_map = wideTable;
    prototype->_startVar = reinterpret_cast<char*>(&prototype->vars);
    ClearVariableTable(wideTable);
    BindVariable(wideTable, *prototype, enum_position, prototype->vars.position);
    BindVariable(wideTable, *prototype, enum_size, prototype->vars.size);
    prototype->_copy = [](Entity* copy, const Entity* source) { ConstructVariables<WideVariables>(copy, source); };
    Object::_IncludeObject("Wide", prototype);
    prototype->_type = "Wide";
    return prototype;
}

class VariablesTest : public EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        RegisterThing("Thing");
        RegisterLevel("Blank");
        state = NewState("Blank");
    }
    State* state = nullptr;
};
}  // namespace

TEST_F(VariablesTest, OneNumberReachesTheVariableInEveryType) {
    RegisterWide();
    Object* thing = Object::MakeCopy(state, "Thing", "T");
    Object* wide = Object::MakeCopy(state, "Wide", "W");
    EXPECT_NE(thing->_map[enum_position], wide->_map[enum_position]);
    EXPECT_EQ(Variable<D3DXVECTOR3>(wide, enum_position), D3DXVECTOR3(4.0f, 5.0f, 6.0f));
    thing->SetPosition(1.0f, 2.0f, 3.0f);
    wide->SetPosition(7.0f, 8.0f);
    EXPECT_EQ(Variable<D3DXVECTOR3>(thing, enum_position), D3DXVECTOR3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(Variable<D3DXVECTOR3>(wide, enum_position), D3DXVECTOR3(7.0f, 8.0f, 6.0f));
    // Neither type has "velocity"; every clone agrees with its prototype's table.
    EXPECT_EQ(thing->_map[enum_velocity], kVariableAbsent);
    EXPECT_FALSE(HasVariable(wide, enum_velocity));
    EXPECT_EQ(FindVariable<D3DXVECTOR2>(wide, enum_velocity), nullptr);
    // Sizes, and the top-left conversion (y grows upward).
    wide->SetSize(2.0f, 4.0f);
    wide->SetPosition(0.0f, 0.0f);
    wide->_MakePosTopLeft();
    EXPECT_EQ(Variable<D3DXVECTOR3>(wide, enum_position), D3DXVECTOR3(1.0f, -2.0f, 6.0f));
    // Pixel positions divide by the render height.
    State::hooks.renderHeight = [](const State*) { return 200; };
    State::_currentState = state;
    wide->SetPosition(100, 50);
    State::_currentState = nullptr;
    EXPECT_EQ(Variable<D3DXVECTOR3>(wide, enum_position), D3DXVECTOR3(0.5f, 0.25f, 6.0f));
}

TEST_F(VariablesTest, ReRegistrationLeavesNoEarlierSlot) {
    ClearVariableTable(wideTable);
    wideTable[enum_velocity] = 12;
    Wide* prototype = RegisterWide();
    EXPECT_EQ(wideTable[enum_velocity], kVariableAbsent);
    EXPECT_NE(prototype->_map[enum_size], kVariableAbsent);
}

namespace {
struct Pick {
    const char* name;
    D3DXVECTOR2 dir;
    std::vector<std::pair<D3DXVECTOR3, bool>> candidates;  // position, navigable
    int expected;                                          // index, or -1 for the caller
};
}  // namespace

TEST_F(VariablesTest, GetInLineEntityCases) {
    const Pick picks[] = {
        {"nearest ahead in the lane", {1, 0}, {{{2, 0, 0}, true}, {{1, 0.1f, 0}, true}, {{-1, 0, 0}, true}}, 1},
        {"skips a candidate whose flag is off", {1, 0}, {{{2, 0, 0}, true}, {{1, 0, 0}, false}}, 0},
        {"farthest behind when nothing is ahead", {1, 0}, {{{-1, 0, 0}, true}, {{-3, 0, 0}, true}}, 1},
        {"nearest clear one when the lane is empty", {1, 0}, {{{1, 2, 0}, true}, {{0.5f, -1, 0}, true}}, 1},
        {"one too close along the step is not clear", {1, 0}, {{{0.1f, 2, 0}, true}}, -1},
        {"upward step", {0, 1}, {{{0, -1, 0}, true}, {{0, 1, 0}, true}, {{1, 0.5f, 0}, true}}, 1},
        {"downward step wraps to the top", {0, -1}, {{{0, 1, 0}, true}, {{0, 3, 0}, true}}, 1},
        {"nothing at all", {-1, 0}, {}, -1},
        {"same place only", {1, 0}, {{{0, 0, 0}, true}}, -1},
    };
    Object* source = Object::MakeCopy(state, "Thing", "Source");
    for (const Pick& pick : picks) {
        SCOPED_TRACE(pick.name);
        std::list<Entity*> candidates;
        std::vector<Object*> made;
        for (const auto& [position, navigable] : pick.candidates) {
            Object* o = Object::MakeCopy(state, "Thing", "Candidate");
            Variable<D3DXVECTOR3>(o, enum_position) = position;
            Variable<D3DXVECTOR2>(o, enum_size) = {0.2f, 0.2f};
            Variable<bool>(o, enum_isButton) = navigable;
            candidates.push_back(o);
            made.push_back(o);
        }
        Entity* result = source->GetInLineEntity(candidates, {0, 0, 0}, {0.2f, 0.2f}, pick.dir);
        EXPECT_EQ(result, pick.expected < 0 ? static_cast<Entity*>(source) : made[pick.expected]);
        for (Object* o : made) o->_Delete();
        State::RemoveDeletedObjects();
    }
}

TEST(TypeRegistryTest, RegistrationOrders) {
    auto objects = ObjectTypes();
    ASSERT_EQ(objects.size(), 66u);
    EXPECT_STREQ(objects.front().name, "Background");
    EXPECT_STREQ(objects[23].name, "guiImage");
    EXPECT_STREQ(objects.back().name, "WindowGrid");

    auto variants = ExObjectTypes();
    ASSERT_EQ(variants.size(), 76u);
    EXPECT_STREQ(variants.front().name, "AddStencilButton");
    EXPECT_STREQ(variants[3].name, "counterToggleButton");
    EXPECT_STREQ(variants[4].name, "customGame");
    EXPECT_STREQ(variants[5].name, "CustomizeButton");
    EXPECT_STREQ(variants.back().name, "xboxToggleButton");
    for (std::size_t i = 1; i < variants.size(); ++i)
        EXPECT_LT(strcasecmp(variants[i - 1].name, variants[i].name), 0) << variants[i].name;
    std::set<std::string> bases;
    for (const auto& v : variants) bases.insert(v.baseName);
    EXPECT_EQ(bases, (std::set<std::string>{"Button", "TextButton", "Cursor", "MMCursor", "Player", "Graphic", "Grid",
                                            "HSlider", "VSlider"}));

    auto levels = LevelTypes();
    ASSERT_EQ(levels.size(), 33u);
    EXPECT_STREQ(levels[4].name, "Eula");
    EXPECT_STREQ(levels.back().name, "TitleScreen");
    auto engines = EngineTypes();
    ASSERT_EQ(engines.size(), 13u);
    EXPECT_STREQ(engines[5].name, "GuiManager");
}

namespace {
// A level type with a variable of its own.
struct MenuVariables {
    int selected = 3;
    std::string title = "Main";
};
struct Menu : Level {
    Menu() : Level(sizeof(Menu)) {}
    MenuVariables vars;
};
VariableOffsetTable menuTable;
void CopyMenu(Entity* copy, const Entity* source) { ConstructVariables<MenuVariables>(copy, source); }
Menu* RegisterMenu(int selected) {
    auto* prototype = new Menu();
    prototype->vars.selected = selected;
    prototype->_map = menuTable;
    prototype->_startVar = reinterpret_cast<char*>(&prototype->vars);
    ClearVariableTable(menuTable);
    BindVariable(menuTable, *prototype, enum_counter, prototype->vars.selected);
    prototype->_copy = &CopyMenu;
    prototype->_SetName("MainMenu");
    Level::_IncludeLevel("MainMenu", prototype);
    return prototype;
}
}  // namespace

TEST_F(VariablesTest, LevelsCloneTheirRegisteredPrototype) {
    Menu* first = RegisterMenu(3);
    State::_currentState = state;
    Level* a = Level::_Load("MainMenu");
    Level* b = Level::_Load("MainMenu");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->GetName(), "MainMenu");
    EXPECT_EQ(b->GetName(), "MainMenu");
    EXPECT_EQ(Variable<int>(a, enum_counter), 3);
    EXPECT_EQ(VariablesOf<MenuVariables>(b).title, "Main");
    // A replacement under the same name is what the next load clones.
    Menu* second = RegisterMenu(9);
    Level* c = Level::_Load("MainMenu");
    EXPECT_EQ(Variable<int>(c, enum_counter), 9);
    for (Level* level : {a, b, c}) Level::_Unload(level);
    State::_currentState = nullptr;
    Entity::_Destroy(first);
    (void)second;  // destroyed with the registry
}
