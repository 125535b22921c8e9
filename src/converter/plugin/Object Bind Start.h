#pragma once
// Binding macros of a generated Object type: BIND builds the prototype in
// _Init's slot "object"; the others bind its handlers and engines.
#define BIND(TypeName)                   \
    GF_BIND_PROTOTYPE(object, TypeName); \
    object->_copy = &_Copy
#define BINDEVENT(name) object->_AddEvent(#name, &name)
#define BINDENGINE(name) object->_TempAddEngine(#name, &name)
#define ENGINE(engineName, value) ::gf_plugin::JoinEngine(copy, #engineName, value)
