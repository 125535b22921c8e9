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

#ifdef PS_TILE_STRIPS
// Strips of one tiled picture that each cover the whole quad, back to
// front: instancedata[0].x is their number, then two vectors a strip: its
// texture coordinate from the place in the quad (u = x + y * across,
// v = z + w * down) and its tint.
const int MAX_STRIPS = 4;
uniform vec4 instancedata[1 + 2 * MAX_STRIPS];
#endif

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
#elif defined(PS_TILE_STRIPS)
    // As PS_TILE_PARALLAX for each strip, the strips laid over one another
    // here so that the target is blended once for all of them: the same
    // colour as drawing them one after another (but for the target's
    // rounding between them).
    vec3 ground = texture(tileTex, screenCoord).rgb;
    vec3 sum = vec3(0.0);
    float cover = 0.0;
    int count = min(int(instancedata[0].x), MAX_STRIPS);
    for (int i = 0; i < count; ++i) {
        vec4 place = instancedata[1 + 2 * i];
        vec4 tint = instancedata[2 + 2 * i];
        float a = texture(texture0, vec2(place.x + place.y * texCoord.x, place.z + place.w * texCoord.y)).a * tint.a;
        // A strip that fails the alpha test adds nothing.
        if (a * 255.0 >= 0.5) {
            sum = ground * tint.rgb * a + sum * (1.0 - a);
            cover = a + cover * (1.0 - a);
        }
    }
    vec4 c = vec4(cover > 0.0 ? sum / cover : vec3(0.0), cover);
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
