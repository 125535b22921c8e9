#include "stencil/StencilFuncPropLevel.h"

#include "framework/Level.h"

namespace LevelData::StencilFuncPropLevel {

namespace {

VariableOffsetTable table;

void Copy(Entity* copy, const Entity* source) {
    ConstructVariables<NoVariables>(copy, source);
    copy->DoEvent("PreLoad");
    copy->DoEvent("Load");
}

void Free(Entity* self) { self->DoEvent("Unload"); }

}  // namespace

Level* _Init() {
    auto* prototype = LevelTemplate::Begin<NoVariables>("StencilFuncPropLevel", table, &Copy, &Free);
    LevelTemplate::StartVariables(prototype, table);
    return prototype;
}

}  // namespace LevelData::StencilFuncPropLevel
