// The drawing programs. Every quad arrives as its four corners, placed,
// turned and given their texture coordinates and colour by the renderer;
// the vertex stage only projects them.
//
// The renderer compiles this text once per technique, with VERTEX or
// FRAGMENT defined and one VS_* and one PS_* name naming the programs.

#ifdef VERTEX

uniform mat4 worldViewProj;
// -1 while drawing into a texture (stored top row first), 1 for a window.
uniform float targetFlipY;

layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texcoord0;
layout(location = 2) in vec2 corner;
layout(location = 3) in vec4 tint;

out vec2 texCoord;
out vec2 screenCoord;
out vec4 colour;

void main() {
    colour = tint;
#ifndef VS_LIGHT
    texCoord = texcoord0;
#else
    // The light shades by place in the quad.
    texCoord = corner;
#endif
    vec4 clip = worldViewProj * vec4(position, 0.0, 1.0);
    // Tile and mask textures are sampled where the vertex lands on the target.
    screenCoord = vec2(clip.x * 0.5 + 0.5, clip.y * -0.5 + 0.5);
    gl_Position = vec4(clip.x, clip.y * targetFlipY, clip.z, clip.w);
}

#endif

#ifdef FRAGMENT

uniform sampler2D texture0;
uniform sampler2D texture1;
uniform sampler2D tileTex;
uniform sampler2D maskTex;

in vec2 texCoord;
in vec2 screenCoord;
in vec4 colour;

out vec4 result;

void main() {
#if defined(PS_2D)
    // texture0 is read through the point, linear or wrap sampler that the
    // technique binds.
    vec4 c = texture(texture0, texCoord) * colour;
#elif defined(PS_TILE)
    vec4 c = texture(texture0, texCoord) * colour;
    c.rgb *= texture(maskTex, screenCoord).rgb;
#elif defined(PS_TILE_GROUP)
    vec4 c = vec4(texture(tileTex, screenCoord).rgb, texture(texture0, texCoord).a) * colour;
    c.rgb *= texture(maskTex, screenCoord).rgb;
#elif defined(PS_TILE_PARALLAX)
    vec4 c = vec4(texture(tileTex, screenCoord).rgb, texture(texture0, texCoord).a) * colour;
#elif defined(PS_TILE_COLOUR)
    vec4 c = texture(texture0, texCoord);
    c.rgb *= texture(tileTex, screenCoord).rgb;
    c *= colour;
#elif defined(PS_TILE_SPLATTER)
    vec4 c = texture(texture0, texCoord) * colour;
#elif defined(PS_LIGHT)
    vec2 d = 2.0 * (texCoord - vec2(0.5, 0.5));
    float intensity = 1.0 - (d.x * d.x + d.y * d.y);
    vec4 c = vec4(colour.rgb, colour.a * intensity);
#endif
#ifdef ALPHA_TEST
    // Alpha test: pass when the 8-bit alpha is at least 1.
    if (c.a * 255.0 < 0.5) discard;
#endif
    result = c;
}

#endif
