#pragma once
// A server with two connected clients, A and B, over a game world all three
// share (one process), on a loopback network of the test's own.
#include "networking/GameWorld.h"
#include "networking/NetTestSupport.h"
#include "support/FakeClock.h"

namespace gameworld {

class MatchOfThree : public GameWorld {
protected:
    void SetUp() override {
        GameWorld::SetUp();
        ASSERT_TRUE(server.HostServer("Three"));
        ASSERT_TRUE(nettest::Join(server, a, "Three"));
        ASSERT_TRUE(nettest::Join(server, b, "Three", {&a}));
        Settle();
    }
    void Settle() { nettest::Pump({&server, &a, &b}, 3); }

    FakeClock clock;
    nettest::LoopbackNet net;
    Networking::NetEngine server{net.Config(1)}, a{net.Config(2)}, b{net.Config(3)};
};

}  // namespace gameworld
