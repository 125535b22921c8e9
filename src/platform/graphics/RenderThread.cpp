#include "platform/graphics/RenderThread.h"

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {
std::atomic<std::thread::id> renderThread{};
std::mutex releasedLock;
std::vector<GLuint> releasedTextures;
std::vector<GLuint> releasedFramebuffers;
}  // namespace

void SetRenderThread() { renderThread.store(std::this_thread::get_id()); }
void ClearRenderThread() {
    // Names still waiting belong to the context that is going away.
    std::lock_guard<std::mutex> lock(releasedLock);
    renderThread.store(std::thread::id{});
    releasedTextures.clear();
    releasedFramebuffers.clear();
}
bool OnRenderThread() { return renderThread.load() == std::this_thread::get_id(); }

void DeleteTextureLater(GLuint texture) {
    if (texture == 0) return;
    std::lock_guard<std::mutex> lock(releasedLock);
    if (renderThread.load() == std::thread::id{}) return;  // no context: the name died with it
    releasedTextures.push_back(texture);
}

void DeleteFramebufferLater(GLuint framebuffer) {
    if (framebuffer == 0) return;
    std::lock_guard<std::mutex> lock(releasedLock);
    if (renderThread.load() == std::thread::id{}) return;
    releasedFramebuffers.push_back(framebuffer);
}

void CollectReleasedObjects() {
    std::vector<GLuint> textures, framebuffers;
    {
        std::lock_guard<std::mutex> lock(releasedLock);
        textures.swap(releasedTextures);
        framebuffers.swap(releasedFramebuffers);
    }
    if (!framebuffers.empty()) glDeleteFramebuffers(static_cast<GLsizei>(framebuffers.size()), framebuffers.data());
    if (!textures.empty()) glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
}
