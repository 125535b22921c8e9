#pragma once
#include <epoxy/gl.h>

// Which thread owns the GL context. Only that thread makes or deletes GL
// objects; the others hand names over to be deleted at its next turn.
void SetRenderThread();    // the calling thread now owns the context
void ClearRenderThread();  // no thread owns a context (before it is destroyed);
                           // names not yet deleted are forgotten with it
bool OnRenderThread();

void DeleteTextureLater(GLuint texture);
void DeleteFramebufferLater(GLuint framebuffer);
// Render thread: deletes what other threads handed over.
void CollectReleasedObjects();
