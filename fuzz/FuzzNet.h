#pragma once
// A server on a loopback address of the process's own, with a client joined
// through the real handshake, for the targets that feed it datagrams.
#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "networking/NetEngine.h"
#include "support/FreeUdpPort.h"

namespace fuzz {

using testsupport::FreeUdpPort;

inline sockaddr_in SocketAddress(const std::string& ip, unsigned short port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = inet_addr(ip.c_str());
    return a;
}

// A datagram socket of the target's own on a loopback address.
struct RawPeer {
    explicit RawPeer(const std::string& ip, unsigned short port = 0) {
        fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in a = SocketAddress(ip, port);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    ~RawPeer() { ::close(fd); }
    RawPeer(const RawPeer&) = delete;
    RawPeer& operator=(const RawPeer&) = delete;
    void SendTo(const sockaddr_in& to, const void* bytes, std::size_t size) const {
        ::sendto(fd, bytes, size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
    // One waiting datagram (none: -1), without blocking.
    long Receive(std::vector<unsigned char>& into, sockaddr_in& from) const {
        into.resize(2048);
        socklen_t len = sizeof from;
        long n = ::recvfrom(fd, into.data(), into.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &len);
        into.resize(n > 0 ? std::size_t(n) : 0);
        return n;
    }
    int fd;
};

inline Networking::NetConfig LoopbackConfig(int host, unsigned short gamePort, unsigned short discoveryPort) {
    Networking::NetConfig c;
    c.gamePort = gamePort;
    c.discoveryPort = discoveryPort;
    c.discoveryTarget = LoopbackIp(1);
    c.ownAddress = LoopbackIp(host);
    c.receiveThread = false;
    return c;
}

inline void Pump(const std::vector<Networking::NetEngine*>& engines, int frames) {
    for (int f = 0; f < frames; ++f)
        for (auto* e : engines) {
            e->DrainReceive();
            e->Update(16);
        }
}

}  // namespace fuzz
