#include <chrono>
#include <string>
#include <thread>

#include "net/tests/wsocket_fixture.h"

namespace rv {
namespace {

using UdpTest = test::WSocketTest;
using DnsTest = test::WSocketTest;
using test::RaisedBy;

TEST_F(UdpTest, DatagramsMakeTheRoundTripToAPeerAndToAListeningSocket) {
    test::UdpEchoPeer peer(1);
    TWSocket client(nullptr);
    test::EventLog log;
    log.Attach(client);
    std::vector<std::string> received;
    std::vector<std::uint16_t> fromPorts;
    client.OnDataAvailable = [&](TObject*, std::uint16_t) {
        char buffer[100];
        TSockAddrIn from;
        const int n = client.ReceiveFrom(buffer, sizeof buffer, from);
        if (n < 0) return;
        received.emplace_back(buffer, static_cast<std::size_t>(n));
        fromPorts.push_back(ntohs(from.sin_port));
    };
    client.SetProto("udp");
    Aim(client, peer.Port());
    client.Connect();
    EXPECT_EQ(client.State(), wsConnected) << "a datagram socket is connected at once";
    EXPECT_TRUE(log.Has("connected 0"));
    EXPECT_EQ(client.SendStr("ping"), 4);
    ASSERT_TRUE(RunUntil([&] { return received.size() == 1; }));
    EXPECT_EQ(received[0], "ping");
    EXPECT_EQ(fromPorts[0], peer.Port());
    client.Close();

    TWSocket server(nullptr);
    server.SetProto("udp");
    server.SetAddr("127.0.0.1");
    server.SetPort("0");
    server.OnDataAvailable = [&](TObject*, std::uint16_t) {
        char buffer[100];
        TSockAddrIn from;
        const int n = server.ReceiveFrom(buffer, sizeof buffer, from);
        if (n > 0) server.SendTo(from, buffer, n);
    };
    server.Listen();
    EXPECT_EQ(server.State(), wsConnected);
    const std::string port = server.GetBoundPort();
    client.SetProto("udp");
    client.SetAddr("127.0.0.1");
    client.SetPort(port);
    client.Connect();
    EXPECT_EQ(client.SendStr("pong"), 4);
    ASSERT_TRUE(RunUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received[1], "pong");
    EXPECT_EQ(std::to_string(fromPorts[1]), port);
    EXPECT_EQ(server.ReadCount(), 4);
}

TEST_F(DnsTest, ADottedAddressIsAnsweredAtOnceAndANameLater) {
    TWSocket socket(nullptr);
    test::EventLog log;
    log.Attach(socket);
    socket.DnsLookup("127.1");
    EXPECT_EQ(log.lines, std::vector<std::string>{"dns 0"});
    EXPECT_EQ(socket.DnsResult(), "127.0.0.1");
    EXPECT_TRUE(socket.DnsResultList().empty());

    socket.DnsLookup("localhost");
    EXPECT_EQ(log.Count("dns 0"), 1) << "the answer comes from the message loop";
    EXPECT_EQ(socket.DnsResult(), "");
    ASSERT_TRUE(RunUntil([&] { return log.Count("dns 0") == 2; }));
    EXPECT_EQ(socket.DnsResult(), "127.0.0.1");
    ASSERT_FALSE(socket.DnsResultList().empty());
    EXPECT_EQ(socket.DnsResultList()[0], "127.0.0.1");

    socket.ReverseDnsLookup("127.0.0.1");
    ASSERT_TRUE(RunUntil([&] { return log.lines.size() == 3; }));
    if (log.lines[2] == "dns 0") {
        EXPECT_FALSE(socket.DnsResult().empty());
        EXPECT_EQ(socket.DnsResultList().size(), 1u);
    }

    EXPECT_EQ(RaisedBy([&] { socket.DnsLookup(""); }), "DNS lookup: invalid host name.");
    socket.OnError = [](TObject*) {};
    socket.DnsLookup("");
    socket.ReverseDnsLookup(std::string(257, '1'));
    EXPECT_EQ(log.Count("dns 10022"), 2);
}

TEST_F(DnsTest, ACancelledLookupEndsWith10004AndItsAnswerIsDropped) {
    TWSocket socket(nullptr);
    test::EventLog log;
    log.Attach(socket);
    socket.DnsLookup("localhost");
    socket.CancelDnsLookup();
    EXPECT_EQ(log.lines, std::vector<std::string>{"dns 10004"});
    Settle();
    EXPECT_EQ(log.lines.size(), 1u);

    // The answer is already queued when the lookup is started again: no error, and only the
    // new lookup's answer counts.
    socket.DnsLookup("localhost");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    socket.DnsLookup("localhost");
    ASSERT_TRUE(RunUntil([&] { return log.Has("dns 0"); }));
    Settle();
    const std::vector<std::string> expected = {"dns 10004", "dns 10004", "dns 0"};
    EXPECT_EQ(log.lines, expected);
}

}  // namespace
}  // namespace rv
