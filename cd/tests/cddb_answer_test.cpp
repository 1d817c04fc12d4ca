#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cd/cddb_answer.h"
#include "cd/cddb_url.h"

namespace rv {
namespace {

// A reader in the given state, its status texts collected.
struct Reading {
    explicit Reading(std::int32_t state) {
        reader.State = state;
        reader.OnStatus = [this](const std::string& s) {
            statuses.push_back(s);
            return true;
        };
    }
    std::string Status(std::string_view line) {
        statuses.clear();
        reader.Line(line);
        return statuses.empty() ? "(none)" : statuses.back();
    }

    TCDInfo info;
    CddbAnswerReader reader{info};
    std::vector<std::string> statuses;
};

TEST(CddbAnswer, CodesWithoutWordsOfTheirOwnGetTheGeneralTexts) {
    Reading query(cddbQuerySent);
    EXPECT_EQ(query.Status("500 Unknown command"),
              "Command syntax error, command unknown, command unimplemented");
    EXPECT_EQ(query.Status("408 x"), "CGI environment error");
    EXPECT_EQ(query.Status("402 x"), "Server error");
    EXPECT_EQ(query.Status("210x"), "OK, receiving matches");  // the first three decide
    EXPECT_EQ(query.Status("320 more"), "Command OK so far, more client-to-server input follows");
    EXPECT_EQ(query.Status("123 odd"), "Informative message");
    EXPECT_EQ(query.Status("9"), "Unexpected answer line");
    EXPECT_EQ(query.reader.State, cddbQuerySent);
    EXPECT_EQ(query.Status("230 bye"), "Command OK, connection will close");
    EXPECT_EQ(query.reader.State, cddbIdle);

    Reading read(cddbReadSent);
    EXPECT_EQ(read.Status("402 x"), "(none)");
    EXPECT_EQ(read.Status("530 x"), "Server error, server timeout");
    EXPECT_EQ(read.reader.State, cddbIdle);
    read.reader.State = cddbReadSent;
    EXPECT_EQ(read.Status("<html>"), "Unexpected answer line");
    EXPECT_EQ(read.reader.State, cddbReadFailed);
}

// The line protocol's answers and a submission's, each read in the State that awaits it.
TEST(CddbAnswer, AnswersThatSetTheStateAndTheHandshake) {
    struct Case {
        std::int32_t state;
        const char* line;
        std::int32_t after;
        const char* status;
        bool handshake;  // the flag after the line, set before it
    };
    const Case cases[] = {
        {cddbConnected, "200 cddbp.example ready", cddbBannerReadWrite, "OK, read/write allowed",
         false},
        {cddbConnected, "201 cddbp.example ready", cddbBannerReadOnly, "OK, read only", false},
        {cddbConnected, "433 full", cddbIdle,
         "No connections allowed: X users allowed, Y currently active", false},
        {cddbConnected, "500 what", cddbConnected,
         "Command syntax error, command unknown, command unimplemented", true},
        {cddbHelloSent, "200 hello", cddbHandshakeDone, "Handshake successful", true},
        {cddbHelloSent, "402 again", cddbHandshakeDone, "Already shook hands", true},
        {cddbHelloSent, "431 no", cddbIdle, "Handshake not successful, closing connection", false},
        {cddbProtocolAsked, "201 OK, CDDB protocol level now: 5", cddbProtocolLevel5,
         "OK, protocol level now: 5", true},
        {cddbProtocolAsked, "502 level 5", cddbProtocolLevel5, "Protocol level already 5", true},
        {cddbProtocolAsked, "501 no", cddbConnected, "Illegal protocol level", true},
        {cddbQuerySent, "409 No handshake", cddbNoMatch, "No handshake", false},
        {cddbReadSent, "409 No handshake", cddbReadFailed, "No handshake", false},
        {cddbQuerySent, "530 timeout", cddbIdle, "Server error, server timeout", false},
        {cddbClosing, "221 bye", cddbIdle, "Connection closed", true},
        {cddbSubmissionSent, "200 OK, submission has been sent.", cddbSubmissionAccepted,
         "OK, submission has been sent.", true},
        {cddbSubmissionSent, "500 Missing", cddbSubmissionRefused,
         "Missing required header information.", true},
        {cddbSubmissionSent, "501 Invalid", cddbSubmissionRefused, "Invalid header information.",
         true},
        {cddbSubmissionSent, "<html>", cddbSubmissionSent, "Unexpected answer line", true},
    };
    for (const Case& c : cases) {
        Reading r(c.state);
        r.reader.Handshake = true;
        EXPECT_EQ(r.Status(c.line), c.status) << c.line;
        EXPECT_EQ(r.reader.State, c.after) << c.line;
        EXPECT_EQ(r.reader.Handshake, c.handshake) << c.line;
    }
}

TEST(CddbAnswer, ListsKeepWhatFitsAndAnExactMatchTakesTheDiscsIdInUpperCase) {
    Reading query(cddbQuerySent);
    query.reader.Line("211 inexact");
    for (int i = 0; i < 101; ++i) query.reader.Line(" rock " + std::to_string(i) + " A / B ");
    EXPECT_EQ(query.reader.Matches().front(), "rock 0 A / B");
    EXPECT_EQ(query.reader.Matches().back(), "rock 99 A / B");
    // The id of a chosen line is its eight characters after the first blank, whole characters.
    Reading odd(cddbQuerySent);
    for (const char* line :
         {"211 inexact", "# \u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9 A", "."}) {
        odd.reader.Line(line);
    }
    EXPECT_EQ(odd.info.DiscID, "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9");

    Reading read(cddbReadSent);
    read.reader.Line("210 rock 01020304");
    for (int i = 0; i < 513; ++i) read.reader.Line("TTITLE0=" + std::to_string(i));
    EXPECT_EQ(read.reader.Entry().back(), "TTITLE0=511");

    // The disc of one track at 00:02:00 with its lead-out at 03:00:00 is 0200b201.
    Reading exact(cddbQuerySent);
    exact.reader.QueryTOC.Count = 1;
    exact.reader.QueryTOC.Tracks[0] = {0, 2, 0, true};
    exact.reader.QueryTOC.LeadOut = {3, 0, 0, false};
    exact.reader.OnChoose = [&](const TMatchArray& matches, int&) {
        EXPECT_EQ(matches[0], "newage 0200b201 Some / Thing");
        return true;
    };
    exact.reader.Line("200\u00a5newage 0200b201 Some / Thing");  // the code, then any character
    EXPECT_EQ(exact.reader.State, cddbMatchChosen);
    EXPECT_EQ(exact.info.Category, "newage");
    EXPECT_EQ(exact.info.DiscID, "0200B201");
}

TEST(CddbAnswer, AChooserThatMovesOnLeavesTheRestAlone) {
    Reading query(cddbQuerySent);
    query.reader.OnChoose = [&](const TMatchArray&, int&) {
        query.reader.State = cddbReadSent;  // as a read started from the choice would
        return false;
    };
    for (const char* line : {"211 inexact", "rock 01020304 A / B", "."}) {
        query.reader.Line(line);
    }
    EXPECT_EQ(query.reader.State, cddbReadSent);
    EXPECT_EQ(query.info.Category, "");
    EXPECT_EQ(query.reader.Entry()[0], "");
}

TEST(CddbUrl, TextIsSentInTheProtocolsCharacterSet) {
    EXPECT_EQ(CddbUrlEncode("Az09 \u00e9&/~.\u0416"), "Az09+%E9%26%2F%7E%2E%3F");
    EXPECT_EQ(CddbHelloUser("first.last@mail@example.org"), "first.last@mail example.org");
    EXPECT_EQ(CddbHelloUser("nobody"), "");
    EXPECT_EQ(CddbRequestUrl({"cddb.example", "80", "/~cddb/cddb.cgi"},
                             "cddb query 0200b201 1 150 180", "a@b", "TestProgram", "0.001"),
              "http://cddb.example:80/~cddb/cddb.cgi?cmd=cddb+query+0200b201+1+150+180"
              "&hello=a+b+TestProgram+0%2E001&proto=5");
}

}  // namespace
}  // namespace rv
