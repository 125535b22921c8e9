// Registration at the top: the layers' rows land in the program's order.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "framework/Object.h"
#include "program/TypeRegistration.h"

namespace {

template <class Entry>
const Entry* Installed(std::span<const Entry> table, const char* name) {
    for (const Entry& row : table)
        if (std::strcmp(row.name, name) == 0) return &row;
    return nullptr;
}

TEST(TypeRegistrationTest, EveryLayerRowIsInstalledOnceInTheProgramsOrder) {
    std::set<std::string> filled;
    for (const TypeRows& layer : LayerTypeRows()) {
        for (const ObjectTypeEntry& row : layer.objects) {
            const ObjectTypeEntry* installed = Installed(ObjectTypes(), row.name);
            ASSERT_NE(installed, nullptr) << row.name << " is not in the program's order";
            EXPECT_EQ(installed->init, row.init) << row.name;
            EXPECT_TRUE(filled.insert(std::string("object ") + row.name).second) << row.name << " twice";
        }
        for (const ExObjectEntry& row : layer.exObjects) {
            const ExObjectEntry* installed = Installed(ExObjectTypes(), row.name);
            ASSERT_NE(installed, nullptr) << row.name << " is not in the program's order";
            EXPECT_STREQ(installed->baseName, row.baseName) << row.name;
            EXPECT_EQ(installed->differences, row.differences) << row.name;
            EXPECT_TRUE(filled.insert(std::string("variant ") + row.name).second) << row.name << " twice";
        }
        for (const LevelTypeEntry& row : layer.levels) {
            const LevelTypeEntry* installed = Installed(LevelTypes(), row.name);
            ASSERT_NE(installed, nullptr) << row.name << " is not in the program's order";
            EXPECT_EQ(installed->init, row.init) << row.name;
            EXPECT_TRUE(filled.insert(std::string("level ") + row.name).second) << row.name << " twice";
        }
        for (const EngineTypeEntry& row : layer.engines) {
            const EngineTypeEntry* installed = Installed(EngineTypes(), row.name);
            ASSERT_NE(installed, nullptr) << row.name << " is not in the program's order";
            EXPECT_EQ(installed->init, row.init) << row.name;
            EXPECT_TRUE(filled.insert(std::string("engine ") + row.name).second) << row.name << " twice";
        }
    }
    // Every built-in engine is filled by some layer; the reserved rows of the
    // other registries stay null until their types arrive.
    for (const EngineTypeEntry& row : EngineTypes()) EXPECT_NE(row.init, nullptr) << row.name;
    for (const ObjectTypeEntry& row : ObjectTypes()) {
        if (filled.count(std::string("object ") + row.name) == 0) {
            EXPECT_EQ(row.init, nullptr) << row.name;
        }
    }
    for (const ExObjectEntry& row : ExObjectTypes()) {
        if (filled.count(std::string("variant ") + row.name) == 0) {
            EXPECT_EQ(row.differences, nullptr) << row.name;
        }
    }
    for (const LevelTypeEntry& row : LevelTypes()) {
        if (filled.count(std::string("level ") + row.name) == 0) {
            EXPECT_EQ(row.init, nullptr) << row.name;
        }
    }
}

TEST(TypeRegistrationTest, InstallingAgainKeepsTheSameTables) {
    const auto objects = ObjectTypes();
    const auto engines = EngineTypes();
    InstallProgramTypeTables();
    EXPECT_EQ(ObjectTypes().data(), objects.data());
    EXPECT_EQ(ObjectTypes().size(), objects.size());
    EXPECT_EQ(EngineTypes().data(), engines.data());
}

}  // namespace
