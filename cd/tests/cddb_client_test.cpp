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
using test::Told;

TEST_P(CddbTest, AnExactMatchIsReadIntoTheDiscRecord) {
    FakeDrivesFile drives(Drive(3));
    auto cddb = Client();
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbMatchChosen);
    const std::string query = "cddb+query+0f02ce03+3+150+18750+38250+720";
    ASSERT_GE(recorder.told.size(), 3u);
    EXPECT_EQ(recorder.told[0].text, "Querying CD");
    EXPECT_EQ(recorder.told[0].state, cddbQuerySent);
    EXPECT_EQ(recorder.told[1].text, Url("/~cddb/cddb.cgi", query));
    EXPECT_EQ(recorder.Texts("match"),
              std::vector<std::string>{"rock 0f02ce03 Exact Artist / Exact Album"});
    EXPECT_EQ(cddb->GetCDInfo().Category, "rock");
    EXPECT_EQ(cddb->GetCDInfo().DiscID, "0F02CE03");  // an exact match gives upper case

    // The owner sees the entry complete when the read's end is told.
    bool parsedWhenTold = false;
    cddb->OnStatusMessage = [&](TObject*, const std::string&) {
        if (cddb->State() == cddbEntryRead) parsedWhenTold = !cddb->GetCDInfo().Artist.empty();
    };
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPRead), cddbEntryRead);
    EXPECT_EQ(recorder.LastUrl(), Url("/~cddb/cddb.cgi", "cddb+read+rock+0F02CE03"));
    EXPECT_TRUE(parsedWhenTold);
    // Texts as the entry parser makes them, from ISO-8859-1; the record lower-cases its id again.
    const TCDInfo& disc = cddb->GetCDInfo();
    EXPECT_EQ(disc.DiscID, "0f02ce03");
    EXPECT_EQ(disc.Category, "rock");
    EXPECT_EQ(disc.Artist, "Bj\u00f6rk Gu\u00f0mundsd\u00f3ttir");
    EXPECT_EQ(disc.Title, "Exact Album");
    EXPECT_EQ(disc.Revision, 7);
    EXPECT_EQ(disc.TrackTitles[2], "Long title continued");
    EXPECT_EQ(disc.EXTD, "Line one\r\nLine two");
    EXPECT_EQ(disc.TOC.LeadOut, (TCDTOCEntry{12, 0, 0, false}));
}

TEST_P(CddbTest, AChoiceFromAListIsReadWithItsCategoryAndIdEncoded) {
    FakeDrivesFile drives(Drive(2));
    auto cddb = Client();
    recorder.choice = 1;
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbMatchChosen);
    EXPECT_EQ(recorder.Texts("match").size(), 1u);
    EXPECT_EQ(recorder.told.back().state, cddbMatchList);  // choosing
    EXPECT_EQ(recorder.matches[1], "a&b 1234abcd Odd Category / Second Album");
    EXPECT_EQ(recorder.matches[2], "");
    EXPECT_EQ(cddb->GetCDInfo().Category, "a&b");
    EXPECT_EQ(cddb->GetCDInfo().DiscID, "1234abcd");  // as the line has it
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPRead), cddbEntryRead);
    EXPECT_EQ(recorder.LastUrl(), Url("/~cddb/cddb.cgi", "cddb+read+a%26b+1234abcd"));
    EXPECT_EQ(cddb->GetCDInfo().Title, "Second Album");
    EXPECT_EQ(cddb->GetCDInfo().TrackTitles[1], "Two");

    // Cancelled, or a choice of no match: nothing is chosen.
    for (const int choice : {-1, 2, 100}) {
        recorder.choice = choice;
        EXPECT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbNoMatch) << choice;
    }
}

TEST_P(CddbTest, QueriesWithoutAMatchAndReadsThatFail) {
    FakeDrivesFile drives(Drive(1));
    auto cddb = Client();
    EXPECT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbNoMatch);  // 202
    EXPECT_EQ(recorder.Last().text, "No match found");
    recorder.told.clear();
    cddb->HTTPRead();
    EXPECT_EQ(recorder.Texts("status"),
              std::vector<std::string>{"Can't perform a CDDB READ without a successful "
                                       "CDDB QUERY!"});
    EXPECT_TRUE(recorder.Texts("data").empty());

    // A list without a single match line found nothing; nobody is asked to choose.
    drives.Rewrite(Drive(5));
    recorder.told.clear();
    EXPECT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbNoMatch);
    EXPECT_TRUE(recorder.Texts("match").empty());
    EXPECT_EQ(recorder.Last().text, "No match found");

    drives.Rewrite(Drive(4));
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbMatchChosen);
    EXPECT_EQ(Run(*cddb, &TCddb::HTTPRead), cddbReadFailed);  // 401
    EXPECT_EQ(recorder.Last().text, "Specified CDDB entry not found");
}

TEST_P(CddbTest, TheSiteListArrivesLineByLine) {
    auto cddb = Client();
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPSites), cddbSitesReceived);
    EXPECT_EQ(recorder.Last().text, "Got sites");
    int siteLines = 0;
    for (const Told& t : recorder.told) {
        if (t.event == "data" && t.text.find(" 8880 ") != std::string::npos) {
            EXPECT_EQ(t.state, cddbSitesSent);
            ++siteLines;
        }
    }
    EXPECT_EQ(siteLines, 1);
    const TServerArray& sites = cddb->Sites();
    EXPECT_EQ(SiteToStr(sites[0]),
              "127.0.0.1 http 80 /~cddb/cddb.cgi N000.00 W000.00 The fake server");
    EXPECT_EQ(sites[1].ServerType, TServerType::CDDBP);
    EXPECT_EQ(sites[1].Location.Description, "Vienna, Austria");
    EXPECT_EQ(sites[2].Address, "");  // "broken line" is no site

    auto none = Client("/nosites");
    EXPECT_EQ(Run(*none, &TCddb::HTTPSites), cddbNoSiteInfo);
    EXPECT_EQ(recorder.Last().text, "No site information available");
}

// Every failure of the transport, and every answer that is no complete CDDB answer, ends in
// State 16 with a status, so that no look-up waits forever.
TEST_P(CddbTest, FailedRequestsEndInState16WithAStatus) {
    FakeDrivesFile drives(Drive(3));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/missing", "\"404 Not Found\""},
        {"/html", "not a CDDB answer"},
        {"/empty", "empty answer"},
        {"/raw", "GetAsync failed"},
        {"/unterminated", "ended before it was complete"},
    };
    for (const auto& [path, status] : cases) {
        auto cddb = Client(path);
        EXPECT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbHttpFailed) << path;
        EXPECT_EQ(recorder.Last().state, cddbHttpFailed) << path;
        EXPECT_NE(recorder.Last().text.find(status), std::string::npos) << recorder.Last().text;
    }

    auto silent = Client("/silent");
    silent->SetIdleTimeout(300);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run(*silent, &TCddb::HTTPQuery), cddbHttpFailed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    // A request that cannot start: the client is busy with another, or the server speaks
    // another protocol. The answer of the request that was running is no longer followed.
    auto busy = Client();
    busy->HTTPSites();
    busy->HTTPQuery();
    EXPECT_EQ(busy->State(), cddbHttpFailed);
    EXPECT_NE(recorder.Last().text.find("busy"), std::string::npos) << recorder.Last().text;
    const std::size_t told = recorder.told.size();
    RunPastTimer(300);
    EXPECT_EQ(recorder.told.size(), told);
    EXPECT_EQ(busy->State(), cddbHttpFailed);
    busy->ServerType = TServerType::CDDBP;
    busy->HTTPSites();
    EXPECT_EQ(recorder.Last().state, cddbHttpFailed);
    EXPECT_EQ(recorder.Last().text, "Selected server not an HTTP server");

    auto closed = Client();
    closed->ServerPort = std::to_string(test::UnusedPort());
    EXPECT_EQ(Run(*closed, &TCddb::HTTPQuery), cddbHttpFailed);
}

// An answer in chunks is read as the answer; one that trickles in ends the look-up in time.
TEST_P(CddbTest, AnswersInChunksAreReadAndTricklingOnesEndInTime) {
    FakeDrivesFile drives(Drive(3));
    auto cddb = Client("/chunked");
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbMatchChosen);
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPRead), cddbEntryRead);
    EXPECT_EQ(cddb->GetCDInfo().Title, "Exact Album");
    EXPECT_EQ(cddb->GetCDInfo().TrackTitles[2], "Long title continued");

    auto trickle = Client("/trickle");
    trickle->SetConnectTimeout(300);
    trickle->SetIdleTimeout(300);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run(*trickle, &TCddb::HTTPQuery), cddbHttpFailed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_NE(recorder.Last().text.find("\"Connection timed out (Error #10060)\""),
              std::string::npos)
        << recorder.Last().text;
}

TEST_P(CddbTest, MalformedLinesAreSurvived) {
    FakeDrivesFile drives(Drive(6));
    auto cddb = Client();
    recorder.choice = 3;  // "garbage"
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbMatchChosen);
    EXPECT_EQ(recorder.matches[0], std::string(5000, 'x'));
    EXPECT_EQ(recorder.matches[1], "rock");
    EXPECT_EQ(recorder.matches[2], "\u00e9 \u00fc");
    EXPECT_EQ(recorder.matches[5], "");  // nothing after the end
    EXPECT_EQ(Run(*cddb, &TCddb::HTTPRead), cddbEntryRead);
    EXPECT_EQ(cddb->GetCDInfo().TrackTitles[0], "");
    EXPECT_EQ(cddb->GetCDInfo().Artist, std::string(50, '\\') + "\\");

    recorder.choice = 4;  // "html": a line no entry has
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbMatchChosen);
    EXPECT_EQ(Run(*cddb, &TCddb::HTTPRead), cddbReadFailed);
}

TEST_P(CddbTest, ASecondLookUpFilesTheNewDiscOnlyOnce) {
    FakeDrivesFile drives(Drive(3));
    auto cddb = Client();
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbMatchChosen);
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPRead), cddbEntryRead);

    // As the main window does: state 12 after any event means "add the tracks".
    std::vector<std::string> filed;
    cddb->OnDataExchange = cddb->OnStatusMessage = [&](TObject*, const std::string&) {
        if (cddb->State() == cddbEntryRead) filed.push_back(cddb->GetCDInfo().Title);
    };
    drives.Rewrite(Drive(7));
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbMatchChosen);
    EXPECT_TRUE(filed.empty());
    ASSERT_EQ(Run(*cddb, &TCddb::HTTPRead), cddbEntryRead);
    EXPECT_EQ(filed, std::vector<std::string>{"Second Album"});
    EXPECT_EQ(cddb->GetCDInfo().TOC.Count, 7);
}

TEST_P(CddbTest, AReadForADiscNoLongerInTheDriveFails) {
    FakeDrivesFile drives(Drive(3));
    auto cddb = Client();
    for (const std::string& now : {Drive(2), std::string("drive /dev/sr0\n")}) {
        drives.Rewrite(Drive(3));
        ASSERT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbMatchChosen);
        drives.Rewrite(now);
        EXPECT_EQ(Run(*cddb, &TCddb::HTTPRead), cddbReadFailed);
        EXPECT_EQ(recorder.Last().text, "The disc in the drive has changed since the query");
        EXPECT_EQ(cddb->GetCDInfo().TOC.Count, 3);  // the record is left as the query had it
    }
}

TEST_P(CddbTest, WhatAHandlerRaisesEndsTheRequest) {
    FakeDrivesFile drives(Drive(3));
    auto cddb = Client();
    cddb->OnDataExchange = [](TObject*, const std::string& line) {
        if (line.starts_with("200")) throw Exception("cannot show the line");
    };
    EXPECT_EQ(Run(*cddb, &TCddb::HTTPQuery), cddbHttpFailed);
    EXPECT_EQ(recorder.Last().text, "CDDB Component Internal Error: cannot show the line");
}

INSTANTIATE_TEST_SUITE_P(DirectAndThroughAProxy, CddbTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Proxy" : "Direct"; });

// A proxy that wants credentials the client does not give.
TEST_F(CddbTest, AProxyRefusingTheClientEndsInState16) {
    FakeDrivesFile drives(Drive(3));
    TCddb cddb(nullptr);
    recorder.Attach(cddb);
    cddb.ServerAddr = "127.0.0.1";
    cddb.ServerPort = fake_->PortText();
    cddb.SetProxyAddress("127.0.0.1:" + proxy_->PortText());
    EXPECT_EQ(Run(cddb, &TCddb::HTTPSites), cddbHttpFailed);
    EXPECT_NE(recorder.Last().text.find("\"407 "), std::string::npos) << recorder.Last().text;
}

}  // namespace
}  // namespace rv
