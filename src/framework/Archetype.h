#pragma once
#include <memory>
#include <string>
#include <vector>

#include "framework/HashCompare.h"

class TiXmlElement;
class TiXmlDocument;

// Reads archetype XML files from the working directory and hands each entry
// to the handler its tag names in the table.
using ArchetypeTagHandler = void (*)(TiXmlElement* element);

// Tag -> handler; a tag met in a file but not in the table is added with no
// handler (null), and elements with such a tag are collected.
extern HashMap<ArchetypeTagHandler> ArchetypeTagTable;
// The names of the groups being read, outermost first.
extern std::vector<std::string> ArchetypeGroupPath;
// The elements collected for later use. Elements leave the list when the
// document holding them is released.
extern std::vector<TiXmlElement*> ArchetypePendingElements;
// The template files loaded during a load.
extern std::vector<std::unique_ptr<TiXmlDocument>> ArchetypeTemplateDocuments;

// How many files deep `File` elements may nest, the outermost file counted:
// a `File` element past it, or naming a file already being read, or naming
// something other than a regular file, is skipped with a debug line.
constexpr std::size_t kArchetypeMaxFileDepth = 8;

void BuildArchetypeTagTable();
void LoadArchetypeFile(const std::string& name);
void ReadGroupTag(TiXmlElement* element);
void ReadTemplateTag(TiXmlElement* element);
void ReadFileTag(TiXmlElement* element);
void ReadActionTag(TiXmlElement* element);
