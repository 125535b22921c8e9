#pragma once
// "LevelEditorObjectList": the level editor's palette. It shows the cell
// values a user can paint on two tabs, "Tiles" and "Objects", each laid out
// in a LevelCollision of values, and a click on one writes it into the
// editor's SelectedValue.
#include <cstdint>
#include <string>

#include "collision/CollisionEngine.h"
#include "framework/LevelCollision.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::LevelEditorObjectList {

// Layouts kept per palette: "Tiles", "Objects" and one that holds no entries.
constexpr int kTabs = 3;

struct Variables {
    D3DXVECTOR3 position{-0.6f, -0.08f, 0.0f};
    D3DXVECTOR2 size{0.25f, 0.45f};
    LevelCollision ObjectListGrid[kTabs];
    std::int32_t SelectedTab = 0;
    float ObjectScaleX = 0.0f;
    float ObjectScaleY = 0.0f;
    std::int32_t ObjGridWidth = 3;
    std::int32_t ObjGridHeight = 9;
    CollisionInfo2D collision;
    std::string BackgroundTab = "whiteBase";
    Object* TabButtonTiles = nullptr;
    Object* TabButtonObjects = nullptr;
    Object* TileText = nullptr;
    Object* ObjectText = nullptr;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

Variables* Find(Entity* entity);

// Whether the tab the palette shows holds an entry of that value.
bool ShowsValue(const Variables& v, int value);

}  // namespace ObjectData::LevelEditorObjectList
