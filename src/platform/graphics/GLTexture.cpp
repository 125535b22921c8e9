#include "platform/graphics/GLTexture.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/graphics/RenderThread.h"

namespace {

bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// Half-way between two 8-bit values as a bilinear filter with 8-bit weights
// gives it: half the difference added, rounded half up.
int Halfway(int a, int b) { return a + (((b - a) * 128 + 128) >> 8); }

// The mip chain of a power-of-two picture, made on the processor: each level
// from the one above, a texel the blend of the two by two it covers (each
// pair across, then the two blends; along a side down to one texel, that
// texel), rounded as the software driver's own generation rounds, so the
// chain is the one it would make. The driver renders each level for it
// (compiling a program the first time), which costs several times as much.
// The storage of every level is made at once and each level written into
// it, so the driver never copies the levels together afterwards.
bool UploadMipChain(int width, int height, const unsigned char* rgba) {
    if (epoxy_gl_version() < 42 && !epoxy_has_gl_extension("GL_ARB_texture_storage")) return false;
    while (glGetError() != GL_NO_ERROR) {}
    int levels = 1;
    while ((width >> levels) > 0 || (height >> levels) > 0) ++levels;
    glTexStorage2D(GL_TEXTURE_2D, levels, GL_RGBA8, width, height);
    if (glGetError() != GL_NO_ERROR) return false;
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    std::vector<unsigned char> scratch[2];
    const unsigned char* above = rgba;
    for (int level = 1, w = width, h = height; level < levels; ++level) {
        const int nw = std::max(1, w / 2), nh = std::max(1, h / 2);
        const std::size_t stepX = w > 1 ? 4 : 0;                                // the right neighbour
        const std::size_t stepY = h > 1 ? static_cast<std::size_t>(w) * 4 : 0;  // the one below
        std::vector<unsigned char>& out = scratch[level % 2];
        out.resize(static_cast<std::size_t>(nw) * static_cast<std::size_t>(nh) * 4);
        unsigned char* to = out.data();
        for (int y = 0; y < nh; ++y) {
            const unsigned char* p =
                above + static_cast<std::size_t>(h > 1 ? 2 * y : y) * static_cast<std::size_t>(w) * 4;
            for (int x = 0; x < nw; ++x, p += 2 * stepX, to += 4)
                for (std::size_t c = 0; c < 4; ++c)
                    to[c] = static_cast<unsigned char>(
                        Halfway(Halfway(p[c], p[c + stepX]), Halfway(p[c + stepY], p[c + stepY + stepX])));
        }
        glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, nw, nh, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
        above = out.data();
        w = nw;
        h = nh;
    }
    return true;
}

GLuint MakeGLName(int width, int height, const void* rgba, bool mipmaps) {
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0) return 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (mipmaps && rgba && PowerOfTwo(width) && PowerOfTwo(height) &&
        UploadMipChain(width, height, static_cast<const unsigned char*>(rgba))) {
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        if (mipmaps) {
            glGenerateMipmap(GL_TEXTURE_2D);
        } else {
            // A single level: without this the sampler's mip filter would find
            // the texture incomplete and read black.
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return 0;
    }
    return name;
}
}  // namespace

GLTexture* CreateGLTexture(int width, int height, const void* rgba, bool mipmaps) {
    if (width <= 0 || height <= 0) return nullptr;
    const GLuint name = MakeGLName(width, height, rgba, mipmaps);
    if (name == 0) return nullptr;
    return new GLTexture{name, width, height, mipmaps};
}

bool UploadGLTexture(GLTexture& texture, const void* rgba, bool mipmaps) {
    if (texture.width <= 0 || texture.height <= 0) return false;
    const GLuint name = MakeGLName(texture.width, texture.height, rgba, mipmaps);
    if (name == 0) return false;
    ReleaseGLName(texture);
    texture.name = name;
    texture.mipmapped = mipmaps;
    return true;
}

void ReleaseGLName(GLTexture& texture) {
    if (texture.name == 0) return;
    if (OnRenderThread())
        glDeleteTextures(1, &texture.name);
    else
        DeleteTextureLater(texture.name);
    texture.name = 0;
}

void ReleaseGLTexture(GLTexture* texture) {
    if (!texture) return;
    ReleaseGLName(*texture);
    delete texture;
}

void VisibleRows(int width, int height, const unsigned char* rgba, float& v0, float& v1) {
    int first = height, last = -1;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = rgba + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4;
        for (int x = 0; x < width; ++x)
            if (row[x * 4 + 3] != 0) {
                if (first == height) first = y;
                last = y;
                break;
            }
    }
    v0 = height > 0 ? static_cast<float>(first) / static_cast<float>(height) : 0.0f;
    v1 = height > 0 ? static_cast<float>(last + 1) / static_cast<float>(height) : 0.0f;
}
