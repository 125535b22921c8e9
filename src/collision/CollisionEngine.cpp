#include "collision/CollisionEngine.h"

#include "framework/Entity.h"
#include "framework/Variables.h"

CollisionEngine collisionEngine;

namespace {

// Differences are kept as 32-bit floats, as the shapes store them; their
// squares and the sum are formed in double so that touching shapes whose
// distance equals the radius exactly are not lost to rounding.
bool WithinRadius2(float dx, float dy, float r) {
    double ddx = dx, ddy = dy, dr = r;
    return ddx * ddx + ddy * ddy <= dr * dr;
}

bool WithinRadius3(float dx, float dy, float dz, float r) {
    double ddx = dx, ddy = dy, ddz = dz, dr = r;
    return ddx * ddx + ddy * ddy + ddz * ddz <= dr * dr;
}

// Moves v into [low, high]; the lower bound is tried first.
float Clamp(float v, float low, float high) {
    if (v < low) return low;
    if (v > high) return high;
    return v;
}

bool ValidKind(CollisionEngine::CollisionType t) {
    return t == CollisionEngine::Point || t == CollisionEngine::Circle || t == CollisionEngine::Rectangle;
}

// The shape after scaling and moving; a radius follows the x scale only.
Collision2D Placed(const Collision2D& s, D3DXVECTOR2 offset, D3DXVECTOR2 scale) {
    Collision2D out = s;
    switch (s.type) {
        case CollisionEngine::Point:
            out.value[0] = s.value[0] * scale.x + offset.x;
            out.value[1] = s.value[1] * scale.y + offset.y;
            break;
        case CollisionEngine::Circle:
            out.value[0] = s.value[0] * scale.x + offset.x;
            out.value[1] = s.value[1] * scale.y + offset.y;
            out.value[2] = s.value[2] * scale.x;
            break;
        case CollisionEngine::Rectangle:
            out.value[0] = s.value[0] * scale.x + offset.x;
            out.value[1] = s.value[1] * scale.y + offset.y;
            out.value[2] = s.value[2] * scale.x + offset.x;
            out.value[3] = s.value[3] * scale.y + offset.y;
            break;
    }
    return out;
}

// An entity's shape list with where it stands and how large it is.
struct Placement {
    const CollisionInfo2D* shapes = nullptr;
    D3DXVECTOR2 position{0.0f, 0.0f};
    D3DXVECTOR2 scale{1.0f, 1.0f};
};

// False when the entity carries no shape list.
bool PlacementOf(const Entity* e, Placement& out) {
    if (!HasVariable(e, enum_collision)) return false;
    out.shapes = &Variable<CollisionInfo2D>(e, enum_collision);
    if (HasVariable(e, enum_position)) {
        const D3DXVECTOR3& p = Variable<D3DXVECTOR3>(e, enum_position);
        out.position = D3DXVECTOR2(p.x, p.y);
    }
    if (HasVariable(e, enum_size)) out.scale = Variable<D3DXVECTOR2>(e, enum_size);
    return true;
}

const D3DXVECTOR2 kUnitScale(1.0f, 1.0f);

}  // namespace

bool CollisionEngine::PointCircle(D3DXVECTOR2 p, D3DXVECTOR2 c, float r) const {
    return WithinRadius2(p.x - c.x, p.y - c.y, r);
}

bool CollisionEngine::PointRectangle(D3DXVECTOR2 p, float left, float right, float top, float bottom) const {
    return left <= p.x && p.x <= right && bottom <= p.y && p.y <= top;
}

bool CollisionEngine::CircleCircle(D3DXVECTOR2 c1, float r1, D3DXVECTOR2 c2, float r2) const {
    return WithinRadius2(c1.x - c2.x, c1.y - c2.y, r1 + r2);
}

bool CollisionEngine::CircleRectangle(D3DXVECTOR2 c, float r, float left, float right, float top, float bottom) const {
    // A centre inside or on the edge touches whatever the radius. The test is
    // written out rather than inferred from "the clamp moved nothing", which a
    // NaN centre would pass.
    if (PointRectangle(c, left, right, top, bottom)) return true;
    float x = Clamp(c.x, left, right);
    float y = Clamp(c.y, bottom, top);
    return WithinRadius2(c.x - x, c.y - y, r);
}

bool CollisionEngine::RectangleRectangle(float left1, float right1, float top1, float bottom1, float left2,
                                         float right2, float top2, float bottom2) const {
    return left2 <= right1 && right2 >= left1 && bottom2 <= top1 && top2 >= bottom1;
}

bool CollisionEngine::PointSphere(D3DXVECTOR3 p, D3DXVECTOR3 c, float r) const {
    return WithinRadius3(p.x - c.x, p.y - c.y, p.z - c.z, r);
}

bool CollisionEngine::PointCuboid(D3DXVECTOR3 p, float left, float right, float top, float bottom, float near,
                                  float far) const {
    return left <= p.x && p.x <= right && bottom <= p.y && p.y <= top && near <= p.z && p.z <= far;
}

bool CollisionEngine::SphereSphere(D3DXVECTOR3 c1, float r1, D3DXVECTOR3 c2, float r2) const {
    return WithinRadius3(c1.x - c2.x, c1.y - c2.y, c1.z - c2.z, r1 + r2);
}

bool CollisionEngine::SphereCuboid(D3DXVECTOR3 c, float r, float left, float right, float top, float bottom, float near,
                                   float far) const {
    if (PointCuboid(c, left, right, top, bottom, near, far)) return true;
    D3DXVECTOR3 clamped(Clamp(c.x, left, right), Clamp(c.y, bottom, top), Clamp(c.z, near, far));
    return PointSphere(clamped, c, r);
}

bool CollisionEngine::CuboidCuboid(float left1, float right1, float top1, float bottom1, float near1, float far1,
                                   float left2, float right2, float top2, float bottom2, float near2,
                                   float far2) const {
    return RectangleRectangle(left1, right1, top1, bottom1, left2, right2, top2, bottom2) && near2 <= far1 &&
           far2 >= near1;
}

bool CollisionEngine::Check(const Collision2D& a, const Collision2D& b) const {
    // A kind outside the three known ones touches nothing (it would otherwise
    // select the test of another pair).
    if (!ValidKind(a.type) || !ValidKind(b.type)) return false;
    const float* av = a.value;
    const float* bv = b.value;
    switch (b.type * 3 + a.type) {
        case 1: return PointCircle({bv[0], bv[1]}, {av[0], av[1]}, av[2]);
        case 2: return PointRectangle({bv[0], bv[1]}, av[0], av[2], av[1], av[3]);
        case 3: return PointCircle({av[0], av[1]}, {bv[0], bv[1]}, bv[2]);
        case 4: return CircleCircle({av[0], av[1]}, av[2], {bv[0], bv[1]}, bv[2]);
        case 5: return CircleRectangle({bv[0], bv[1]}, bv[2], av[0], av[2], av[1], av[3]);
        case 6: return PointRectangle({av[0], av[1]}, bv[0], bv[2], bv[1], bv[3]);
        case 7: return CircleRectangle({av[0], av[1]}, av[2], bv[0], bv[2], bv[1], bv[3]);
        case 8: return RectangleRectangle(av[0], av[2], av[1], av[3], bv[0], bv[2], bv[1], bv[3]);
        default: return false;  // point with point: a point has no extent
    }
}

bool CollisionEngine::Check(const CollisionInfo2D& list, const Collision2D& s) const {
    for (const Collision2D& shape : list.shapes) {
        if (Check(shape, s)) return true;
    }
    return false;
}

bool CollisionEngine::Check(const Collision2D& s, const CollisionInfo2D& list) const { return Check(list, s); }

bool CollisionEngine::Check(const CollisionInfo2D& a, const CollisionInfo2D& b) const {
    for (const Collision2D& shape : a.shapes) {
        if (Check(b, shape)) return true;
    }
    return false;
}

bool CollisionEngine::Check(const Collision2D& a, const Collision2D& b, D3DXVECTOR2 offset, D3DXVECTOR2 scaleA,
                            D3DXVECTOR2 scaleB) const {
    return Check(Placed(a, offset, scaleA), Placed(b, D3DXVECTOR2(0.0f, 0.0f), scaleB));
}

bool CollisionEngine::Check(const CollisionInfo2D& a, const Collision2D& b, D3DXVECTOR2 offset, D3DXVECTOR2 scaleA,
                            D3DXVECTOR2 scaleB) const {
    for (const Collision2D& shape : a.shapes) {
        if (Check(shape, b, offset, scaleA, scaleB)) return true;
    }
    return false;
}

bool CollisionEngine::Check(const Collision2D& a, const CollisionInfo2D& b, D3DXVECTOR2 offset, D3DXVECTOR2 scaleA,
                            D3DXVECTOR2 scaleB) const {
    // The list takes the moving role with the offset negated: the relative
    // placement of the two stays the same.
    return Check(b, a, D3DXVECTOR2(-offset.x, -offset.y), scaleB, scaleA);
}

bool CollisionEngine::Check(const CollisionInfo2D& a, const CollisionInfo2D& b, D3DXVECTOR2 offset, D3DXVECTOR2 scaleA,
                            D3DXVECTOR2 scaleB) const {
    for (const Collision2D& shapeA : a.shapes) {
        for (const Collision2D& shapeB : b.shapes) {
            if (Check(shapeA, shapeB, offset, scaleA, scaleB)) return true;
        }
    }
    return false;
}

bool CollisionEngine::Check(const Entity* a, const Entity* b) const {
    Placement pa, pb;
    if (!PlacementOf(a, pa) || !PlacementOf(b, pb)) return false;
    // Tested in b's frame: a is moved by a.position − b.position.
    D3DXVECTOR2 offset(pa.position.x - pb.position.x, pa.position.y - pb.position.y);
    return Check(*pa.shapes, *pb.shapes, offset, pa.scale, pb.scale);
}

bool CollisionEngine::Check(const Entity* e, const Collision2D& s) const {
    Placement pe;
    if (!PlacementOf(e, pe)) return false;
    return Check(*pe.shapes, s, pe.position, pe.scale, kUnitScale);
}

bool CollisionEngine::Check(const Collision2D& s, const Entity* e) const { return Check(e, s); }

bool CollisionEngine::Check(const CollisionInfo2D& list, const Entity* e) const {
    Placement pe;
    if (!PlacementOf(e, pe)) return false;
    return Check(*pe.shapes, list, pe.position, pe.scale, kUnitScale);
}

bool CollisionEngine::Check(const Entity* e, const CollisionInfo2D& list) const { return Check(list, e); }
