#pragma once
// Binding macros of a generated extended object: its Differences function
// binds handlers on a fresh clone of the base type; OBJECT names that base.
#define BINDEVENT(name) object->AddEvent(#name, &name)
#define BINDENGINE(name) object->AddToEngine(#name, Event(&name))
#define OBJECT(base) [[maybe_unused]] static const char* const _baseObjectName = #base
