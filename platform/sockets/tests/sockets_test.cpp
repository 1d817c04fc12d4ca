#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/messages/tests/loop_fixture.h"
#include "platform/sockets/tests/socket_peer.h"
#include "platform/sockets/winsock.h"

namespace rv {
namespace {

constexpr UINT kSocketMsg = WM_USER + 1;
constexpr UINT kLookupMsg = WM_USER + 2;

struct Event {
    TSocket socket;
    long event;
    int error;
};

// A window that records the socket events it is sent.
class SocketsTest : public test::LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        wnd = AllocateHWnd([this](TMessage& m) {
            if (m.Msg == kSocketMsg)
                events.push_back(
                    {m.WParam, WSAGETSELECTEVENT(m.LParam), WSAGETSELECTERROR(m.LParam)});
            if (m.Msg == kLookupMsg) answers.push_back({m.WParam, 0, WSAGETASYNCERROR(m.LParam)});
        });
    }
    void TearDown() override {
        DeallocateHWnd(wnd);
        LoopTest::TearDown();
    }

    int Count(long event) const {
        int n = 0;
        for (const auto& e : events) n += e.event == event;
        return n;
    }
    // Lets the loop run a while, for events that must not come.
    void Settle() {
        RunUntil([] { return false; }, 150);
    }

    // A TCP socket selected for every event and connected to 127.0.0.1:port.
    TSocket Connect(std::uint16_t port) {
        const TSocket s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        EXPECT_NE(s, INVALID_SOCKET);
        EXPECT_EQ(WSAAsyncSelect(s, wnd, kSocketMsg,
                                 FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE | FD_ACCEPT),
                  0);
        TSockAddrIn to;
        to.sin_port = htons(port);
        to.sin_addr = inet_addr("127.0.0.1");
        EXPECT_EQ(connect(s, to), SOCKET_ERROR);
        EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
        return s;
    }

    HWND wnd = 0;
    std::vector<Event> events;
    std::vector<Event> answers;
};

TEST_F(SocketsTest, ReadEventsComeOncePerReadAndTheCloseAfterTheLastByte) {
    std::atomic<int> step{0};
    test::TcpPeer peer([&](test::PeerConnection& c) {
        c.Write("first");
        while (step < 1) std::this_thread::yield();
        c.Write("second");
        c.ShutdownWrite();
        c.ReadToEnd();
    });
    const TSocket s = Connect(peer.Port());
    ASSERT_TRUE(RunUntil([&] { return Count(FD_READ) == 1; }));
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events[0].event, FD_CONNECT);
    EXPECT_EQ(events[0].error, 0);
    EXPECT_EQ(events[1].event, FD_WRITE);
    EXPECT_EQ(events[0].socket, s);

    // More data, and the peer's close, while the first data is unread: nothing more is posted.
    step = 1;
    std::uint32_t waiting = 0;
    ASSERT_TRUE(RunUntil([&] {
        ioctlsocket(s, FIONREAD, &waiting);
        return waiting == 11;
    }));
    Settle();
    EXPECT_EQ(Count(FD_READ), 1);
    EXPECT_EQ(Count(FD_CLOSE), 0);

    // A partial read re-arms: the rest is announced, and the close only once it is read.
    char buffer[16];
    ASSERT_EQ(recv(s, buffer, 4, 0), 4);
    ASSERT_TRUE(RunUntil([&] { return Count(FD_READ) == 2; }));
    Settle();
    EXPECT_EQ(Count(FD_CLOSE), 0);
    ASSERT_EQ(recv(s, buffer, sizeof buffer, 0), 7);
    EXPECT_EQ(std::string(buffer, 7), "tsecond");
    ASSERT_TRUE(RunUntil([&] { return Count(FD_CLOSE) == 1; }));
    EXPECT_EQ(events.back().error, 0);
    EXPECT_EQ(recv(s, buffer, sizeof buffer, 0), 0);
    Settle();
    EXPECT_EQ(Count(FD_CLOSE), 1);
    EXPECT_EQ(Count(FD_WRITE), 1);
    EXPECT_EQ(closesocket(s), 0);
}

TEST_F(SocketsTest, ARefusedConnectIsOneConnectEventWith10061) {
    const TSocket s = Connect(test::UnusedPort());
    ASSERT_TRUE(RunUntil([&] { return !events.empty(); }));
    Settle();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].event, FD_CONNECT);
    EXPECT_EQ(events[0].error, WSAECONNREFUSED);
    closesocket(s);
}

TEST_F(SocketsTest, WriteEventOnlyAfterASendWasCutShort) {
    std::atomic<bool> drain{false};
    std::string received;
    test::TcpPeer peer([&](test::PeerConnection& c) {
        while (!drain) std::this_thread::yield();
        received = c.ReadToEnd();
    });
    const TSocket s = Connect(peer.Port());
    ASSERT_TRUE(RunUntil([&] { return Count(FD_WRITE) == 1; }));
    ASSERT_EQ(send(s, "hello", 5, 0), 5);
    Settle();
    EXPECT_EQ(Count(FD_WRITE), 1) << "a send that took everything arms nothing";

    const std::string block(65536, 'x');
    long long sent = 5;
    for (;;) {
        const int n = send(s, block.data(), int(block.size()), 0);
        if (n < 0) {
            EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
            break;
        }
        sent += n;
        if (n < int(block.size())) break;
    }
    Settle();
    EXPECT_EQ(Count(FD_WRITE), 1) << "no room yet";
    drain = true;
    ASSERT_TRUE(RunUntil([&] { return Count(FD_WRITE) == 2; }));
    shutdown(s, SD_SEND);
    peer.Join();
    EXPECT_EQ(static_cast<long long>(received.size()), sent);
    EXPECT_EQ(send(s, "x", 1, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAESHUTDOWN);
    closesocket(s);
}

TEST_F(SocketsTest, SendingToAResetPeerFailsWith10054AndRaisesNoSignal) {
    test::TcpPeer peer([](test::PeerConnection& c) { c.Reset(); });
    const TSocket s = Connect(peer.Port());
    ASSERT_TRUE(RunUntil([&] { return Count(FD_CLOSE) == 1; }));
    EXPECT_EQ(events.back().error, WSAECONNRESET);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(send(s, "data", 4, 0), SOCKET_ERROR);
        EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
    }
    closesocket(s);
}

TEST_F(SocketsTest, AClosedHandleNeverReachesTheSocketThatReusedItsDescriptor) {
    const TSocket first = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    ASSERT_EQ(closesocket(first), 0);
    const TSocket second = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    EXPECT_NE(second, first);
    EXPECT_EQ(closesocket(first), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);

    // The second socket (on the descriptor the first had) still works.
    TSockAddrIn local;
    local.sin_addr = inet_addr("127.0.0.1");
    ASSERT_EQ(bind(second, local), 0);
    ASSERT_EQ(getsockname(second, &local), 0);
    ASSERT_EQ(sendto(second, "ping", 4, 0, local), 4);
    char buffer[8];
    TSockAddrIn from;
    std::uint32_t waiting = 0;
    ASSERT_TRUE(RunUntil([&] { return ioctlsocket(second, FIONREAD, &waiting) == 0 && waiting; }));
    EXPECT_EQ(recvfrom(second, buffer, sizeof buffer, 0, &from), 4);
    EXPECT_EQ(from.sin_port, local.sin_port);
    EXPECT_EQ(closesocket(second), 0);
}

TEST_F(SocketsTest, LookUpsAreAnsweredByMessageUnlessCancelled) {
    auto entry = std::make_shared<THostEnt>();
    const TAsyncHandle handle = WSAAsyncGetHostByName(wnd, kLookupMsg, "localhost", entry);
    ASSERT_NE(handle, 0u);
    // A cancel that comes in time drops the answer; one that comes late says so.
    auto dropped = std::make_shared<THostEnt>();
    const TAsyncHandle cancelled = WSAAsyncGetHostByName(wnd, kLookupMsg, "localhost", dropped);
    const bool inTime = WSACancelAsyncRequest(cancelled) == 0;
    if (!inTime) {
        EXPECT_EQ(WSAGetLastError(), WSAEALREADY);
    }
    ASSERT_TRUE(RunUntil([&] { return answers.size() == (inTime ? 1u : 2u); }));
    Settle();
    ASSERT_EQ(answers.size(), inTime ? 1u : 2u);
    EXPECT_TRUE(answers[0].socket == handle || answers.back().socket == handle);
    for (const auto& answer : answers) EXPECT_EQ(answer.error, 0);
    ASSERT_FALSE(entry->h_addr_list.empty());
    EXPECT_EQ(inet_ntoa(entry->h_addr_list[0]), "127.0.0.1");
    EXPECT_EQ(dropped->h_addr_list.empty(), inTime);

    EXPECT_EQ(WSACancelAsyncRequest(handle), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEALREADY);
    EXPECT_EQ(WSACancelAsyncRequest(handle + 1000), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);

    THostEnt blocking;
    ASSERT_TRUE(gethostbyname("127.0.0.1", blocking));
    EXPECT_EQ(blocking.h_addr_list.at(0), htonl(0x7F000001));
    EXPECT_EQ(inet_addr("127.1"), htonl(0x7F000001));
    EXPECT_EQ(inet_addr("1.2.3.x"), INADDR_NONE);
}

}  // namespace
}  // namespace rv
