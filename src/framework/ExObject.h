#pragma once
#include <string>

class Object;

// A named variant of an object type: the name it is made from (a type or
// another variant) and a differences function applied to a fresh clone.
class ExObject {
public:
    using Differences = void (*)(Object*);

    ExObject(const std::string& name, const std::string& baseName, Differences differences);
    ExObject(const ExObject&) = default;
    ExObject& operator=(const ExObject&) = default;
    ~ExObject() = default;

    const std::string& BaseName() const { return object; }
    const std::string& Name() const { return name; }
    void Apply(Object* object) const;

    // The base name: the type or variant this one is made from (the name
    // plug-ins set it by).
    std::string object;
    std::string name;
    Differences differences;
};
