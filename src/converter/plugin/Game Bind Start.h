#pragma once
// Binding macros of a generated Game type: BIND builds the prototype in
// _Init's slot "game"; the others bind its handlers and engines.
#define BIND(TypeName)                 \
    GF_BIND_PROTOTYPE(game, TypeName); \
    game->_SetName(#TypeName)
#define BINDEVENT(name) game->_AddEvent(#name, &name)
#define BINDENGINE(name) game->_AddEvent(#name, &name)
#define ENGINE(engineName, value) ::gf_plugin::CopyEngine(nullptr, #engineName, value)
