#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

// The framework's string hash: 32-bit FNV-1 over the characters up to the
// first NUL (multiply, then exclusive-or with the byte sign-extended), and the
// ordinary lexicographic order as the order test.
struct HashCompare {
    static std::uint32_t Hash(const char* text) {
        std::uint32_t hash = 0x811C9DC5u;
        for (const char* p = text; *p != '\0'; ++p) {
            hash *= 16777619u;
            hash ^= static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(*p)));
        }
        return hash;
    }
    std::size_t operator()(const std::string& key) const { return Hash(key.c_str()); }
    bool operator()(const std::string& a, const std::string& b) const { return a < b; }
};

// The hash of the integer-keyed maps: the value exclusive-or 0xDEADBEEF.
struct IntHashCompare {
    std::size_t operator()(int key) const { return static_cast<std::uint32_t>(key) ^ 0xDEADBEEFu; }
    bool operator()(int a, int b) const { return a < b; }
};

// A framework hash map keyed by name.
template <class Value>
using HashMap = std::unordered_map<std::string, Value, HashCompare>;
