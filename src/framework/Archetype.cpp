#include "framework/Archetype.h"

#include <tinyxml.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "framework/Fatal.h"
#include "framework/Globals.h"

namespace {

void IgnoreElement(TiXmlElement*) {}

std::string InWorkingDirectory(const std::string& name) { return std::string(Globals.workingDirectory) + "/" + name; }

// The files being read, outermost first, by their resolved path: a file that
// names itself (or an ancestor) would otherwise be read until the stack runs out.
std::vector<std::string> filesBeingLoaded;

std::string Resolved(const std::string& path) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path : resolved.string();
}

// Only a regular file (or a link to one) is handed to the XML reader: a
// folder or a device would be read as a file of absurd size, or forever.
bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// Why a `File` element may not be followed, or null when it may.
const char* RefusalOf(const std::string& path) {
    if (filesBeingLoaded.size() >= kArchetypeMaxFileDepth) return "files nested too deeply";
    if (std::find(filesBeingLoaded.begin(), filesBeingLoaded.end(), Resolved(path)) != filesBeingLoaded.end())
        return "file is already being loaded";
    if (!IsRegularFile(path)) return "not a regular file";
    return nullptr;
}

// Keeps a file on the list of files being read for as long as it is read.
class LoadingFile {
public:
    explicit LoadingFile(const std::string& path) { filesBeingLoaded.push_back(Resolved(path)); }
    ~LoadingFile() { filesBeingLoaded.pop_back(); }
    LoadingFile(const LoadingFile&) = delete;
    LoadingFile& operator=(const LoadingFile&) = delete;
};

void Dispatch(TiXmlElement* element) {
    auto [entry, added] = ArchetypeTagTable.try_emplace(element->ValueStr(), nullptr);
    if (entry->second != nullptr) {
        entry->second(element);
    } else {
        ArchetypePendingElements.push_back(element);
    }
}

// The file an element names: its "file" attribute, else "name", else its text.
const char* FileNameOf(TiXmlElement* element) {
    if (const char* file = element->Attribute("file")) return file;
    if (const char* name = element->Attribute("name")) return name;
    return element->GetText();
}

// Drops the collected elements that live in a document about to be released.
void ForgetElementsOf(const TiXmlDocument* document) {
    std::erase_if(ArchetypePendingElements, [&](TiXmlElement* element) { return element->GetDocument() == document; });
}

// Puts back the list saved before a nested read, without what the read added
// and without elements whose document the read released.
void RestorePending(std::vector<TiXmlElement*> saved) {
    std::erase_if(saved, [](TiXmlElement* kept) {
        return std::find(ArchetypePendingElements.begin(), ArchetypePendingElements.end(), kept) ==
               ArchetypePendingElements.end();
    });
    ArchetypePendingElements = std::move(saved);
}

}  // namespace

void BuildArchetypeTagTable() {
    ArchetypeTagTable.clear();
    ArchetypeTagTable["Group"] = &ReadGroupTag;
    ArchetypeTagTable["Object"] = &IgnoreElement;
    ArchetypeTagTable["Engines"] = &IgnoreElement;
    ArchetypeTagTable["Template"] = &ReadTemplateTag;
    ArchetypeTagTable["File"] = &ReadFileTag;
    ArchetypeTagTable["Collision"] = &IgnoreElement;
    ArchetypeTagTable["Action"] = &ReadActionTag;
}

void LoadArchetypeFile(const std::string& name) {
    const std::string path = InWorkingDirectory(name);
    LoadingFile loading(path);
    auto document = std::make_unique<TiXmlDocument>(path.c_str());
    // A missing, malformed or irregular file is a file without entries, not half of one.
    if (!IsRegularFile(path) || !document->LoadFile(TIXML_DEFAULT_ENCODING)) {
        DebugOutput(("Failed to load " + InWorkingDirectory(name) + "\n").c_str());
        document->Clear();
    }
    if (TiXmlElement* root = document->FirstChildElement()) {
        for (TiXmlElement* e = root->FirstChildElement(); e != nullptr; e = e->NextSiblingElement()) Dispatch(e);
    }
    for (const auto& templateDocument : ArchetypeTemplateDocuments) ForgetElementsOf(templateDocument.get());
    ArchetypeTemplateDocuments.clear();
    ForgetElementsOf(document.get());
}

void ReadGroupTag(TiXmlElement* element) {
    std::vector<std::string> savedPath = ArchetypeGroupPath;
    std::vector<TiXmlElement*> savedPending = ArchetypePendingElements;
    if (const char* name = element->Attribute("name")) {
        if (*name != '\0') {
            ArchetypeGroupPath.emplace_back(name);
        } else {
            ArchetypeGroupPath.clear();
        }
    }
    for (TiXmlElement* child = element->FirstChildElement(); child != nullptr; child = child->NextSiblingElement())
        Dispatch(child);
    ArchetypeGroupPath = std::move(savedPath);
    RestorePending(std::move(savedPending));
}

void ReadFileTag(TiXmlElement* element) {
    std::vector<std::string> savedPath = ArchetypeGroupPath;
    std::vector<TiXmlElement*> savedPending = ArchetypePendingElements;
    const char* file = FileNameOf(element);
    if (file == nullptr) return;
    if (const char* refusal = RefusalOf(InWorkingDirectory(file))) {
        DebugOutput(("Skipped File element naming " + InWorkingDirectory(file) + ": " + refusal + "\n").c_str());
        return;
    }
    LoadArchetypeFile(file);
    ArchetypeGroupPath = std::move(savedPath);
    RestorePending(std::move(savedPending));
}

void ReadTemplateTag(TiXmlElement* element) {
    const char* file = element->Attribute("file");
    if (file == nullptr) return;
    if (!IsRegularFile(InWorkingDirectory(file))) {
        DebugOutput(("Skipped Template element naming " + InWorkingDirectory(file) + ": not a regular file\n").c_str());
        return;
    }
    ArchetypeTemplateDocuments.push_back(std::make_unique<TiXmlDocument>(InWorkingDirectory(file).c_str()));
    TiXmlDocument* document = ArchetypeTemplateDocuments.back().get();
    if (!document->LoadFile(TIXML_DEFAULT_ENCODING)) {
        DebugOutput("Failed to load XML file!\n");
        document->Clear();
    }
    TiXmlElement* root = document->FirstChildElement();
    TiXmlElement* holder = root != nullptr ? root->FirstChildElement() : nullptr;
    if (holder == nullptr) return;
    for (TiXmlElement* e = holder->FirstChildElement(); e != nullptr; e = e->NextSiblingElement())
        ArchetypePendingElements.push_back(e);
}

void ReadActionTag(TiXmlElement* element) {
    if (const char* file = FileNameOf(element)) (void)InWorkingDirectory(file);
}
