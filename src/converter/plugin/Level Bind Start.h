#pragma once
// Binding macros of a generated Level type: BIND builds the prototype in
// _Init's slot "level"; the others bind its handlers and engines.
#define BIND(TypeName)                  \
    GF_BIND_PROTOTYPE(level, TypeName); \
    level->_SetName(#TypeName);         \
    level->_copy = &_Copy
#define BINDEVENT(name) level->_AddEvent(#name, &name)
#define BINDENGINE(name) level->_AddEvent(#name, &name)
#define ENGINE(engineName, value) \
    ::gf_plugin::CopyEngine(copy->_state != nullptr ? copy->_state : State::_currentState, #engineName, value)
