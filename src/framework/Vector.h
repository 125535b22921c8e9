#pragma once

// The two- and three-float vectors used for sizes and positions throughout.
struct D3DXVECTOR2 {
    float x = 0.0f;
    float y = 0.0f;
    constexpr D3DXVECTOR2() = default;
    constexpr D3DXVECTOR2(float xValue, float yValue) : x(xValue), y(yValue) {}
    friend constexpr bool operator==(const D3DXVECTOR2&, const D3DXVECTOR2&) = default;
};

struct D3DXVECTOR3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    constexpr D3DXVECTOR3() = default;
    constexpr D3DXVECTOR3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}
    friend constexpr bool operator==(const D3DXVECTOR3&, const D3DXVECTOR3&) = default;
};
