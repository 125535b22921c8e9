#include "networking/NetEngine.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>

#include <cstdarg>

#include "framework/Time.h"
#include "networking/Match.h"
#include "networking/Messages.h"

namespace Networking {

namespace {
std::atomic<int> threadCounter{-1};

// The first up, non-loopback IPv4 address of the machine, else loopback.
std::string FindOwnIP() {
    std::string found = "127.0.0.1";
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return found;
    for (ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
        if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(i->ifa_addr)->sin_addr, text, sizeof text);
        found = text;
        break;
    }
    ::freeifaddrs(list);
    return found;
}
}  // namespace

BaseThread::BaseThread() : id(++threadCounter) {}

// ---------------------------------------------------------------- slots

void Client::SetNewClient(const Address& a, unsigned char newId, int time, bool handshakeDone) {
    isNew = true;
    id = newId;
    inUse = true;
    liveAddress = (std::uint64_t(1) << 32) | a.GetAddr().sin_addr.s_addr;
    connecting = !handshakeDone;
    expectedSequence = 0;
    nextSequence = 0;
    timeLeft = time;
    lastPong = 0;
    lastHeard = TimeGetTime();
    superseded = false;
    address.SetAddress(a);
    packsSent = 0;
    acksReceived = 0;
    rtt = 16;
    ClearPackList();
}

void Client::Kill() {
    inUse = false;
    liveAddress = 0;
    ClearPackList();
}

void Client::ClearPackList() {
    unreliablePacks.clear();
    reliablePacks.clear();
    savedPacks.clear();
    earlyPacks.clear();
}

// ---------------------------------------------------------------- engine

NetEngine::NetEngine(const NetConfig& cfg) : receiver(&NetEngine::ReceiveThread) {
    // The message tables are complete before the engine is: whatever order
    // the units are set up in, the engine can free its messages to the end.
    (void)MessageFactoryTable();
    slots = std::make_unique<Client[]>(16);
    for (unsigned int i = 0; i < 16; ++i) slots[i].id = static_cast<unsigned char>(i);
    ApplyConfig(cfg);
    flowTimer = 500;
    // The default writer announces the level being played and the player count.
    serverInfoWriter = [this](unsigned char* buffer, unsigned int capacity) -> unsigned int {
        NetMessage::MSG_ServerInfo info(CurrentLevelName, NumClients() + 1u);
        unsigned int bits = BaseNetMessage::ID_BITS + info.Size();
        if ((bits + 7) / 8 > capacity) return 0;
        BitWriter out(buffer);
        info.Serialize(out);
        return unsigned((out.Position() + 7) / 8);
    };
}

NetEngine::~NetEngine() { ShutDown(); }

void NetEngine::ApplyConfig(const NetConfig& replacement) {
    config = replacement;
    if (config.maxClients > 15) config.maxClients = 15;
    ownIP = config.ownAddress.empty() ? FindOwnIP() : config.ownAddress;
    discoveryAddress.SetToBroadcast(config.discoveryPort);
    for (auto& s : sentBytes) s = config.sendBudget / 60;
    bytesPerSecond = config.sendBudget;
    flowLimit = config.sendBudget;
}

bool NetEngine::SetConfig(const NetConfig& replacement) {
    if (hosting.load() || searching || IsClient() || numClients.load() > 0) return false;
    ApplyConfig(replacement);
    return true;
}

void NetEngine::ReadConfigFile() {
    NetConfig defaults;
    config.maxClients = defaults.maxClients;
    config.gamePort = defaults.gamePort;
    config.sendBudget = defaults.sendBudget;
    config.timeOut = defaults.timeOut;
    config.discoveryPort = defaults.discoveryPort;
}

void NetEngine::Log(const char* format, ...) const {
    std::FILE* stream = debugLog.load();
    if (!debugOn || !stream) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stream, format, args);
    va_end(args);
}

bool NetEngine::IsServer() const { return hosting.load() || numClients.load() > 0; }

bool NetEngine::IsClient() const {
    std::lock_guard hold(slots[0].lock);
    return slots[0].inUse;
}

std::string NetEngine::GetPlayerName() const {
    unsigned char id = ownId.load();
    return std::string("Player_") + char('0' + (id < 255 ? id : 0));
}

std::vector<unsigned int> NetEngine::GetClientList() const {
    std::vector<unsigned int> list{0};
    for (unsigned int i = 1; i <= config.maxClients; ++i) {
        std::lock_guard hold(slots[i].lock);
        if (slots[i].inUse) list.push_back(i);
    }
    return list;
}

std::string NetEngine::GetClientIP(unsigned int id) {
    if (id > config.maxClients) return std::string();
    std::lock_guard hold(slots[id].lock);
    return slots[id].address.CalcIP();
}

unsigned int NetEngine::GetRTT(unsigned int id) const {
    if (id > config.maxClients) return 0xFFFFFFFFu;
    std::lock_guard hold(slots[id].lock);
    return slots[id].rtt;
}

float NetEngine::GetDropPercent(unsigned int id) const {
    if (id > config.maxClients) return -1.0f;
    std::lock_guard hold(slots[id].lock);
    if (slots[id].packsSent == 0) return 0.0f;
    return 1.0f - slots[id].acksReceived / slots[id].packsSent;
}

void NetEngine::ClearDrop() {
    for (unsigned int i = 0; i <= config.maxClients; ++i) {
        std::lock_guard hold(slots[i].lock);
        slots[i].packsSent = 0;
        slots[i].acksReceived = 0;
    }
}

NetEngine::SlotState NetEngine::GetSlotState(unsigned int id) const {
    const Client& c = slots[id < 16 ? id : 15];
    std::lock_guard hold(c.lock);
    return SlotState{c.inUse,
                     c.connecting,
                     c.isNew,
                     c.timeLeft,
                     c.rtt,
                     c.expectedSequence,
                     c.nextSequence,
                     c.unreliablePacks.size(),
                     c.reliablePacks.size(),
                     c.savedPacks.size(),
                     c.earlyPacks.size(),
                     c.packsSent,
                     c.acksReceived};
}

std::size_t NetEngine::ReceivedQueueLength() const {
    std::lock_guard hold(receivedLock);
    return receivedMessages.size();
}

}  // namespace Networking

Networking::NetEngine NetworkingEngine;
