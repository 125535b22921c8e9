#include "framework/VariableBindings.h"

#include <utility>

#include "framework/VariableNames.h"

// Generated from the enumeration header at configure time, one name a number.
extern const char* const kVariableNameTable[MAX_ENUM_VALUE];

namespace {
std::map<const std::int32_t*, std::map<int, std::string>>& Record() {
    static std::map<const std::int32_t*, std::map<int, std::string>> record;
    return record;
}
std::map<const std::int32_t*, std::map<int, std::size_t>>& Sizes() {
    static std::map<const std::int32_t*, std::map<int, std::size_t>> sizes;
    return sizes;
}
std::uint64_t generation = 0;
}  // namespace

void ForgetVariableBindings(const std::int32_t* table) {
    Sizes().erase(table);
    if (Record().erase(table) != 0) ++generation;
}

void RecordVariableBinding(const std::int32_t* table, int number, std::string typeText, std::size_t bytes) {
    Record()[table][number] = std::move(typeText);
    Sizes()[table][number] = bytes;
    ++generation;
}

std::size_t VariableBindingSize(const std::int32_t* table, int number) {
    const auto found = Sizes().find(table);
    if (found == Sizes().end()) return 0;
    const auto size = found->second.find(number);
    return size == found->second.end() ? 0 : size->second;
}

const std::map<int, std::string>& VariableBindingsOf(const std::int32_t* table) {
    static const std::map<int, std::string> none;
    const auto found = Record().find(table);
    return found == Record().end() ? none : found->second;
}

std::uint64_t VariableBindingsGeneration() { return generation; }

const char* VariableName(int number) {
    if (number < 0 || number >= MAX_ENUM_VALUE) return nullptr;
    return kVariableNameTable[number];
}
