#pragma once
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Vector.h"

class Entity;
struct Collision2D;
class CollisionInfo2D;

// Stateless contact tests between points, circles and axis-aligned rectangles,
// and between the shape lists that entities carry. World y grows upward. Every
// comparison is inclusive: shapes that only touch are in contact. All tests are
// pure functions and may be called from any thread.
class CollisionEngine {
public:
    enum CollisionType : int { Point = 0, Circle = 1, Rectangle = 2 };

    bool PointCircle(D3DXVECTOR2 p, D3DXVECTOR2 c, float r) const;
    bool PointRectangle(D3DXVECTOR2 p, float left, float right, float top, float bottom) const;
    bool CircleCircle(D3DXVECTOR2 c1, float r1, D3DXVECTOR2 c2, float r2) const;
    bool CircleRectangle(D3DXVECTOR2 c, float r, float left, float right, float top, float bottom) const;
    bool RectangleRectangle(float left1, float right1, float top1, float bottom1, float left2, float right2, float top2,
                            float bottom2) const;

    bool PointSphere(D3DXVECTOR3 p, D3DXVECTOR3 c, float r) const;
    bool PointCuboid(D3DXVECTOR3 p, float left, float right, float top, float bottom, float near, float far) const;
    bool SphereSphere(D3DXVECTOR3 c1, float r1, D3DXVECTOR3 c2, float r2) const;
    bool SphereCuboid(D3DXVECTOR3 c, float r, float left, float right, float top, float bottom, float near,
                      float far) const;
    bool CuboidCuboid(float left1, float right1, float top1, float bottom1, float near1, float far1, float left2,
                      float right2, float top2, float bottom2, float near2, float far2) const;

    bool Check(const Collision2D& a, const Collision2D& b) const;
    bool Check(const CollisionInfo2D& list, const Collision2D& s) const;
    bool Check(const Collision2D& s, const CollisionInfo2D& list) const;
    bool Check(const CollisionInfo2D& a, const CollisionInfo2D& b) const;

    // Entity forms: an entity's "collision" list is in units of its "size"
    // (1, 1 when it has none) and relative to its "position" (the origin when
    // it has none); an entity without a "collision" variable touches nothing.
    bool Check(const Entity* a, const Entity* b) const;
    bool Check(const Entity* e, const Collision2D& s) const;
    bool Check(const Collision2D& s, const Entity* e) const;
    bool Check(const CollisionInfo2D& list, const Entity* e) const;
    bool Check(const Entity* e, const CollisionInfo2D& list) const;

private:
    // Placed tests: a is scaled by scaleA and moved by offset, b is scaled by
    // scaleB; the pair is then tested as usual.
    bool Check(const Collision2D& a, const Collision2D& b, D3DXVECTOR2 offset, D3DXVECTOR2 scaleA,
               D3DXVECTOR2 scaleB) const;
    bool Check(const CollisionInfo2D& a, const Collision2D& b, D3DXVECTOR2 offset, D3DXVECTOR2 scaleA,
               D3DXVECTOR2 scaleB) const;
    bool Check(const Collision2D& a, const CollisionInfo2D& b, D3DXVECTOR2 offset, D3DXVECTOR2 scaleA,
               D3DXVECTOR2 scaleB) const;
    bool Check(const CollisionInfo2D& a, const CollisionInfo2D& b, D3DXVECTOR2 offset, D3DXVECTOR2 scaleA,
               D3DXVECTOR2 scaleB) const;
};

// One shape: its kind and four floats whose meaning depends on the kind:
//   point:     x, y, 0, 0
//   circle:    centre x, centre y, radius, 0
//   rectangle: left (smallest x), top (largest y), right (largest x), bottom (smallest y)
struct Collision2D {
    CollisionEngine::CollisionType type = CollisionEngine::Point;
    float value[4] = {0.0f, 0.0f, 0.0f, 0.0f};

    Collision2D() = default;
    // The four floats stored as given: a.x, a.y, b.x, b.y.
    Collision2D(CollisionEngine::CollisionType kind, D3DXVECTOR2 a, D3DXVECTOR2 b);
    // Points.
    Collision2D(float x, float y);
    explicit Collision2D(D3DXVECTOR2 p);
    explicit Collision2D(D3DXVECTOR3 p);
    // Circles.
    Collision2D(float x, float y, float r);
    Collision2D(D3DXVECTOR2 c, float r);
    Collision2D(D3DXVECTOR3 c, float r);
    // Rectangles from a centre and a width and height.
    Collision2D(D3DXVECTOR2 c, float w, float h);
    Collision2D(D3DXVECTOR3 c, float w, float h);
    // Rectangles from their edges; note the argument order differs from the stored order.
    Collision2D(float left, float right, float top, float bottom);
};

// An ordered list of shapes, as an entity carries in its "collision" variable
// (in units of the entity's size, relative to its position).
class CollisionInfo2D {
public:
    CollisionInfo2D() = default;
    explicit CollisionInfo2D(const std::vector<Collision2D>& shapes) : shapes(shapes) {}

    void AddPoint(float x, float y) { shapes.emplace_back(x, y); }
    void AddPoint(D3DXVECTOR2 p) { shapes.emplace_back(p); }
    void AddPoint(D3DXVECTOR3 p) { shapes.emplace_back(p); }
    void AddCircle(float x, float y, float r) { shapes.emplace_back(x, y, r); }
    void AddCircle(D3DXVECTOR2 c, float r) { shapes.emplace_back(c, r); }
    void AddCircle(D3DXVECTOR3 c, float r) { shapes.emplace_back(c, r); }
    void AddRectangle(D3DXVECTOR2 c, float w, float h) { shapes.emplace_back(c, w, h); }
    void AddRectangle(D3DXVECTOR3 c, float w, float h) { shapes.emplace_back(c, w, h); }
    void AddRectangle(float left, float right, float top, float bottom) {
        shapes.emplace_back(left, right, top, bottom);
    }
    void Add(const Collision2D& s) { shapes.push_back(s); }
    // Empties the list; its storage is kept for reuse.
    void Clear() { shapes.clear(); }

    std::vector<Collision2D> shapes;
};

extern CollisionEngine collisionEngine;

// How a bound variable of this type is named to the script converter.
inline std::string VariableTypeText(std::type_identity<CollisionInfo2D>) { return "CollisionInfo2D"; }
