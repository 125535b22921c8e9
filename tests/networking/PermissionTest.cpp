// Who may say what: every game and link message sent through real engines by
// every kind of sender (the server, a client about itself, a client about
// another player) is run, or refused with one debug line and never relayed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "networking/GameLink.h"
#include "networking/MatchOfThree.h"
#include "networking/Messages.h"
#include "networking/NetTestSupport.h"
#include "networking/Permissions.h"
#include "support/FakeClock.h"

using namespace Networking;
using namespace Networking::NetMessage;
using namespace Networking::PrivateNetMessage;
using nettest::LoopbackNet;

namespace {

// Who may send it: the server only, a client only (about itself), the server
// or a client about its own player, anyone.
enum Who { S, C, O, E };

// Builds a message; `self` is the sending client's id, `other` another player's.
using Maker = std::function<std::unique_ptr<BaseNetMessage>(unsigned self, unsigned other)>;

struct Row {
    const char* name;
    Who who;
    Maker own;    // as a client would send it about itself
    Maker other;  // the same about another player (rows of kind O only)
    bool reliable = true;
};

template <class T, class... Args>
Maker Plain(Args... args) {
    return [=](unsigned, unsigned) -> std::unique_ptr<BaseNetMessage> { return std::make_unique<T>(args...); };
}
template <class T>
Maker NamedPlayer(bool own) {
    return [=](unsigned self, unsigned other) -> std::unique_ptr<BaseNetMessage> {
        auto m = std::make_unique<T>();
        m->name = PlayerObjectName(own ? self : other);
        return m;
    };
}
template <class T>
Maker Named(const char* name) {
    return [=](unsigned, unsigned) -> std::unique_ptr<BaseNetMessage> {
        auto m = std::make_unique<T>();
        m->name = std::string(name);
        return m;
    };
}
template <class T, class F>
Maker With(F fill) {
    return [=](unsigned self, unsigned other) -> std::unique_ptr<BaseNetMessage> {
        auto m = std::make_unique<T>();
        fill(*m, self, other);
        return m;
    };
}

// The table, written out here and not taken from the engine's.
std::vector<Row> AllMessages() {
    const auto cell = [](auto& m, unsigned, unsigned) { m.cell = D3DXVECTOR2(-3.0f, -3.0f); };
    return {
        {"ServerInfo", S, Plain<MSG_ServerInfo>(std::string("L"), 2u), nullptr},
        {"Finished", E, Plain<MSG_Finished>(), nullptr},
        {"Explode", O, NamedPlayer<MSG_Explode>(true), NamedPlayer<MSG_Explode>(false)},
        {"RemoveTerrain", S, With<MSG_RemoveTerrain>(cell), nullptr},
        {"BreakTerrain", E, With<MSG_BreakTerrain>(cell), nullptr},
        {"GrabPlayer", O,
         With<MSG_GrabPlayer>([](auto& m, unsigned s, unsigned o) { m.grabberId = s, m.grabbedId = o; }),
         With<MSG_GrabPlayer>([](auto& m, unsigned s, unsigned o) { m.grabberId = o, m.grabbedId = s; })},
        {"CancelGrab", O,
         With<MSG_CancelGrab>([](auto& m, unsigned s, unsigned o) { m.grabberId = o, m.grabbedId = s; }),
         With<MSG_CancelGrab>([](auto& m, unsigned, unsigned o) { m.grabberId = o, m.grabbedId = 14; })},
        {"DeleteObj", S, Named<MSG_DeleteObj>("nobody"), nullptr},
        {"DropObj", S, Named<MSG_DropObj>("nobody"), nullptr},
        {"Sync", C, Plain<MSG_Sync>(std::string("nothing")), nullptr},
        {"CollectShard", S, Named<MSG_CollectShard>("nobody"), nullptr},
        {"CollectFireFly", E, Named<MSG_CollectFireFly>("nobody"), nullptr},
        {"CollectMoonRock", E, Named<MSG_CollectMoonRock>("nobody"), nullptr},
        {"ChangeLevel", S, Plain<MSG_ChangeLevel>(std::string("Match")), nullptr},
        {"LoadLevel", S, Plain<MSG_LoadLevel>(std::string("Match")), nullptr},
        {"NextLevel", E, Plain<MSG_NextLevel>(), nullptr},
        {"GameRules", S, Plain<MSG_GameRules>(0u), nullptr},
        {"RequestLevel", C, Plain<MSG_RequestLevel>(false), nullptr},
        {"LevelData", S, Plain<MSG_LevelData>(), nullptr},
        {"CreateNetObj", S, With<MSG_CreateNetObj>([](auto& m, unsigned, unsigned) {
             m.typeName = std::string("NoSuchType");
             m.objectName = std::string("x");
         }),
         nullptr},
        {"SendCreateMsg", S,
         With<MSG_SendCreateMsg>([](auto& m, unsigned, unsigned) { m.typeName = std::string("NoSuchType"); }), nullptr},
        {"UpdatePlayer", O, NamedPlayer<MSG_UpdatePlayer>(true), NamedPlayer<MSG_UpdatePlayer>(false), false},
        // The thrower names the player it held.
        {"Throw", O, With<MSG_Throw>([](auto& m, unsigned, unsigned o) { m.playerId = o; }),
         With<MSG_Throw>([](auto& m, unsigned s, unsigned) { m.playerId = s; })},
        {"SetClientInfo", O, With<MSG_SetClientInfo>([](auto& m, unsigned s, unsigned) { m.clientId = s; }),
         With<MSG_SetClientInfo>([](auto& m, unsigned, unsigned o) { m.clientId = o; })},
        {"SetCheckPoint", E, Plain<MSG_SetCheckPoint>(D3DXVECTOR2(0.0f, 0.0f)), nullptr},
        // A dying player hands its loss to its holder; a fortune from nowhere is refused.
        {"ChangeScore", O, With<MSG_ChangeScore>([](auto& m, unsigned, unsigned o) { m.playerId = o, m.delta = 5; }),
         With<MSG_ChangeScore>([](auto& m, unsigned, unsigned o) { m.playerId = o, m.delta = 950334791; })},
        {"AnimateSpring", E, Plain<MSG_AnimateSpring>(std::string("nobody")), nullptr},
        {"Ack", E, Plain<PMSG_Ack>(static_cast<unsigned short>(40000)), nullptr, false},
        {"ConfirmConnect", C, Plain<PMSG_ConfirmConnect>(), nullptr},
        {"Pong", E, Plain<PMSG_Pong>(static_cast<unsigned short>(40000)), nullptr, false},
        {"Ping", S, Plain<PMSG_Ping>(static_cast<unsigned short>(40000)), nullptr, false},
        {"SetClientID", S, Plain<PMSG_SetClientID>(static_cast<unsigned char>(1)), nullptr},
        {"SetRTT", S, Plain<PMSG_SetRTT>(20u), nullptr, false},
    };
}

// The messages that run on the receiving thread at once, never through the queue.
bool RunsAtOnce(unsigned id) { return id == PMSG_Ack::MSG_ID || id == PMSG_Ping::MSG_ID || id == PMSG_Pong::MSG_ID; }

class Permissions : public gameworld::MatchOfThree {
protected:
    void SetUp() override {
        gameworld::MatchOfThree::SetUp();
        for (NetEngine* e : {&server, &a, &b}) {
            e->SetDebug(true);
            e->SetDebugLog(log);
        }
        server.SetMessageObserver([&](const BaseNetMessage& m) { ranOnServer.push_back(m.typeId); });
        a.SetMessageObserver([&](const BaseNetMessage& m) { ranOnA.push_back(m.typeId); });
        b.SetMessageObserver([&](const BaseNetMessage& m) { ranOnB.push_back(m.typeId); });
    }
    void TearDown() override {
        for (NetEngine* e : {&server, &a, &b}) e->SetDebugLog(nullptr);
        std::fclose(log);
        gameworld::MatchOfThree::TearDown();
    }
    // The refusal lines of a message written since the last call.
    int Refusals(const std::string& name) {
        std::fflush(log);
        std::fseek(log, consumed, SEEK_SET);
        std::string written;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, log)) > 0;) written.append(buffer, n);
        consumed = std::ftell(log);
        std::fseek(log, 0, SEEK_END);
        int count = 0;
        const std::string line = "Refused " + name + " from client";
        for (std::size_t at = written.find(line); at != std::string::npos; at = written.find(line, at + 1)) ++count;
        return count;
    }
    void Clear() {
        nettest::Pump({&server, &a, &b}, 3);
        Refusals("");
        ranOnServer.clear();
        ranOnA.clear();
        ranOnB.clear();
    }
    static int Count(const std::vector<unsigned>& ran, unsigned id) {
        return static_cast<int>(std::count(ran.begin(), ran.end(), id));
    }

    std::FILE* log = std::tmpfile();
    long consumed = 0;
    std::vector<unsigned> ranOnServer, ranOnA, ranOnB;
};

TEST_F(Permissions, EveryMessageFromEveryKindOfSenderRunsOrIsRefusedOnceAndGoesNoFurther) {
    const std::vector<Row> rows = AllMessages();
    ASSERT_EQ(rows.size(), MessageTypes::Count);
    const unsigned self = a.NetID(), other = b.NetID();
    for (const Row& row : rows) {
        std::unique_ptr<BaseNetMessage> probe = row.own(self, other);
        const unsigned id = probe->typeId;
        const std::string name = MessageName(id);
        SCOPED_TRACE(row.name);
        EXPECT_EQ(name, std::string(id < 27 ? "MSG_" : "PMSG_") + row.name);
        probe->Free();

        struct Sending {
            const char* who;
            Maker make;
            bool mayRun;
        };
        std::vector<Sending> senders{{"the server", row.own, row.who != C},
                                     {"a client about itself", row.own, row.who != S}};
        if (row.other) senders.push_back({"a client about another player", row.other, false});
        for (const Sending& s : senders) {
            SCOPED_TRACE(s.who);
            Clear();
            std::unique_ptr<BaseNetMessage> m = s.make(self, other);
            const bool fromServer = std::string(s.who) == "the server";
            if (fromServer)
                server.SendNetMessageToClient(static_cast<unsigned char>(self), *m, row.reliable);
            else
                a.SendNetMessage(*m, row.reliable);
            m->Free();
            nettest::Pump({&server, &a, &b}, 4);
            const std::vector<unsigned>& ran = fromServer ? ranOnA : ranOnServer;
            EXPECT_EQ(Refusals(name), s.mayRun ? 0 : 1);
            // (The server sends its round-trip times to every client now and
            // then of its own accord: one of those may come too.)
            const bool linkMessage = id >= MSG_AnimateSpring::MSG_ID + 1;
            if (!RunsAtOnce(id)) {
                if (s.mayRun && linkMessage) {
                    EXPECT_GE(Count(ran, id), 1);
                } else {
                    EXPECT_EQ(Count(ran, id), s.mayRun ? 1 : 0);
                }
            }
            // Nothing refused reaches the third machine.
            if (!s.mayRun && !linkMessage) {
                EXPECT_EQ(Count(ranOnB, id), 0);
            }
        }
    }
}

TEST(PermissionTable, EveryTypeHasItsRule) {
    // Rules for every id, and refusal for any id that names no type.
    for (unsigned id = 0; id < MessageTypes::Count; ++id) EXPECT_STRNE(MaySendName(SenderRule(id)), "?") << id;
    EXPECT_EQ(SenderRule(MessageTypes::Count), MaySend::Server);
}

}  // namespace
