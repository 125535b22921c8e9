// Discovery on the discovery port, hosting, the connection handshake, the
// receive thread's sorting of datagrams, and leaving.
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>

#include "framework/Fatal.h"
#include "framework/Time.h"
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
            // One entry per server, known by its address: two games of one
            // name on two machines stay two entries.
            const std::string ip = from.GetIP();
            auto it = std::find_if(serverList.begin(), serverList.end(),
                                   [&](const ServerInfo& s) { return s.address.GetIP() == ip; });
            if (it != serverList.end()) {
                it->lifetime = 2500;
                it->heardAt = TimeGetTime();
                it->name = name;
                it->info = info;
            } else {
                ServerInfo entry;
                entry.name = name;
                entry.address.SetAddress(Address(from.GetAddr()));
                entry.info = info;
                entry.lifetime = 1250;
                entry.heardAt = TimeGetTime();
                serverList.push_back(std::move(entry));
            }
        }
    }
    const std::uint32_t now = TimeGetTime();
    for (ServerInfo& s : serverList) s.timeToLive = s.lifetime - std::max(0, int(std::int32_t(now - s.heardAt)));
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

bool NetEngine::ConnectToServer(const std::string& name) { return ConnectToServer(name, std::string()); }

bool NetEngine::ConnectToServer(const std::string& name, const std::string& ip) {
    Log("** Attempting to connect to server: %s...\n", name.c_str());
    {
        std::lock_guard hold(slots[0].lock);
        if (slots[0].inUse) {
            Log("** Failed to connect to server: %s! Already connected to a server!\n", name.c_str());
            return false;
        }
    }
    auto it = std::find_if(serverList.begin(), serverList.end(), [&](const ServerInfo& s) {
        return s.name == name && (ip.empty() || s.address.GetIP() == ip);
    });
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
    const std::uint64_t key = (std::uint64_t(1) << 32) | from.GetAddr().sin_addr.s_addr;
    // A connection word from a client's address but not from the port its
    // own word came from is a new run of the program there (the earlier one
    // ended without a word): it is answered as a stranger's, with an offer.
    const bool connectWord = length == 2 && static_cast<std::uint16_t>(data[0] | data[1] << 8) == CONNECT_WORD;
    for (unsigned int i = 0; i <= config.maxClients; ++i) {
        if (slots[i].liveAddress.load() != key) continue;
        std::lock_guard hold(slots[i].lock);
        if (i != 0 && (slots[i].superseded || (connectWord && slots[i].address.GetPort() != from.GetPort()))) continue;
        if (slots[i].inUse && slots[i].address == from) {
            // Heard now, whatever the game thread is doing.
            slots[i].lastHeard = TimeGetTime();
            slotId = static_cast<unsigned char>(i);
            return true;
        }
    }
    slotId = 255;
    return false;
}

// ---------------------------------------------------------------- the offer of a slot

namespace {
// The next of a sequence no one outside can predict: split-mix steps from a
// random start.
std::uint32_t NextToken(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>(z ^ (z >> 31));
}
}  // namespace

void NetEngine::Offer(const Address& from) {
    if (!hosting.load()) return;
    // The free slots, looked at one lock at a time before the offers are.
    std::vector<unsigned char> free;
    for (unsigned int i = 1; i <= config.maxClients; ++i) {
        if (slots[i].liveAddress.load() != 0) continue;
        std::lock_guard hold(slots[i].lock);
        if (!slots[i].inUse) free.push_back(static_cast<unsigned char>(i));
    }
    const std::uint32_t now = TimeGetTime();
    SlotOffer answer;
    {
        std::lock_guard hold(offerLock);
        if (tokenState == 0) tokenState = (std::uint64_t(std::random_device{}()) << 32) ^ std::random_device{}() ^ now;
        SlotOffer* mine = nullptr;
        SlotOffer* spare = nullptr;  // a free entry, else the oldest offer
        for (SlotOffer& o : offers) {
            if (o.live && std::int32_t(now - o.madeAt) > config.timeOut) o.live = false;
            if (o.live && o.address == from) mine = &o;
            if (spare == nullptr || (spare->live && (!o.live || std::int32_t(o.madeAt - spare->madeAt) < 0)))
                spare = &o;
        }
        const bool stillFree = mine && std::find(free.begin(), free.end(), mine->id) != free.end();
        if (!stillFree) {
            if (mine) mine->live = false;
            if (free.empty()) return;  // a full server offers nothing
            // A slot not offered to anybody else if there is one: two real
            // clients asking at once then get two slots.
            unsigned char id = free.front();
            for (unsigned char f : free) {
                bool offered = false;
                for (const SlotOffer& o : offers) offered = offered || (o.live && o.id == f);
                if (!offered) {
                    id = f;
                    break;
                }
            }
            mine = mine ? mine : spare;
            mine->address.SetAddress(from);
            mine->id = id;
            mine->token = NextToken(tokenState);
            mine->madeAt = now;
            mine->live = true;
        }
        // Asked again: the offer lasts the time-out from the latest word (a
        // client whose game runs slowly confirms a frame after its last one).
        mine->madeAt = now;
        answer = *mine;
    }
    // The answer goes to where the word came from: only a peer that reads
    // what arrives there learns the number its confirmation must carry. The
    // same offer is repeated to the same address while it lasts.
    Log("** Offering slot %d to %s\n", int(answer.id), from.GetIP().c_str());
    PrivateNetMessage::PMSG_SetClientID welcome(answer.id, answer.token);
    SendAlone(answer.address, welcome, 0);
}

bool NetEngine::TakeOffer(const Address& from, const unsigned char* data, int length) {
    if (!hosting.load() || length < 5 || !(data[2] & 1)) return false;
    SlotOffer offer;
    {
        std::lock_guard hold(offerLock);
        const std::uint32_t now = TimeGetTime();
        SlotOffer* mine = nullptr;
        for (SlotOffer& o : offers)
            if (o.live && o.address == from && std::int32_t(now - o.madeAt) <= config.timeOut) mine = &o;
        if (!mine) return false;
        offer = *mine;
    }
    std::vector<BaseNetMessage*> messages;
    if (!ReadPack(data, length, messages)) return false;
    const bool confirms = !messages.empty() && messages[0]->typeId == PrivateNetMessage::PMSG_ConfirmConnect::MSG_ID;
    const bool proven =
        confirms && static_cast<PrivateNetMessage::PMSG_ConfirmConnect*>(messages[0])->token.value == offer.token;
    for (BaseNetMessage* m : messages) {
        m->Free();
        delete m;
    }
    if (!confirms) return false;
    {
        // One guess an offer: a blind sender does not get to try again.
        std::lock_guard hold(offerLock);
        for (SlotOffer& o : offers)
            if (o.live && o.address == from) o.live = false;
    }
    if (!proven) {
        Log("** Refused a confirmation from %s: not the number it was sent\n", from.GetIP().c_str());
        return false;
    }
    BitReader header(data + 2, std::size_t(length) - 2);
    header.Read(1);
    const auto sequence = static_cast<std::uint16_t>(header.Read(16));
    {
        std::lock_guard holdSend(sendLock);
        Client& slot = slots[offer.id];
        std::lock_guard holdSlot(slot.lock);
        if (slot.inUse) {
            Log("** Refused a confirmation from %s: slot %d was taken meanwhile\n", from.GetIP().c_str(),
                int(offer.id));
            return false;
        }
        // Answers go to where the connection word came from (the client's
        // receiving socket), not to the socket the confirmation left from.
        slot.SetNewClient(offer.address, offer.id, config.timeOut, true);
        slot.nextSequence = 1;  // the offer went as number 0
        slot.expectedSequence = sequence;
    }
    Log("** Client %d confirmed its slot\n", int(offer.id));
    SupersedeEarlierRuns(offer.id);
    HandleNewPack(data, offer.id, length);
    return true;
}

bool NetEngine::HasOfferFor(const Address& from) {
    std::lock_guard hold(offerLock);
    const std::uint32_t now = TimeGetTime();
    for (const SlotOffer& o : offers)
        if (o.live && o.address == from && std::int32_t(now - o.madeAt) <= config.timeOut) return true;
    return false;
}

void NetEngine::SupersedeEarlierRuns(unsigned char slotId) {
    const std::uint64_t key = slots[slotId].liveAddress.load();
    // The machine's earlier run ended without a word and its slot would wait
    // out the time-out: its new run has just proved itself, so the old slot
    // is no longer this machine's and is timed out at the next update (which
    // drops its player on every machine).
    for (unsigned int i = 1; i <= config.maxClients; ++i) {
        if (i == slotId || slots[i].liveAddress.load() != key) continue;
        std::lock_guard hold(slots[i].lock);
        if (!slots[i].inUse) continue;
        Log("** Client %d is an earlier run of client %d's machine\n", int(i), int(slotId));
        slots[i].superseded = true;
        slots[i].lastHeard = TimeGetTime() - std::uint32_t(config.timeOut) - 1000u;
    }
}

int NetEngine::OpenOffers() {
    std::lock_guard hold(offerLock);
    const std::uint32_t now = TimeGetTime();
    int open = 0;
    for (const SlotOffer& o : offers)
        if (o.live && std::int32_t(now - o.madeAt) <= config.timeOut) ++open;
    return open;
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
    ShutDown();
    std::printf(" * Your connection has been dropped..\n\n");
}

void NetEngine::ShutDown() {
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
    numClients = 0;
    ownId = 255;
    pingNumber = 0;
    connectRetryTimer = 0;
    ClearSyncs();
    std::lock_guard hold(offerLock);
    for (SlotOffer& o : offers) o.live = false;
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
    // A new run of a client's machine confirms its offer from the machine's
    // address: its confirmation is not a pack of the earlier run's slot.
    if (length >= 5 && HasOfferFor(from) && TakeOffer(from, data, length)) {
        HandOver();
        return;
    }
    if (VarifyClient(from, data, length, slotId)) {
        if (length >= 3) HandleNewPack(data, slotId, length);
        HandOver();
        return;
    }
    // A stranger: its connection word is answered with the offer of a slot,
    // and only the pack that confirms that offer makes it a peer. Nothing
    // else from it is read.
    if (length == 2) {
        if (static_cast<std::uint16_t>(data[0] | data[1] << 8) == CONNECT_WORD) Offer(from);
        return;
    }
    if (TakeOffer(from, data, length)) HandOver();
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
