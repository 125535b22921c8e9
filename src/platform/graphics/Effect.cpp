#include "platform/graphics/Effect.h"

#include <cstring>

#include "platform/graphics/GLTexture.h"

namespace {

enum class Depth { Off, AlwaysWrite, EqualNoWrite };
enum class Blend { Alpha, Splatter, Add };
enum Sampler { PointClamp = 0, LinearClamp = 1, WrapClamp = 2 };

struct TechniqueInfo {
    const char* name;
    const char* vertex;
    const char* pixel;
    Depth depth;
    Blend blend;
    Sampler sampler0;
    bool alphaTest;
};

// Every technique is one pass with culling off.
const TechniqueInfo techniqueTable[] = {
    {"Technique2D", "VS_2D", "PS_2D", Depth::Off, Blend::Alpha, PointClamp, true},
    {"TechniqueLinear2D", "VS_2D", "PS_2D", Depth::Off, Blend::Alpha, LinearClamp, true},
    {"TechniqueWrap2D", "VS_2D", "PS_2D", Depth::Off, Blend::Alpha, WrapClamp, true},
    {"TechniqueTileSplatter2D", "VS_TILE", "PS_TILE_SPLATTER", Depth::EqualNoWrite, Blend::Splatter, LinearClamp, true},
    {"TechniqueTilePara2D", "VS_TILE", "PS_TILE_PARALLAX", Depth::Off, Blend::Alpha, WrapClamp, true},
    {"TechniqueTileStrips2D", "VS_TILE", "PS_TILE_STRIPS", Depth::Off, Blend::Alpha, WrapClamp, true},
    {"TechniqueTileGroup2DDepth", "VS_TILE", "PS_TILE_GROUP", Depth::AlwaysWrite, Blend::Alpha, LinearClamp, true},
    {"TechniqueTileGroup2D", "VS_TILE", "PS_TILE_GROUP", Depth::Off, Blend::Alpha, LinearClamp, true},
    {"TechniqueTile2D", "VS_TILE", "PS_TILE", Depth::AlwaysWrite, Blend::Alpha, LinearClamp, true},
    {"TechniqueTileColor2D", "VS_TILE", "PS_TILE_COLOUR", Depth::Off, Blend::Alpha, WrapClamp, true},
    {"TechniqueAdd", "VS_2D", "PS_2D", Depth::Off, Blend::Add, LinearClamp, false},
    {"TechniqueLight", "VS_LIGHT", "PS_LIGHT", Depth::Off, Blend::Add, LinearClamp, false},
};

const char* const textureNames[4] = {"texture0", "texture1", "tileTex", "maskTex"};

GLuint CompileStage(GLenum stage, const std::string& text, std::string& errors) {
    GLuint shader = glCreateShader(stage);
    const char* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok) return shader;
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, length, nullptr, log.data());
    errors += log.c_str();  // NOLINT(readability-redundant-string-cstr): up to the log's NUL, not its padding
    glDeleteShader(shader);
    return 0;
}

GLuint LinkProgram(const TechniqueInfo& info, const std::string& source, std::string& errors) {
    std::string head = "#version 330 core\n";
    std::string vertexText = head + "#define VERTEX\n#define " + info.vertex + "\n#line 1\n" + source;
    std::string pixelText = head + "#define FRAGMENT\n#define " + info.pixel + "\n" +
                            (info.alphaTest ? "#define ALPHA_TEST\n" : "") + "#line 1\n" + source;
    GLuint vertex = CompileStage(GL_VERTEX_SHADER, vertexText, errors);
    GLuint pixel = CompileStage(GL_FRAGMENT_SHADER, pixelText, errors);
    if (!vertex || !pixel) {
        if (vertex) glDeleteShader(vertex);
        if (pixel) glDeleteShader(pixel);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, pixel);
    glBindAttribLocation(program, 0, "position");
    glBindAttribLocation(program, 1, "texcoord0");
    glBindAttribLocation(program, 2, "corner");
    glBindAttribLocation(program, 3, "tint");
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(pixel);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok) return program;
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    glGetProgramInfoLog(program, length, nullptr, log.data());
    // NOLINTNEXTLINE(readability-redundant-string-cstr): up to the log's NUL, not its padding
    errors += std::string(info.name) + ": " + log.c_str();
    glDeleteProgram(program);
    return 0;
}

// Mesa's renderers that run on the processor.
bool SoftwareRenderer() {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer) return false;
    for (const char* name : {"llvmpipe", "softpipe", "swrast"})
        if (std::strstr(renderer, name)) return true;
    return false;
}

}  // namespace

struct Effect::Technique {
    const TechniqueInfo* info = nullptr;
    std::string name;
    GLuint program = 0;
    GLint worldViewProj = -1;
    GLint instancedata = -1;
    GLint targetFlipY = -1;
};

Effect::~Effect() { Release(); }

const std::vector<std::string>& Effect::TechniqueNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const TechniqueInfo& info : techniqueTable) list.emplace_back(info.name);
        return list;
    }();
    return names;
}

bool Effect::TechniqueUsesDepth(const std::string& name) {
    for (const TechniqueInfo& info : techniqueTable)
        if (name == info.name) return info.depth != Depth::Off;
    return false;
}

bool Effect::TechniqueAlphaTests(const std::string& name) {
    for (const TechniqueInfo& info : techniqueTable)
        if (name == info.name) return info.alphaTest;
    return false;
}

bool Effect::TechniqueAlphaTests() const { return current && current->info->alphaTest; }

namespace {
const TechniqueInfo* FindTechnique(const std::string& name) {
    for (const TechniqueInfo& info : techniqueTable)
        if (name == info.name) return &info;
    return nullptr;
}
}  // namespace

bool Effect::TechniqueHides(const std::string& name) {
    const TechniqueInfo* info = FindTechnique(name);
    if (!info || info->blend != Blend::Alpha || info->depth == Depth::EqualNoWrite) return false;
    // The pixel programs whose alpha is texture0's alpha times the tint.
    for (const char* pixel : {"PS_2D", "PS_TILE", "PS_TILE_GROUP", "PS_TILE_PARALLAX", "PS_TILE_COLOUR"})
        if (std::strcmp(info->pixel, pixel) == 0) return true;
    return false;
}

bool Effect::TechniqueDropsClear(const std::string& name) {
    const TechniqueInfo* info = FindTechnique(name);
    if (!info || !info->alphaTest) return false;
    for (const char* pixel :
         {"PS_2D", "PS_TILE", "PS_TILE_GROUP", "PS_TILE_PARALLAX", "PS_TILE_COLOUR", "PS_TILE_SPLATTER"})
        if (std::strcmp(info->pixel, pixel) == 0) return true;
    return false;
}

bool Effect::TechniqueCuts(const std::string& name) {
    const TechniqueInfo* info = FindTechnique(name);
    return info && info->depth == Depth::Off && std::strcmp(info->vertex, "VS_LIGHT") != 0 &&
           std::strcmp(info->pixel, "PS_TILE_STRIPS") != 0;
}

bool Effect::TechniqueWrapsAcross(const std::string& name) {
    const TechniqueInfo* info = FindTechnique(name);
    return info && info->sampler0 == WrapClamp;
}

bool Effect::Load(const std::string& source, std::string& errors) {
    Release();
    errors.clear();
    for (const TechniqueInfo& info : techniqueTable) {
        GLuint program = LinkProgram(info, source, errors);
        if (!program) {
            Release();
            return false;
        }
        auto* technique = new Technique;
        technique->info = &info;
        technique->name = info.name;
        technique->program = program;
        technique->worldViewProj = glGetUniformLocation(program, "worldViewProj");
        technique->instancedata = glGetUniformLocation(program, "instancedata");
        technique->targetFlipY = glGetUniformLocation(program, "targetFlipY");
        glUseProgram(program);
        for (int unit = 0; unit < 4; ++unit) {
            GLint location = glGetUniformLocation(program, textureNames[unit]);
            if (location >= 0) glUniform1i(location, unit);
        }
        techniques.push_back(technique);
    }
    glUseProgram(0);

    glGenSamplers(6, samplers);
    // Blending between two mip levels doubles the texture reads of every
    // scaled-down picture. A graphics card does that for free; a renderer
    // running on the processor spends a fifth of a play level's frame on it,
    // so there the nearest mip level is read instead.
    const bool blendMips = !SoftwareRenderer();
    const GLint pointMips = blendMips ? GL_NEAREST_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
    const GLint linearMips = blendMips ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST;
    const GLint minFilter[6] = {pointMips, linearMips, linearMips, GL_NEAREST, GL_LINEAR, GL_LINEAR};
    const GLint magFilter[3] = {GL_NEAREST, GL_LINEAR, GL_LINEAR};
    const GLint wrapU[3] = {GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE, GL_REPEAT};
    for (int i = 0; i < 6; ++i) {
        glSamplerParameteri(samplers[i], GL_TEXTURE_MIN_FILTER, minFilter[i]);
        glSamplerParameteri(samplers[i], GL_TEXTURE_MAG_FILTER, magFilter[i % 3]);
        glSamplerParameteri(samplers[i], GL_TEXTURE_WRAP_S, wrapU[i % 3]);
        glSamplerParameteri(samplers[i], GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    current = techniques.front();
    bound = nullptr;
    instanceData.assign(MAX_VECTORS * 4, 0.0f);
    return true;
}

void Effect::Release() {
    for (Technique* technique : techniques) {
        glDeleteProgram(technique->program);
        delete technique;
    }
    techniques.clear();
    if (samplers[0]) glDeleteSamplers(6, samplers);
    std::memset(samplers, 0, sizeof samplers);
    current = nullptr;
    bound = nullptr;
    for (GLuint& sampler : boundSamplers) sampler = 0;
}

bool Effect::SetTechnique(const std::string& name) {
    for (Technique* technique : techniques)
        if (technique->name == name) {
            current = technique;
            return true;
        }
    return false;
}

bool Effect::TechniqueTurnsQuads() const { return !current || std::strcmp(current->info->vertex, "VS_LIGHT") != 0; }

const std::string& Effect::GetTechnique() const {
    static const std::string none;
    return current ? current->name : none;
}

bool Effect::SetTexture(const char* name, GLTexture* texture) {
    for (int unit = 0; unit < 4; ++unit)
        if (std::strcmp(name, textureNames[unit]) == 0) {
            textures[unit] = texture ? texture->name : 0;
            texturesMipmapped[unit] = texture && texture->mipmapped;
            return true;
        }
    return false;
}

bool Effect::SetMatrix(const char* name, const D3DXMATRIX& matrix) {
    if (std::strcmp(name, "worldViewProj") != 0) return false;
    std::memcpy(worldViewProj, matrix.m, sizeof worldViewProj);
    return true;
}

bool Effect::SetVectorArray(const char* name, const float* vectors, unsigned count) {
    if (std::strcmp(name, "instancedata") != 0 || count > MAX_VECTORS || instanceData.empty()) return false;
    std::memcpy(instanceData.data(), vectors, count * 4 * sizeof(float));
    instanceCount = count;
    return true;
}

void Effect::InvalidateState() {
    bound = nullptr;
    for (GLuint& sampler : boundSamplers) sampler = 0;
}

void Effect::ClearTextures() {
    for (GLuint& texture : textures) texture = 0;
    for (bool& mipmapped : texturesMipmapped) mipmapped = false;
}

void Effect::CommitChanges() {
    if (!current) return;
    const TechniqueInfo& info = *current->info;
    if (bound != current) {
        glUseProgram(current->program);
        switch (info.depth) {
            case Depth::Off: glDisable(GL_DEPTH_TEST); break;
            case Depth::AlwaysWrite:
                glEnable(GL_DEPTH_TEST);
                glDepthFunc(GL_ALWAYS);
                glDepthMask(GL_TRUE);
                break;
            case Depth::EqualNoWrite:
                glEnable(GL_DEPTH_TEST);
                glDepthFunc(GL_EQUAL);
                glDepthMask(GL_FALSE);
                break;
        }
        glEnable(GL_BLEND);
        glBlendEquation(GL_FUNC_ADD);
        switch (info.blend) {
            case Blend::Alpha: glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA, GL_ONE); break;
            case Blend::Splatter:
                glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE);
                break;
            case Blend::Add: glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE, GL_ZERO, GL_ZERO); break;
        }
        glDisable(GL_CULL_FACE);
        bound = current;
    }
    const int kinds[4] = {info.sampler0, LinearClamp, WrapClamp, LinearClamp};
    for (int unit = 0; unit < 4; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, textures[unit]);
        const GLuint sampler = samplers[kinds[unit] + (texturesMipmapped[unit] ? 0 : 3)];
        if (boundSamplers[unit] != sampler) {
            glBindSampler(static_cast<GLuint>(unit), sampler);
            boundSamplers[unit] = sampler;
        }
    }
    glUniformMatrix4fv(current->worldViewProj, 1, GL_FALSE, worldViewProj);
    glUniform1f(current->targetFlipY, targetFlipY);
    if (instanceCount) glUniform4fv(current->instancedata, static_cast<GLsizei>(instanceCount), instanceData.data());
}
