#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cd/cddb.h"
#include "net/tests/test_servers.h"
#include "platform/messages/tests/loop_fixture.h"
#include "platform/text/format.h"
#include "testsupport/test_files.h"

namespace rv::test {

// cd/tests/cddb_fake.py, a CDDB server's HTTP interface; the submissions it answers are kept in
// Folder().
class CddbFake : public TestServer {
public:
    CddbFake() {
        Start("python3", {"/usr/bin/python3", SourcePath("cd/tests/cddb_fake.py"), dir_.Path()}, 0);
    }
    const TempDir& Folder() const { return dir_; }
};

// A drive holding a disc of `tracks` audio tracks; the fake server answers by their number.
// Three tracks make the disc 0f02ce03: starts at 2, 250 and 510 s (digit sums 2 + 7 + 6 = 15),
// 718 s from the first track to the lead-out at 12:00.
inline std::string Drive(int tracks) {
    static constexpr int kStarts[] = {2, 250, 510, 780, 1000, 1300, 1600};
    std::string text = "drive /dev/sr0\nmount /media/cdrom0\n";
    for (int i = 0; i < tracks; ++i) {
        text += Format("track %d %02d:%02d:00 audio\n", i + 1, kStarts[i] / 60, kStarts[i] % 60);
    }
    const int leadOut = kStarts[tracks - 1] + 210;
    return text + Format("leadout %02d:%02d:00\n", leadOut / 60, leadOut % 60);
}

// What a client told, with its State at each telling.
struct Told {
    std::string event;  // "status", "data" or "match"
    std::int32_t state;
    std::string text;

    bool operator==(const Told&) const = default;
};

struct Recorder {
    void Attach(TCddb& cddb) {
        cddb.OnStatusMessage = [this, &cddb](TObject*, const std::string& s) {
            told.push_back({"status", cddb.State(), s});
        };
        cddb.OnDataExchange = [this, &cddb](TObject*, const std::string& s) {
            told.push_back({"data", cddb.State(), s});
        };
        cddb.OnMatch = [this, &cddb](TObject*, const TMatchArray& m, int& rightOne) {
            told.push_back({"match", cddb.State(), m[0]});
            matches = m;
            rightOne = choice;
        };
    }
    // The texts of one kind of event, in order.
    std::vector<std::string> Texts(const std::string& event) const {
        std::vector<std::string> texts;
        for (const Told& t : told) {
            if (t.event == event) texts.push_back(t.text);
        }
        return texts;
    }
    const Told& Last() const { return told.back(); }
    // The URL of the last request.
    std::string LastUrl() const {
        for (auto t = told.rbegin(); t != told.rend(); ++t) {
            if (t->event == "data" && t->text.starts_with("http://")) return t->text;
        }
        return {};
    }

    std::vector<Told> told;
    TMatchArray matches{};
    int choice = 0;
};

// Clients aimed at the fake server, directly or, when the test's parameter says so, through
// tinyproxy.
class CddbTest : public LoopTest, public ::testing::WithParamInterface<bool> {
protected:
    static void SetUpTestSuite() {
        fake_ = new CddbFake;
        proxy_ = new Tinyproxy("cd", "secret");
    }
    static void TearDownTestSuite() {
        delete fake_;
        delete proxy_;
    }
    void SetUp() override {
        LoopTest::SetUp();
        RV_REQUIRE_SERVER(*fake_);
        RV_REQUIRE_SERVER(*proxy_);
        app->OnException = [](const std::exception& e) { ADD_FAILURE() << e.what(); };
    }

    bool ThroughProxy() const { return GetParam(); }

    std::unique_ptr<TCddb> Client(const std::string& path = "/~cddb/cddb.cgi") {
        auto cddb = std::make_unique<TCddb>(nullptr);
        cddb->ServerAddr = "127.0.0.1";
        cddb->ServerPort = fake_->PortText();
        cddb->ServerAdditionalAddr = path;
        cddb->EmailUser = "a@b";
        cddb->ClientName = "TestProgram";
        cddb->ClientVersion = "0.001";
        cddb->SetIdleTimeout(5000);
        if (ThroughProxy()) {
            cddb->SetProxyAddress("127.0.0.1");
            cddb->SetProxyPort(proxy_->PortText());
            cddb->SetProxyUsername("cd");
            cddb->SetProxyPassword("secret");
        }
        recorder.Attach(*cddb);
        return cddb;
    }

    // Runs the loop until the client's request has ended, and returns the State it ended in.
    std::int32_t Finish(TCddb& cddb) {
        const auto waiting = [&] {
            const std::int32_t s = cddb.State();
            return s == cddbQuerySent || s == cddbReadSent || s == cddbSitesSent ||
                   s == cddbSubmissionSent;
        };
        EXPECT_TRUE(RunUntil([&] { return !waiting(); }, 15000));
        return cddb.State();
    }

    // Starts a request and runs the loop until its answer has been handled.
    std::int32_t Run(TCddb& cddb, void (TCddb::*start)()) {
        (cddb.*start)();
        return Finish(cddb);
    }

    std::string Url(const std::string& path, const std::string& command) const {
        return "http://127.0.0.1:" + fake_->PortText() + path + "?cmd=" + command +
               "&hello=a+b+TestProgram+0%2E001&proto=5\r\n";
    }

    Recorder recorder;
    static inline CddbFake* fake_ = nullptr;
    static inline Tinyproxy* proxy_ = nullptr;
};

}  // namespace rv::test
