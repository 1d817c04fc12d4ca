#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "cd/tests/cddb_fixture.h"
#include "platform/cdrom/tests/fake_drives_file.h"
#include "platform/sockets/tests/socket_peer.h"

namespace rv {
namespace {

using test::CddbTest;
using test::Drive;
using test::FakeDrivesFile;
using test::PeerConnection;
using test::TcpPeer;

// An entry of the disc Drive(3) makes, and the bytes it goes out as.
const std::vector<std::string> kEntry = {"# xmcd",
                                         "#",
                                         "# Revision: 0",
                                         "DISCID=0f02ce03",
                                         "DTITLE=Bj\u00f6rk / Homogenic",
                                         "TTITLE0=Hunter",
                                         "TTITLE1=J\u00f3ga",
                                         "TTITLE2=Unravel"};
constexpr char kEntryBytes[] =
    "# xmcd\r\n#\r\n# Revision: 0\r\nDISCID=0f02ce03\r\nDTITLE=Bj\xf6rk / Homogenic\r\n"
    "TTITLE0=Hunter\r\nTTITLE1=J\xf3ga\r\nTTITLE2=Unravel\r\n";

// How many files of a kind a server has kept in its folder (numbered from 1), and the last.
int Count(const test::TempDir& folder, const std::string& suffix) {
    int n = 0;
    while (test::FileExists(folder / (std::to_string(n + 1) + suffix))) ++n;
    return n;
}
std::string Last(const test::TempDir& folder, const std::string& suffix) {
    return test::ReadFileBytes(folder / (std::to_string(Count(folder, suffix)) + suffix));
}

using CddbSubmitTest = CddbTest;

TEST_P(CddbSubmitTest, AnEntryIsPostedWithTheSubmissionHeader) {
    FakeDrivesFile drives(Drive(3));
    auto cddb = Client();
    ASSERT_TRUE(cddb->ReadTOC(0));
    cddb->SetNoteToUser("Titles corrected, caf\u00e9");
    cddb->HTTPSubmit("rock", kEntry);
    EXPECT_EQ(recorder.LastUrl(),
              "http://127.0.0.1:" + fake_->PortText() + "/~cddb/submit.cgi\r\n");
    EXPECT_EQ(recorder.Last().state, cddbSubmissionSent);
    ASSERT_EQ(Finish(*cddb), cddbSubmissionAccepted);
    EXPECT_EQ(recorder.Last().text, "OK, submission has been sent.");
    EXPECT_EQ(Last(fake_->Folder(), ".head"),
              "Category: rock\nDiscid: 0f02ce03\nUser-Email: a@b\nSubmit-Mode: test\n"
              "X-Cddbd-Note: Titles corrected, caf\xe9\nContent-Length: " +
                  std::to_string(sizeof kEntryBytes - 1) + "\n");
    EXPECT_EQ(Last(fake_->Folder(), ".body"), kEntryBytes);

    cddb->SubmissionType = TSubmissionType::SUBMIT;
    cddb->HTTPSubmit("rock", kEntry);
    ASSERT_EQ(Finish(*cddb), cddbSubmissionAccepted);
    EXPECT_NE(Last(fake_->Folder(), ".head").find("Submit-Mode: submit\n"), std::string::npos);

    // The server refuses a header it finds wanting.
    cddb->HTTPSubmit("", kEntry);
    EXPECT_EQ(Finish(*cddb), cddbSubmissionRefused);
    EXPECT_EQ(recorder.Last().text, "Missing required header information.");
}

TEST_P(CddbSubmitTest, SubmissionsThatCannotGoOrFail) {
    FakeDrivesFile drives(Drive(3));
    auto cddb = Client();
    ASSERT_TRUE(cddb->ReadTOC(0));
    // A value with a line break would add header lines of its own: nothing is sent.
    const int posted = Count(fake_->Folder(), ".head");
    cddb->EmailUser = "a@b\r\nSubmit-Mode: submit";
    cddb->HTTPSubmit("rock", kEntry);
    EXPECT_EQ(cddb->State(), cddbSubmissionFailed);
    EXPECT_EQ(recorder.Last().text, "The submission's e-mail address holds a line break");
    EXPECT_TRUE(recorder.LastUrl().empty());
    cddb->EmailUser = "a@b";

    // A second submission while the first runs fails; the first goes out as it was.
    cddb->HTTPSubmit("jazz", kEntry);
    cddb->HTTPSubmit("rock", {"# other"});
    EXPECT_EQ(cddb->State(), cddbHttpFailed);
    EXPECT_NE(recorder.Last().text.find("THttpCli.PostAsync failed because of error \""),
              std::string::npos)
        << recorder.Last().text;
    ASSERT_TRUE(RunUntil([&] { return Count(fake_->Folder(), ".body") == posted + 1; }));
    EXPECT_NE(Last(fake_->Folder(), ".head").find("Category: jazz\n"), std::string::npos);
    EXPECT_EQ(Last(fake_->Folder(), ".body"), kEntryBytes);

    auto missing = Client("/missing/cddb.cgi");
    missing->HTTPSubmit("rock", kEntry);
    EXPECT_EQ(Finish(*missing), cddbHttpFailed);
    EXPECT_EQ(recorder.Last().text,
              "CDDB Component Internal Error: THttpCli.PostAsync failed because of error "
              "\"404 Not Found\"");
}

INSTANTIATE_TEST_SUITE_P(DirectAndThroughAProxy, CddbSubmitTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Proxy" : "Direct"; });

// Submissions by mail, to net/tests/smtp_server.py.
class CddbMailTest : public test::LoopTest {
protected:
    static void SetUpTestSuite() { server_ = new test::SmtpServer; }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override {
        LoopTest::SetUp();
        RV_REQUIRE_SERVER(*server_);
        app->OnException = [](const std::exception& e) { ADD_FAILURE() << e.what(); };
    }

    // A client that mails to the server (or to `port`), knowing the disc of Drive(3).
    std::unique_ptr<TCddb> Client(int port = 0) {
        auto cddb = std::make_unique<TCddb>(nullptr);
        cddb->MailServerAddress = "127.0.0.1";
        cddb->MailServerPort = std::to_string(port != 0 ? port : server_->Port());
        cddb->EmailUser = "ann@example.org";
        cddb->EmailTestSubmit = "test-submit@example.org";
        cddb->EmailSubmit = "submit@example.org";
        cddb->SetNoteToUser("First entry");
        EXPECT_TRUE(cddb->ReadTOC(0));
        recorder.Attach(*cddb);
        return cddb;
    }

    std::int32_t Mail(TCddb& cddb, const std::vector<std::string>& entry = kEntry) {
        cddb.SMTPSubmit("rock", entry);
        EXPECT_TRUE(RunUntil([&] { return cddb.State() != cddbSubmissionSent; }, 15000));
        return cddb.State();
    }

    FakeDrivesFile drives{Drive(3)};
    test::Recorder recorder;
    static inline test::SmtpServer* server_ = nullptr;
};

TEST_F(CddbMailTest, AnEntryIsMailedWithItsNoteAndSender) {
    auto cddb = Client();
    ASSERT_EQ(Mail(*cddb), cddbSubmissionAccepted);
    EXPECT_EQ(recorder.Last().text, "OK, submission has been sent.");
    const std::vector<std::string> data = recorder.Texts("data");
    ASSERT_FALSE(data.empty());
    EXPECT_TRUE(data[0].starts_with("< 220")) << data[0];
    for (const test::Told& t : recorder.told) {
        if (t.event == "data") {
            EXPECT_EQ(t.state, cddbSubmissionSent) << t.text;
        }
    }
    // Shown as text, as it was given.
    EXPECT_EQ(std::count(data.begin(), data.end(), "> TTITLE1=J\u00f3ga"), 1);

    const std::string message = Last(server_->Folder(), ".eml");
    EXPECT_TRUE(message.starts_with("From: ann@example.org\r\nX-Cddbd-Note: First entry\r\n"))
        << message;
    EXPECT_NE(message.find("\r\nSubject: cddb rock 0f02ce03\r\n"), std::string::npos);
    EXPECT_NE(message.find("charset=\"iso-8859-1\""), std::string::npos);
    EXPECT_TRUE(message.ends_with(std::string("\r\n\r\n") + kEntryBytes)) << message;
    const std::string facts = Last(server_->Folder(), ".txt");
    EXPECT_TRUE(
        facts.starts_with("from ann@example.org\nto test-submit@example.org\n"
                          "From ann@example.org\nTo test-submit@example.org\n"))
        << facts;

    cddb->SubmissionType = TSubmissionType::SUBMIT;
    ASSERT_EQ(Mail(*cddb), cddbSubmissionAccepted);
    EXPECT_NE(Last(server_->Folder(), ".txt").find("\nto submit@example.org\n"), std::string::npos);
}

TEST_F(CddbMailTest, AFailedStepIsToldAndLeavesNoMessage) {
    auto cddb = Client();
    const int stored = Count(server_->Folder(), ".eml");
    cddb->EmailTestSubmit = "nobody@example.org";
    EXPECT_EQ(Mail(*cddb), cddbSubmissionFailed);
    EXPECT_EQ(recorder.Last().text,
              "CDDB Component Internal Error: TSmtpCli.Mail failed because of error "
              "\"550 5.1.1 No such user\"");

    // A value with a line break would add header lines of its own: nothing is sent.
    cddb->EmailTestSubmit = "test-submit@example.org";
    cddb->SetNoteToUser("note\r\nBcc: everyone@example.org");
    recorder.told.clear();
    cddb->SMTPSubmit("rock", kEntry);
    EXPECT_EQ(cddb->State(), cddbSubmissionFailed);
    EXPECT_EQ(recorder.Texts("status"),
              std::vector<std::string>{"The submission's note holds a line break"});
    EXPECT_TRUE(recorder.Texts("data").empty());
    RunPastTimer(100);
    EXPECT_EQ(Count(server_->Folder(), ".eml"), stored);

    // The client is free again for the next one.
    cddb->SetNoteToUser("");
    EXPECT_EQ(Mail(*cddb), cddbSubmissionAccepted);

    auto refused = Client(test::UnusedPort());
    EXPECT_EQ(Mail(*refused), cddbSubmissionFailed);
    EXPECT_TRUE(recorder.Last().text.starts_with(
        "CDDB Component Internal Error: TSmtpCli.Connect failed because of error \"500 "))
        << recorder.Last().text;
}

// The line a peer reads, without its CR LF.
std::string ReadLine(PeerConnection& c) {
    std::string line;
    while (!line.ends_with("\r\n")) {
        const std::string byte = c.Read(1);
        if (byte.empty()) return line;
        line += byte;
    }
    return line.substr(0, line.size() - 2);
}

// A mail server's part up to the end of the message, which it has not answered yet.
void TakeMessage(PeerConnection& c) {
    c.Write("220 peer\r\n");
    for (const char* reply : {"250 hello", "250 sender", "250 recipient", "354 go"}) {
        ReadLine(c);
        c.Write(std::string(reply) + "\r\n");
    }
    while (ReadLine(c) != ".") {
    }
}

// Once the mail server has taken the message, a goodbye that goes wrong does not undo it.
TEST_F(CddbMailTest, AMessageTakenStaysSentWhenTheGoodbyeFails) {
    TcpPeer peer([](PeerConnection& c) {
        TakeMessage(c);
        c.Write("250 taken\r\n");
        ReadLine(c);  // QUIT, left without an answer
        c.Close();
    });
    auto cddb = Client(peer.Port());
    EXPECT_EQ(Mail(*cddb), cddbSubmissionAccepted);
    EXPECT_EQ(recorder.Last().text, "OK, submission has been sent.");
}

// A mail server that falls silent once it has the message fails the submission in time.
TEST_F(CddbMailTest, ASilentMailServerFailsTheSubmissionInTime) {
    TcpPeer peer([](PeerConnection& c) {
        TakeMessage(c);
        c.ReadToEnd();  // no answer
    });
    auto cddb = Client(peer.Port());
    cddb->SetMailReplyTimeout(300);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Mail(*cddb), cddbSubmissionFailed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(recorder.Last().text,
              "CDDB Component Internal Error: TSmtpCli.Mail failed because of error "
              "\"500 Connection timed out (Winsock error #10060)\"");
}

}  // namespace
}  // namespace rv
