#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "collision/CollisionEngine.h"

namespace {

using CT = CollisionEngine::CollisionType;

Collision2D Pt(float x, float y) { return Collision2D(x, y); }
Collision2D Circ(float x, float y, float r) { return Collision2D(x, y, r); }
// Edges in the constructor's order: left, right, top, bottom.
Collision2D Rect(float l, float r, float t, float b) { return Collision2D(l, r, t, b); }

struct PairCase {
    const char* name;
    Collision2D a;
    Collision2D b;
    bool contact;
};

const float kNaN = std::numeric_limits<float>::quiet_NaN();

}  // namespace

TEST(Collision2D, ConstructorsStoreTheDocumentedFloats) {
    Collision2D edges(1.0f, 3.0f, 4.0f, 0.0f);  // left, right, top, bottom
    EXPECT_EQ(edges.type, CollisionEngine::Rectangle);
    EXPECT_EQ(edges.value[0], 1.0f);
    EXPECT_EQ(edges.value[1], 4.0f);
    EXPECT_EQ(edges.value[2], 3.0f);
    EXPECT_EQ(edges.value[3], 0.0f);

    Collision2D centred(D3DXVECTOR3(10.0f, 20.0f, 99.0f), 4.0f, 2.0f);
    EXPECT_EQ(centred.type, CollisionEngine::Rectangle);
    EXPECT_EQ(centred.value[0], 8.0f);   // left
    EXPECT_EQ(centred.value[1], 21.0f);  // top: y grows upward
    EXPECT_EQ(centred.value[2], 12.0f);  // right
    EXPECT_EQ(centred.value[3], 19.0f);  // bottom

    Collision2D raw(CollisionEngine::Circle, D3DXVECTOR2(1, 2), D3DXVECTOR2(3, 4));
    EXPECT_EQ(raw.type, CollisionEngine::Circle);
    EXPECT_EQ(raw.value[3], 4.0f);

    Collision2D circle(D3DXVECTOR3(1, 2, 3), 5.0f);
    EXPECT_EQ(circle.type, CollisionEngine::Circle);
    EXPECT_EQ(circle.value[2], 5.0f);
    EXPECT_EQ(circle.value[3], 0.0f);

    Collision2D point(D3DXVECTOR3(7, 8, 9));
    EXPECT_EQ(point.type, CollisionEngine::Point);
    EXPECT_EQ(point.value[2], 0.0f);

    CollisionInfo2D list;
    list.AddRectangle(1.0f, 3.0f, 4.0f, 0.0f);
    list.AddCircle(D3DXVECTOR2(0, 0), 1.0f);
    list.AddPoint(2.0f, 2.0f);
    ASSERT_EQ(list.shapes.size(), 3u);
    EXPECT_EQ(list.shapes[0].value[1], 4.0f);
    list.Clear();
    EXPECT_TRUE(list.shapes.empty());
}

// Every pair of kinds, both argument orders; touching counts as contact.
TEST(CollisionEngine, OverlapTableOverAllNinePairs) {
    const std::vector<PairCase> cases = {
        // point with point: never, not even at the same place
        {"point/point same place", Pt(1, 1), Pt(1, 1), false},
        {"point/point apart", Pt(1, 1), Pt(2, 1), false},
        // point with circle
        {"point at exactly the radius", Pt(3, 0), Circ(0, 0, 3), true},
        {"point at 3-4-5 radius", Pt(3, 4), Circ(0, 0, 5), true},
        {"point just outside", Pt(4, 4), Circ(0, 0, 5), false},
        {"point at centre, radius 0", Pt(2, 2), Circ(2, 2, 0), true},
        // point with rectangle
        {"point on top-left corner", Pt(1, 3), Rect(1, 2, 3, 0), true},
        {"point on bottom edge", Pt(1.5f, 0), Rect(1, 2, 3, 0), true},
        {"point right of rectangle", Pt(2.5f, 1), Rect(1, 2, 3, 0), false},
        {"point below rectangle", Pt(1.5f, -0.25f), Rect(1, 2, 3, 0), false},
        // circle with circle
        {"circles exactly r1 + r2 apart", Circ(0, 0, 1), Circ(3, 0, 2), true},
        {"circles 5 apart diagonally", Circ(0, 0, 1), Circ(3, 4, 4), true},
        {"circles apart", Circ(0, 0, 1), Circ(3.5f, 0, 2), false},
        {"circle inside circle", Circ(0, 0, 5), Circ(1, 0, 1), true},
        // circle with rectangle
        {"centre inside, radius 0", Circ(1, 1, 0), Rect(0, 2, 2, 0), true},
        {"circle touching the left edge", Circ(-1, 1, 1), Rect(0, 2, 2, 0), true},
        {"circle short of the left edge", Circ(-1, 1, 0.5f), Rect(0, 2, 2, 0), false},
        {"left of and above: top-left corner at the radius", Circ(-3, 6, 5), Rect(0, 2, 2, 0), true},
        {"left of and above: corner just out of reach", Circ(-3, 6, 4.75f), Rect(0, 2, 2, 0), false},
        {"near the corner: both axes close, corner too far", Circ(-3, -3, 4), Rect(0, 2, 2, 0), false},
        {"circle around the rectangle", Circ(1, 1, 10), Rect(0, 2, 2, 0), true},
        // rectangle with rectangle
        {"rectangles sharing an edge", Rect(0, 1, 1, 0), Rect(1, 2, 1, 0), true},
        {"rectangles sharing a corner", Rect(0, 1, 1, 0), Rect(1, 2, 2, 1), true},
        {"rectangles apart in x", Rect(0, 1, 1, 0), Rect(1.5f, 2, 1, 0), false},
        {"rectangles apart in y", Rect(0, 1, 1, 0), Rect(0, 1, 3, 1.5f), false},
        {"rectangle inside rectangle", Rect(0, 10, 10, 0), Rect(2, 3, 3, 2), true},
        // shapes carrying NaN touch nothing
        {"NaN centre in a rectangle", Circ(kNaN, 1, 1), Rect(0, 2, 2, 0), false},
        {"NaN point in a circle", Pt(kNaN, kNaN), Circ(0, 0, 100), false},
    };
    for (const PairCase& c : cases) {
        EXPECT_EQ(collisionEngine.Check(c.a, c.b), c.contact) << c.name;
        EXPECT_EQ(collisionEngine.Check(c.b, c.a), c.contact) << c.name << " (reversed)";
    }
}

TEST(CollisionEngine, UnknownKindTouchesNothing) {
    Collision2D odd(static_cast<CT>(3), D3DXVECTOR2(0, 0), D3DXVECTOR2(5, 5));
    for (const Collision2D& s : {Pt(0, 0), Circ(0, 0, 10), Rect(-10, 10, 10, -10)}) {
        EXPECT_FALSE(collisionEngine.Check(odd, s));
        EXPECT_FALSE(collisionEngine.Check(s, odd));
    }
}

// On random integer shapes the answer never depends on the argument order,
// and the list forms agree with the pairwise answers.
TEST(CollisionEngine, SymmetricOnRandomIntegerShapes) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> coord(-6, 6), extent(0, 5), kind(0, 2);
    auto randomShape = [&]() {
        int x = coord(rng), y = coord(rng);
        switch (kind(rng)) {
            case 0: return Pt(static_cast<float>(x), static_cast<float>(y));
            case 1: return Circ(static_cast<float>(x), static_cast<float>(y), static_cast<float>(extent(rng)));
            default:
                return Rect(static_cast<float>(x), static_cast<float>(x + extent(rng)),
                            static_cast<float>(y + extent(rng)), static_cast<float>(y));
        }
    };
    int contacts = 0;
    for (int i = 0; i < 20000; ++i) {
        Collision2D a = randomShape(), b = randomShape();
        bool ab = collisionEngine.Check(a, b);
        ASSERT_EQ(ab, collisionEngine.Check(b, a)) << "pair " << i;
        contacts += ab;
    }
    // Both answers occur often enough for the comparison to mean something.
    EXPECT_GT(contacts, 2000);
    EXPECT_LT(contacts, 18000);

    for (int i = 0; i < 2000; ++i) {
        CollisionInfo2D la, lb;
        int na = i % 4, nb = (i / 4) % 4;
        for (int k = 0; k < na; ++k) la.Add(randomShape());
        for (int k = 0; k < nb; ++k) lb.Add(randomShape());
        bool any = false;
        for (const Collision2D& sa : la.shapes) {
            for (const Collision2D& sb : lb.shapes) any = any || collisionEngine.Check(sa, sb);
        }
        ASSERT_EQ(collisionEngine.Check(la, lb), any);
        ASSERT_EQ(collisionEngine.Check(lb, la), any);
        if (!lb.shapes.empty()) {
            bool withFirst = false;
            for (const Collision2D& sa : la.shapes) withFirst = withFirst || collisionEngine.Check(sa, lb.shapes[0]);
            ASSERT_EQ(collisionEngine.Check(la, lb.shapes[0]), withFirst);
            ASSERT_EQ(collisionEngine.Check(lb.shapes[0], la), withFirst);
        }
    }
}

TEST(CollisionEngine, EmptyListTouchesNothing) {
    CollisionInfo2D empty, full;
    full.AddRectangle(-100.0f, 100.0f, 100.0f, -100.0f);
    EXPECT_FALSE(collisionEngine.Check(empty, Pt(0, 0)));
    EXPECT_FALSE(collisionEngine.Check(Circ(0, 0, 5), empty));
    EXPECT_FALSE(collisionEngine.Check(empty, full));
    EXPECT_FALSE(collisionEngine.Check(full, empty));
}

TEST(CollisionEngine, ThreeDimensionalTestsAreInclusive) {
    const CollisionEngine& ce = collisionEngine;
    EXPECT_TRUE(ce.PointSphere({2, 3, 6}, {0, 0, 0}, 7));  // 2-3-6-7
    EXPECT_FALSE(ce.PointSphere({2, 3, 6.5f}, {0, 0, 0}, 7));
    EXPECT_TRUE(ce.PointCuboid({1, 2, 3}, 0, 1, 2, 0, 3, 4));  // on a corner
    EXPECT_FALSE(ce.PointCuboid({1, 2, 4.5f}, 0, 1, 2, 0, 3, 4));
    EXPECT_TRUE(ce.SphereSphere({0, 0, 0}, 1, {0, 0, 3}, 2));
    EXPECT_FALSE(ce.SphereSphere({0, 0, 0}, 1, {0, 0, 3.5f}, 2));
    // Off a cube's corner (1, 1, 1) by (2, 3, 6): distance 7.
    EXPECT_TRUE(ce.SphereCuboid({3, 4, 7}, 7, 0, 1, 1, 0, 0, 1));
    EXPECT_FALSE(ce.SphereCuboid({3, 4, 7}, 6.9f, 0, 1, 1, 0, 0, 1));
    EXPECT_TRUE(ce.SphereCuboid({0.5f, 0.5f, 0.5f}, 0, 0, 1, 1, 0, 0, 1));
    EXPECT_TRUE(ce.CuboidCuboid(0, 1, 1, 0, 0, 1, 0, 1, 1, 0, 1, 2));  // sharing a face in z
    EXPECT_FALSE(ce.CuboidCuboid(0, 1, 1, 0, 0, 1, 0, 1, 1, 0, 1.5f, 2));
}
