#pragma once
// Test helper: one game of a networked match in this process (the program's
// network engine on an address of its own, with the real "NetworkingUpdate"
// engine and the injected clock) and a bare network engine as the other
// machine. Everything stays on 127.0.0.0/8; every wait is bounded in frames.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "PlayWorld.h"
#include "networking/GameLink.h"
#include "networking/Messages.h"
#include "networking/NetTestSupport.h"
#include "networking/NetworkingUpdate.h"
#include "objects/Player.h"
#include "screens/Multiplayer.h"
#include "support/FakeClock.h"
#include "support/LevelText.h"
#include "widgets/Text.h"
#include "widgets/TextMsg.h"

namespace matchtest {

inline const std::vector<std::string>& SmallLevel() {
    static const std::vector<std::string> rows = {
        "%%%%%%%%%%%%%%%%", "%..............%", "%..............%", "%.S..C........G%", "################",
    };
    return rows;
}

class MatchWorld : public playtest::PlayWorld {
protected:
    void SetUp() override {
        PlayWorld::SetUp();
        // The real engine that drives the program's network engine.
        if (Engine* plain = Engine::_engines["NetworkingUpdate"]) Entity::_Destroy(plain);
        Engine::_IncludeEngine("NetworkingUpdate", EngineData::NetworkingUpdate::_Init());
        PlayLevel::controls.networkGame = [] { return PlayLevel::InNetworkGame(); };
        ASSERT_TRUE(NetworkingEngine.SetConfig(net.Config(1)));
        GameVars().playerName = "Hostess";
        GameVars().pendingClients.clear();
        for (auto& score : GameVars().playerScores) score = 0;
        LevelOrder.clear();
        LevelOrderNumbers.clear();
        CurrentLevelName.clear();
        CurrentLevelIndex = -1;
        ConnectionDropped = false;
        LevelLoadFailed = false;
    }
    void TearDown() override {
        EngineData::NetworkingUpdate::SetTarget(nullptr);
        peer.Disconnect();
        NetworkingEngine.Disconnect();
        NetworkingEngine.SetOnNewClientCallBack(nullptr);
        NetworkingEngine.SetOnKillClientCallBack(nullptr);
        NetworkingEngine.SetOnServerConnectCallBack(nullptr);
        NetworkingEngine.SetOnKillServerCallBack(nullptr);
        NetworkingEngine.SetConfig(Networking::NetConfig());
        LevelData::Multiplayer::ResetRowPing();
        GameVars().pendingClients.clear();
        LevelOrderNumbers.clear();
        CurrentLevelName.clear();
        ConnectionDropped = false;
        LevelLoadFailed = false;
        PlayWorld::TearDown();
    }

    // One game frame of both machines: the peer reads and updates (its
    // messages act on a state of its own, which never runs), the game reads
    // and runs its state (its "NetworkingUpdate" updates its engine).
    void Frame(unsigned int ms = 16) {
        clock.Advance(ms);
        PeerStep(ms);
        NetworkingEngine.DrainReceive();
        if (state != nullptr)
            PlayWorld::Frame();
        else
            NetworkingEngine.Update(ms);  // no level yet to run its engine
    }
    void PeerStep(unsigned int ms = 16) {
        State* game = State::_currentState;
        State::_currentState = PeerState();
        peer.DrainReceive();
        peer.Update(ms);
        State::_currentState = game;
    }
    State* PeerState() {
        if (peerState == nullptr) {
            if (!Level::_IsRegistered("PeerSide")) world::RegisterLevel("PeerSide");
            peerState = NewState("PeerSide");
        }
        return peerState;
    }
    // Frames until done() (at most maxFrames); whether done() held.
    bool FramesUntil(const std::function<bool()>& done, int maxFrames = 300, unsigned int ms = 16) {
        for (int i = 0; i < maxFrames; ++i) {
            if (done()) return true;
            Frame(ms);
        }
        return done();
    }
    bool Shows(const std::string& level) const { return state->GetLevelName() == level; }

    // The game hosts (once) and the peer joins it, frame by frame.
    void HostAndJoin() {
        if (!NetworkingEngine.IsHosting()) {
            ASSERT_TRUE(NetworkingEngine.HostServer("Match"));
        }
        peer.FindServers();
        ASSERT_TRUE(FramesUntil([&] {
            for (const auto& found : peer.GetServerList())
                if (found.name == "Match") return true;
            return false;
        }));
        peer.StopFindingServers();
        ASSERT_TRUE(peer.ConnectToServer("Match"));
        ASSERT_TRUE(
            FramesUntil([&] { return peer.NetID() != 255 && nettest::Joined(NetworkingEngine, peer.NetID()); }));
    }
    // The peer hosts; the game joins it, frame by frame.
    void JoinPeer() {
        ASSERT_TRUE(peer.HostServer("Peer"));
        NetworkingEngine.FindServers();
        ASSERT_TRUE(FramesUntil([&] {
            for (const auto& found : NetworkingEngine.GetServerList())
                if (found.name == "Peer") return true;
            return false;
        }));
        NetworkingEngine.StopFindingServers();
        ASSERT_TRUE(NetworkingEngine.ConnectToServer("Peer"));
        ASSERT_TRUE(FramesUntil(
            [&] { return NetworkingEngine.NetID() != 255 && nettest::Joined(peer, NetworkingEngine.NetID()); }));
    }

    Entity* Named(const std::string& name) const {
        return state->GetLevel() != nullptr ? state->GetLevel()->GetMyObject(name.c_str()) : nullptr;
    }
    std::string NetErrorText() const {
        Entity* message = Named("NetError");
        Object** text = message != nullptr ? FindVariable<Object*>(message, enum_textObj) : nullptr;
        ObjectData::Text::Variables* t = text != nullptr ? ObjectData::Text::Find(*text) : nullptr;
        return t != nullptr ? t->text : "";
    }

    // What the peer ran, by message type.
    template <class M>
    std::vector<M> Heard() const {
        std::vector<M> found;
        for (const auto& m : heard)
            if (auto* typed = dynamic_cast<const M*>(m.get())) found.push_back(*typed);
        return found;
    }
    void Listen() {
        peer.SetMessageObserver([this](const Networking::BaseNetMessage& m) {
            using namespace Networking::NetMessage;
            if (auto* a = dynamic_cast<const MSG_SetClientInfo*>(&m))
                heard.push_back(std::make_shared<MSG_SetClientInfo>(*a));
            if (auto* b = dynamic_cast<const MSG_CreateNetObj*>(&m))
                heard.push_back(std::make_shared<MSG_CreateNetObj>(*b));
            if (auto* c = dynamic_cast<const MSG_RequestLevel*>(&m))
                heard.push_back(std::make_shared<MSG_RequestLevel>(*c));
            if (auto* d = dynamic_cast<const MSG_Sync*>(&m)) heard.push_back(std::make_shared<MSG_Sync>(*d));
            if (auto* e = dynamic_cast<const MSG_DropObj*>(&m)) heard.push_back(std::make_shared<MSG_DropObj>(*e));
            if (auto* f = dynamic_cast<const MSG_DeleteObj*>(&m)) heard.push_back(std::make_shared<MSG_DeleteObj>(*f));
            if (auto* g = dynamic_cast<const MSG_LoadLevel*>(&m)) heard.push_back(std::make_shared<MSG_LoadLevel>(*g));
        });
    }

    FakeClock clock;
    nettest::LoopbackNet net;
    Networking::NetEngine peer{net.Config(2)};
    std::vector<std::shared_ptr<Networking::BaseNetMessage>> heard;
    State* peerState = nullptr;
};

}  // namespace matchtest
