#pragma once
// What each type binds: for every offset table, the numbers of the variables
// stored in it with their type texts. The script converter fills its variable
// tables from it, so the instance editor lists and reads exactly what the
// registered types hold. Registration runs on the game thread; so does every
// reader.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

// Forgets what was recorded for the table (a type registering anew).
void ForgetVariableBindings(const std::int32_t* table);
// bytes is the variable's size (an array's count is its size over its
// element's).
void RecordVariableBinding(const std::int32_t* table, int number, std::string typeText, std::size_t bytes = 0);
// Number to type text, for the table; empty when nothing was bound to it.
const std::map<int, std::string>& VariableBindingsOf(const std::int32_t* table);
// The size recorded with variable number of the table; 0 when none was.
std::size_t VariableBindingSize(const std::int32_t* table, int number);
// Raised by every change of the record, so a reader can tell it is stale.
std::uint64_t VariableBindingsGeneration();

// The name of variable number n as the enumeration spells it ("position" for
// 19); null outside 0 to MAX_ENUM_VALUE - 1.
const char* VariableName(int number);
