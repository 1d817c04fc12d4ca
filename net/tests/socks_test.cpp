#include "net/tests/test_servers.h"
#include "net/tests/wsocket_fixture.h"

namespace rv {
namespace {

using test::PeerConnection;
using test::TcpPeer;

// A socket aimed through a SOCKS server at a destination, with its events as text.
class SocksTest : public test::WSocketTest {
protected:
    void Aim(const std::string& level, int socksPort, std::uint16_t destPort,
             const std::string& dest = "127.0.0.1") {
        socket.SetAddr(dest);
        socket.SetPort(std::to_string(destPort));
        socket.SetSocksLevel(level);
        socket.SetSocksServer("127.0.0.1");
        socket.SetSocksPort(std::to_string(socksPort));
        log.Attach(socket);
        socket.OnSocksConnected = [this](TObject*, std::uint16_t e) { log.Add("socks", e); };
        socket.OnSocksError = [this](TObject*, std::int32_t e, const std::string& msg) {
            log.lines.push_back("socks error " + std::to_string(e) + " " + msg);
        };
        socket.OnSocksAuthState = [this](TObject*, TSocksAuthState s) { log.Add("auth", s); };
        socket.OnDataAvailable = [this](TObject*, std::uint16_t) { data += socket.ReceiveStr(); };
        socket.OnChangeState = nullptr;
        socket.OnDataSent = nullptr;
    }

    // Connects and waits for the outcome; true when connected.
    bool ConnectThrough() {
        socket.Connect();
        EXPECT_TRUE(RunUntil([&] { return log.Has("connected 0") || socket.State() == wsClosed; }))
            << "no outcome";
        return log.Has("connected 0");
    }

    // Talks with a Greeter at the other end, then closes.
    void ExpectConversation() {
        EXPECT_TRUE(RunUntil([&] { return data == "hello\n"; })) << data;
        socket.SendStr("ping\n");
        EXPECT_TRUE(RunUntil([&] { return data == "hello\nping\n"; })) << data;
        socket.Close();
        EXPECT_EQ(socket.SocksServer(), "") << "set again for each connection";
        EXPECT_EQ(socket.SocksLevel(), "5");
    }

    TWSocket socket{nullptr};
    test::EventLog log;
    std::string data;
};

// A destination that greets, then echoes one line.
TcpPeer Greeter() {
    return TcpPeer([](PeerConnection& c) {
        c.Write("hello\n");
        c.Write(c.Read(5));
        c.ReadToEnd();
    });
}

TEST_F(SocksTest, Socks5WithoutAndWithUserAndPassword) {
    test::Microsocks open;
    RV_REQUIRE_SERVER(open);
    TcpPeer destination = Greeter();
    Aim("5", open.Port(), destination.Port());
    ASSERT_TRUE(ConnectThrough());
    EXPECT_EQ(log.lines, (std::vector<std::string>{"socks 0", "connected 0"}));
    ExpectConversation();

    test::Microsocks guarded("bob", "secret");
    RV_REQUIRE_SERVER(guarded);
    TcpPeer second = Greeter();
    Aim("5", guarded.Port(), second.Port());
    log.lines.clear();
    data.clear();
    socket.SocksAuthentication = socksAuthenticateUsercode;
    socket.SocksUsercode = "bob";
    socket.SocksPassword = "secret";
    ASSERT_TRUE(ConnectThrough());
    EXPECT_EQ(log.lines, (std::vector<std::string>{"socks 0", "auth 0", "auth 1", "connected 0"}));
    ExpectConversation();

    for (const char* password : {"wrong", ""}) {
        Aim("5", guarded.Port(), 9);
        log.lines.clear();
        socket.SocksPassword = password;
        EXPECT_FALSE(ConnectThrough());
        EXPECT_TRUE(log.Has("socks error 20015 socks authentication failed")) << password;
        EXPECT_TRUE(log.Has("connected 20015"));
        EXPECT_TRUE(log.Has("closed 20015"));
    }
    Aim("5", guarded.Port(), 9);
    log.lines.clear();
    socket.SocksAuthentication = socksNoAuthentication;
    EXPECT_FALSE(ConnectThrough());
    EXPECT_TRUE(log.Has("socks error 20003 authentification method not acceptable"));
}

TEST_F(SocksTest, Socks4ThroughDante) {
    test::Dante dante;
    RV_REQUIRE_SERVER(dante);
    TcpPeer destination = Greeter();
    Aim("4", dante.Port(), destination.Port());
    ASSERT_TRUE(ConnectThrough());
    ExpectConversation();
}

// A SOCKS server of a script: checks what it is sent and answers what it is told; then waits for
// the client's close, or hangs up.
TcpPeer ScriptedServer(std::vector<std::pair<std::string, std::string>> steps,
                       std::vector<std::string>& requests, bool hangUp = false) {
    return TcpPeer([steps = std::move(steps), &requests, hangUp](PeerConnection& c) {
        for (const auto& [expected, answer] : steps) {
            requests.push_back(c.Read(expected.size()));
            c.Write(answer);
        }
        if (hangUp)
            c.Close();
        else
            c.ReadToEnd();
    });
}

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int v : values) bytes += static_cast<char>(v);
    return bytes;
}

TEST_F(SocksTest, Socks4ASendsTheNameAndBytesBehindTheReplyArriveFirst) {
    const std::string request =
        Bytes({4, 1, 0x1F, 0x90, 0, 0, 0, 1}) + "user" + '\0' + "localhost" + '\0';
    std::vector<std::string> requests;
    TcpPeer server =
        ScriptedServer({{request, Bytes({0, 90, 0, 0, 0, 0, 0, 0}) + "behind"}}, requests);
    Aim("4a", server.Port(), 8080, "localhost");
    socket.SocksUsercode = "user";
    ASSERT_TRUE(ConnectThrough());
    EXPECT_TRUE(RunUntil([&] { return data == "behind"; })) << data;
    socket.Close();
    server.Join();
    EXPECT_EQ(requests, std::vector<std::string>{request});
}

TEST_F(SocksTest, Socks5RepliesWithNamesAndIpv6AddressesAreRead) {
    const std::string name(255, 'n');
    const std::string connect = Bytes({5, 1, 0, 3, 9}) + "127.0.0.1" + Bytes({0, 80});
    struct Case {
        std::string reply, addr, port;
    } cases[] = {
        {Bytes({5, 0, 0, 3, 255}) + name + Bytes({0x12, 0x34}), name, "4660"},
        {Bytes({5, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 4, 56}), "::1", "1080"},
        {Bytes({5, 0, 0, 4, 0x20, 1, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1}),
         "2001:db8::1", "1"},
        {Bytes({5, 0, 0, 1, 10, 0, 0, 7, 0, 21}), "10.0.0.7", "21"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> requests;
        TcpPeer server = ScriptedServer(
            {{Bytes({5, 1, 0}), Bytes({5, 0})}, {connect, c.reply + "data"}}, requests);
        Aim("5", server.Port(), 80);
        log.lines.clear();
        data.clear();
        ASSERT_TRUE(ConnectThrough()) << c.addr;
        EXPECT_EQ(socket.SocksBoundAddr(), c.addr);
        EXPECT_EQ(socket.SocksBoundPort(), c.port);
        EXPECT_TRUE(RunUntil([&] { return data == "data"; })) << c.addr;
        socket.Close();
        server.Join();
        EXPECT_EQ(requests, (std::vector<std::string>{Bytes({5, 1, 0}), connect}));
    }
}

TEST_F(SocksTest, RefusalsOfTheServerGoThroughOnSocksError) {
    const std::string connect5 = Bytes({5, 1, 0, 3, 9}) + "127.0.0.1" + Bytes({0, 80});
    const std::string connect4 = Bytes({4, 1, 0, 80, 127, 0, 0, 1, 0});
    struct Case {
        std::string level;
        std::vector<std::pair<std::string, std::string>> steps;
        std::string error;
    } cases[] = {
        {"4", {{connect4, Bytes({0, 91, 0, 0, 0, 0, 0, 0})}}, "20016 request rejected or failed"},
        {"4", {{connect4, Bytes({0, 92, 0, 0, 0, 0, 0, 0})}}, "20008 connection refused"},
        {"4", {{connect4, Bytes({0, 77, 0, 0, 0, 0, 0, 0})}}, "20012 unassigned error #77"},
        {"5", {{Bytes({5, 1, 0}), Bytes({4, 0})}}, "20002 socks version error"},
        {"5",
         {{Bytes({5, 1, 0}), Bytes({5, 0})}, {connect5, Bytes({5, 5})}},
         "20008 connection refused"},
        {"5",
         {{Bytes({5, 1, 0}), Bytes({5, 0})}, {connect5, Bytes({5, 2})}},
         "20005 connection not allowed by ruleset"},
        {"5",
         {{Bytes({5, 1, 0}), Bytes({5, 0})}, {connect5, Bytes({5, 0, 0, 9, 0})}},
         "20011 address type not supported"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> requests;
        TcpPeer server = ScriptedServer(c.steps, requests);
        Aim(c.level, server.Port(), 80);
        log.lines.clear();
        EXPECT_FALSE(ConnectThrough()) << c.error;
        const std::string code = c.error.substr(0, 5);
        EXPECT_EQ(log.lines, (std::vector<std::string>{"socks 0", "socks error " + c.error,
                                                       "connected " + code, "closed " + code}));
    }
}

// A server that hangs up in the middle of the negotiation has refused: the owner hears of it as
// of any other refusal, never as a bare close.
TEST_F(SocksTest, AServerThatHangsUpMidwayFailsTheConnect) {
    const std::string connect5 = Bytes({5, 1, 0, 3, 9}) + "127.0.0.1" + Bytes({0, 80});
    const std::string login = Bytes({1, 3}) + "bob" + Bytes({6}) + "secret";
    const std::string closed = "socks error 10053 socks server closed the connection";
    const std::vector<std::string> refused = {closed, "connected 10053", "closed 10053"};
    struct Case {
        std::string level;
        bool login;
        std::vector<std::pair<std::string, std::string>> steps;
        std::vector<std::string> before;  // what the log holds before the refusal
    } cases[] = {
        {"5", false, {{Bytes({5, 1, 0}), ""}}, {"socks 0"}},
        {"5", false, {{Bytes({5, 1, 0}), Bytes({5})}}, {"socks 0"}},
        {"5",
         false,
         {{Bytes({5, 1, 0}), Bytes({5, 0})}, {connect5, Bytes({5, 0, 0, 1})}},
         {"socks 0"}},
        {"5",
         true,
         {{Bytes({5, 1, 2}), Bytes({5, 2})}, {login, ""}},
         {"socks 0", "auth 0", "auth 2"}},
        {"4", false, {{Bytes({4, 1, 0, 80, 127, 0, 0, 1, 0}), Bytes({0, 90})}}, {"socks 0"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> requests;
        TcpPeer server = ScriptedServer(c.steps, requests, true);
        Aim(c.level, server.Port(), 80);
        socket.SocksAuthentication = c.login ? socksAuthenticateUsercode : socksNoAuthentication;
        socket.SocksUsercode = c.login ? "bob" : "";
        socket.SocksPassword = c.login ? "secret" : "";
        log.lines.clear();
        EXPECT_FALSE(ConnectThrough());
        Settle();
        std::vector<std::string> expected = c.before;
        expected.insert(expected.end(), refused.begin(), refused.end());
        EXPECT_EQ(log.lines, expected) << c.level << " " << c.steps.size();
        EXPECT_EQ(socket.State(), wsClosed);
        server.Join();
        EXPECT_EQ(requests.size(), c.steps.size());
    }
}

TEST_F(SocksTest, MisuseIsRefusedAtOnce) {
    Aim("5", 1, 80);
    socket.SocksAuthentication = socksAuthenticateUsercode;
    socket.SocksUsercode = std::string(256, 'u');
    EXPECT_EQ(test::RaisedBy([&] { socket.Connect(); }),
              "Socks user code and password are limited to 255 bytes");
    socket.SocksUsercode = "u";
    socket.SocksPassword = std::string(256, 'p');
    EXPECT_EQ(test::RaisedBy([&] { socket.Connect(); }),
              "Socks user code and password are limited to 255 bytes");
    EXPECT_EQ(socket.State(), wsClosed);
    EXPECT_EQ(test::RaisedBy([&] { socket.SetSocksLevel("6"); }),
              "Invalid socks level. Must be 4, 4A or 5.");
    EXPECT_EQ(test::RaisedBy([&] { socket.Listen(); }),
              "Listening is not supported thru socks server");
    socket.SetProto("udp");
    EXPECT_EQ(test::RaisedBy([&] { socket.Connect(); }),
              "tcp is the only protocol supported thru socks server");
}

}  // namespace
}  // namespace rv
