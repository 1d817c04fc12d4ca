#pragma once

// Peers for socket tests, on 127.0.0.1 only: plain blocking system sockets driven from threads of
// their own, so that what they see does not depend on the code under test. Every wait of a peer
// gives up after ten seconds.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace rv::test {

// One connected TCP socket.
class PeerConnection {
public:
    explicit PeerConnection(int fd);
    ~PeerConnection();
    PeerConnection(const PeerConnection&) = delete;
    PeerConnection& operator=(const PeerConnection&) = delete;

    // Exactly `count` bytes, or fewer when the stream ends first.
    std::string Read(std::size_t count);
    // Everything until the other side ends its sending.
    std::string ReadToEnd();
    // Writes everything; false when the connection failed.
    bool Write(std::string_view bytes);
    void ShutdownWrite();
    // Closes at once with a reset.
    void Reset();
    void Close();
    // Unblocks a read or write waiting in another thread.
    void Interrupt();

private:
    std::atomic<int> fd_;
};

// A TCP socket listening on 127.0.0.1 that accepts one connection and runs `script` on it in a
// thread of its own.
class TcpPeer {
public:
    explicit TcpPeer(std::function<void(PeerConnection&)> script);
    ~TcpPeer();  // interrupts a script still waiting, then waits for it
    TcpPeer(const TcpPeer&) = delete;
    TcpPeer& operator=(const TcpPeer&) = delete;

    std::uint16_t Port() const { return port_; }
    bool Done() const { return done_.load(); }
    void Join();

private:
    int listenFd_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> done_{false};
    std::mutex mutex_;
    std::shared_ptr<PeerConnection> connection_;  // guarded by mutex_
    std::thread thread_;
};

// A UDP socket on 127.0.0.1 that sends every datagram back to its sender, `count` times, then ends.
class UdpEchoPeer {
public:
    explicit UdpEchoPeer(int count);
    ~UdpEchoPeer();
    UdpEchoPeer(const UdpEchoPeer&) = delete;
    UdpEchoPeer& operator=(const UdpEchoPeer&) = delete;

    std::uint16_t Port() const { return port_; }

private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<int> echoed_{0};
    std::thread thread_;
};

// A port of 127.0.0.1 where nothing listens.
std::uint16_t UnusedPort();

}  // namespace rv::test
