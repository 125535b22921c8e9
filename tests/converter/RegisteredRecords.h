#pragma once
// Stencil records made from the registered types: for each object type,
// extended object, level type, engine type and the game, a record holding
// what its registration tells (its bound variables with their type texts and
// the prototype's values as defaults, its bound handlers as functions whose
// small bodies read and write its variables through "self->"). The registries
// must be filled first. Shared by the converter's tests and its benchmark.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "converter/CppConvert.h"
#include "framework/Engine.h"
#include "framework/ExObject.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/Variables.h"

namespace registered {

// A variable a record leaves out, and why.
struct LeftOut {
    std::string type;
    std::string variable;
    std::string typeText;
    std::string reason;
};

struct Record {
    CppData record;  // kind in the converter's class word ("Object", ...)
    std::vector<LeftOut> leftOut;
};

namespace detail {

// The handler table of any entity (the member is protected; its pointer is
// taken through a derived class).
struct EventTable : Entity {
    static constexpr auto table = &EventTable::_events;
};

inline bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The type text without an array suffix ("int[]" -> "int").
inline std::string ElementType(const std::string& type) { return type.substr(0, type.find('[')); }

// Whether the generated copy step can copy a member of this type text into a
// clone's raw storage: a special type (constructed in place) or a type that
// is trivially copyable. Anything else the build refuses by name.
inline bool Copyable(const std::string& type) {
    static const std::vector<std::string> specialTypes = CppConvert::SpecialTypeTexts();
    static const std::set<std::string> plain = {
        "int",  "unsigned int", "float", "double",       "bool",
        "char", "Vec2",         "Vec3",  "VoidFunction", "std::list<Entity*>::iterator"};
    const std::string element = ElementType(type);
    return EndsWith(element, "*") || plain.count(element) != 0 ||
           std::find(specialTypes.begin(), specialTypes.end(), element) != specialTypes.end();
}

// A value the script dialect can write for variable number of prototype, as
// the value prints; empty when there is none to write (the type has no
// literal, the value prints as no literal).
inline std::string DefaultOf(const Entity* prototype, int number, const std::string& type) {
    if (!HasVariable(prototype, number)) return {};
    char text[160];
    const auto real = [&](double v, const char* pattern) -> std::string {
        if (!std::isfinite(v)) return {};
        std::snprintf(text, sizeof text, pattern, v);
        return text;
    };
    if (type == "int") return std::to_string(Variable<std::int32_t>(prototype, number));
    if (type == "unsigned int") return std::to_string(Variable<std::uint32_t>(prototype, number));
    if (type == "float") return real(Variable<float>(prototype, number), "%f");
    if (type == "double") return real(Variable<double>(prototype, number), "%f");
    if (type == "bool") return Variable<bool>(prototype, number) ? "true" : "false";
    if (type == "char") return std::to_string(static_cast<int>(Variable<char>(prototype, number)));
    if (type == "Vec2") {
        const D3DXVECTOR2& v = Variable<D3DXVECTOR2>(prototype, number);
        const std::string x = real(v.x, "%f"), y = real(v.y, "%f");
        return x.empty() || y.empty() ? std::string{} : "Vec2(" + x + ", " + y + ")";
    }
    if (type == "Vec3") {
        const D3DXVECTOR3& v = Variable<D3DXVECTOR3>(prototype, number);
        const std::string x = real(v.x, "%f"), y = real(v.y, "%f"), z = real(v.z, "%f");
        return x.empty() || y.empty() || z.empty() ? std::string{} : "Vec3(" + x + ", " + y + ", " + z + ")";
    }
    if (type == "std::string") {
        // Only texts that need no escapes: the literal stays as written.
        const std::string& v = Variable<std::string>(prototype, number);
        for (char c : v)
            if (c < 32 || c > 126 || c == '"' || c == '\\') return {};
        return "\"" + v + "\"";
    }
    return {};
}

// A small body for handler i: it reads a variable and writes it back
// through "self->" (handler after handler takes the next one), or returns
// when the record has none it can assign.
inline std::string BodyFor(const CppData& record, std::size_t i) {
    static const std::set<std::string> assignable = {"int",  "unsigned int", "float", "double",     "bool",
                                                     "char", "Vec2",         "Vec3",  "std::string"};
    std::vector<std::size_t> usable;
    for (std::size_t v = 0; v < record.varNames.size(); ++v)
        if (assignable.count(record.varTypes[v]) != 0 || EndsWith(record.varTypes[v], "*")) usable.push_back(v);
    if (usable.empty()) return "\n\treturn;\n";
    const std::size_t written = usable[i % usable.size()];
    const std::string& name = record.varNames[written];
    // The value read is of the same type: the variable itself.
    return "\n\tself->" + name + " = self->" + name + ";\n";
}

// The bound handlers of prototype, by name, as event functions. Names that
// are no identifiers cannot be functions of a script.
inline void AddHandlers(CppData& record, const Entity* prototype) {
    std::vector<std::string> names;
    for (const auto& [event, handler] : prototype->*EventTable::table)
        if (CppConvert::IsTypeName(event)) names.push_back(event);
    std::sort(names.begin(), names.end());
    for (std::size_t i = 0; i < names.size(); ++i) {
        CppFunctions function;
        function.name = names[i];
        function.returnType = "void";
        function.functionType = "EVENT";
        function.code = BodyFor(record, i);
        record.functions.push_back(function);
    }
}

inline void AddVariables(Record& made, const Entity* prototype) {
    if (prototype == nullptr || prototype->_map == nullptr) return;
    for (const auto& [number, typeText] : VariableBindingsOf(prototype->_map)) {
        const char* name = VariableName(number);
        if (name == nullptr) continue;
        std::string type = typeText;
        if (type.empty()) {
            made.leftOut.push_back({made.record.typeName, name, type, "its type has no type text"});
            continue;
        }
        if (!Copyable(type)) {
            made.leftOut.push_back({made.record.typeName, name, type,
                                    "neither trivially copyable nor of a special type: the copy step "
                                    "cannot copy it into a clone"});
            continue;
        }
        // An array's type text names no count; a declaration needs one.
        if (EndsWith(type, "[]")) type.insert(type.size() - 1, "4");
        made.record.varNames.push_back(name);
        made.record.varValues.push_back(type.find('[') == std::string::npos ? DefaultOf(prototype, number, type)
                                                                            : std::string{});
        made.record.varTypes.push_back(type);
    }
}

inline Record Make(const std::string& kind, const std::string& typeName, const Entity* prototype) {
    Record made;
    made.record.kind = kind;
    made.record.typeName = typeName;
    AddVariables(made, prototype);
    if (prototype != nullptr) AddHandlers(made.record, prototype);
    return made;
}

}  // namespace detail

// The records of every registered type, in the order object types, extended
// objects, level types, engine types, the game; types whose names are no
// identifiers (no script can name them) are counted in skipped.
inline std::vector<Record> EveryRegisteredType(std::size_t* skipped = nullptr) {
    std::vector<Record> records;
    std::size_t left = 0;
    auto add = [&](const std::string& kind, const std::string& name, const Entity* prototype) {
        if (!CppConvert::IsTypeName(name)) {
            ++left;
            return;
        }
        records.push_back(detail::Make(kind, name, prototype));
    };
    for (const auto& [name, prototype] : Object::_objects) add("Object", name, prototype);
    // An extended object is a clone of its base type with differences: its
    // record holds the base type's variables and handlers, which a clone of
    // it has, and sets them in its differences.
    for (const auto& [name, exObject] : Object::_exobjects) {
        if (!CppConvert::IsTypeName(name) || !CppConvert::IsTypeName(exObject->BaseName())) {
            ++left;
            continue;
        }
        const auto base = Object::_objects.find(exObject->BaseName());
        Record made = detail::Make("ExObject", name, base == Object::_objects.end() ? nullptr : base->second);
        made.record.baseType = exObject->BaseName();
        made.record.differencesText = made.record.functions.empty() ? "\n\treturn;\n" : made.record.functions[0].code;
        records.push_back(std::move(made));
    }
    for (const auto& [name, prototype] : Level::_levels) add("Level", name, prototype);
    for (const auto& [name, prototype] : Engine::_engines) add("Engine", name, prototype);
    if (const Game* game = GetMyGame()) add("Game", game->GetType().empty() ? "TheGame" : game->GetType(), game);
    if (skipped != nullptr) *skipped = left;
    return records;
}

}  // namespace registered
