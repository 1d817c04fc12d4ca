#include <string>
#include <vector>

#include "cd/tests/cddb_fixture.h"
#include "net/wsocket.h"
#include "platform/sockets/tests/socket_peer.h"

namespace rv {
namespace {

using test::PeerConnection;
using test::TcpPeer;
using test::Told;

class CddbpTest : public test::LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        app->OnException = [](const std::exception& e) { ADD_FAILURE() << e.what(); };
        recorder.Attach(cddb);
        // The State each connection attempt leaves.
        TWSocket& socket = cddb.CddbpSocket();
        socket.OnSessionConnected = [this, connected = socket.OnSessionConnected](
                                        TObject* sender, std::uint16_t error) {
            connected(sender, error);
            statesAfterConnect.push_back(cddb.State());
        };
    }

    // Connects the client's socket to `port` and runs until it has been closed.
    void Converse(std::uint16_t port) {
        TWSocket& socket = cddb.CddbpSocket();
        socket.SetAddr("127.0.0.1");
        socket.SetPort(std::to_string(port));
        socket.Connect();
        ASSERT_TRUE(RunUntil([&] { return Closed(); }));
    }
    bool Closed() const {
        return !recorder.told.empty() && recorder.Last().text == "Connection closed";
    }

    TCddb cddb{nullptr};
    test::Recorder recorder;
    std::vector<std::int32_t> statesAfterConnect;
};

TEST_F(CddbpTest, TheBannerIsReadAndTheCloseTold) {
    const TWSocket& socket = cddb.CddbpSocket();
    EXPECT_EQ(socket.Proto(), "tcp");
    EXPECT_EQ(socket.Port(), "8880");
    EXPECT_EQ(socket.Addr(), kDefaultCddbServer);
    EXPECT_TRUE(socket.LineMode());
    EXPECT_EQ(cddb.State(), cddbIdle);

    TcpPeer peer([](PeerConnection& c) {
        c.Write("201 cddbp.test CDDBP server v1.0 ready\r\nmore");
        c.Write(" text\r\n");
        c.Close();
    });
    Converse(peer.Port());
    EXPECT_EQ(statesAfterConnect, std::vector<std::int32_t>{cddbConnected});
    EXPECT_EQ(recorder.told, (std::vector<Told>{
                                 {"data", cddbConnected, "201 cddbp.test CDDBP server v1.0 ready"},
                                 {"status", cddbBannerReadOnly, "OK, read only"},
                                 {"data", cddbBannerReadOnly, "more text"},
                                 {"status", cddbIdle, "Connection closed"},
                             }));
}

TEST_F(CddbpTest, RefusalsEndInIdle) {
    TcpPeer busy([](PeerConnection& c) {
        c.Write("434 load too high\r\n");
        c.Close();
    });
    Converse(busy.Port());
    EXPECT_EQ(
        recorder.told,
        (std::vector<Told>{{"data", cddbConnected, "434 load too high"},
                           {"status", cddbIdle, "No connections allowed: system load too high"},
                           {"status", cddbIdle, "Connection closed"}}));

    // A connection that cannot be made never counts as made.
    recorder.told.clear();
    statesAfterConnect.clear();
    Converse(test::UnusedPort());
    EXPECT_EQ(statesAfterConnect, std::vector<std::int32_t>{cddbIdle});
    EXPECT_EQ(recorder.Texts("status"), std::vector<std::string>{"Connection closed"});
}

TEST_F(CddbpTest, WhatAHandlerRaisesIsToldAndEndsTheConnection) {
    TcpPeer peer([](PeerConnection& c) {
        c.Write("200 cddbp.test ready\r\n");
        c.ReadToEnd();
    });
    cddb.OnDataExchange = [](TObject*, const std::string&) {
        throw Exception("cannot show the line");
    };
    Converse(peer.Port());
    EXPECT_EQ(recorder.Texts("status"),
              (std::vector<std::string>{"CDDB Component Internal Error: cannot show the line",
                                        "Connection closed"}));
    EXPECT_EQ(cddb.State(), cddbIdle);
}

}  // namespace
}  // namespace rv
