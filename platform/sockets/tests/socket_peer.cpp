#include "platform/sockets/tests/socket_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace rv::test {

namespace {

void SetTimeouts(int fd) {
    const timeval tenSeconds{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tenSeconds, sizeof tenSeconds);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tenSeconds, sizeof tenSeconds);
}

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A socket bound to 127.0.0.1 on a port the system picks; returns the port.
std::uint16_t BindLoopback(int fd) {
    const sockaddr_in address = Loopback(0);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("bind failed");
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    return ntohs(bound.sin_port);
}

}  // namespace

PeerConnection::PeerConnection(int fd) : fd_(fd) {
    SetTimeouts(fd);
}

PeerConnection::~PeerConnection() {
    Close();
}

std::string PeerConnection::Read(std::size_t count) {
    std::string data;
    char buffer[65536];
    while (data.size() < count) {
        const std::size_t want = std::min(sizeof buffer, count - data.size());
        const auto n = ::recv(fd_, buffer, want, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    return data;
}

std::string PeerConnection::ReadToEnd() {
    std::string data;
    char buffer[65536];
    for (;;) {
        const auto n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return data;
        data.append(buffer, static_cast<std::size_t>(n));
    }
}

bool PeerConnection::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const auto n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void PeerConnection::ShutdownWrite() {
    ::shutdown(fd_, SHUT_WR);
}

void PeerConnection::Reset() {
    const linger hard{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    Close();
}

void PeerConnection::Close() {
    const int fd = fd_.exchange(-1);
    if (fd >= 0) ::close(fd);
}

void PeerConnection::Interrupt() {
    const int fd = fd_.load();
    if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
}

TcpPeer::TcpPeer(std::function<void(PeerConnection&)> script) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) throw std::runtime_error("socket failed");
    port_ = BindLoopback(listenFd_);
    ::listen(listenFd_, 1);
    thread_ = std::thread([this, script = std::move(script)] {
        const int fd = ::accept(listenFd_, nullptr, nullptr);
        if (fd >= 0) {
            auto connection = std::make_shared<PeerConnection>(fd);
            {
                std::lock_guard lock(mutex_);
                connection_ = connection;
            }
            script(*connection);
            std::lock_guard lock(mutex_);
            connection_.reset();
        }
        done_ = true;
    });
}

TcpPeer::~TcpPeer() {
    if (!done_) {
        ::shutdown(listenFd_, SHUT_RDWR);
        std::shared_ptr<PeerConnection> connection;
        {
            std::lock_guard lock(mutex_);
            connection = connection_;
        }
        if (connection) connection->Interrupt();
    }
    Join();
    ::close(listenFd_);
}

void TcpPeer::Join() {
    if (thread_.joinable()) thread_.join();
}

UdpEchoPeer::UdpEchoPeer(int count) {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) throw std::runtime_error("socket failed");
    SetTimeouts(fd_);
    port_ = BindLoopback(fd_);
    thread_ = std::thread([this, count] {
        char buffer[65536];
        while (echoed_ < count) {
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const auto n = ::recvfrom(fd_, buffer, sizeof buffer, 0,
                                      reinterpret_cast<sockaddr*>(&from), &length);
            if (n < 0) return;
            ::sendto(fd_, buffer, static_cast<std::size_t>(n), 0,
                     reinterpret_cast<sockaddr*>(&from), length);
            ++echoed_;
        }
    });
}

UdpEchoPeer::~UdpEchoPeer() {
    ::shutdown(fd_, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    ::close(fd_);
}

std::uint16_t UnusedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const std::uint16_t port = BindLoopback(fd);
    ::close(fd);
    return port;
}

}  // namespace rv::test
