#include "collision/CollisionEngine.h"

Collision2D::Collision2D(CollisionEngine::CollisionType kind, D3DXVECTOR2 a, D3DXVECTOR2 b)
    : type(kind), value{a.x, a.y, b.x, b.y} {}

Collision2D::Collision2D(float x, float y) : type(CollisionEngine::Point), value{x, y, 0.0f, 0.0f} {}

Collision2D::Collision2D(D3DXVECTOR2 p) : Collision2D(p.x, p.y) {}

Collision2D::Collision2D(D3DXVECTOR3 p) : Collision2D(p.x, p.y) {}

Collision2D::Collision2D(float x, float y, float r) : type(CollisionEngine::Circle), value{x, y, r, 0.0f} {}

Collision2D::Collision2D(D3DXVECTOR2 c, float r) : Collision2D(c.x, c.y, r) {}

Collision2D::Collision2D(D3DXVECTOR3 c, float r) : Collision2D(c.x, c.y, r) {}

Collision2D::Collision2D(D3DXVECTOR2 c, float w, float h)
    : type(CollisionEngine::Rectangle), value{c.x - w * 0.5f, c.y + h * 0.5f, c.x + w * 0.5f, c.y - h * 0.5f} {}

Collision2D::Collision2D(D3DXVECTOR3 c, float w, float h) : Collision2D(D3DXVECTOR2(c.x, c.y), w, h) {}

Collision2D::Collision2D(float left, float right, float top, float bottom)
    : type(CollisionEngine::Rectangle), value{left, top, right, bottom} {}
