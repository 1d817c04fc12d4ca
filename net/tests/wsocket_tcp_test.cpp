#include <atomic>
#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "net/tests/wsocket_fixture.h"

namespace rv {
namespace {

using TcpTest = test::WSocketTest;
using test::PeerConnection;
using test::TcpPeer;

// A socket that shows what its window receives and whether its send buffer is empty.
class WatchedSocket : public TWSocket {
public:
    WatchedSocket() : TWSocket(nullptr) {}
    using TCustomWSocket::AllSent;
    int writeEvents = 0;

protected:
    void WndProc(TMessage& msg) override {
        if (msg.Msg == WM_ASYNCSELECT && msg.WParam == HSocket() &&
            (WSAGETSELECTEVENT(msg.LParam) & FD_WRITE) != 0)
            ++writeEvents;
        TWSocket::WndProc(msg);
    }
};

TEST_F(TcpTest, ARefusedPortGivesOneConnectEventWith10061) {
    TWSocket socket(nullptr);
    test::EventLog log;
    log.Attach(socket);
    Aim(socket, test::UnusedPort());
    socket.Connect();
    EXPECT_EQ(socket.State(), wsConnecting);
    ASSERT_TRUE(RunUntil([&] { return socket.State() == wsClosed; }));
    Settle();
    const std::vector<std::string> expected = {"state 1",         "state 3", "state 4",
                                               "connected 10061", "state 7", "closed 0"};
    EXPECT_EQ(log.lines, expected);
    EXPECT_EQ(socket.HSocket(), INVALID_SOCKET);
}

TEST_F(TcpTest, AHandlerMayFreeTheSocketFromOnSessionClosed) {
    auto* socket = new TWSocket(nullptr);
    bool freed = false;
    socket->OnSessionClosed = [&freed](TObject* sender, std::uint16_t) {
        freed = true;
        delete static_cast<TWSocket*>(sender);
    };
    Aim(*socket, test::UnusedPort());
    socket->Connect();
    ASSERT_TRUE(RunUntil([&] { return freed; }));
    Settle();
}

TEST_F(TcpTest, DataThenThePeersCloseIsReadToTheEndBeforeOneSessionClosed) {
    std::string sent(100000, '\0');
    for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>(i * 7 + i / 251);
    TcpPeer peer([&](PeerConnection& c) {
        c.Write(sent);
        c.Close();
    });
    TWSocket socket(nullptr);
    test::EventLog log;
    log.Attach(socket);
    std::string received;
    std::size_t receivedAtClose = 0;
    socket.OnDataAvailable = [&](TObject*, std::uint16_t) {
        char buffer[1000];  // small reads: the receive loop must come back for the rest
        const int n = socket.Receive(buffer, sizeof buffer);
        if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
        EXPECT_FALSE(log.Has("closed 0")) << "data after the close";
        if (n == 0) socket.Close();  // the end of the stream: the usual reply
    };
    socket.OnSessionClosed = [&](TObject*, std::uint16_t e) {
        log.Add("closed", e);
        receivedAtClose = received.size();
    };
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return log.Has("closed 0"); }));
    Settle();
    EXPECT_EQ(log.Count("closed 0"), 1);
    EXPECT_EQ(receivedAtClose, sent.size());
    EXPECT_TRUE(received == sent);
    EXPECT_EQ(socket.State(), wsClosed);
}

TEST_F(TcpTest, AHandlerThatDoesNotReadIsCalledOnceUntilItReads) {
    std::atomic<int> step{0};
    TcpPeer peer([&](PeerConnection& c) {
        c.Write("abc");
        while (step < 1) std::this_thread::yield();
        c.Write("def");
        c.ReadToEnd();
    });
    TWSocket socket(nullptr);
    int calls = 0;
    socket.OnDataAvailable = [&](TObject*, std::uint16_t) {
        // A runaway loop would call on and on; reading ends it, so the count shows it.
        if (++calls == 50) socket.ReceiveStr();
    };
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return calls > 0; }));
    Settle();
    EXPECT_EQ(calls, 1);
    step = 1;
    ASSERT_TRUE(RunUntil([&] { return socket.RcvdCount() == 6; }));
    Settle();
    EXPECT_EQ(calls, 1) << "more data brings no event while the first is unread";

    EXPECT_EQ(socket.ReceiveStr(), "abcdef");
    socket.Close();
}

TEST_F(TcpTest, WriteEventsComeOnlyAfterTheSystemsBufferWasFull) {
    constexpr std::size_t kBig = 32u << 20;
    std::atomic<bool> drain{false};
    std::size_t peerGot = 0;
    TcpPeer peer([&](PeerConnection& c) {
        while (!drain) std::this_thread::yield();
        peerGot = c.Read(1000 + kBig).size();
    });
    WatchedSocket socket;
    test::EventLog log;
    log.Attach(socket);
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return log.Count("sent 0") == 1; }));
    EXPECT_EQ(socket.writeEvents, 1) << "one when connected";

    const std::string small(1000, 's');
    EXPECT_EQ(socket.SendStr(small), 1000);
    EXPECT_TRUE(socket.AllSent());
    EXPECT_EQ(log.Count("sent 0"), 1) << "OnDataSent never fires inside Send";
    ASSERT_TRUE(RunUntil([&] { return log.Count("sent 0") == 2; }));
    Settle();
    EXPECT_EQ(socket.writeEvents, 2) << "the one Send posted; the system posts none";

    const std::string big(kBig, 'b');
    EXPECT_EQ(socket.SendStr(big), int(kBig));
    EXPECT_FALSE(socket.AllSent());
    Settle();
    EXPECT_EQ(socket.writeEvents, 2) << "no room: no write event";
    drain = true;
    ASSERT_TRUE(RunUntil([&] { return log.Count("sent 0") == 3; }, 30000));
    EXPECT_GT(socket.writeEvents, 2);
    peer.Join();
    EXPECT_EQ(peerGot, 1000 + kBig);
}

TEST_F(TcpTest, ASendToAPeerThatResetGivesSessionClosed10054) {
    TcpPeer peer([](PeerConnection& c) { c.Reset(); });
    TWSocket socket(nullptr);
    test::EventLog log;
    log.Attach(socket);
    int sendResult = 0;
    socket.OnSessionConnected = [&](TObject*, std::uint16_t e) {
        log.Add("connected", e);
        // Sent before the loop can report the reset: the send itself must meet it.
        peer.Join();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        sendResult = socket.SendStr("after the reset");
    };
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return socket.State() == wsClosed; }));
    Settle();
    EXPECT_EQ(sendResult, 15);
    EXPECT_EQ(log.Count("closed 10054"), 1);
    EXPECT_EQ(log.Count("closed 0"), 0);
}

TEST_F(TcpTest, AMegabyteEchoedByAListeningSocketComesBackWhole) {
    std::mt19937 random(7);
    std::string payload(1u << 20, '\0');
    for (char& c : payload) c = static_cast<char>(random());

    TWSocket server(nullptr);
    test::EventLog childLog;
    std::unique_ptr<TWSocket> child;
    server.SetAddr("127.0.0.1");
    server.SetPort("0");
    server.OnSessionAvailable = [&](TObject*, std::uint16_t error) {
        EXPECT_EQ(error, 0);
        child = std::make_unique<TWSocket>(nullptr);
        childLog.Attach(*child);
        child->OnDataAvailable = [&](TObject*, std::uint16_t) {
            child->SendStr(child->ReceiveStr());
        };
        child->Dup(server.Accept());
    };
    server.Listen();
    EXPECT_EQ(server.State(), wsListening);
    const std::string port = server.GetBoundPort();
    ASSERT_NE(port, "error");

    TWSocket client(nullptr);
    std::string received;
    client.OnDataAvailable = [&](TObject*, std::uint16_t) { received += client.ReceiveStr(); };
    client.OnSessionConnected = [&](TObject*, std::uint16_t error) {
        EXPECT_EQ(error, 0);
        client.Send(payload.data(), static_cast<int>(payload.size()));
    };
    client.SetAddr("127.0.0.1");
    client.SetPort(port);
    client.Connect();
    ASSERT_TRUE(RunUntil([&] { return received.size() >= payload.size(); }, 30000));
    EXPECT_TRUE(received == payload);
    EXPECT_EQ(client.ReadCount(), std::int64_t(payload.size()));
    ASSERT_TRUE(child);
    EXPECT_EQ(child->ReadCount(), std::int64_t(payload.size()));
    EXPECT_EQ(child->GetPeerAddr(), "127.0.0.1");
    EXPECT_EQ(child->GetPeerPort(), client.GetBoundPort());
    EXPECT_EQ(client.GetPeerPort(), port);

    client.Close();
    ASSERT_TRUE(RunUntil([&] { return child->State() == wsClosed; }));
    EXPECT_EQ(childLog.Count("closed 0") + childLog.Count("closed 10054"), 1);
}

TEST_F(TcpTest, FlushSendBufferGivesUpAfterFlushTimeout) {
    std::atomic<bool> drain{false};
    TcpPeer peer([&](PeerConnection& c) {
        while (!drain) std::this_thread::yield();
        c.ReadToEnd();
    });
    WatchedSocket socket;
    bool connected = false;
    socket.OnSessionConnected = [&](TObject*, std::uint16_t) { connected = true; };
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return connected; }));
    socket.SendStr(std::string(32u << 20, 'f'));
    ASSERT_FALSE(socket.AllSent());

    // Should the flush not give up, the peer starts reading after a while and lets it finish.
    const HWND rescue = AllocateHWnd([&](TMessage& m) { drain = drain || m.Msg == WM_TIMER; });
    SetTimer(rescue, 1, 5000);
    socket.FlushTimeout = 1;
    socket.FlushSendBuffer();
    EXPECT_FALSE(socket.AllSent());
    EXPECT_FALSE(drain.load());
    DeallocateHWnd(rescue);
    drain = true;
    socket.AbortSocket();
}

TEST_F(TcpTest, ASendFromOnSendDataSendsEveryByteOnce) {
    std::string got;
    TcpPeer peer([&](PeerConnection& c) { got = c.ReadToEnd(); });
    TWSocket socket(nullptr);
    socket.LingerOnOff = wsLingerOff;  // a plain close, so the peer reads everything
    bool more = true;
    socket.OnSendData = [&](TObject*, std::int32_t) {
        if (std::exchange(more, false)) socket.SendStr("world");
    };
    socket.OnSessionConnected = [&](TObject*, std::uint16_t) { socket.SendStr("hello"); };
    test::EventLog log;
    socket.OnDataSent = [&](TObject*, std::uint16_t e) { log.Add("sent", e); };
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return log.Count("sent 0") >= 2 && !more; }));
    socket.Close();
    peer.Join();
    EXPECT_EQ(got, "helloworld");
}

TEST_F(TcpTest, AnEventOfAClosedConnectionNeverReachesTheNextOne) {
    TcpPeer first([](PeerConnection& c) { c.ReadToEnd(); });
    TcpPeer second([](PeerConnection& c) { c.ReadToEnd(); });
    TWSocket socket(nullptr);
    test::EventLog log;
    log.Attach(socket);
    Aim(socket, first.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return socket.State() == wsConnected; }));
    const TSocket old = socket.HSocket();
    socket.Close();
    EXPECT_EQ(socket.HSocket(), INVALID_SOCKET);

    Aim(socket, second.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return socket.State() == wsConnected; }));
    EXPECT_NE(socket.HSocket(), old);
    const int closes = log.Count("closed 0");
    PostMessage(socket.Handle(), WM_ASYNCSELECT, old, WSAMAKESELECTREPLY(FD_CLOSE, 0));
    EXPECT_EQ(closesocket(old), SOCKET_ERROR) << "the old handle was closed once, for good";
    Settle();
    EXPECT_EQ(socket.State(), wsConnected);
    EXPECT_EQ(log.Count("closed 0"), closes);
    EXPECT_EQ(socket.SendStr("still here"), 10);
    socket.Close();
}

TEST_F(TcpTest, WaitUntilClosedHandsOverTheLastDataAndReturnsAtThePeersClose) {
    TcpPeer peer([](PeerConnection& c) {
        c.Read(4);
        c.Write("last words");
        c.Close();
    });
    TWSocket socket(nullptr);
    test::EventLog log;
    log.Attach(socket);
    std::string received;
    socket.OnDataAvailable = [&](TObject*, std::uint16_t) { received += socket.ReceiveStr(); };
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return socket.State() == wsConnected; }));
    socket.SendStr("bye.");
    socket.WaitUntilClosed();
    EXPECT_EQ(socket.State(), wsClosed);
    EXPECT_EQ(received, "last words");
    EXPECT_EQ(log.Count("closed 0"), 1);
}

TEST_F(TcpTest, PausedEventsWaitForResumeEvents) {
    std::atomic<bool> write{false};
    TcpPeer peer([&](PeerConnection& c) {
        while (!write) std::this_thread::yield();
        c.Write("late");
        c.ReadToEnd();
    });
    TWSocket socket(nullptr);
    std::string received;
    socket.OnDataAvailable = [&](TObject*, std::uint16_t) { received += socket.ReceiveStr(); };
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return socket.State() == wsConnected; }));
    socket.PauseEvents();
    write = true;
    ASSERT_TRUE(RunUntil([&] { return socket.RcvdCount() == 4; }));
    Settle();
    EXPECT_EQ(received, "");
    socket.ResumeEvents();
    ASSERT_TRUE(RunUntil([&] { return received == "late"; }));
    socket.Close();
}

TEST_F(TcpTest, AnExceptionInAHandlerGoesToOnBgExceptionAndAbortsUnlessKept) {
    TcpPeer peer([](PeerConnection& c) {
        c.Write("x");
        c.ReadToEnd();
    });
    TWSocket socket(nullptr);
    test::EventLog log;
    log.Attach(socket);
    std::vector<std::string> caught;
    bool keep = true;
    socket.OnBgException = [&](TObject*, const std::exception& e, bool& canClose) {
        caught.push_back(e.what());
        canClose = !keep;
    };
    socket.OnDataAvailable = [&](TObject*, std::uint16_t) {
        socket.ReceiveStr();
        throw ESocketException("handler failed");
    };
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return caught.size() == 1; }));
    EXPECT_EQ(caught[0], "handler failed");
    EXPECT_EQ(socket.State(), wsConnected) << "kept by the handler";

    keep = false;
    PostMessage(socket.Handle(), WM_TRIGGER_EXCEPTION, 0, 0);
    ASSERT_TRUE(RunUntil([&] { return caught.size() == 2; }));
    EXPECT_EQ(caught[1], "Test exception in WSocket");
    EXPECT_EQ(socket.State(), wsClosed);
    EXPECT_EQ(log.Count("closed 0"), 1);
}

TEST_F(TcpTest, DataWithoutAHandlerIsDroppedAndPostedClosesAndReleasesComeFromTheLoop) {
    TcpPeer peer([](PeerConnection& c) {
        c.Write(std::string(5000, 'd'));
        c.ReadToEnd();
    });
    TComponent owner(nullptr);
    auto* socket = new TWSocket(&owner);
    bool connected = false;
    socket->OnSessionConnected = [&](TObject*, std::uint16_t) { connected = true; };
    Aim(*socket, peer.Port());
    socket->Connect();
    ASSERT_TRUE(RunUntil([&] { return connected; }));
    Settle();
    EXPECT_EQ(socket->RcvdCount(), 0) << "read and dropped";
    EXPECT_EQ(socket->ReadCount(), 0);

    socket->PostClose();
    EXPECT_EQ(socket->State(), wsConnected);
    ASSERT_TRUE(RunUntil([&] { return socket->State() == wsClosed; }));
    socket->PostRelease();
    EXPECT_EQ(owner.ComponentCount(), 1);
    ASSERT_TRUE(RunUntil([&] { return owner.ComponentCount() == 0; }));
}

}  // namespace
}  // namespace rv
