#include <atomic>
#include <chrono>
#include <thread>

#include "net/tests/wsocket_fixture.h"

namespace rv {
namespace {

using LineTest = test::WSocketTest;
using test::PeerConnection;
using test::TcpPeer;

void Pause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
}

TEST_F(LineTest, LinesComeWholeOneAtATimeHoweverTheyArrive) {
    TcpPeer peer([](PeerConnection& c) {
        for (const char* piece : {"one\r\ntwo\r\nthr", "ee\r", "\n", "fo", "ur"}) {
            c.Write(piece);
            Pause();
        }
        c.Close();
    });
    TWSocket socket(nullptr);
    socket.SetLineMode(true);
    std::vector<std::string> lines;
    socket.OnDataAvailable = [&](TObject*, std::uint16_t) {
        const int count = socket.RcvdCount();
        const std::string line = socket.ReceiveStr();
        EXPECT_EQ(count, static_cast<int>(line.size())) << line;
        if (!line.empty()) lines.push_back(line);
    };
    bool closed = false;
    socket.OnSessionClosed = [&](TObject*, std::uint16_t) { closed = true; };
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return closed; }));
    EXPECT_EQ(lines, (std::vector<std::string>{"one\r\n", "two\r\n", "three\r\n", "four"}));
}

TEST_F(LineTest, ALineOverTheLimitIsReportedAndDropped) {
    std::atomic<bool> reported{false};
    TcpPeer peer([&](PeerConnection& c) {
        c.Write(std::string(65537, 'x'));
        while (!reported) std::this_thread::yield();
        c.Write("\r\nok\r\n");
        c.ReadToEnd();
    });
    TWSocket socket(nullptr);
    socket.SetLineMode(true);
    std::vector<std::string> lines;
    socket.OnDataAvailable = [&](TObject*, std::uint16_t) { lines.push_back(socket.ReceiveStr()); };
    std::vector<int> exceeded;
    socket.OnLineLimitExceeded = [&](TObject*, std::int32_t length, bool& clearData) {
        exceeded.push_back(length);
        EXPECT_TRUE(clearData);
        reported = true;
    };
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return !lines.empty(); }));
    Settle();
    EXPECT_EQ(exceeded, std::vector<int>{65537});
    EXPECT_EQ(lines, std::vector<std::string>{"ok\r\n"}) << "not even the line's end is offered";
    socket.Close();
}

// A line over the limit, its end included, is never offered, however it arrives: in one piece
// with the lines around it, or byte by byte; a handler may keep it.
TEST_F(LineTest, TheLimitHoldsForLinesThatComeWholeOrByteByByte) {
    const std::string huge(590 * 1024, 'x');
    struct Case {
        std::string text;
        std::int32_t limit;
        bool bytewise, keep;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\n" + huge + "\r\nok\r\n", 65536, false, false, {"a\r\n", "ok\r\n"}},
        {"12345678\r\n123456789\r\nok\r\n", 10, false, false, {"12345678\r\n", "ok\r\n"}},
        {"12345678\r\n123456789\r\nok\r\n", 10, true, false, {"12345678\r\n", "ok\r\n"}},
        {"123456789012\r\nok\r\n", 10, true, false, {"ok\r\n"}},
        {"123456789\r\nok\r\n", 10, false, true, {"123456789\r\n", "ok\r\n"}},
    };
    for (const Case& c : cases) {
        TcpPeer peer([&](PeerConnection& p) {
            if (!c.bytewise) p.Write(c.text);
            for (std::size_t i = 0; c.bytewise && i < c.text.size(); ++i) {
                p.Write(c.text.substr(i, 1));
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            p.ReadToEnd();
        });
        TWSocket socket(nullptr);
        socket.SetLineMode(true);
        socket.LineLimit = c.limit;
        std::vector<std::string> lines;
        socket.OnDataAvailable = [&](TObject*, std::uint16_t) {
            lines.push_back(socket.ReceiveStr());
        };
        int reports = 0;
        socket.OnLineLimitExceeded = [&](TObject*, std::int32_t length, bool& clearData) {
            EXPECT_GT(length, c.limit);
            ++reports;
            clearData = !c.keep;
        };
        Aim(socket, peer.Port());
        socket.Connect();
        ASSERT_TRUE(RunUntil([&] { return lines.size() == c.lines.size(); }, 10000));
        Settle();
        EXPECT_EQ(lines, c.lines) << c.text.substr(0, 20);
        EXPECT_GE(reports, 1) << c.text.substr(0, 20);
        socket.Close();
    }
}

TEST_F(LineTest, SwitchingLineModeOffOffersTheRestAsData) {
    TcpPeer peer([](PeerConnection& c) {
        c.Write("one\r\ntwo\r\nrest");
        c.ReadToEnd();
    });
    TWSocket socket(nullptr);
    socket.SetLineMode(true);
    std::vector<std::string> got;
    socket.OnDataAvailable = [&](TObject*, std::uint16_t) {
        got.push_back(socket.ReceiveStr());
        if (got.size() == 1) socket.SetLineMode(false);
    };
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return got.size() == 2; }));
    Settle();
    EXPECT_EQ(got, (std::vector<std::string>{"one\r\n", "two\r\nrest"}));
    socket.Close();
}

TEST_F(LineTest, EditingRemovesBackspacesAndExpandsTabsWithTheirEcho) {
    std::string echo;
    std::atomic<bool> echoed{false};
    TcpPeer peer([&](PeerConnection& c) {
        c.Write("ab\bc\td\r\n");
        echo = c.Read(15);
        echoed = true;
        c.ReadToEnd();
    });
    TWSocket socket(nullptr);
    socket.SetLineMode(true);
    socket.LineEdit = true;
    socket.LineEcho = true;
    std::string line;
    socket.OnDataAvailable = [&](TObject*, std::uint16_t) { line = socket.ReceiveStr(); };
    Aim(socket, peer.Port());
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return !line.empty() && echoed; }));
    EXPECT_EQ(line, "ac      d\r\n");
    EXPECT_EQ(echo, "ab\b \bc      d\r\n");
    socket.Close();
}

TEST_F(LineTest, TheWaitEndsWithTheFlagOrTheTimeout) {
    TcpPeer peer([](PeerConnection& c) { c.ReadToEnd(); });
    TWSocket socket(nullptr);
    bool connected = false;
    socket.OnSessionConnected = [&](TObject*, std::uint16_t) { connected = true; };
    Aim(socket, peer.Port());
    EXPECT_EQ(socket.Synchronize([&] { socket.Connect(); }, connected), 0);
    EXPECT_EQ(socket.State(), wsConnected);

    bool never = false;
    socket.Timeout = 100;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(socket.WaitUntilReady(never), kWaitTimedOut);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    socket.Close();
}

}  // namespace
}  // namespace rv
