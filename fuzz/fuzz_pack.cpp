// Datagrams into a joined pair: the pack header, the message count, every
// message the pack holds, the acknowledgements, ordering and resends, and the
// messages run at once and on the next update. The first byte picks the way:
// bit 1 set, from the server's address to the client (what a hostile server
// can send); else to the server, bit 0 clear from the joined client's
// address, set from a stranger's (where the two-byte connect words are heard).
#include <cstdint>
#include <memory>

#include "FuzzNet.h"
#include "framework/Game.h"
#include "framework/State.h"

using namespace Networking;

namespace {

// Passes every datagram on and notes the port the client receives on (the
// server sends there).
class ClientPortSeam : public DatagramSeam {
public:
    explicit ClientPortSeam(const std::string& clientIp) : client(inet_addr(clientIp.c_str())) {
        SetDatagramSeam(this);
    }
    long SendTo(int handle, const sockaddr_in& to, const char* data, unsigned int len, const in_addr* source) override {
        if (to.sin_addr.s_addr == client) port = ntohs(to.sin_port);
        return RawSendTo(handle, to, data, len, source);
    }
    in_addr_t client;
    unsigned short port = 0;
};

struct Server {
    Server()
        : gamePort(fuzz::FreeUdpPort()),
          discoveryPort(fuzz::FreeUdpPort()),
          server(fuzz::LoopbackConfig(1, gamePort, discoveryPort)),
          client(fuzz::LoopbackConfig(2, gamePort, discoveryPort)),
          known(fuzz::LoopbackIp(2)),
          stranger(fuzz::LoopbackIp(3)),
          serverSide(fuzz::LoopbackIp(1)),
          to(fuzz::SocketAddress(fuzz::LoopbackIp(1), gamePort)) {
        server.SetDebug(false);
        client.SetDebug(false);
        if (!server.HostServer("fuzz")) std::abort();
        client.FindServers();
        for (int i = 0; i < 200 && client.GetServerList().empty(); ++i) fuzz::Pump({&server, &client}, 1);
        client.StopFindingServers();
        if (!client.ConnectToServer("fuzz")) std::abort();
        for (int i = 0; i < 200 && (client.NetID() == 255 || server.GetSlotState(client.NetID()).connecting); ++i)
            fuzz::Pump({&server, &client}, 1);
        if (client.NetID() == 255) std::abort();
    }
    unsigned short gamePort, discoveryPort;
    NetEngine server, client;
    fuzz::RawPeer known, stranger, serverSide;
    sockaddr_in to;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::ThrowingFatal fatal;
    // A game entity, as in the running program, without devices.
    static bool game = [] {
        State::hooks = StateHooks{};
        Game::hooks = GameHooks{};
        Game::_FirstInit();
        return true;
    }();
    (void)game;
    static ClientPortSeam seam(fuzz::LoopbackIp(2));
    static Server* s = new Server();
    // The pair is updated only by the inputs meant for it: what the other
    // side sends waits in its socket (the kernel drops what overflows).
    if (size < 1 || size > MAX_PACK_BYTES + 1) return 0;
    if (data[0] & 2) {
        s->serverSide.SendTo(fuzz::SocketAddress(fuzz::LoopbackIp(2), seam.port), data + 1, size - 1);
        s->client.DrainReceive();
        s->client.Update(16);
    } else {
        const fuzz::RawPeer& from = (data[0] & 1) ? s->stranger : s->known;
        from.SendTo(s->to, data + 1, size - 1);
        s->server.DrainReceive();
        s->server.Update(16);
    }
    // What the server sent back is read and dropped, so no socket fills.
    std::vector<unsigned char> ignored;
    sockaddr_in sender;
    for (const fuzz::RawPeer* p : {&s->known, &s->stranger})
        while (p->Receive(ignored, sender) >= 0) {}
    // A client dropped (time-out, or a message that ends it) is joined anew,
    // so that most inputs meet a joined slot.
    const auto slot = s->server.GetSlotState(s->client.NetID());
    if (!slot.inUse || slot.connecting || !s->client.IsClient()) {
        delete s;
        s = new Server();
    }
    return 0;
}
