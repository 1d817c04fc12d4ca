#include <string>

#include "net/tests/wsocket_fixture.h"
#include "net/wsocket_buffer.h"
#include "net/wsocket_errors.h"
#include "net/wsocket_resolve.h"

namespace rv {
namespace {

using RulesTest = test::WSocketTest;
using test::RaisedBy;

// The unsent bytes of a block, as text.
std::string Unsent(const TBuffer& block) {
    int count = 0;
    const char* data = block.Peek(count);
    return data ? std::string(data, static_cast<std::size_t>(count)) : std::string();
}

TEST(WSocketParts, ASendBlockFillsTakesAndIsReused) {
    TBuffer block(0);
    EXPECT_EQ(block.BufSize(), 1514);
    TBuffer small(8);
    EXPECT_EQ(small.Write("0123456789", 10), 8);
    EXPECT_EQ(Unsent(small), "01234567");
    small.Remove(3);
    EXPECT_EQ(Unsent(small), "34567");
    EXPECT_EQ(small.Write("x", 1), 0) << "full until everything is sent";
    small.Remove(100);
    int count = -1;
    EXPECT_EQ(small.Peek(count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(small.Write("abc", 3), 3) << "empty again from the start";
    small.SetBufSize(16);
    EXPECT_EQ(Unsent(small), "abc");
}

TEST(WSocketParts, ErrorTextsAndAddressesAsTheyAreReported) {
    EXPECT_EQ(WSocketErrorDesc(0), "No Error");
    EXPECT_EQ(WSocketErrorDesc(10035), "Operation would block");
    EXPECT_EQ(WSocketErrorDesc(10061), "Connection refused");
    EXPECT_EQ(WSocketErrorDesc(11004), "No Data");
    EXPECT_EQ(WSocketErrorDesc(10072), "Not a WinSock error");

    for (const char* dotted : {"1.2.3.4", "  10.0.0.255  ", "0.0.0.0", "255.255.255.255"})
        EXPECT_TRUE(WSocketIsDottedIP(dotted)) << dotted;
    for (const char* other : {"", ".1.2.3", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1..2.3", "1.2.3.",
                              "1.2.3.4 x", "localhost", "1.2.3.4a"})
        EXPECT_FALSE(WSocketIsDottedIP(other)) << other;

    EXPECT_EQ(WSocketResolveHost("127.0.0.1"), htonl(0x7F000001));
    EXPECT_EQ(WSocketResolveHost("localhost"), htonl(0x7F000001));
    EXPECT_EQ(WSocketResolveHost("255.255.255.255"), INADDR_NONE);
    EXPECT_EQ(RaisedBy([] { WSocketResolveHost(""); }), "WSocketResolveHost: '' Invalid Hostname.");
    EXPECT_EQ(RaisedBy([] { WSocketResolveHost("09.1.1.1"); }),
              "WSocketResolveHost: '09.1.1.1' Invalid IP address.");

    EXPECT_EQ(WSocketResolvePort("8080", "tcp"), 8080);
    EXPECT_EQ(WSocketResolvePort("65535x", "tcp"), 65535);
    EXPECT_EQ(WSocketResolvePort("http", "tcp"), 80);
    EXPECT_EQ(RaisedBy([] { WSocketResolvePort("65536", "tcp"); }),
              "WSocketResolvePort: Invalid Port.");
    EXPECT_EQ(RaisedBy([] { WSocketResolvePort("99999999999999999999", "tcp"); }),
              "WSocketResolvePort: Invalid Port.");
    EXPECT_EQ(RaisedBy([] { WSocketResolvePort("", "tcp"); }), "WSocketResolvePort: Invalid Port.");
    EXPECT_EQ(RaisedBy([] { WSocketResolvePort("80", ""); }), "WSocketResolvePort: Invalid Proto.");
    EXPECT_EQ(RaisedBy([] { WSocketResolvePort("no-such-service", "tcp"); }),
              "WSocketResolvePort: Cannot convert port 'no-such-service', Error #11004");

    EXPECT_EQ(WSocketResolveProto("tcp"), 6);
    EXPECT_EQ(WSocketResolveProto("udp"), 17);
    EXPECT_EQ(WSocketResolveProto("17"), 17);
    EXPECT_EQ(RaisedBy([] { WSocketResolveProto(std::string(32, 'p')); }),
              "WSocketResolveProto: Invalid Protocol.");
    EXPECT_FALSE(LocalHostName().empty());
}

TEST_F(RulesTest, PropertiesChangeOnlyWhileClosedAndAreSetAgainAfterEachClose) {
    test::TcpPeer peer([](test::PeerConnection& c) { c.ReadToEnd(); });
    TWSocket socket(nullptr);
    EXPECT_EQ(socket.State(), wsClosed);
    EXPECT_EQ(socket.Proto(), "tcp");
    EXPECT_EQ(socket.LocalAddr(), "0.0.0.0");
    socket.SetLocalAddr("127.1");
    EXPECT_EQ(socket.LocalAddr(), "127.0.0.1");
    socket.SetLocalAddr("");
    EXPECT_EQ(socket.LocalAddr(), "0.0.0.0");
    EXPECT_EQ(RaisedBy([&] { socket.SetLocalAddr("here"); }), "SetLocalAddr(): Invalid IP address");
    socket.SetSendFlags(wsSendUrgent);
    EXPECT_EQ(socket.SendFlags(), wsSendUrgent);
    EXPECT_EQ(RaisedBy([&] { socket.SetSendFlags(static_cast<TSocketSendFlags>(5)); }),
              "Invalid SendFlags");
    socket.SetSendFlags(wsSendNormal);

    socket.SetAddr(" 127.0.0.1 ");
    EXPECT_EQ(socket.Addr(), "127.0.0.1");
    socket.SetPort(std::to_string(peer.Port()));
    socket.Connect();
    ASSERT_TRUE(RunUntil([&] { return socket.State() == wsConnected; }));
    EXPECT_EQ(socket.GetPeerAddr(), "127.0.0.1");
    EXPECT_EQ(socket.GetBoundAddr(), "127.0.0.1");
    EXPECT_EQ(RaisedBy([&] { socket.SetAddr("127.0.0.2"); }), "Cannot change Addr if not closed");
    EXPECT_EQ(RaisedBy([&] { socket.SetAddr("127.0.0.1"); }), "") << "the same value";
    EXPECT_EQ(RaisedBy([&] { socket.SetPort("1"); }), "Cannot change Port if not closed");
    EXPECT_EQ(RaisedBy([&] { socket.SetProto("udp"); }), "Cannot change Proto if not closed");
    EXPECT_EQ(RaisedBy([&] { socket.SetLocalPort("1"); }), "Cannot change LocalPort if not closed");
    EXPECT_EQ(RaisedBy([&] { socket.SetLocalAddr("1.2.3.4"); }),
              "Cannot change LocalAddr if not closed");
    EXPECT_EQ(RaisedBy([&] { socket.Connect(); }), "Connect: Socket already in use");

    socket.Close();
    EXPECT_EQ(socket.Addr(), "127.0.0.1");
    EXPECT_EQ(socket.Port(), std::to_string(peer.Port()));
    EXPECT_EQ(socket.GetPeerAddr(), "error");
    EXPECT_EQ(socket.GetBoundPort(), "error");
    EXPECT_EQ(RaisedBy([&] { socket.Connect(); }), "Connect: No Port Specified");
    socket.SetPort("65536");
    EXPECT_EQ(RaisedBy([&] { socket.Connect(); }), "Connect: No IP Address Specified");
    socket.SetAddr("127.0.0.1");
    EXPECT_EQ(RaisedBy([&] { socket.Connect(); }), "WSocketResolvePort: Invalid Port.");
    EXPECT_EQ(socket.HSocket(), INVALID_SOCKET);
}

TEST_F(RulesTest, MisuseIsReportedThroughOnErrorWhenItIsSet) {
    TWSocket socket(nullptr);
    EXPECT_EQ(RaisedBy([&] { socket.SendStr("x"); }),
              "Error 10057 in function Send\r\nSocket is not connected");

    int errors = 0;
    socket.OnError = [&](TObject* sender) {
        EXPECT_EQ(sender, &socket);
        ++errors;
    };
    EXPECT_EQ(socket.SendStr("x"), -1);
    EXPECT_EQ(socket.LastError(), 10057);
    EXPECT_EQ(socket.Accept(), INVALID_SOCKET);
    EXPECT_EQ(socket.LastError(), 10022);
    socket.Listen();
    EXPECT_EQ(errors, 3);

    // A Send while connecting drops the connection.
    test::EventLog log;
    log.Attach(socket);
    socket.OnError = [&](TObject*) { ++errors; };
    Aim(socket, test::UnusedPort());
    socket.Connect();
    ASSERT_EQ(socket.State(), wsConnecting);
    EXPECT_EQ(socket.SendStr("early"), -1);
    EXPECT_EQ(socket.LastError(), 10057);
    EXPECT_EQ(socket.State(), wsClosed);
    Settle();
    EXPECT_EQ(log.Count("closed 10057"), 1);
    EXPECT_FALSE(log.Has("connected 10061"))
        << "the refused connect belonged to the dropped socket";
}

}  // namespace
}  // namespace rv
