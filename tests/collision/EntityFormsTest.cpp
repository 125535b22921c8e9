#include <gtest/gtest.h>

#include "collision/CollisionEngine.h"
#include "collision/SolverData.h"
#include "framework/Entity.h"
#include "framework/GameVariables.h"
#include "framework/LevelCollision.h"
#include "framework/Variables.h"
#include "support/EntityWorld.h"

namespace {

struct ShapedVariables {
    CollisionInfo2D collision;
    D3DXVECTOR3 position;
    D3DXVECTOR2 size{1.0f, 1.0f};
};

// A stand-alone entity whose type has any chosen subset of "collision",
// "position" and "size".
struct Shaped : Entity {
    Shaped(bool withCollision, bool withPosition, bool withSize) : Entity(sizeof(Shaped)) {
        ClearVariableTable(table);
        _map = table;
        _startVar = reinterpret_cast<char*>(&vars);
        if (withCollision) BindVariable(table, *this, enum_collision, vars.collision);
        if (withPosition) BindVariable(table, *this, enum_position, vars.position);
        if (withSize) BindVariable(table, *this, enum_size, vars.size);
    }
    VariableOffsetTable table;
    ShapedVariables vars;
};

// A unit rectangle: the entity's size box centred on its position.
Shaped* Box(Shaped& e, float x, float y, float w, float h) {
    e.vars.collision.AddRectangle(D3DXVECTOR2(0, 0), 1, 1);
    e.vars.position = D3DXVECTOR3(x, y, 7);
    e.vars.size = D3DXVECTOR2(w, h);
    return &e;
}

}  // namespace

TEST(EntityCollision, ShapesAreScaledBySizeAndMovedByPosition) {
    Shaped e(true, true, true);
    Box(e, 100, 50, 32, 16);
    struct Case {
        float x, y;
        bool contact;
    };
    const Case cases[] = {
        {115.9f, 50, true}, {116.1f, 50, false}, {84.1f, 50, true}, {83.9f, 50, false},
        {100, 57.9f, true}, {100, 58.1f, false}, {116, 58, true},   {100, 41.9f, false},
    };
    for (const Case& c : cases) {
        Collision2D point(c.x, c.y);
        EXPECT_EQ(collisionEngine.Check(&e, point), c.contact) << c.x << ", " << c.y;
        EXPECT_EQ(collisionEngine.Check(point, &e), c.contact) << c.x << ", " << c.y;
        CollisionInfo2D list;
        list.AddCircle(c.x, c.y, 0.0f);
        EXPECT_EQ(collisionEngine.Check(list, &e), c.contact) << c.x << ", " << c.y;
        EXPECT_EQ(collisionEngine.Check(&e, list), c.contact) << c.x << ", " << c.y;
    }
}

TEST(EntityCollision, RadiusFollowsTheXSizeOnly) {
    Shaped e(true, true, true);
    e.vars.collision.AddCircle(0.0f, 0.0f, 1.0f);
    e.vars.position = D3DXVECTOR3(10, 10, 0);
    e.vars.size = D3DXVECTOR2(2, 10);
    EXPECT_TRUE(collisionEngine.Check(&e, Collision2D(12.0f, 10.0f)));
    EXPECT_TRUE(collisionEngine.Check(&e, Collision2D(10.0f, 12.0f)));
    EXPECT_FALSE(collisionEngine.Check(&e, Collision2D(10.0f, 12.5f)));
    EXPECT_FALSE(collisionEngine.Check(&e, Collision2D(12.5f, 10.0f)));
}

TEST(EntityCollision, EntityWithEntity) {
    Shaped a(true, true, true), b(true, true, true);
    Box(a, 0, 0, 2, 2);  // x from −1 to 1
    struct Case {
        float bx, by, bw, bh;
        bool contact;
    };
    const Case cases[] = {
        {3, 0, 4, 4, true},                                // b from 1 to 5: edges touch
        {3.1f, 0, 4, 4, false}, {0, 3, 4, 4, true},        // b's bottom at 1
        {3, 3, 4, 4, true},                                // corners touch at (1, 1)
        {-20, 0, 4, 4, false},  {0, 0, 0.5f, 0.5f, true},  // inside
    };
    for (const Case& c : cases) {
        b.vars.collision.Clear();
        Box(b, c.bx, c.by, c.bw, c.bh);
        EXPECT_EQ(collisionEngine.Check(&a, &b), c.contact) << c.bx << ", " << c.by;
        EXPECT_EQ(collisionEngine.Check(&b, &a), c.contact) << c.bx << ", " << c.by;
    }

    // Several shapes: any touching pair counts.
    Shaped many(true, true, true);
    many.vars.position = D3DXVECTOR3(10, 0, 0);
    many.vars.size = D3DXVECTOR2(1, 1);
    many.vars.collision.AddPoint(100.0f, 100.0f);
    many.vars.collision.AddCircle(-8.5f, 0.0f, 0.5f);  // reaches x = 1 in the world
    EXPECT_TRUE(collisionEngine.Check(&a, &many));
    EXPECT_TRUE(collisionEngine.Check(&many, &a));
}

TEST(EntityCollision, MissingVariables) {
    // No "collision": touches nothing, in every form.
    Shaped bare(false, true, true), full(true, true, true);
    Box(full, 0, 0, 10, 10);
    bare.vars.collision.AddRectangle(-100.0f, 100.0f, 100.0f, -100.0f);
    CollisionInfo2D everywhere;
    everywhere.AddRectangle(-100.0f, 100.0f, 100.0f, -100.0f);
    EXPECT_FALSE(collisionEngine.Check(&bare, &full));
    EXPECT_FALSE(collisionEngine.Check(&full, &bare));
    EXPECT_FALSE(collisionEngine.Check(&bare, Collision2D(0.0f, 0.0f)));
    EXPECT_FALSE(collisionEngine.Check(everywhere, &bare));
    EXPECT_FALSE(collisionEngine.Check(&bare, everywhere));
    EXPECT_FALSE(collisionEngine.Check(nullptr, &full));
    EXPECT_FALSE(collisionEngine.Check(static_cast<const Entity*>(nullptr), Collision2D(0.0f, 0.0f)));

    // An empty list touches nothing.
    Shaped empty(true, true, true);
    EXPECT_FALSE(collisionEngine.Check(&empty, &full));

    // No "position": at the origin; no "size": scale 1.
    Shaped unplaced(true, false, false);
    unplaced.vars.position = D3DXVECTOR3(50, 50, 0);  // not bound, never read
    unplaced.vars.size = D3DXVECTOR2(40, 40);
    unplaced.vars.collision.AddRectangle(D3DXVECTOR2(0, 0), 1, 1);
    EXPECT_TRUE(collisionEngine.Check(&unplaced, Collision2D(0.5f, -0.5f)));
    EXPECT_FALSE(collisionEngine.Check(&unplaced, Collision2D(0.6f, 0.0f)));
    EXPECT_FALSE(collisionEngine.Check(&unplaced, Collision2D(50.0f, 50.0f)));
}

TEST(EntityCollision, SolverObjectsArePlacedByTheirPosition) {
    LevelCollision g(10, 10);
    SolverData d(&g);
    Shaped object(false, true, false), start(false, true, false), unplaced(false, false, false);
    object.vars.position = D3DXVECTOR3(3.7f, 2.2f, 0);
    start.vars.position = D3DXVECTOR3(5.5f, 5.5f, 0);
    SolverAddObject(&object, 16);
    SolverAddObject(&start, 32);
    SolverAddObject(&unplaced, 64);
    GetMacroData(&d, D3DXVECTOR3(5.2f, 5.9f, 0));
    EXPECT_TRUE(SolverObjectList.empty());
    ASSERT_EQ(d.records.size(), 2u);
    ASSERT_NE(d.At(3, 2), nullptr);
    EXPECT_EQ(d.At(3, 2)->flags, 16);
    EXPECT_FLOAT_EQ(d.At(3, 2)->left, 3.2f);
    EXPECT_FLOAT_EQ(d.At(3, 2)->top, 2.7f);
    ASSERT_NE(d.At(5, 5), nullptr);
    EXPECT_EQ(d.At(5, 5)->flags, SolverData::kWaypoint | 32);  // the start and an object share a cell

    // The list was emptied: the next map has only the start.
    GetMacroData(&d, D3DXVECTOR3(5.2f, 5.9f, 0));
    EXPECT_EQ(d.records.size(), 1u);
}

using SolverStart = world::EntityWorld;

TEST_F(SolverStart, TheStartWaypointIsTheGameEntitysStartPosition) {
    LevelCollision g(10, 10);
    SolverData d(&g);
    GameVars().startPos = D3DXVECTOR3(2.5f, 1.5f, 0.0f);
    GetMacroData(&d);
    ASSERT_EQ(d.records.size(), 1u);
    ASSERT_NE(d.At(2, 1), nullptr);
    EXPECT_EQ(d.At(2, 1)->flags, SolverData::kWaypoint);
}
