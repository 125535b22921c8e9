#pragma once
// The connection layer: one running copy is a server with up to 15 clients, a
// client of one server, or neither. The engine owns the sockets, one slot per
// peer, the outgoing packs, the received messages, the discovered servers, the
// sync points and the receive thread.
//
// Locks, always in this order: the send lock, one slot lock (never two slot
// locks at once). The received-message lock, the offer lock and the activity
// lock are taken alone: received messages run after the received-message lock
// is released.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "networking/NetMessage.h"
#include "networking/Socket.h"

namespace Networking {

namespace PrivateNetMessage {
class PMSG_Ack;
}

// The largest datagram: one pack.
constexpr unsigned int MAX_PACK_BYTES = 1400;

// The longest server name a discovery reply carries; a longer one is cut.
constexpr unsigned int MAX_SERVER_NAME = 800 - 9 - 64;

// Configuration; the defaults are the game's. The discovery target is where
// queries for servers go; the own address, when given, replaces the one found
// from the network interfaces (tests give each peer its own 127.0.0.x).
struct NetConfig {
    unsigned int maxClients = 15;
    unsigned short gamePort = 8001;
    unsigned int sendBudget = 112000;
    int timeOut = 4000;
    unsigned short discoveryPort = 8005;
    std::string discoveryTarget = "255.255.255.255";
    std::string ownAddress;
    // Without it, the owner drives receiving with PollReceive on its own thread.
    bool receiveThread = true;
};

struct MsgPack {
    explicit MsgPack(bool reliable = false) : reliable(reliable) {}
    unsigned char data[MAX_PACK_BYTES] = {};
    unsigned int bitIndex = 0;
    unsigned int byteIndex = 0;
    bool reliable = false;
    std::uint16_t sequence = 0;

    unsigned int Count() const { return unsigned(data[0]) | unsigned(data[1]) << 8; }
    void SetCount(unsigned int n) {
        data[0] = static_cast<unsigned char>(n & 0xFF);
        data[1] = static_cast<unsigned char>(n >> 8);
    }
    // The datagram's length: the byte holding the next free bit is always sent.
    unsigned int Length() const { return byteIndex + 1; }
};

struct SavedPack {
    SavedPack(MsgPack* p, int timer, std::uint16_t seq) : pack(p), resendTimer(timer), sequence(seq) {}
    std::unique_ptr<MsgPack> pack;
    int resendTimer;
    std::uint16_t sequence;
};

struct PendingMsg {
    std::vector<unsigned char> datagram;
    std::uint16_t sequence;
    bool operator==(std::uint16_t s) const { return sequence == s; }
};

struct DelayMsg {
    DelayMsg(BaseNetMessage* m, int countdown) : message(m), countdown(countdown) {}
    BaseNetMessage* message;
    int countdown;
};

// One connection slot. Every field is read and changed under its lock.
struct Client {
    // What is left of the time-out at the last update (for inspection); the
    // update works it out from the last-heard time.
    int timeLeft = 0;
    float packsSent = 0;
    float acksReceived = 0;
    unsigned int rtt = 16;
    Address address;
    std::uint16_t expectedSequence = 0;
    std::uint16_t nextSequence = 0;
    // The ping number of the last answer counted (a duplicated answer is not counted again).
    std::uint16_t lastPong = 0;
    // When the peer was last heard (the millisecond clock): written by
    // whichever thread receives, read by the update, so that a peer whose
    // datagrams arrive is never timed out however slowly the game runs.
    std::atomic<std::uint32_t> lastHeard{0};
    // A newer run of the program on the peer's machine has taken a slot of
    // its own: nothing more is this slot's, and it is timed out.
    bool superseded = false;
    unsigned char id = 0;
    bool inUse = false;
    // The peer's IPv4 address with bit 32 set while the slot is in use, else
    // 0: read without the lock, so that datagrams from strangers are sorted
    // out without touching any slot lock the game thread needs.
    std::atomic<std::uint64_t> liveAddress{0};
    // On a client, slot 0 until the server's PMSG_SetClientID has run: only
    // the handshake's own link messages count meanwhile. A server's slots are
    // made only for a proven address and never connect.
    bool connecting = false;
    bool isNew = true;
    std::vector<MsgPack> unreliablePacks;
    std::vector<std::unique_ptr<MsgPack>> reliablePacks;
    std::vector<SavedPack> savedPacks;
    std::vector<PendingMsg> earlyPacks;
    Mutex lock;

    void SetNewClient(const Address& a, unsigned char newId, int time, bool handshakeDone = false);
    void Kill();
    void ClearPackList();
};

struct ServerInfo {
    std::string name;
    Address address;
    // What is left of the entry's life at the last update: worked out from
    // when its last reply was read (the clock), so that a slow game thread
    // does not let servers that answer fall out of the list.
    int timeToLive = 0;
    std::uint32_t heardAt = 0;
    int lifetime = 0;
    std::shared_ptr<BaseNetMessage> info;
    // The list holds one entry per server address: two games of one name stay two.
    bool operator==(const ServerInfo& o) const { return address == o.address; }
};

struct SyncEvent {
    std::string name;
    std::string eventName;
    int timeLeft = 0;
    std::vector<unsigned int> arrived;
    // A hand-over point of a match: at its time-out the server drops the
    // clients that have not reached it and raises the event for those that
    // have, so that no machine waits on a stalled one for good.
    bool handOver = false;
};

// The engine's receive thread: a numbered thread object (ids count up from 0
// over the whole process) that runs one body until told to stop.
class BaseThread {
public:
    BaseThread();
    BaseThread(const BaseThread& other) : id(other.id) {}
    BaseThread& operator=(const BaseThread& other) {
        id = other.id;
        return *this;
    }
    virtual ~BaseThread() = default;
    virtual bool IsRunning() const = 0;
    virtual void Stop(bool wait) = 0;
    bool operator==(const BaseThread& other) const { return id == other.id; }
    int Id() const { return id; }

private:
    int id;
};

template <class Param>
class Thread : public BaseThread {
public:
    using Body = void (*)(Param, const std::atomic<bool>& stop);
    explicit Thread(Body body) : body(body) {}
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    ~Thread() override { Stop(true); }

    static_assert(std::is_reference_v<Param>, "the thread keeps a reference to what it runs on");

    // Starts the body unless it runs already.
    void Start(Param param) {
        if (worker.joinable()) {
            if (running.load()) return;
            worker.join();  // the body ended on its own (its socket failed)
        }
        stopFlag = false;
        running = true;
        worker = std::thread([this, target = std::ref(param)]() { Run(target); });
    }
    bool IsRunning() const override { return running.load(); }
    // Sets the stop flag; with wait, waits for the body to return (the body
    // looks at the flag at least every few milliseconds).
    void Stop(bool wait) override {
        stopFlag = true;
        if (wait && worker.joinable()) worker.join();
    }

private:
    void Run(Param param) {
        body(param, stopFlag);
        running = false;
    }
    Body body;
    std::thread worker;
    std::atomic<bool> stopFlag{false};
    std::atomic<bool> running{false};
};

class NetEngine {
public:
    using ServerInfoWriter = std::function<unsigned int(unsigned char* buffer, unsigned int capacity)>;
    using ClientCallBack = void (*)(char id);
    using ServerCallBack = void (*)();
    using EventRaiser = std::function<void(const std::string& eventName)>;

    explicit NetEngine(const NetConfig& config = NetConfig());
    ~NetEngine();
    NetEngine(const NetEngine&) = delete;
    NetEngine& operator=(const NetEngine&) = delete;

    // Configuration.
    void ReadConfigFile();
    const NetConfig& Config() const { return config; }
    // Replaces the configuration (tests and test runs of the program put the
    // one engine on an address of their own); false, with nothing changed,
    // while the engine hosts, searches or is linked to a server.
    bool SetConfig(const NetConfig& replacement);
    void SetDebug(bool on) { debugOn = on; }
    // Where the debug lines go (none by default).
    void SetDebugLog(std::FILE* stream) { debugLog = stream; }
    void SetServerInfoWriter(ServerInfoWriter writer) { serverInfoWriter = std::move(writer); }
    void SetOnNewClientCallBack(ClientCallBack f) { onNewClient = f; }
    void SetOnKillClientCallBack(ClientCallBack f) { onKillClient = f; }
    void SetOnServerConnectCallBack(ServerCallBack f) { onServerConnect = f; }
    void SetOnKillServerCallBack(ServerCallBack f) { onKillServer = f; }
    ClientCallBack GetOnNewClientCallBack() const { return onNewClient; }
    ClientCallBack GetOnKillClientCallBack() const { return onKillClient; }
    ServerCallBack GetOnServerConnectCallBack() const { return onServerConnect; }
    ServerCallBack GetOnKillServerCallBack() const { return onKillServer; }
    // How a completed sync point raises its event (the game raises it by name
    // on every subscriber of the current state).
    void SetSyncEventRaiser(EventRaiser raiser) { raiseEvent = std::move(raiser); }

    // Roles and queries.
    bool IsServer() const;
    bool IsClient() const;
    unsigned char NetID() const { return ownId.load(); }
    void SetCleintID(unsigned char id) { ownId = id; }
    std::string GetPlayerName() const;
    unsigned char GetMostRecentClient() const { return mostRecentClient; }
    unsigned char NumClients() const { return numClients.load(); }
    std::vector<unsigned int> GetClientList() const;
    std::string GetClientIP(unsigned int id);
    unsigned int GetRTT(unsigned int id) const;
    float GetDropPercent(unsigned int id) const;
    void ClearDrop();
    unsigned int GetBPS() const { return bytesPerSecond.load(); }
    unsigned int GetFlow() const { return flowLimit.load(); }
    const std::vector<ServerInfo>& GetServerList() const { return serverList; }
    const std::string& GetOwnIP() const { return ownIP; }

    // Queueing (game thread).
    void SendNetMessage(BaseNetMessage& msg, bool reliable);
    void PrivateSendNetMessage(BaseNetMessage& msg, bool reliable, bool immediate);
    void SendToClients(BaseNetMessage& msg, bool reliable);
    void PrivateSendToClients(BaseNetMessage& msg, bool reliable, bool immediate);
    void SendNetMessageToClient(unsigned char id, BaseNetMessage& msg, bool reliable);
    void PrivateSendNetMessageToClient(unsigned char id, BaseNetMessage& msg, bool reliable, bool immediate);
    // The caller holds the slot's lock (and the send or received-message lock).
    void SendNetMessageToClient(Client& slot, BaseNetMessage& msg, bool reliable);
    void ForwardMessageFrom(unsigned int fromId, BaseNetMessage& msg, bool reliable);
    int SendAllMessages();
    void SendNetMessageNow(BaseNetMessage& msg);
    int ExecuteMessages();

    // Discovery and connecting.
    void FindServers();
    void StopFindingServers();
    bool HostServer(const std::string& name);
    void StopBroadcasting();
    bool ConnectToServer(const std::string& name);
    // The server of that name at that IPv4 address (dotted; empty: any of that name).
    bool ConnectToServer(const std::string& name, const std::string& ip);
    void Disconnect();

    // The per-frame update and its steps.
    void Update(unsigned int frameTime);
    void SetFrameTime(unsigned int ms) { frameTime = ms; }
    void AddSyncEvent(const std::string& name, const std::string& eventName, int timeLeft);
    // A hand-over point: as AddSyncEvent, but raised at its time-out after
    // the clients that missed it are dropped. A pending point of the same
    // name is made a hand-over point instead of being added twice.
    void AddHandOverPoint(const std::string& name, const std::string& eventName, int timeLeft);
    void SendSync(const std::string& name);
    void SetSync(const std::string& name, unsigned int id);
    void ClearSyncs() { syncEvents.clear(); }
    const std::vector<SyncEvent>& GetSyncEvents() const { return syncEvents; }
    void UpdateSyncEvents();
    void SendPing();
    void SendKeepAlive();
    void CalcBPS();
    void BroadcastServer();
    void UpdateServer();
    void UpdateClients();
    void ListenForServer();

    // Receiving without the thread: reads and handles at most one datagram,
    // waiting at most waitMs for it. False once the receive socket has failed.
    bool PollReceive(int waitMs = 0);
    // Reads and handles datagrams until none is waiting (at most limit).
    int DrainReceive(int limit = 10000);
    // Waits (at most timeoutMs of real time) until the receive thread has
    // handled more than `seen` datagrams; answers the count handled so far.
    std::uint64_t WaitForDatagrams(std::uint64_t seen, int timeoutMs);
    std::uint64_t DatagramsHandled() const { return datagramsHandled.load(); }

    // Shown every message that ExecuteMessages runs, just before its callback.
    void SetMessageObserver(std::function<void(const BaseNetMessage&)> observer) {
        messageObserver = std::move(observer);
    }
    // Starts a slot's numbering elsewhere than 0 (to exercise the wrap of the
    // 16-bit sequence numbers).
    void SetSequenceNumbers(unsigned int id, std::uint16_t nextOutgoing, std::uint16_t expectedIncoming);

    // A snapshot of a slot for inspection.
    struct SlotState {
        bool inUse, connecting, isNew;
        int timeLeft;
        unsigned int rtt;
        std::uint16_t expectedSequence, nextSequence;
        std::size_t unreliablePacks, reliablePacks, savedPacks, earlyPacks;
        float packsSent, acksReceived;
    };
    SlotState GetSlotState(unsigned int id) const;
    std::size_t ReceivedQueueLength() const;
    bool IsHosting() const { return hosting.load(); }
    bool IsSearching() const { return searching; }
    // Slots offered and not yet confirmed.
    int OpenOffers();
    // Ends every link and empties every list without a word on the output:
    // the program's way out, before anything static is taken apart.
    void ShutDown();
    std::uint16_t PingNumber() const { return pingNumber.load(); }

private:
    friend class PrivateNetMessage::PMSG_Ack;
    friend class PrivateNetMessage::PMSG_Pong;
    friend class PrivateNetMessage::PMSG_Ping;
    friend class PrivateNetMessage::PMSG_SetClientID;
    friend class PrivateNetMessage::PMSG_SetRTT;

    void PrivateSendNetMessageToClient(Client& slot, BaseNetMessage& msg, bool reliable, bool immediate);
    void ApplyConfig(const NetConfig& replacement);
    void SendPack(Client& slot, const MsgPack& pack);
    void SendPackTo(const Address& to, const MsgPack& pack);
    // One reliable pack of one message, sent at once and never resent (the
    // handshake's answer; the client's retries stand in for resends).
    void SendAlone(const Address& to, const BaseNetMessage& msg, std::uint16_t sequence);
    void ResendDue(Client& slot);
    void HandleDatagram(const Address& from, const unsigned char* data, int length);
    void HandleNewPack(const unsigned char* data, unsigned char slot, int length);
    // A stranger's connection word: the offer of a slot, answered at once.
    void Offer(const Address& from);
    // A stranger's pack: a slot when it is the confirmation of an offer made
    // to this address. False when it is not.
    bool TakeOffer(const Address& from, const unsigned char* data, int length);
    // Reads every message of a pack; false (and nothing in out) when any of
    // them does not read: a damaged pack delivers nothing.
    bool ReadPack(const unsigned char* data, int length, std::vector<BaseNetMessage*>& out) const;
    // Runs the link messages that act at once and puts the rest into the
    // receive side's batch.
    void Deliver(std::vector<BaseNetMessage*>& messages, unsigned char slot);
    // Moves the receive side's batch into the received-message queue.
    void HandOver();
    void AckMsg(unsigned int seq, unsigned char slot);
    void KillClient(unsigned int id);
    // An offer to that address still stands (receive side).
    bool HasOfferFor(const Address& from);
    // The other slots of the machine of slot (its earlier runs) are timed
    // out at the next update.
    void SupersedeEarlierRuns(unsigned char slot);
    // Works out the slot's time left from when it was last heard; true once
    // it is below 0. The caller holds the slot's lock.
    bool TimedOut(Client& slot);
    void ClearMsgList();
    bool VarifyClient(const Address& from, const unsigned char* data, int length, unsigned char& slot);
    bool SendConnectMessage();
    void StartReceiving();
    void StopReceiving();
    static void ReceiveThread(NetEngine& engine, const std::atomic<bool>& stop);
    bool ReceiveOnce(int waitMs);
    std::uint16_t NewPing();
    void Log(const char* format, ...) const;
    static unsigned int ResendTime(unsigned int rtt);

    NetConfig config;
    ServerInfoWriter serverInfoWriter;
    ClientCallBack onNewClient = nullptr;
    ClientCallBack onKillClient = nullptr;
    ServerCallBack onServerConnect = nullptr;
    ServerCallBack onKillServer = nullptr;
    EventRaiser raiseEvent;
    std::function<void(const BaseNetMessage&)> messageObserver;

    std::unique_ptr<Client[]> slots;
    std::vector<SyncEvent> syncEvents;
    std::atomic<std::FILE*> debugLog{nullptr};
    std::atomic<bool> debugOn{true};

    // Local state.
    unsigned int frameTime = 0;
    std::atomic<bool> hosting{false};
    bool searching = false;
    UDPSocket sendSocket, receiveSocket, discoverySocket;
    Address ownAddress;
    std::string ownIP;
    Address discoveryAddress;
    int discoveryTimer = 0;
    std::atomic<std::uint32_t> pingSentTime{0};
    std::atomic<std::uint16_t> pingNumber{0};
    int pingTimer = 0;
    std::atomic<unsigned int> sentBytes[60];
    std::atomic<unsigned int> bytesPerSecond{0};
    // Bytes not yet in the meter: queued and not sent, sent since it was last read.
    std::atomic<unsigned int> queuedUnsent{0};
    std::atomic<unsigned int> sentUnmetered{0};
    std::atomic<unsigned int> ringIndex{0};
    std::atomic<unsigned int> flowLimit{0};
    unsigned int averageRTT = 0;
    int flowTimer = 500;
    int connectRetryTimer = 0;
    unsigned char mostRecentClient = 0;
    std::atomic<unsigned char> ownId{255};
    std::atomic<unsigned char> numClients{0};
    std::vector<ServerInfo> serverList;
    std::string serverName;

    Mutex sendLock;
    Mutex receivedLock;
    std::vector<DelayMsg> receivedMessages;
    // Filled by whichever thread receives, outside the received-message lock,
    // and handed over to receivedMessages in one move.
    std::vector<DelayMsg> arrived;
    // Slots offered to addresses that asked and have not yet shown that they
    // receive: no slot is held for them, so strangers keep nobody out. One
    // offer an address, for at most the time-out; when the table is full the
    // oldest offer goes.
    struct SlotOffer {
        Address address;
        std::uint32_t token = 0;
        std::uint32_t madeAt = 0;
        unsigned char id = 0;
        bool live = false;
    };
    static constexpr int OFFERS = 64;
    SlotOffer offers[OFFERS];
    std::uint64_t tokenState = 0;
    std::mutex offerLock;
    Thread<NetEngine&> receiver;

    std::atomic<std::uint64_t> datagramsHandled{0};
    std::mutex activityLock;
    std::condition_variable activity;
};

}  // namespace Networking

// The program's one network engine.
extern Networking::NetEngine NetworkingEngine;
