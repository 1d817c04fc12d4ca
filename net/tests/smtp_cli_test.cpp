// The SMTP client against aiosmtpd (net/tests/smtp_server.py), whose stored messages Python's
// email package reads back, and against scripted peers that break the protocol.

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "net/smtp_cli.h"
#include "net/tests/test_servers.h"
#include "net/tests/wsocket_fixture.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

// How one request ended.
struct Outcome {
    int done = 0;  // OnRequestDone calls
    TSmtpRequest type = srConnect;
    std::uint16_t error = 0xFFFF;
};

std::string Raised(const std::function<void()>& action) {
    return test::RaisedBy<SmtpException>(action);
}

class SmtpTest : public test::LoopTest {
protected:
    static void SetUpTestSuite() { server_ = new test::SmtpServer; }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }

    void SetUp() override {
        LoopTest::SetUp();
        RV_REQUIRE_SERVER(*server_);
    }

    // A client aimed at `port` (the server's when 0), its commands and shown lines logged.
    void Aim(TCustomSmtpClient& smtp, int port = 0) {
        smtp.Host = "127.0.0.1";
        smtp.Port = std::to_string(port == 0 ? server_->Port() : port);
        smtp.SignOn = "client.test";
        smtp.OnCommand = [this](TObject*, const std::string& s) { commands.push_back(s); };
        smtp.OnDisplay = [this](TObject*, const std::string& s) { display.push_back(s); };
        smtp.OnSessionClosed = [this](TObject*, std::uint16_t) { ++closed; };
    }

    // Runs one request to its end and a little beyond, where a second end would show.
    Outcome Run(TCustomSmtpClient& smtp, void (TCustomSmtpClient::*request)()) {
        Outcome outcome;
        smtp.OnRequestDone = [&](TObject*, TSmtpRequest t, std::uint16_t e) {
            ++outcome.done;
            outcome.type = t;
            outcome.error = e;
        };
        (smtp.*request)();
        EXPECT_EQ(outcome.done, 0) << "OnRequestDone is posted, never fired inside the start";
        EXPECT_TRUE(RunUntil([&] { return outcome.done > 0; }, 10000));
        RunUntil([] { return false; }, 50);
        EXPECT_EQ(outcome.done, 1);
        EXPECT_EQ(smtp.State(), smtpReady);
        smtp.OnRequestDone = nullptr;
        return outcome;
    }

    void Disconnect(TCustomSmtpClient& smtp) {
        EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Quit).error, 0);
        EXPECT_TRUE(RunUntil([&] { return !smtp.Connected(); }));
    }

    // The files the server made of the last message it accepted, and how many it accepted.
    static std::string Stored(const std::string& suffix) {
        return test::ReadFileBytes(server_->Folder() / (std::to_string(StoredCount()) + suffix));
    }
    static int StoredCount() {
        int n = 0;
        while (test::FileExists(server_->Folder() / (std::to_string(n + 1) + ".txt"))) ++n;
        return n;
    }

    static bool Has(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    std::vector<std::string> commands, display;
    int closed = 0;
    static test::SmtpServer* server_;
};

test::SmtpServer* SmtpTest::server_ = nullptr;

TEST_F(SmtpTest, GreetsThroughABannerOfSeveralLinesAndLogsInThreeWays) {
    TSmtpCli smtp(nullptr);
    Aim(smtp);
    int connected = 0;
    smtp.OnSessionConnected = [&](TObject*, std::uint16_t) { ++connected; };
    Outcome got = Run(smtp, &TCustomSmtpClient::Connect);
    EXPECT_EQ(got.error, 0);
    EXPECT_EQ(got.type, srConnect);
    EXPECT_EQ(connected, 1) << "once, on the last line of the banner";
    ASSERT_EQ(display.size(), 3u);
    EXPECT_EQ(display[0], "< 220-Welcome to the test server");
    EXPECT_TRUE(smtp.LastResponse().starts_with("220 smtp.test")) << smtp.LastResponse();
    EXPECT_EQ(Raised([&] { smtp.Connect(); }), "SMTP component already connected");
    Disconnect(smtp);

    smtp.Username = "ann";
    smtp.FromName = "someone.else@example.org";  // the sender is not who logs in
    for (const TSmtpAuthType type : {smtpAuthPlain, smtpAuthLogin, smtpAuthCramMD5}) {
        smtp.AuthType = type;
        smtp.Password = "s3cret";
        commands.clear();
        got = Run(smtp, &TCustomSmtpClient::Open);
        EXPECT_EQ(got.error, 0) << type << " " << smtp.ErrorMessage();
        EXPECT_EQ(got.type, srOpen);
        EXPECT_EQ(commands.front(), "EHLO client.test");
        Disconnect(smtp);
        smtp.Password = "wrong";
        got = Run(smtp, &TCustomSmtpClient::Open);
        EXPECT_EQ(got.error, 535) << type;
        EXPECT_TRUE(smtp.ErrorMessage().starts_with("535 ")) << smtp.ErrorMessage();
        if (type == smtpAuthPlain) {
            EXPECT_TRUE(Has(commands, "AUTH PLAIN AGFubgBzM2NyZXQ="));  // NUL ann NUL s3cret
            smtp.AuthType = smtpAuthNone;
            EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Auth).error, 500);
            EXPECT_EQ(smtp.LastResponse(), "500 No Authorization Type Selected.");
        }
        if (type == smtpAuthLogin) {
            EXPECT_TRUE(Has(commands, "AUTH LOGIN"));
            EXPECT_TRUE(Has(commands, "YW5u"));  // "ann"
        }
        Disconnect(smtp);
    }
    EXPECT_EQ(closed, 7);
}

TEST_F(SmtpTest, FallsBackToHeloWithoutAuthWhenEhloIsRefused) {
    TSmtpCli smtp(nullptr);
    Aim(smtp);
    smtp.SignOn = "old.example";
    smtp.AuthType = smtpAuthLogin;
    Outcome got = Run(smtp, &TCustomSmtpClient::Open);
    EXPECT_EQ(got.error, 0);
    EXPECT_EQ(commands, (std::vector<std::string>{"EHLO old.example", "HELO old.example"}));
    EXPECT_TRUE(smtp.LastResponse().starts_with("250 ")) << smtp.LastResponse();
    got = Run(smtp, &TCustomSmtpClient::Auth);
    EXPECT_EQ(got.error, 500);
    EXPECT_EQ(got.type, srAuth);
    EXPECT_EQ(smtp.LastResponse(), "500 ESMTP not supported.");
    Disconnect(smtp);
}

TEST_F(SmtpTest, MailReachesTheAcceptedRecipientWithItsDotsIntact) {
    TSmtpCli smtp(nullptr);
    Aim(smtp);
    ASSERT_EQ(Run(smtp, &TCustomSmtpClient::Open).error, 0);
    const int before = StoredCount();
    smtp.FromName = "ann@example.org";
    smtp.RcptName = {"nobody@example.org", "bob@example.org"};
    smtp.HdrFrom = "Ann <ann@example.org>";
    smtp.HdrTo = "bob@example.org";
    smtp.HdrReplyTo = "ann@example.org";
    smtp.HdrSubject = "Dots";
    smtp.MailMessage = {"first", ".", "..two", ".hidden", "", "last"};
    Outcome got = Run(smtp, &TCustomSmtpClient::Mail);
    EXPECT_EQ(got.error, 0) << "the last recipient was accepted";
    EXPECT_EQ(got.type, srMail);
    EXPECT_TRUE(smtp.ErrorMessage().starts_with("550 5.1.1")) << smtp.ErrorMessage();
    ASSERT_EQ(StoredCount(), before + 1);
    const std::string summary = Stored(".txt");
    EXPECT_TRUE(summary.starts_with("from ann@example.org\nto bob@example.org\nFrom Ann"))
        << summary;
    EXPECT_NE(summary.find("\nSender Ann <ann@example.org>\n"), std::string::npos);
    EXPECT_NE(summary.find("\nbody text/plain\n"), std::string::npos);
    EXPECT_NE(summary.find("\ndate 20"), std::string::npos) << "a Date Python can read";
    // What the server keeps, once it has taken off the dots the client put in front.
    const std::string message = Stored(".eml");
    EXPECT_TRUE(
        message.starts_with("Reply-To: ann@example.org\r\nFrom: Ann <ann@example.org>\r\n"
                            "To: bob@example.org\r\nSubject: Dots\r\n"
                            "Sender: Ann <ann@example.org>\r\nMime-Version: 1.0\r\n"
                            "Content-Type: text/plain; charset=\"iso-8859-1\"\r\nDate: "))
        << message;
    EXPECT_TRUE(message.ends_with("\r\n\r\nfirst\r\n.\r\n..two\r\n.hidden\r\n\r\nlast\r\n"))
        << message;

    // Refused last: the request fails, and nothing is sent.
    smtp.RcptName = {"bob@example.org", "nobody@example.org"};
    got = Run(smtp, &TCustomSmtpClient::Mail);
    EXPECT_EQ(got.error, 550);
    EXPECT_EQ(StoredCount(), before + 1);
    EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Rset).error, 0);
    EXPECT_EQ(smtp.ErrorMessage(), "") << "a request's own errors only";
    EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Vrfy).error, 252) << "aiosmtpd verifies nobody";
    Disconnect(smtp);
}

TEST_F(SmtpTest, TwoAttachmentsArriveByteForByte) {
    test::TempDir dir;
    std::mt19937 random(104);
    std::string notes(4099, '\0'), picture(90, '\0');  // 90: two whole lines of 45 bytes
    for (char& c : notes) c = static_cast<char>(random());
    for (char& c : picture) c = static_cast<char>(random());
    test::WriteFileBytes(dir / "notes.bin", notes);
    test::WriteFileBytes(dir / "picture.png", picture);

    TSmtpCli smtp(nullptr);
    Aim(smtp);
    ASSERT_EQ(Run(smtp, &TCustomSmtpClient::Open).error, 0);
    smtp.SetEmailFiles({" " + (dir / "notes.bin") + " ", "", dir / "picture.png"});
    EXPECT_EQ(smtp.EmailFiles(),
              (std::vector<std::string>{dir / "notes.bin", dir / "picture.png"}));
    EXPECT_NE(Raised([&] { smtp.SetEmailFiles({dir / "notes.bin", dir / "none"}); }), "");
    EXPECT_EQ(smtp.EmailFiles().size(), 2u) << "kept as it was";
    smtp.OnAttachContentType = [](TObject*, std::int32_t n, std::string& name, std::string& type) {
        if (n == 1) type = "image/png", name = "my \"pic\".png";
    };
    smtp.OnAttachHeader = [](TObject*, std::int32_t n, const std::string&,
                             std::vector<std::string>& lines) {
        lines.push_back("X-Part: " + std::to_string(n));
    };
    smtp.FromName = "ann@example.org";
    smtp.RcptName = {"bob@example.org"};
    smtp.MailMessage = {"See the two files.", ".", "Ann"};
    EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Mail).error, 0) << smtp.ErrorMessage();

    const std::string summary = Stored(".txt");
    EXPECT_NE(summary.find("\nbody text/plain\nattachment 0 application/octet-stream notes.bin\n"
                           "attachment 1 image/png picture.png\n"),
              std::string::npos)
        << summary;
    EXPECT_TRUE(Stored(".0.bin") == notes);
    EXPECT_TRUE(Stored(".1.bin") == picture);
    const std::string message = Stored(".eml");
    EXPECT_NE(message.find("\tname=\"my \\\"pic\\\".png\"\r\n"), std::string::npos);
    EXPECT_NE(message.find("X-Part: 1\r\n"), std::string::npos);
    EXPECT_NE(Stored(".body").find("See the two files.\r\n.\r\nAnn"), std::string::npos)
        << Stored(".body");

    // A file that shrinks while it is sent fails the mail rather than going out cut.
    const int before = StoredCount();
    smtp.OnAttachHeader = [&](TObject*, std::int32_t, const std::string&,
                              std::vector<std::string>&) {
        test::WriteFileBytes(dir / "notes.bin", "short now");
    };
    EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Mail).error, 500);
    EXPECT_EQ(smtp.LastResponse(), "500 Cannot read the attachment '" + (dir / "notes.bin") + "'");
    EXPECT_EQ(StoredCount(), before);
    EXPECT_FALSE(smtp.Connected());
}

TEST_F(SmtpTest, ValuesThatWouldBreakALineApartRaiseAndNothingIsSent) {
    TSmtpCli smtp(nullptr);
    Aim(smtp);
    ASSERT_EQ(Run(smtp, &TCustomSmtpClient::Open).error, 0);
    commands.clear();
    smtp.FromName = "ann@example.org";
    smtp.RcptName = {"bob@example.org"};
    smtp.MailMessage = {"Hello"};

    smtp.HdrSubject = "Hi\r\nBcc: eve@example.org";
    EXPECT_EQ(Raised([&] { smtp.Mail(); }), "HdrSubject must not hold CR or LF");
    EXPECT_NE(Raised([&] { smtp.Data(); }), "");
    smtp.HdrSubject = std::string(990, 's');
    EXPECT_EQ(Raised([&] { smtp.Mail(); }), "HdrSubject is too long for a header line");
    smtp.HdrSubject = "Hi";
    smtp.FromName = "ann@example.org>\r\nRCPT TO:<eve@example.org";
    EXPECT_NE(Raised([&] { smtp.Mail(); }), "");
    EXPECT_NE(Raised([&] { smtp.MailFrom(); }), "");
    smtp.FromName = "ann@example.org";
    smtp.RcptName = {"bob@example.org", "eve@example.org\nDATA"};
    EXPECT_NE(Raised([&] { smtp.Mail(); }), "");
    EXPECT_NE(Raised([&] { smtp.RcptTo(); }), "");
    smtp.RcptName = {"bob@example.org"};
    smtp.SignOn = "client\n.test";
    EXPECT_NE(Raised([&] { smtp.Helo(); }), "");
    EXPECT_NE(Raised([&] { smtp.Ehlo(); }), "");
    smtp.SignOn = "client.test";
    smtp.HdrTo = "bob\r@example.org";
    EXPECT_NE(Raised([&] { smtp.Vrfy(); }), "");
    EXPECT_NE(Raised([&] { smtp.Mail(); }), "");
    smtp.HdrTo = "bob@example.org";
    // A body line too long for SMTP is refused whole rather than cut.
    smtp.MailMessage = {"Hello", std::string(999, 'y')};
    EXPECT_EQ(Raised([&] { smtp.Mail(); }), "Line 2 of MailMessage is longer than 998 characters");
    const std::string missing = "/nonexistent/file.bin";
    EXPECT_EQ(Raised([&] { smtp.SetEmailFiles({missing}); }), "File not found '" + missing + "'");
    smtp.RcptName.clear();
    EXPECT_EQ(Raised([&] { smtp.Mail(); }), "RcptName list is empty");
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(smtp.State(), smtpReady);

    // Nothing is stuck: the longest line SMTP allows goes whole.
    smtp.RcptName = {"bob@example.org"};
    smtp.MailMessage = {"Hello", std::string(998, 'y')};
    EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Mail).error, 0);
    EXPECT_TRUE(Stored(".eml").ends_with("\r\n\r\nHello\r\n" + std::string(998, 'y') + "\r\n"));
    Disconnect(smtp);
    EXPECT_EQ(Raised([&] { smtp.Helo(); }), "SMTP component not connected");
}

TEST_F(SmtpTest, RepliesThatBreakTheProtocolEndTheRequest) {
    std::string got1, got2;
    {
        // A line that fits in 4096 bytes is read; one that does not is an error, not a stall.
        test::TcpPeer peer([&](test::PeerConnection& c) {
            c.Write("220-" + std::string(4000, 'a') + "\r\n220 ready\r\n");
            got1 = c.Read(18);
            c.Write("250-" + std::string(5000, 'b'));
            got2 = c.ReadToEnd();
        });
        TSmtpCli smtp(nullptr);
        Aim(smtp, peer.Port());
        EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Connect).error, 0);
        EXPECT_EQ(smtp.LastResponse(), "220 ready");
        EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Helo).error, 500);
        EXPECT_EQ(smtp.LastResponse(), "500 A reply line is longer than 4096 bytes");
        EXPECT_EQ(closed, 1);
        EXPECT_FALSE(smtp.Connected());
    }
    EXPECT_EQ(got1, "HELO client.test\r\n");
    EXPECT_EQ(got2, "");
    {
        // A reply without a status is no acceptance.
        test::TcpPeer peer([&](test::PeerConnection& c) {
            c.Write("220 hi\r\n");
            c.Read(18);
            c.Write("Hello yourself\r\n");
            c.ReadToEnd();
        });
        TSmtpCli smtp(nullptr);
        Aim(smtp, peer.Port());
        EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Connect).error, 0);
        EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Helo).error, 500);
        EXPECT_EQ(smtp.ErrorMessage(), "Hello yourself");
    }
    {
        test::TcpPeer peer([&](test::PeerConnection& c) {
            c.Write("554 5.3.2 busy\r\n");
            c.ReadToEnd();
        });
        TSmtpCli smtp(nullptr);
        Aim(smtp, peer.Port());
        EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Connect).error, 10004);
        EXPECT_EQ(smtp.ErrorMessage(), "554 5.3.2 busy");
    }
    std::string afterChallenge = "unread";
    {
        test::TcpPeer peer([&](test::PeerConnection& c) {
            c.Write("220 hi\r\n");
            c.Read(18);
            c.Write("250 ok\r\n");
            c.Read(15);  // AUTH CRAM-MD5
            c.Write("334 !!no base64\r\n");
            afterChallenge = c.ReadToEnd();
        });
        TSmtpCli smtp(nullptr);
        Aim(smtp, peer.Port());
        smtp.AuthType = smtpAuthCramMD5;
        EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Open).error, 500);
        EXPECT_EQ(smtp.LastResponse(), "500 Malformed MD5 Challege: 334 !!no base64");
        // The server, still waiting for the login's answer, must not take the next command
        // for it: the connection has ended.
        EXPECT_FALSE(smtp.Connected());
        EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Quit).error, 0);
        peer.Join();
    }
    EXPECT_EQ(afterChallenge, "");
    {
        test::TcpPeer peer([&](test::PeerConnection& c) {
            c.Write("220 hi\r\n");
            c.Read(18);
        });
        TSmtpCli smtp(nullptr);
        Aim(smtp, peer.Port());
        EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Connect).error, 0);
        EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Helo).error, 10004) << "connection lost";
    }
    TSmtpCli smtp(nullptr);
    Aim(smtp, test::UnusedPort());
    EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Connect).error, 10061);
    EXPECT_EQ(smtp.LastResponse(), "500 Connection refused (Winsock error #10061)");
}

// The next line a peer reads, without its CR LF; false at the end of the stream.
bool ReadLine(test::PeerConnection& c, std::string& line) {
    line.clear();
    while (!line.ends_with("\r\n")) {
        const std::string byte = c.Read(1);
        if (byte.empty()) return false;
        line += byte;
    }
    line.resize(line.size() - 2);
    return true;
}

// A server that falls silent, at any point, ends the request after ReplyTimeout with 10060
// and the connection dropped; one that answers a line at a time is held to the same time.
TEST_F(SmtpTest, ASilentServerTimesOut) {
    struct Case {
        const char* silentAt;
        std::vector<std::string> replies;  // the greeting, then one per line the client sends
        bool trickle;                      // then more lines of the last reply, without end
        void (TCustomSmtpClient::*request)();
    } cases[] = {
        {"greeting", {}, false, &TCustomSmtpClient::Connect},
        {"HELO", {"220 hi"}, false, &TCustomSmtpClient::Open},
        {"a reply without end", {"220 hi", "250-slow"}, true, &TCustomSmtpClient::Open},
        {"the message's end",
         {"220 hi", "250 hello", "250 from", "250 to", "354 go"},
         false,
         &TCustomSmtpClient::Mail},
    };
    for (const Case& c : cases) {
        std::atomic<bool> done{false};
        test::TcpPeer peer([&](test::PeerConnection& p) {
            std::string line;
            for (std::size_t i = 0; i < c.replies.size(); ++i) {
                if (i > 0 && !ReadLine(p, line)) return;
                p.Write(c.replies[i] + "\r\n");
            }
            if (!c.replies.empty() && c.replies.back() == "354 go") {
                while (ReadLine(p, line) && line != ".") {
                }
            }
            while (c.trickle && !done) {
                p.Write("250-more\r\n");
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            p.ReadToEnd();
        });
        TSmtpCli smtp(nullptr);
        Aim(smtp, peer.Port());
        smtp.ReplyTimeout = 300;
        smtp.FromName = "ann@example.org";
        smtp.RcptName = {"bob@example.org"};
        smtp.MailMessage = {"Hello"};
        if (c.request == &TCustomSmtpClient::Mail) {
            ASSERT_EQ(Run(smtp, &TCustomSmtpClient::Open).error, 0);
        }
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Run(smtp, c.request).error, WSAETIMEDOUT) << c.silentAt;
        done = true;
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, std::chrono::milliseconds(300)) << c.silentAt;
        EXPECT_LT(took, std::chrono::seconds(3)) << c.silentAt;
        EXPECT_EQ(smtp.LastResponse(), "500 Connection timed out (Winsock error #10060)");
        EXPECT_EQ(smtp.ErrorMessage(), smtp.LastResponse()) << c.silentAt;
        EXPECT_FALSE(smtp.Connected()) << c.silentAt;
    }
}

TEST_F(SmtpTest, ABodyLineTooLongOrAnAbortLeavesNoMessage) {
    std::string data, mail;
    {
        test::TcpPeer peer([&](test::PeerConnection& c) {
            c.Write("220 hi\r\n");
            c.Read(6);  // DATA
            c.Write("354 go\r\n");
            data = c.ReadToEnd();
        });
        TCustomSmtpClient smtp(nullptr);
        Aim(smtp, peer.Port());
        smtp.OwnHeaders = true;
        smtp.OnGetData = [](TObject*, std::int32_t n, std::string& line, std::int32_t max,
                            bool& more) {
            EXPECT_EQ(max, 998);
            line = n == 1 ? "fine" : std::string(1500, 'x');
            more = n <= 2;
        };
        EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Connect).error, 0);
        EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Data).error, 500);
        EXPECT_EQ(smtp.LastResponse(), "500 A line of the message is longer than 998 characters");
        EXPECT_FALSE(smtp.Connected()) << "dropped: the server discards the unfinished message";
    }
    EXPECT_EQ(data.find('x'), std::string::npos) << "nothing cut went out";
    EXPECT_EQ(data.find("\r\n.\r\n"), std::string::npos);

    test::TcpPeer peer([&](test::PeerConnection& c) {
        c.Write("220 hi\r\n");
        mail = c.ReadToEnd();
    });
    TSmtpCli smtp(nullptr);
    Aim(smtp, peer.Port());
    EXPECT_EQ(Run(smtp, &TCustomSmtpClient::Connect).error, 0);
    smtp.FromName = "ann@example.org";
    smtp.RcptName = {"bob@example.org"};
    smtp.OnCommand = [&](TObject*, const std::string&) { smtp.Abort(); };
    const Outcome got = Run(smtp, &TCustomSmtpClient::Mail);
    EXPECT_EQ(got.error, 426);
    EXPECT_EQ(got.type, srMail);
    EXPECT_EQ(smtp.ErrorMessage(), "426 Operation aborted.");
    EXPECT_FALSE(smtp.Connected());
}

}  // namespace
}  // namespace rv
