#include "platform/graphics/Texture.h"

#include "platform/graphics/Frame.h"

int Texture::sheetWidth = 0;
int Texture::sheetHeight = 0;
int Texture::sheetCount = 0;
std::vector<Texture*> TextureList;
Frame Frame::white;

#include "platform/graphics/CameraGlobals.h"

float CameraGlobals::x = 0.0f;
float CameraGlobals::y = 0.0f;
float CameraGlobals::r = 1.0f;
