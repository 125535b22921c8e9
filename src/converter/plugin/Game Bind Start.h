#pragma once
// Binding macros of a generated Game type: BIND builds the prototype in
// _Init's slot "game"; the others bind its handlers and engines.
#define BIND(TypeName) \
    game = new _DATA(); \
    game->_type = #TypeName; \
    game->_SetName(#TypeName); \
    game->_free = &_Free; \
    _RegisterVariableTable(_entityOffset_##TypeName, MAX_ENUM_VALUE)
#define BINDEVENT(name) game->_AddEvent(#name, &name)
#define BINDENGINE(name) game->_AddEvent(#name, &name)
#define ENGINE(engineName, value) ::gf_plugin::CopyEngine(nullptr, #engineName, value)
