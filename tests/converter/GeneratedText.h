#pragma once
// Test helper: a generated plug-in source in the converter's layout that
// the converter itself never writes (an extended object without its
// "Differences" export).
#include <string>

namespace generated {

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

// The source of an extended object of base type, with or without its
// "Differences" export.
inline std::string ExObjectSource(const std::string& type, const std::string& base, bool withDifferences) {
    std::string text = Preamble("ExObject");
    text += "\n\nnamespace DLL_NAMESPACE\n{\n\nint _entityOffset_" + type + "[MAX_ENUM_VALUE];\n\n\n";
    text += "extern \"C\" {\n\n";
    if (withDifferences)
        text +=
            "__declspec(dllexport) void Differences(Object* object)\n{\n\tGETVARIABLE(object, int, counter) = "
            "99;\n}\n\n";
    text += "__declspec(dllexport) void NewObject(ExObject* exobject)\n{\n\texobject->object = \"" + base +
            "\";\n}\n\n}\n}\n";
    return text;
}

}  // namespace generated
