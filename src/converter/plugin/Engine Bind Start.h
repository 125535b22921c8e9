#pragma once
// Binding macros of a generated Engine type: BIND builds the prototype in
// _Init's slot "engine"; the others bind its handlers and engines.
#define BIND(TypeName)                   \
    GF_BIND_PROTOTYPE(engine, TypeName); \
    engine->_copy = &_Copy
#define BINDEVENT(name) engine->_AddEvent(#name, &name)
#define BINDENGINE(name) engine->_AddEvent(#name, &name)
#define ENGINE(engineName, value) \
    ::gf_plugin::CopyEngine(copy->_state != nullptr ? copy->_state : State::_currentState, #engineName, value)
