#pragma once
#include <epoxy/gl.h>

// One texture on the device: what the draw lists, the sheet tables and the
// render targets point at. GL names are made and deleted on the render
// thread only.
struct GLTexture {
    GLuint name = 0;
    int width = 0;
    int height = 0;
    bool mipmapped = false;  // carries a full mip chain
};

// Render thread only: uploads width x height RGBA8 pixels, top row first (a
// null pixel pointer leaves the contents undefined). With mipmaps a full chain
// is generated from the picture.
GLTexture* CreateGLTexture(int width, int height, const void* rgba, bool mipmaps);

// Releases the texture and deletes the record. Off the render thread the GL
// name is handed to the render thread, which deletes it at its next turn.
void ReleaseGLTexture(GLTexture* texture);
