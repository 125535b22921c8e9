#pragma once
// IPv4 datagram sockets with the engine's result convention, addresses with
// their dotted text, and the engine's lock type.
//
// Results of Send, Receive, SendTo and ReceiveFrom: a byte count (>= 0), or
// -1 nothing yet (would block, timed out, interrupted, or a datagram that was
// empty or too large for the buffer and has been dropped), -2 a socket error,
// -3 nothing moved or the wait itself failed.
#include <netinet/in.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace Networking {

class Address {
public:
    Address();
    explicit Address(const sockaddr_in& a);
    Address(const std::string& ip, unsigned short port);

    void SetAddress(const Address& other);
    void SetAddress(const std::string& ip, unsigned short port);
    void SetToAny(unsigned short port);
    void SetToBroadcast(unsigned short port);

    // The port as stored in the socket address (network byte order).
    unsigned short GetPort() const;
    // The port as given (host order).
    unsigned short GetHostPort() const { return port; }
    std::string GetIP() const;
    const std::string& CalcIP();
    const std::string& GetText() const { return text; }
    static constexpr int GetLength() { return int(sizeof(sockaddr_in)); }
    const sockaddr_in& GetAddr() const { return addr; }
    sockaddr_in& GetAddr() { return addr; }

    // Same IPv4 address; ports are not compared.
    bool operator==(const Address& other) const { return addr.sin_addr.s_addr == other.addr.sin_addr.s_addr; }

private:
    sockaddr_in addr;
    std::string text;
    unsigned short port = 0;
};

// What every datagram leaving a socket passes through. Tests install their own
// to lose, duplicate, reorder or delay datagrams; RawSendTo is the real send.
class DatagramSeam {
public:
    virtual ~DatagramSeam() = default;
    // source: the address to send from (null: the socket's own).
    virtual long SendTo(int handle, const sockaddr_in& to, const char* data, unsigned int len,
                        const in_addr* source) = 0;
};
// Installs a seam (null: straight to the socket); returns the previous one.
DatagramSeam* SetDatagramSeam(DatagramSeam* seam);
// The system call (sendto, or sendmsg when a source address is given); -1 and errno on failure.
long RawSendTo(int handle, const sockaddr_in& to, const char* data, unsigned int len, const in_addr* source);

class Socket {
public:
    static constexpr int WAIT_INFINITE = -1;
    static constexpr int INVALID = -1;

    Socket() = default;
    Socket(const Socket& other);
    Socket& operator=(const Socket& other);
    virtual ~Socket() = default;  // does not close the handle

    virtual bool Open(unsigned short port) = 0;
    virtual void Close() = 0;
    virtual int Send(const char* data, unsigned int len) = 0;
    virtual int Receive(char* buf, unsigned int len) = 0;
    virtual int SendTo(const Address& to, const char* data, unsigned int len) = 0;
    virtual int ReceiveFrom(Address& from, char* buf, unsigned int len, int waitMs) = 0;
    virtual int Listen(int) = 0;
    virtual int Connect(Address& to) = 0;
    virtual bool Associate(const Address& to) = 0;
    virtual Socket* Accept(Address& from) = 0;

    bool OpenForBroadcasting(unsigned short port);
    bool IsOpen() const { return handle.load() != INVALID; }
    int GetHandle() const { return handle.load(); }
    void SetRecvTimeout(long seconds, long microseconds);
    void SetBlocking(bool block);
    bool IsBlocking() const { return blocking; }
    void SetBroadcasting(bool broadcast);
    bool IsBroadcasting() const { return broadcasting; }
    bool SetReuseAddress(bool reuse);
    bool BindSocket(const Address& address);
    // Datagrams sent with SendTo leave from this address (a socket bound to
    // every interface answers from the address it was asked on).
    void SetSendSource(const Address& source);
    unsigned short GetPort() const { return port.load(); }

protected:
    std::atomic<int> handle{INVALID};
    std::atomic<unsigned short> port{0};
    bool blocking = true;
    bool broadcasting = false;
    bool hasSource = false;
    in_addr source{};
};

class UDPSocket : public Socket {
public:
    bool Open(unsigned short port) override;
    void Close() override;
    int Send(const char* data, unsigned int len) override;
    int Receive(char* buf, unsigned int len) override;
    int SendTo(const Address& to, const char* data, unsigned int len) override;
    int ReceiveFrom(Address& from, char* buf, unsigned int len, int waitMs) override;
    int Listen(int) override { return 1; }
    // Bounded: gives up with -1 after about two seconds without a reply.
    int Connect(Address& to) override;
    bool Associate(const Address& to) override;
    Socket* Accept(Address& from) override;
};

// The lock of the engine's records: re-entrant, remembers the thread holding it.
class Mutex {
public:
    void Enter() const;
    void Leave() const;
    void lock() const { Enter(); }
    void unlock() const { Leave(); }
    long Holder() const { return holder.load(); }

private:
    mutable std::recursive_mutex section;
    mutable std::atomic<long> holder{-1};
};

}  // namespace Networking
