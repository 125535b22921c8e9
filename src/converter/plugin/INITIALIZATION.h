#pragma once
// Set-up shared by every plug-in build: a generated source defines IN_DLL
// before it includes anything, and the builder gives DLL_NAMESPACE (a name
// of its own for every build, so two plug-ins never share one).
#ifndef IN_DLL
#error "generated plug-in sources define IN_DLL first"
#endif
#ifndef DLL_NAMESPACE
#define DLL_NAMESPACE gf_plugin_unnamed
#endif
#ifndef ENTITY_DLL_ENUM_H
#error "\"ENTITY Enum.h\" must be included before \"INITIALIZATION.h\""
#endif
