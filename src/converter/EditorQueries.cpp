// What the editors ask of the converter: a type's variables, a variable's
// type text, a live variable's value as text, and whether a text suits a type.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "converter/CppConvert.h"
#include "framework/Entity.h"
#include "framework/Vector.h"

namespace {
// printf into a string of whatever length the value needs.
template <class... Args>
std::string Format(const char* pattern, Args... args) {
    const int length = std::snprintf(nullptr, 0, pattern, args...);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern, args...);
    text.resize(static_cast<std::size_t>(length));
    return text;
}
}  // namespace

std::set<std::string> CppConvert::GetVarList(const std::string& typeName) {
    RecordBoundVariables();
    const auto found = varSetsByType.find(typeName);
    return found == varSetsByType.end() ? std::set<std::string>{} : found->second;
}

std::string CppConvert::GetVarType(const std::string& variableName) {
    RecordBoundVariables();
    const auto found = varTypeByName.find(variableName);
    return found == varTypeByName.end() ? std::string{} : found->second;
}

std::string CppConvert::AccessVarValue(const void* address, const std::string& typeText, std::string newValue) {
    // The instance editor hands the address of a live variable that it may set.
    void* at = const_cast<void*>(address);
    const bool write = !newValue.empty();
    const char* value = newValue.c_str();
    if (typeText == "int") {
        auto& v = *static_cast<std::int32_t*>(at);
        if (!write) return Format("%i", v);
        // Read as "%i" reads (decimal, 0x hex, 0 octal), held to the int range.
        char* end = nullptr;
        errno = 0;
        const long read = std::strtol(value, &end, 0);
        if (end != value) v = static_cast<std::int32_t>(std::clamp<long>(read, INT32_MIN, INT32_MAX));
        return "ValueSet";
    }
    if (typeText == "float") {
        auto& v = *static_cast<float*>(at);
        if (!write) return Format("%f", static_cast<double>(v));
        std::sscanf(value, "%f", &v);
        return "ValueSet";
    }
    if (typeText == "double") {
        auto& v = *static_cast<double*>(at);
        if (!write) return Format("%f", v);
        std::sscanf(value, "%lf", &v);
        return "ValueSet";
    }
    if (typeText == "char") {
        auto& v = *static_cast<char*>(at);
        if (!write) return v == '\0' ? std::string{} : std::string(1, v);
        v = newValue[0];
        return "ValueSet";
    }
    if (typeText == "char *" || typeText == "char*") {
        // The size of the buffer behind the pointer is unknown: it is never
        // written. A null pointer reads as an empty text.
        if (write) return {};
        const char* text = *static_cast<const char* const*>(address);
        return text == nullptr ? std::string{} : std::string(text);
    }
    if (typeText == "bool") {
        // Read as its byte: any value but 0 is true.
        auto& v = *static_cast<unsigned char*>(at);
        if (!write) return v != 0 ? "true" : "false";
        v = newValue == "true" ? 1 : 0;
        return "ValueSet";
    }
    if (typeText == "Vec3") {
        auto& v = *static_cast<D3DXVECTOR3*>(at);
        if (!write)
            return Format("Vec3(%f, %f, %f)", static_cast<double>(v.x), static_cast<double>(v.y),
                          static_cast<double>(v.z));
        std::sscanf(value, "Vec3(%f, %f, %f)", &v.x, &v.y, &v.z);
        return "ValueSet";
    }
    if (typeText == "Vec2") {
        auto& v = *static_cast<D3DXVECTOR2*>(at);
        if (!write) return Format("Vec2(%f, %f)", static_cast<double>(v.x), static_cast<double>(v.y));
        std::sscanf(value, "Vec2(%f, %f)", &v.x, &v.y);
        return "ValueSet";
    }
    if (typeText == "std::string") {
        auto& v = *static_cast<std::string*>(at);
        if (!write) return v;
        v = newValue;
        return "ValueSet";
    }
    return {};
}

std::size_t CppConvert::ValueSize(const std::string& typeText) {
    if (typeText == "int" || typeText == "float") return 4;
    if (typeText == "double") return sizeof(double);
    if (typeText == "char" || typeText == "bool") return 1;
    if (typeText == "char *" || typeText == "char*") return sizeof(const char*);
    if (typeText == "Vec3") return sizeof(D3DXVECTOR3);
    if (typeText == "Vec2") return sizeof(D3DXVECTOR2);
    if (typeText == "std::string") return sizeof(std::string);
    return 0;
}

std::int32_t CppConvert::VariableNumber(const std::string& name) const {
    const auto found = enumValueByName.find(name);
    return found == enumValueByName.end() ? -1 : found->second;
}

bool CppConvert::VerifyValue(std::string typeText, std::string value) {
    static const char* const categories[] = {"float", "double", "int", "short", "char", "unsigned", "std::string"};
    const std::string type = StandardfyString(std::move(typeText));
    int category = 0;
    for (int i = 0; i < 7; ++i)
        if (type == categories[i]) category = i;
    if (category >= 3) return true;
    return IsArithmeticExpression(std::move(value));
}

bool CppConvert::FileChanged(const std::string& path, const std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) return true;
    // Every line read gains one line feed and so does the read that meets the
    // end; the last character dropped, the file's text (its CR LF read as LF)
    // is what remains.
    std::string joined;
    while (file.good()) joined += TrueGetLine(&file);
    if (!joined.empty()) joined.pop_back();
    return joined != text;
}
