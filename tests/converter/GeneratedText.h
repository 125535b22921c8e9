#pragma once
// Test helper: generated plug-in sources in the converter's layout, for the
// builder tests (a member list, event functions and an optional objects
// section of an object type; an extended object).
#include <string>
#include <utility>
#include <vector>

namespace generated {

struct Member {
    std::string type;   // the declaration's type ("int", "std::string")
    std::string name;   // the member
    std::string count;  // element count of an array member, or ""
    std::string value;  // default, or ""
    bool special = false;
    std::string construct;  // construction text of a special type
    std::string destroy;    // destruction text of a special type
};

inline std::string Preamble(const std::string& kind) {
    std::string text =
        "// Generated from a stencil script; changes here are overwritten.\n\n"
        "//This file is a temporary file made to make the DLL\n"
        "//This is not the file made that is compiled at compile time\n\n#define IN_DLL\n\n";
    for (const std::string& include :
         {std::string("EVERYTHING header.h"), std::string("ENTITY Enum.h"), std::string("INITIALIZATION.h"),
          std::string("Core Dependencies.h"), kind + " Bind Start.h", std::string("ENTITY HelperFunctions.h"),
          std::string("ENTITY TempHelperFunctions.h")})
        text += "#include \"" + include + "\"\n";
    return text;
}

// The source of an object type named type with members and event functions
// (name, body) in the converter's layout.
inline std::string ObjectSource(const std::string& type, const std::vector<Member>& members,
                                const std::vector<std::pair<std::string, std::string>>& events,
                                const std::string& globals = "") {
    std::string text = Preamble("Object");
    text += "\n\nnamespace DLL_NAMESPACE\n{\n\nint _entityOffset_" + type + "[MAX_ENUM_VALUE];\n\n\n";
    text += globals;
    text += "struct _DATA : public Object\n{\n\t_DATA() : Object(sizeof(*this)) {}\n\n";
    for (const Member& m : members)
        text += "\t" + m.type + " " + m.name + (m.count.empty() ? "" : "[" + m.count + "]") + ";\n";
    text += "};\n\n";
    for (const auto& [name, body] : events)
        text += "\t// Function bound to event \"" + name + "\"\nvoid " + name + "(Entity* self, Entity* other)\n{" +
                body + "}\n\n";
    text += "extern \"C\" {\n\n";
    text +=
        "\t// Copies this \"object\"\nvoid _Copy(Entity* copy, const Entity* source)\n{\n\t_DATA* dCopy = "
        "(_DATA*)copy;\n\tconst _DATA* dSource = (const _DATA*)source;\n";
    bool anySpecial = false;
    for (const Member& m : members) {
        if (!m.special) continue;
        anySpecial = true;
        if (m.count.empty())
            text += "\tnew (&dCopy->" + m.name + ") " + m.construct + ";\n";
        else
            text += "\tfor(int i = 0; i < " + m.count + "; ++i)\n\t\tnew (&dCopy->" + m.name + "[i]) " + m.construct +
                    ";\n";
    }
    if (anySpecial) text += "\n";
    if (!members.empty()) {
        text += "\n\t\t// Variables\n";
        for (const Member& m : members) {
            if (m.count.empty())
                text += "\tdCopy->" + m.name + " = dSource->" + m.name + ";\n";
            else
                text += "\tfor(int i = 0; i < " + m.count + "; ++i)\n\t\tdCopy->" + m.name + "[i] = dSource->" +
                        m.name + "[i];\n";
        }
        text += "\n";
    }
    text += "\tcopy->DoEvent(\"Load\", copy);\n}\n\n";
    text += "\t// Frees this \"object\"\nvoid _Free(Entity* self)\n{\n\tself->DoEvent(\"Unload\", self);\n\n\t_DATA* "
            "dSelf = (_DATA*)self;\n";
    for (const Member& m : members) {
        if (!m.special) continue;
        if (m.count.empty())
            text += "\tdSelf->" + m.name + "." + m.destroy + ";\n";
        else
            text += "\tfor(int i = 0; i < " + m.count + "; ++i)\n\t\tdSelf->" + m.name + "[i]." + m.destroy + ";\n";
    }
    text += "}\n\n";
    text += "void __declspec(dllexport) _Init(Object*& object)\n{\n\tBIND(" + type + ");\n\n";
    text += "\tobject->_map = _entityOffset_" + type + ";\n";
    for (const auto& event : events) text += "\tBINDEVENT(" + event.first + ");\n";
    if (!events.empty()) text += "\n";
    for (const Member& m : members) text += "\tBINDVARIABLE(" + m.type + ", " + m.name + ");\n";
    if (!members.empty()) text += "\n";
    text += "\t_DATA* _object = (_DATA*)object;\n\tfor(unsigned i = 0; i < MAX_ENUM_VALUE; ++i)\n\t\t_entityOffset_" +
            type + "[i] = INT_MIN;\n\n";
    if (members.empty())
        text += "\tobject->_startVar = NULL;\n";
    else
        text += "\tobject->_startVar = (char*)(&_object->" + members.front().name + ");\n";
    for (const Member& m : members)
        text += "\t_entityOffset_" + type + "[enum_" + m.name + "] = int( (char*)(&_object->" + m.name +
                ") - object->_startVar );\n";
    if (!members.empty()) text += "\n";
    for (const Member& m : members)
        if (!m.value.empty()) text += "\t_object->" + m.name + " = " + m.value + ";\n";
    text += "}\n\n}\n}\n";
    return text;
}

// The source of an extended object of base type, with or without its
// "Differences" export.
inline std::string ExObjectSource(const std::string& type, const std::string& base, bool withDifferences) {
    std::string text = Preamble("ExObject");
    text += "\n\nnamespace DLL_NAMESPACE\n{\n\nint _entityOffset_" + type + "[MAX_ENUM_VALUE];\n\n\n";
    text += "extern \"C\" {\n\n";
    if (withDifferences)
        text += "__declspec(dllexport) void Differences(Object* object)\n{\n\tGETVARIABLE(object, int, counter) = "
                "99;\n}\n\n";
    text += "__declspec(dllexport) void NewObject(ExObject* exobject)\n{\n\texobject->object = \"" + base +
            "\";\n}\n\n}\n}\n";
    return text;
}

}  // namespace generated
