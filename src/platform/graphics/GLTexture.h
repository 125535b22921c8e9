#pragma once
#include <epoxy/gl.h>

#include <memory>

class OpaqueBlocks;

// One texture on the device: what the draw lists, the sheet tables and the
// render targets point at. GL names are made and deleted on the render
// thread only.
struct GLTexture {
    GLuint name = 0;
    int width = 0;
    int height = 0;
    bool mipmapped = false;  // carries a full mip chain
    // The rows that can show anything (alpha above zero), as texture
    // coordinates from the top: a tiled picture drawn across the window is
    // drawn only over them. 0 and 1 when unknown.
    float visibleV0 = 0.0f, visibleV1 = 1.0f;
    // A sprite sheet's texture carries its sheet's index (-1 for any other).
    // Its record is made, at the sheet's size, when the sheet data is read;
    // its pixels come when the sheet is first wanted. Until then it is
    // pending and has no GL name. The render thread alone reads and changes
    // the name, the visible rows and the pending flag of a sheet.
    int sheet = -1;
    bool pending = false;
    // Where the picture is wholly opaque and which rows of each column can
    // show anything, when known (the sheets): the renderer leaves out what
    // an opaque quad hides and where a quad's own picture is clear.
    std::shared_ptr<const OpaqueBlocks> opaqueParts;
};

// The band of rows of an RGBA8 picture (top row first) whose alpha is above
// zero, as texture coordinates; v0 >= v1 when it is wholly transparent.
void VisibleRows(int width, int height, const unsigned char* rgba, float& v0, float& v1);

// Render thread only: uploads width x height RGBA8 pixels, top row first (a
// null pixel pointer leaves the contents undefined). With mipmaps a full chain
// is generated from the picture.
GLTexture* CreateGLTexture(int width, int height, const void* rgba, bool mipmaps);
// Render thread only: gives an existing record (its width and height set,
// no GL name yet) its pixels, as CreateGLTexture does. False when GL failed.
bool UploadGLTexture(GLTexture& texture, const void* rgba, bool mipmaps);
// Gives the record's GL name back and keeps the record. Off the render
// thread the name is handed to the render thread, as ReleaseGLTexture does.
void ReleaseGLName(GLTexture& texture);

// Releases the texture and deletes the record. Off the render thread the GL
// name is handed to the render thread, which deletes it at its next turn.
void ReleaseGLTexture(GLTexture* texture);
