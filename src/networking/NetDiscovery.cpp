// Discovery on the discovery port, hosting, the connection handshake, the
// receive thread's sorting of datagrams, and leaving.
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "framework/Fatal.h"
#include "networking/Messages.h"
#include "networking/NetEngine.h"

namespace Networking {

namespace {
constexpr std::uint32_t QUERY_WORD = 0xFF073487u;
constexpr std::uint32_t REPLY_WORD = 0xF03C83F2u;
constexpr std::uint16_t CONNECT_WORD = 0xF07F;
constexpr std::uint16_t SEND_SOCKET_WORD = 0x0FF7;
constexpr unsigned int REPLY_BYTES = 800;
// The reply: two words, the name and its end, then room for the server's information.
static_assert(MAX_SERVER_NAME == REPLY_BYTES - 9 - 64);

void PutWord(unsigned char* p, std::uint32_t w) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(w >> (8 * i));
}
std::uint32_t GetWord(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
}  // namespace

// ---------------------------------------------------------------- searching

void NetEngine::FindServers() {
    Log("** Searching for servers...\n");
    hosting = false;
    searching = true;
    discoveryTimer = 250;
    serverList.clear();
    discoverySocket.Close();
    if (!discoverySocket.OpenForBroadcasting(config.discoveryPort))
        FatalError("Cannot create the discovery socket.", "Network Engine: ", 1);
    discoverySocket.SetBroadcasting(true);
    discoverySocket.SetBlocking(false);
    // Bound to the own address so that queries leave from it and replies find it.
    discoverySocket.BindSocket(Address(ownIP, 0));
    discoveryAddress.SetAddress(ownIP, config.discoveryPort);
}

void NetEngine::StopFindingServers() {
    searching = false;
    discoverySocket.Close();
}

void NetEngine::ListenForServer() {
    if (!searching) return;
    if (discoveryTimer >= 250) {
        discoveryTimer = 0;
        unsigned char query[8];
        PutWord(query, QUERY_WORD);
        PutWord(query + 4, ~QUERY_WORD);
        Address target(config.discoveryTarget, config.discoveryPort);
        int r = discoverySocket.SendTo(target, reinterpret_cast<const char*>(query), 8);
        if (r == -2 || r == -3) {
            Log("\n\n** Listen for server error! SendTo failed! Error: %d\n\n", errno);
            discoverySocket.Close();
            searching = false;
            return;
        }
    }
    unsigned char reply[REPLY_BYTES];
    Address from;
    int n = discoverySocket.ReceiveFrom(from, reinterpret_cast<char*>(reply), sizeof reply, Socket::WAIT_INFINITE);
    if (n == -2 || n == -3) {
        Log("\n\n** Listen for server error! RecvFrom failed! Error: %d\n\n", errno);
        discoverySocket.Close();
        searching = false;
        return;
    }
    if (n >= 9 && GetWord(reply) == REPLY_WORD && GetWord(reply + 4) == ~REPLY_WORD) {
        const unsigned char* nul = static_cast<const unsigned char*>(std::memchr(reply + 8, 0, std::size_t(n) - 8));
        if (nul) {  // a name without its end inside the datagram is no reply
            std::string name(reinterpret_cast<const char*>(reply + 8), std::size_t(nul - (reply + 8)));
            std::shared_ptr<BaseNetMessage> info;
            std::size_t at = name.size() + 9;
            if (at < std::size_t(n)) {
                BitReader in(reply + at, std::size_t(n) - at);
                std::uint32_t id = in.Peek(BaseNetMessage::ID_BITS);
                const auto& factories = MessageFactoryTable();
                if (!in.Failed() && id < factories.size()) {
                    std::shared_ptr<BaseNetMessage> msg(factories[id]());
                    if (msg->Deserialize(in)) {
                        msg->sender = 0;
                        info = msg;
                    }
                }
            }
            auto it =
                std::find_if(serverList.begin(), serverList.end(), [&](const ServerInfo& s) { return s.name == name; });
            if (it != serverList.end()) {
                it->timeToLive = 2500;
                it->info = info;
            } else {
                ServerInfo entry;
                entry.name = name;
                entry.address.SetAddress(Address(from.GetAddr()));
                entry.info = info;
                entry.timeToLive = 1250;
                serverList.push_back(std::move(entry));
            }
        }
    }
    for (ServerInfo& s : serverList) s.timeToLive -= int(frameTime);
    serverList.erase(
        std::remove_if(serverList.begin(), serverList.end(), [](const ServerInfo& s) { return s.timeToLive < 0; }),
        serverList.end());
    discoveryTimer += int(frameTime);
}

// ---------------------------------------------------------------- hosting

bool NetEngine::HostServer(const std::string& name) {
    Log("** Hosting Server: %s\n", name.c_str());
    serverName = name;
    discoveryTimer = -1;
    if (hosting.load() || numClients.load() > 0) return false;
    hosting = true;
    searching = false;
    ownAddress.SetAddress(ownIP, config.gamePort);
    discoveryAddress.SetAddress(ownIP, config.discoveryPort);

    auto fail = [this](UDPSocket& s) {
        s.Close();
        hosting = false;
        return false;
    };
    // The discovery socket listens on every interface (a socket bound to one
    // address does not see broadcasts) and answers from the own address.
    discoverySocket.Close();
    if (!discoverySocket.OpenForBroadcasting(config.discoveryPort)) return fail(discoverySocket);
    discoverySocket.SetReuseAddress(true);
    Address any;
    any.SetToAny(config.discoveryPort);
    if (!discoverySocket.BindSocket(any)) return fail(discoverySocket);
    discoverySocket.SetBroadcasting(true);
    discoverySocket.SetBlocking(false);
    discoverySocket.SetSendSource(discoveryAddress);

    sendSocket.Close();
    if (!sendSocket.Open(0) || !sendSocket.BindSocket(Address(ownIP, 0))) {
        discoverySocket.Close();
        return fail(sendSocket);
    }
    sendSocket.SetBlocking(true);

    receiveSocket.Close();
    if (!receiveSocket.Open(config.gamePort) || !receiveSocket.BindSocket(ownAddress)) {
        discoverySocket.Close();
        sendSocket.Close();
        return fail(receiveSocket);
    }
    receiveSocket.SetBlocking(false);
    ownId = 0;
    StartReceiving();
    return true;
}

void NetEngine::StopBroadcasting() {
    hosting = false;
    discoverySocket.Close();
}

void NetEngine::BroadcastServer() {
    if (!hosting.load()) return;
    unsigned char query[64];
    Address from;
    int n = discoverySocket.ReceiveFrom(from, reinterpret_cast<char*>(query), sizeof query, Socket::WAIT_INFINITE);
    if (n == -2 || n == -3) {
        Log("\n\n** Broadcast error! SendTo failed! Error: %d\n\n", errno);
        discoverySocket.Close();
        hosting = false;
        return;
    }
    if (n != 8 || GetWord(query) != QUERY_WORD || GetWord(query + 4) != ~QUERY_WORD) return;
    unsigned char reply[REPLY_BYTES] = {};
    PutWord(reply, REPLY_WORD);
    PutWord(reply + 4, ~REPLY_WORD);
    // The name is cut so that the reply keeps within what a client reads.
    std::size_t nameLen = std::min(serverName.size(), std::size_t(MAX_SERVER_NAME));
    std::size_t nul = serverName.find('\0');
    if (nul != std::string::npos) nameLen = std::min(nameLen, nul);
    std::memcpy(reply + 8, serverName.data(), nameLen);
    unsigned int length = unsigned(8 + nameLen + 1);
    if (serverInfoWriter)
        length += std::min(serverInfoWriter(reply + length, REPLY_BYTES - length), REPLY_BYTES - length);
    discoverySocket.SendTo(from, reinterpret_cast<const char*>(reply), length);
}

// ---------------------------------------------------------------- connecting

bool NetEngine::ConnectToServer(const std::string& name) {
    Log("** Attempting to connect to server: %s...\n", name.c_str());
    {
        std::lock_guard hold(slots[0].lock);
        if (slots[0].inUse) {
            Log("** Failed to connect to server: %s! Already connected to a server!\n", name.c_str());
            return false;
        }
    }
    auto it = std::find_if(serverList.begin(), serverList.end(), [&](const ServerInfo& s) { return s.name == name; });
    if (it == serverList.end()) {
        Log("** Server not found: %s\n", name.c_str());
        return false;
    }
    {
        std::lock_guard hold(slots[0].lock);
        slots[0].SetNewClient(Address(it->address.GetIP(), config.gamePort), 0, config.timeOut);
    }
    ownAddress.SetAddress(ownIP, 0);
    sendSocket.Close();
    if (!sendSocket.Open(0)) return false;
    sendSocket.BindSocket(ownAddress);
    sendSocket.SetBlocking(true);
    receiveSocket.Close();
    if (!receiveSocket.Open(0)) return false;
    receiveSocket.BindSocket(ownAddress);
    receiveSocket.SetBlocking(false);
    if (!SendConnectMessage()) return false;
    StartReceiving();
    return true;
}

bool NetEngine::SendConnectMessage() {
    Address server;
    {
        std::lock_guard hold(slots[0].lock);
        server = slots[0].address;
    }
    unsigned char word[2] = {CONNECT_WORD & 0xFF, CONNECT_WORD >> 8};
    int r = receiveSocket.SendTo(server, reinterpret_cast<const char*>(word), 2);
    if (r == -2 || r == -3) {
        std::lock_guard hold(slots[0].lock);
        slots[0].Kill();
        receiveSocket.Close();
        return false;
    }
    unsigned char second[2] = {SEND_SOCKET_WORD & 0xFF, SEND_SOCKET_WORD >> 8};
    r = sendSocket.SendTo(server, reinterpret_cast<const char*>(second), 2);
    if (r == -2 || r == -3) {
        std::lock_guard hold(slots[0].lock);
        slots[0].Kill();
        sendSocket.Close();
        return false;
    }
    {
        std::lock_guard hold(slots[0].lock);
        slots[0].connecting = true;
    }
    connectRetryTimer = 250;
    return true;
}

bool NetEngine::VarifyClient(const Address& from, const unsigned char* data, int length, unsigned char& slotId) {
    // The connection words are the handshake's own datagrams; anything else
    // from a peer that has not finished the handshake leaves its time alone.
    bool handshake = false;
    if (length == 2) {
        std::uint16_t word = static_cast<std::uint16_t>(data[0] | data[1] << 8);
        handshake = word == CONNECT_WORD || word == SEND_SOCKET_WORD;
    }
    const std::uint64_t key = (std::uint64_t(1) << 32) | from.GetAddr().sin_addr.s_addr;
    for (unsigned int i = 0; i <= config.maxClients; ++i) {
        if (slots[i].liveAddress.load() != key) continue;
        std::lock_guard hold(slots[i].lock);
        if (slots[i].inUse && slots[i].address == from) {
            if (i == 0 || !slots[i].connecting || handshake) {
                slots[i].timeLeft = config.timeOut;
                slots[i].heard = true;
            }
            slotId = static_cast<unsigned char>(i);
            return true;
        }
    }
    slotId = 255;
    return false;
}

unsigned char NetEngine::IsConnectMsg(const unsigned char* data, int length) {
    if (length != 2) return 255;  // the connection words are datagrams of exactly two bytes
    std::uint16_t word = static_cast<std::uint16_t>(data[0] | data[1] << 8);
    if (word != CONNECT_WORD || !hosting.load()) return 255;
    for (unsigned int i = 1; i <= config.maxClients; ++i) {
        if (slots[i].liveAddress.load() != 0) continue;
        std::lock_guard hold(slots[i].lock);
        if (!slots[i].inUse) return static_cast<unsigned char>(i);
    }
    return 255;
}

bool NetEngine::IsBarred(const Address& from) {
    std::uint32_t a = from.GetAddr().sin_addr.s_addr;
    std::lock_guard hold(barredLock);
    for (const Barred& b : barred)
        if (b.timeLeft > 0 && b.address == a) return true;
    return false;
}

void NetEngine::Bar(const Address& from) {
    std::lock_guard hold(barredLock);
    // A bounded list: with more strangers than entries the oldest is forgotten.
    barred[barredNext] = Barred{from.GetAddr().sin_addr.s_addr, config.timeOut};
    barredNext = (barredNext + 1) % BARRED_ADDRESSES;
}

void NetEngine::ConfirmConnect(unsigned char slotId) {
    if (slotId > config.maxClients) return;
    std::lock_guard hold(slots[slotId].lock);
    slots[slotId].connecting = false;
}

void NetEngine::KillClient(unsigned int id) {
    if (id > config.maxClients) return;
    Log("** Killing client with ID %d\n", int(id));
    {
        std::lock_guard hold(slots[id].lock);
        slots[id].Kill();
    }
    if (onKillClient) onKillClient(static_cast<char>(id));
}

void NetEngine::Disconnect() {
    StopReceiving();
    receiveSocket.Close();
    for (unsigned int i = 0; i <= 15; ++i) {
        std::lock_guard hold(slots[i].lock);
        slots[i].Kill();
        slots[i].connecting = false;
    }
    ClearMsgList();
    sendSocket.Close();
    // Closed too, so that hosting again in the same run can bind the port anew.
    discoverySocket.Close();
    hosting = false;
    searching = false;
    anyConnecting = false;
    numClients = 0;
    ownId = 255;
    pingNumber = 0;
    connectRetryTimer = 0;
    ClearSyncs();
    std::printf(" * Your connection has been dropped..\n\n");
}

// ---------------------------------------------------------------- receiving

void NetEngine::StartReceiving() {
    if (config.receiveThread) receiver.Start(*this);
}

void NetEngine::StopReceiving() { receiver.Stop(true); }

void NetEngine::ReceiveThread(NetEngine& engine, const std::atomic<bool>& stop) {
    while (!stop.load()) {
        if (!engine.ReceiveOnce(16)) return;
    }
    engine.receiveSocket.Close();
}

bool NetEngine::ReceiveOnce(int waitMs) {
    if (!receiveSocket.IsOpen()) return false;
    unsigned char buffer[MAX_PACK_BYTES];
    Address from;
    int n = receiveSocket.ReceiveFrom(from, reinterpret_cast<char*>(buffer), sizeof buffer, waitMs);
    if (n == -1) return true;
    if (n < 0) {
        char line[64];
        std::snprintf(line, sizeof line, "\n\n * Recvfrom failed!\nError: %d\n\n", errno);
        Log("%s", line);
        DebugOutput(line);
        receiveSocket.Close();
        return false;
    }
    HandleDatagram(from, buffer, n);
    {
        std::lock_guard hold(activityLock);
        ++datagramsHandled;
    }
    activity.notify_all();
    return true;
}

void NetEngine::HandleDatagram(const Address& from, const unsigned char* data, int length) {
    // No received-message lock while the datagram is sorted and read: the
    // game thread takes that lock every frame and must never wait behind
    // parsing. What a pack delivers is handed over in one move at the end.
    unsigned char slotId;
    if (VarifyClient(from, data, length, slotId)) {
        if (length >= 3) HandleNewPack(data, slotId, length);
        HandOver();
        return;
    }
    unsigned char k = IsConnectMsg(data, length);
    if (k == 255) return;
    // An address that held a slot without finishing the handshake waits out
    // its bar, so strangers cannot take turns at the free slots.
    if (IsBarred(from)) return;
    std::lock_guard holdSend(sendLock);
    Client& slot = slots[k];
    std::lock_guard holdSlot(slot.lock);
    if (slot.inUse) return;
    slot.SetNewClient(from, k, config.timeOut);
    PrivateNetMessage::PMSG_SetClientID welcome(k);
    PrivateSendNetMessageToClient(slot, welcome, true, false);
}

bool NetEngine::PollReceive(int waitMs) { return ReceiveOnce(waitMs); }

int NetEngine::DrainReceive(int limit) {
    int read = 0;
    while (read < limit && receiveSocket.IsOpen()) {
        pollfd p{receiveSocket.GetHandle(), POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0 || !(p.revents & POLLIN)) break;
        if (!ReceiveOnce(0)) break;
        ++read;
    }
    return read;
}

std::uint64_t NetEngine::WaitForDatagrams(std::uint64_t seen, int timeoutMs) {
    std::unique_lock hold(activityLock);
    activity.wait_for(hold, std::chrono::milliseconds(timeoutMs), [&] { return datagramsHandled.load() > seen; });
    return datagramsHandled.load();
}

}  // namespace Networking
