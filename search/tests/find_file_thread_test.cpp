#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/messages/application.h"
#include "platform/messages/messages.h"
#include "platform/text/format.h"
#include "search/find_file.h"
#include "search/tests/search_test_util.h"
#include "testsupport/temp_dir.h"

namespace rv {
namespace {

using test::Lines;

class ThreadedSearch : public ::testing::Test {
protected:
    void SetUp() override {
        app.Initialize();
        Lines files;
        for (int i = 0; i < 100; ++i) files.push_back(Format("f%d/%d.mp3", i / 25, i));
        test::MakeFiles(dir.Path(), files);
        find->Threaded = true;
        find->SetCriteria(test::Criteria("*.mp3", dir.Path()));
    }

    // Handles messages until `done` holds; false after ten seconds.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            app.ProcessMessages();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }

    TApplication app;
    test::TempDir dir;
    std::unique_ptr<TFindFile> find = std::make_unique<TFindFile>();
    test::EventLog log{*find, dir.Path()};
};

TEST_F(ThreadedSearch, DeliversTheDirectSearchsEventsInTheGuiThread) {
    find->Threaded = false;
    find->Execute();
    const Lines direct = log.lines;
    ASSERT_EQ(log.matches.size(), 100u);
    for (int run = 0; run < 2; ++run) {
        log.lines.clear();
        find->Threaded = true;
        find->Execute();
        EXPECT_TRUE(find->Busy());
        find->Execute();  // busy: nothing happens
        ASSERT_TRUE(PumpUntil([&] { return !find->Busy(); }));
        EXPECT_EQ(log.lines, direct);
    }
    EXPECT_FALSE(log.offGuiThread);
}

// A folder's matches reach the GUI thread after the worker has gone on to the next folder, yet
// a handler reads each file's facts as in the direct search: those the tests read already, and
// those read only when asked, through the folder's own handle.
TEST_F(ThreadedSearch, AHandlerReadsTheFactsOfItsMatchesAsTheDirectSearchDoes) {
    test::TempDir music;
    Lines files;
    for (int f = 0; f < 6; ++f)
        for (int i = 0; i <= f; ++i)
            files.push_back("a" + std::to_string(f) + "/" + (f % 2 ? "deeper/" : "") +
                            std::string(std::size_t(i), 'x') + std::to_string(i) + ".mp3");
    test::MakeFiles(music.Path(), files);
    for (bool sizeTested : {false, true}) {
        SCOPED_TRACE(sizeTested ? "sizes read by the tests" : "sizes read when asked");
        find->SetCriteria(test::Criteria("*.mp3", music.Path()));
        if (sizeTested) find->Criteria().Size.Min = 1;
        Lines facts[2];
        for (bool threaded : {false, true}) {
            Lines& out = facts[threaded];
            find->OnFileMatch = [&](TFindFile&, const std::string& folder, const TSearchRec& rec) {
                out.push_back(folder.substr(music.Path().size()) + rec.Name() + " " +
                              std::to_string(rec.Size()) + " " + std::to_string(int(rec.Kind())) +
                              (rec.Reachable() ? "" : " lost"));
            };
            find->Threaded = threaded;
            find->Execute();
            ASSERT_TRUE(PumpUntil([&] { return !find->Busy(); }));
        }
        EXPECT_EQ(facts[1], facts[0]);
        ASSERT_EQ(facts[0].size(), files.size());
        EXPECT_EQ(facts[0].front(), "/a0/0.mp3 " + std::to_string(std::string("a0/0.mp3").size()) +
                                        " " + std::to_string(int(FileKind::Regular)));
    }
}

// The worker walks on before a folder's answer comes: a folder left out must still leave out
// exactly what the direct search leaves out, its own matches and every folder below it, deep or
// not, and nothing after it; a second target inside it is searched all the same.
TEST_F(ThreadedSearch, AFolderLeftOutLeavesOutWhatIsBelowItAsInTheDirectSearch) {
    test::TempDir music;
    test::MakeFiles(music.Path(), {"1.mp3", "a/2.mp3", "a/b/3.mp3", "a/b/c/4.mp3", "a/b/c/d/5.mp3",
                                   "a/e/6.mp3", "a/e/f/7.mp3", "g/8.mp3", "g/h/9.mp3", "i/10.mp3"});
    for (const char* leftOut : {"a/", "a/b/", "a/b/c/d/", "g/h/"}) {
        SCOPED_TRACE(leftOut);
        TFindFile search;
        test::EventLog events(search, music.Path(), leftOut);
        search.SetCriteria(test::Criteria("*.mp3", music.Path() + "/;" + music.Path() + "/a/b/"));
        search.Execute();
        const Lines direct = events.lines;
        // The second target's own walk, after the first left out the folder it lies in.
        if (std::string(leftOut) == "a/") {
            EXPECT_EQ(std::count(direct.begin(), direct.end(), "match a/b/3.mp3"), 1);
        }
        events.lines.clear();
        search.Threaded = true;
        search.Execute();
        ASSERT_TRUE(PumpUntil([&] { return !search.Busy(); }));
        EXPECT_EQ(events.lines, direct);
        EXPECT_FALSE(events.offGuiThread);
    }
}

TEST_F(ThreadedSearch, AbortFromTheGuiThreadStopsTheMatchesAndStillFinishes) {
    // From a handler, so that the search cannot have ended before (the worker waits meanwhile);
    // an abort while the worker runs is the case of the next test.
    const auto record = find->OnFileMatch;
    find->OnFileMatch = [&](TFindFile& sender, const std::string& folder, const TSearchRec& rec) {
        record(sender, folder, rec);
        if (log.matches.size() != 3) return;
        sender.Abort();
        EXPECT_EQ(log.lines.back(), "abort");  // at once, in the caller's thread
    };
    find->Execute();
    ASSERT_TRUE(PumpUntil([&] { return !find->Busy(); }));
    EXPECT_EQ(log.matches.size(), 3u);
    EXPECT_EQ(log.lines.back(), "finish");
    EXPECT_FALSE(log.offGuiThread);
}

TEST_F(ThreadedSearch, AbortOrDestroyingStopsTheSearchInsideAFile) {
    // A phrase with a zero byte reads the holes of a sparse file too: 16 GiB of them.
    test::TempDir big;
    constexpr std::uint64_t kSize = 16ull << 30;
    test::MakeSparseFile(big / "huge.mp3", kSize, {});
    find->SetCriteria(test::Criteria("*.mp3", big.Path()));
    find->Criteria().Content.SetPhrase(std::string("x\0", 2));
    bool posted = false;
    const HWND wnd = AllocateHWnd([&](TMessage&) { posted = true; });
    for (bool destroy : {false, true}) {
        const auto before = test::BytesRead();
        find->Execute();
        // Well inside the file, and soon even for a slow build on a busy machine.
        ASSERT_TRUE(PumpUntil([&] { return test::BytesRead() - before > (8u << 20); }));
        if (destroy) {
            // Joins the worker without running anything else of the queue or firing events.
            ASSERT_TRUE(PostMessage(wnd, WM_USER, 0, 0));
            const Lines lines = log.lines;
            find.reset();
            EXPECT_FALSE(posted);
            EXPECT_EQ(log.lines, lines);
        } else {
            find->Abort();
            ASSERT_TRUE(PumpUntil([&] { return !find->Busy(); }));
            EXPECT_EQ(log.lines.back(), "finish");
        }
        EXPECT_LT(test::BytesRead() - before, kSize / 2);
    }
    app.ProcessMessages();
    EXPECT_TRUE(posted);
    DeallocateHWnd(wnd);
}

TEST_F(ThreadedSearch, TheFinishEventCanStartTheNextSearch) {
    int finishes = 0;
    const auto record = find->OnSearchFinish;
    find->OnSearchFinish = [&](TFindFile& sender) {
        record(sender);
        if (++finishes == 1) sender.Execute();
    };
    find->Execute();
    ASSERT_TRUE(PumpUntil([&] { return finishes == 2; }));
    EXPECT_EQ(log.matches.size(), 200u);
    EXPECT_FALSE(find->Busy());
    EXPECT_FALSE(log.offGuiThread);
}

// The loop as the program runs it, asleep until something comes: each call must wake it, also
// while a handler runs a loop of its own, and a worker calling on end must leave it turns for
// other messages.
TEST_F(ThreadedSearch, TheSleepingLoopServesEveryCallAndKeepsItsTurns) {
    bool stuck = false;
    const HWND watchdog = AllocateHWnd([&](TMessage& msg) {
        if (msg.Msg != WM_TIMER) return;
        stuck = true;
        app.Terminate();
    });
    SetTimer(watchdog, 1, 20000);
    std::size_t matchesAtMessage = 0;
    const HWND other = AllocateHWnd([&](TMessage&) { matchesAtMessage = log.matches.size(); });
    // The fixture's search, run to its end inside a handler of a longer one.
    TFindFile inner;
    inner.Threaded = true;
    inner.SetCriteria(find->Criteria());
    std::size_t innerMatches = 0;
    inner.OnFileMatch = [&](TFindFile&, const std::string&, const TSearchRec&) { ++innerMatches; };
    inner.OnSearchFinish = [&](TFindFile&) { app.Terminate(); };

    test::TempDir longer;
    Lines files;
    for (int i = 0; i < 1000; ++i) files.push_back(std::to_string(i) + ".mp3");
    test::MakeFiles(longer.Path(), files);
    find->SetCriteria(test::Criteria("*.mp3", longer.Path()));
    const auto record = find->OnFileMatch;
    find->OnFileMatch = [&](TFindFile& sender, const std::string& folder, const TSearchRec& rec) {
        record(sender, folder, rec);
        if (log.matches.size() == 2) PostMessage(other, WM_USER, 0, 0);
        if (log.matches.size() == 500) {
            inner.Execute();
            app.Run();
        }
        // Ten milliseconds of work in all, while the worker calls again at once.
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(10);
        while (std::chrono::steady_clock::now() < until) continue;
    };
    const auto finish = find->OnSearchFinish;
    find->OnSearchFinish = [&](TFindFile& sender) {
        finish(sender);
        app.Terminate();
    };
    find->Execute();
    app.Run();
    EXPECT_FALSE(stuck);
    EXPECT_EQ(log.matches.size(), 1000u);
    EXPECT_EQ(innerMatches, 100u);
    EXPECT_GT(matchesAtMessage, 0u);
    EXPECT_LT(matchesAtMessage, 1000u);
    DeallocateHWnd(other);
    DeallocateHWnd(watchdog);
}

TEST_F(ThreadedSearch, AHandlersErrorEndsTheSearchAndIsReported) {
    std::string reported;
    app.OnException = [&](const std::exception& e) { reported = e.what(); };
    find->OnFileMatch = [](TFindFile&, const std::string&, const TSearchRec&) {
        throw std::runtime_error("cannot import");
    };
    find->Execute();
    ASSERT_TRUE(PumpUntil([&] { return !find->Busy(); }));
    EXPECT_EQ(reported, "cannot import");
    EXPECT_EQ(log.lines.back(), "finish");
}

// The program's loop, asleep until something comes and with no timer to turn it: a threaded
// search over a music folder finishes every time, with the direct search's events, whether the
// loop runs until the finish event ends it or turn by turn while the search is busy. The worker
// calls for each folder and match and last for its end, the pattern in which a wake-up lost
// between the threads, or a turn that waits after handling the last call, leaves the loop asleep
// for good.
TEST_F(ThreadedSearch, EndsEveryTimeOnAQuietLoop) {
    struct Tree {
        int folders, filesEach, runs;
    };
    for (const Tree tree : {Tree{500, 3, 12}, Tree{2000, 1, 4}}) {
        SCOPED_TRACE(::testing::Message() << tree.folders << " folders");
        test::TempDir music;
        Lines files;
        for (int f = 0; f < tree.folders; ++f)
            for (int i = 0; i < tree.filesEach; ++i) files.push_back(Format("a%d/%d.mp3", f, i));
        test::MakeFiles(music.Path(), files);
        TFindFile search;
        test::EventLog events(search, music.Path());
        search.SetCriteria(test::Criteria(test::kAudioMasks, music.Path()));
        search.Threaded = false;
        search.Execute();
        const Lines direct = events.lines;
        ASSERT_EQ(events.matches.size(), files.size());

        search.Threaded = true;
        const auto finish = search.OnSearchFinish;
        bool byTurns = false;
        search.OnSearchFinish = [&](TFindFile& sender) {
            finish(sender);
            if (!byTurns) app.Terminate();
        };
        for (int run = 0; run < tree.runs; ++run) {
            byTurns = run % 2 == 1;
            events.lines.clear();
            search.Execute();
            // Only a stalled run lets the watchdog thread act; it ends the loop from outside.
            std::atomic<bool> ended{false}, stalled{false};
            std::thread watchdog([&] {
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
                while (!ended && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                if (ended) return;
                stalled = true;
                app.Terminate();
            });
            if (byTurns) {
                while (search.Busy() && !stalled) app.HandleMessage();
            } else {
                app.Run();
            }
            ended = true;
            watchdog.join();
            ASSERT_FALSE(stalled) << "run " << run << " stalled with " << events.lines.size()
                                  << " events";
            if (search.Busy()) {
                ASSERT_TRUE(PumpUntil([&] { return !search.Busy(); }));
            }
            EXPECT_EQ(events.lines, direct);
        }
        EXPECT_FALSE(events.offGuiThread);
    }
}

}  // namespace
}  // namespace rv
