#pragma once
// Binding macros of a generated Level type: BIND builds the prototype in
// _Init's slot "level"; the others bind its handlers and engines.
#define BIND(TypeName) \
    level = new _DATA(); \
    level->_type = #TypeName; \
    level->_SetName(#TypeName); \
    level->_copy = &_Copy; \
    level->_free = &_Free; \
    _RegisterVariableTable(_entityOffset_##TypeName, MAX_ENUM_VALUE)
#define BINDEVENT(name) level->_AddEvent(#name, &name)
#define BINDENGINE(name) level->_AddEvent(#name, &name)
#define ENGINE(engineName, value) ::gf_plugin::CopyEngine(copy->_state != nullptr ? copy->_state : State::_currentState, #engineName, value)
