// Replies to a searching client's query: the two check words, the server's
// name and the information message after it. A stand-in server answers the
// client's query with the input as it stands.
#include <cstdint>
#include <cstdlib>

#include "FuzzNet.h"

using namespace Networking;

namespace {

struct Search {
    Search()
        : discoveryPort(fuzz::FreeUdpPort()),
          client(fuzz::LoopbackConfig(2, fuzz::FreeUdpPort(), discoveryPort)),
          server(fuzz::LoopbackIp(1), discoveryPort) {
        client.SetDebug(false);
    }
    unsigned short discoveryPort;
    NetEngine client;
    fuzz::RawPeer server;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::ThrowingFatal fatal;
    static Search s;
    if (size > 800) return 0;
    // A fresh search sends its query on the first update.
    s.client.FindServers();
    s.client.SetFrameTime(16);
    s.client.ListenForServer();
    std::vector<unsigned char> query;
    sockaddr_in from{};
    long n = -1;
    for (int tries = 0; tries < 1000 && n < 0; ++tries) n = s.server.Receive(query, from);
    if (n != 8) std::abort();  // the query never came
    s.server.SendTo(from, data, size);
    s.client.ListenForServer();
    for (const ServerInfo& info : s.client.GetServerList())
        if (info.info) (void)info.info->Size();
    return 0;
}
