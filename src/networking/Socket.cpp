#include "networking/Socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "framework/Fatal.h"

namespace Networking {

namespace {
std::atomic<DatagramSeam*> currentSeam{nullptr};

int MapError(int err) {
    if (err == EWOULDBLOCK || err == EAGAIN || err == ETIMEDOUT || err == EINTR) return -1;
    return -2;
}

std::string Dotted(in_addr a) {
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}
}  // namespace

// ---------------------------------------------------------------- Address

Address::Address() {
    std::memset(&addr, 0, sizeof addr);
    addr.sin_family = AF_INET;
}

Address::Address(const sockaddr_in& a) : Address() {
    addr.sin_family = a.sin_family;
    addr.sin_port = a.sin_port;
    addr.sin_addr = a.sin_addr;
    text = Dotted(a.sin_addr);
    port = a.sin_port;
}

Address::Address(const std::string& ip, unsigned short p) : Address() { SetAddress(ip, p); }

void Address::SetAddress(const Address& other) {
    addr = other.addr;
    text = other.text;
    port = other.port;
}

void Address::SetAddress(const std::string& ip, unsigned short p) {
    std::memset(&addr, 0, sizeof addr);
    addr.sin_family = AF_INET;
    port = p;
    addr.sin_port = htons(p);
    addr.sin_addr.s_addr = inet_addr(ip.c_str());
    text = ip;
}

void Address::SetToAny(unsigned short p) {
    std::memset(&addr, 0, sizeof addr);
    addr.sin_family = AF_INET;
    port = p;
    addr.sin_port = htons(p);
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    text = "Any";
}

void Address::SetToBroadcast(unsigned short p) {
    std::memset(&addr, 0, sizeof addr);
    addr.sin_family = AF_INET;
    port = p;
    addr.sin_port = htons(p);
    addr.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    text = "Broadcasting..";
}

unsigned short Address::GetPort() const { return addr.sin_port; }

std::string Address::GetIP() const { return Dotted(addr.sin_addr); }

const std::string& Address::CalcIP() {
    text = Dotted(addr.sin_addr);
    return text;
}

// ---------------------------------------------------------------- seam

DatagramSeam* SetDatagramSeam(DatagramSeam* seam) { return currentSeam.exchange(seam); }

long RawSendTo(int handle, const sockaddr_in& to, const char* data, unsigned int len, const in_addr* source) {
    if (!source) return ::sendto(handle, data, len, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    iovec part{const_cast<char*>(data), len};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr msg{};
    msg.msg_name = const_cast<sockaddr_in*>(&to);
    msg.msg_namelen = sizeof to;
    msg.msg_iov = &part;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&msg);
    c->cmsg_level = IPPROTO_IP;
    c->cmsg_type = IP_PKTINFO;
    c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    info.ipi_spec_dst = *source;
    std::memcpy(CMSG_DATA(c), &info, sizeof info);
    return ::sendmsg(handle, &msg, MSG_NOSIGNAL);
}

// ---------------------------------------------------------------- Socket

Socket::Socket(const Socket& other)
    : handle(other.handle.load()),
      port(other.port.load()),
      blocking(other.blocking),
      broadcasting(other.broadcasting),
      hasSource(other.hasSource),
      source(other.source) {}

Socket& Socket::operator=(const Socket& other) {
    handle = other.handle.load();
    port = other.port.load();
    blocking = other.blocking;
    broadcasting = other.broadcasting;
    hasSource = other.hasSource;
    source = other.source;
    return *this;
}

bool Socket::OpenForBroadcasting(unsigned short p) {
    port = p;
    handle = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    hasSource = false;
    return handle.load() != INVALID;
}

void Socket::SetRecvTimeout(long seconds, long microseconds) {
    timeval tv{seconds, microseconds};
    if (::setsockopt(handle, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) != 0) ShowMessage("Error", "Cannot set timeout");
}

void Socket::SetBlocking(bool block) {
    int flags = ::fcntl(handle, F_GETFL, 0);
    if (flags >= 0) ::fcntl(handle, F_SETFL, block ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK));
    blocking = block;
}

void Socket::SetBroadcasting(bool broadcast) {
    int on = broadcast ? 1 : 0;
    ::setsockopt(handle, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    broadcasting = broadcast;
}

bool Socket::SetReuseAddress(bool reuse) {
    int on = reuse ? 1 : 0;
    return ::setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0;
}

bool Socket::BindSocket(const Address& address) {
    const sockaddr_in& a = address.GetAddr();
    return ::bind(handle, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
}

void Socket::SetSendSource(const Address& from) {
    source = from.GetAddr().sin_addr;
    hasSource = source.s_addr != htonl(INADDR_ANY);
}

// ---------------------------------------------------------------- UDPSocket

bool UDPSocket::Open(unsigned short p) {
    port = p;
    hasSource = false;
    blocking = true;
    broadcasting = false;
    handle = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (handle.load() == INVALID) {
        char text[96];
        std::snprintf(text, sizeof text, " * Failed to open port! error: %ld.", long(errno));
        ShowMessage(text, "Network Engine: ");
        return false;
    }
    return true;
}

void UDPSocket::Close() {
    int h = handle.exchange(INVALID);
    if (h != INVALID) ::close(h);
}

int UDPSocket::Send(const char* data, unsigned int len) {
    long n = ::send(handle, data, len, MSG_NOSIGNAL);
    if (n < 0) return MapError(errno);
    if (n == 0) return -3;
    return int(n);
}

int UDPSocket::Receive(char* buf, unsigned int len) {
    long n = ::recv(handle, buf, len, 0);
    if (n < 0) return MapError(errno);
    if (n == 0) return -3;
    return int(n);
}

int UDPSocket::SendTo(const Address& to, const char* data, unsigned int len) {
    const in_addr* from = hasSource ? &source : nullptr;
    DatagramSeam* seam = currentSeam.load();
    long n =
        seam ? seam->SendTo(handle, to.GetAddr(), data, len, from) : RawSendTo(handle, to.GetAddr(), data, len, from);
    if (n < 0) return MapError(errno);
    if (n == 0) return -3;
    return int(n);
}

int UDPSocket::ReceiveFrom(Address& from, char* buf, unsigned int len, int waitMs) {
    int h = handle;
    if (h == INVALID) return -2;
    if (waitMs != WAIT_INFINITE) {
        pollfd p{h, POLLIN, 0};
        int r = ::poll(&p, 1, waitMs);
        if (r == 0) return -1;
        if (r < 0) return errno == EINTR ? -1 : -3;
        if (p.revents & POLLNVAL) return -2;
    }
    sockaddr_in a{};
    socklen_t alen = sizeof a;
    // MSG_TRUNC answers the datagram's real length, so one too large for the
    // buffer is seen and dropped rather than read cut short.
    long n = ::recvfrom(h, buf, len, MSG_TRUNC, reinterpret_cast<sockaddr*>(&a), &alen);
    if (n < 0) return MapError(errno);
    from.GetAddr() = a;
    from.CalcIP();
    port = a.sin_port;
    if (n == 0 || static_cast<unsigned long>(n) > len) return -1;
    return int(n);
}

int UDPSocket::Connect(Address& to) {
    std::uint32_t hello = 1;
    int r = SendTo(to, reinterpret_cast<const char*>(&hello), 4);
    if (r == -2 || r == -3) return r;
    char reply[64];
    Address from;
    r = ReceiveFrom(from, reply, sizeof reply, 2000);
    return r;
}

bool UDPSocket::Associate(const Address& to) {
    const sockaddr_in& a = to.GetAddr();
    if (::connect(handle, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        char text[96];
        std::snprintf(text, sizeof text, " * Failed to Associate! error: %ld.", long(errno));
        ShowMessage(text, "Network Engine: ");
        return false;
    }
    return true;
}

Socket* UDPSocket::Accept(Address& from) {
    auto* s = new UDPSocket();
    if (!s->Open(port)) {
        delete s;
        return nullptr;
    }
    std::uint32_t word = 0;
    int r = ReceiveFrom(from, reinterpret_cast<char*>(&word), 4, 1000);
    if (r < 0 || !s->Associate(from)) {
        s->Close();
        delete s;
        return nullptr;
    }
    if (word & 1) {
        std::uint32_t three = 3;
        s->Send(reinterpret_cast<const char*>(&three), 4);
        return s;
    }
    std::uint32_t eight = 8;
    s->Send(reinterpret_cast<const char*>(&eight), 4);
    s->Close();
    delete s;
    return nullptr;
}

// ---------------------------------------------------------------- Mutex

void Mutex::Enter() const {
    section.lock();
    holder = long(::syscall(SYS_gettid));
}

void Mutex::Leave() const {
    holder = -1;
    section.unlock();
}

}  // namespace Networking
