#include <gtest/gtest.h>

#include "PickupWorld.h"
#include "objects/Particle.h"

using namespace objtest;
namespace Part = ObjectData::Particle;

namespace {

class ParticleTest : public PickupWorld {};

TEST_F(ParticleTest, DefaultParticleIsFullyTransparentAndChannelsWrapToTheirLowByte) {
    Object* particle = Make("Particle");
    Part::GraphicsDraw(particle, particle);
    ASSERT_EQ(Recorded().quads.size(), 1u);
    EXPECT_EQ(Recorded().quads[0].colour >> 24, 0u);
    EXPECT_EQ(Recorded().quads[0].texture, "firefly");

    Part::Variables& v = VariablesOf<Part::Variables>(particle);
    v.red = 0x1FF;
    v.green = 0x102;
    v.blue = -1;
    v.alpha = 256 + 0x80;
    EXPECT_EQ(Part::Colour(v), 0x80FF02FFu);
}

TEST_F(ParticleTest, EveryNewTypeIsRegisteredWithItsEngines) {
    struct Row {
        const char* type;
        std::vector<const char*> engines;
    };
    const Row rows[] = {
        {"MoonShard", {"Behavior", "GraphicsDraw"}},
        {"Firefly", {"Behavior", "GraphicsUpdate", "GraphicsDraw"}},
        {"SpdBoost", {"Behavior", "GraphicsUpdate", "GraphicsDraw"}},
        {"Spring", {"Behavior", "GraphicsDraw"}},
        {"SideSpring", {"Behavior", "GraphicsUpdate", "GraphicsDraw"}},
        {"SideSpring2", {"Behavior", "GraphicsUpdate", "GraphicsDraw"}},
        {"GrassManager", {"Behavior", "GraphicsDraw"}},
        {"GrassBlade", {}},
        {"GrassBladeDown", {}},
        {"GrassBladeLeft", {}},
        {"GrassBladeRight", {}},
        {"Particle", {"Behavior", "GraphicsUpdate", "GraphicsDraw"}},
        {"ShatterMoon", {"Behavior", "GraphicsDraw"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        Object* copy = Make(row.type, "copy");
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->GetType(), row.type);
        for (const char* engine : row.engines) {
            auto* e = static_cast<Engine*>(copy->GetMyEngine(engine));
            ASSERT_NE(e, nullptr);
            EXPECT_TRUE(e->IsMember(copy)) << engine;
        }
        EXPECT_EQ(copy->GetEngines().size(), row.engines.size());
    }
}

}  // namespace
