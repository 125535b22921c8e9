#pragma once
// A UDP port that is free on every local address right now, for tests,
// benchmarks and fuzz targets that open their own sockets on loopback.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

inline unsigned short FreeUdpPort() {
    int s = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0) return 0;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    socklen_t len = sizeof a;
    const bool named = ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                       ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0;
    ::close(s);
    return named ? ntohs(a.sin_port) : 0;
}

}  // namespace testsupport
