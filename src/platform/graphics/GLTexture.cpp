#include "platform/graphics/GLTexture.h"

#include <cstddef>

#include "platform/graphics/RenderThread.h"

GLTexture* CreateGLTexture(int width, int height, const void* rgba, bool mipmaps) {
    if (width <= 0 || height <= 0) return nullptr;
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0) return nullptr;
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    if (mipmaps) {
        glGenerateMipmap(GL_TEXTURE_2D);
    } else {
        // A single level: without this the sampler's mip filter would find
        // the texture incomplete and read black.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return nullptr;
    }
    return new GLTexture{name, width, height, mipmaps};
}

void ReleaseGLTexture(GLTexture* texture) {
    if (!texture) return;
    if (OnRenderThread())
        glDeleteTextures(1, &texture->name);
    else
        DeleteTextureLater(texture->name);
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
