#include "platform/graphics/RenderTarget.h"

#include "platform/graphics/DirectX.h"
#include "platform/graphics/GLTexture.h"
#include "platform/graphics/RenderThread.h"

RenderTarget::~RenderTarget() { Release(); }

void RenderTarget::Create() {
    if (texture || width <= 0 || height <= 0) return;
    texture = CreateGLTexture(width, height, nullptr, false);
    if (!texture) {
        DXTrace("RenderTarget", __LINE__, "glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, ...)");
        return;
    }
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture->name, 0);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        DXTrace("RenderTarget", __LINE__, "glCheckFramebufferStatus(GL_FRAMEBUFFER)");
        Release();
    }
}

void RenderTarget::Release() {
    if (OnRenderThread()) {
        if (framebuffer) glDeleteFramebuffers(1, &framebuffer);
    } else {
        DeleteFramebufferLater(framebuffer);
    }
    framebuffer = 0;
    ReleaseGLTexture(texture);
    texture = nullptr;
}

void RenderTarget::Refresh() {
    if (!OnRenderThread()) {
        recreate.store(true);
        return;
    }
    recreate.store(false);
    Release();
    Create();
}

bool RenderTarget::Prepare() {
    if (recreate.exchange(false)) {
        Release();
        Create();
    }
    return texture != nullptr;
}
