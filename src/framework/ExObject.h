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

    const std::string& BaseName() const { return baseName; }
    const std::string& Name() const { return name; }
    void Apply(Object* object) const;

    std::string baseName;
    std::string name;
    Differences differences;
};
