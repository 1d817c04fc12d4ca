#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/messages/application.h"
#include "platform/messages/messages.h"
#include "search/find_file.h"
#include "search/tests/search_test_util.h"
#include "testsupport/temp_dir.h"

namespace rv {
namespace {

using V = std::vector<std::string>;

class ThreadedSearch : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<TApplication>();
        app->Initialize();
        std::vector<std::string> files;
        for (int folder = 0; folder < 4; ++folder)
            for (int file = 0; file < 25; ++file)
                files.push_back("f" + std::to_string(folder) + "/" + std::to_string(file) + ".mp3");
        test::MakeFiles(dir.Path(), files);
        find = std::make_unique<TFindFile>();
        find->Threaded = true;
        find->Criteria().Files.FileName = "*.mp3";
        find->Criteria().Files.Location = dir.Path();
        const auto gui = std::this_thread::get_id();
        auto log = [this, gui](const std::string& line) {
            if (std::this_thread::get_id() != gui) offGuiThread = true;
            lines.push_back(line);
        };
        find->OnSearchBegin = [log](TFindFile&) { log("begin"); };
        find->OnSearchAbort = [log](TFindFile&) { log("abort"); };
        find->OnSearchFinish = [log](TFindFile&) { log("finish"); };
        find->OnFolderChange = [log](TFindFile&, const std::string& folder, bool&) {
            log("folder " + folder);
        };
        find->OnFileMatch = [this, log](TFindFile&, const std::string& folder,
                                        const TSearchRec& rec) {
            log(folder + rec.Name());
            ++matches;
        };
    }
    void TearDown() override {
        find.reset();
        app.reset();
    }

    // Handles messages until `done` holds; false after ten seconds.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            app->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }

    test::TempDir dir;
    std::unique_ptr<TApplication> app;
    std::unique_ptr<TFindFile> find;
    V lines;
    int matches = 0;
    bool offGuiThread = false;
};

TEST_F(ThreadedSearch, DeliversTheDirectSearchsEventsInTheGuiThread) {
    find->Threaded = false;
    find->Execute();
    const V direct = lines;
    ASSERT_EQ(matches, 100);

    lines.clear();
    find->Threaded = true;
    find->Execute();
    EXPECT_TRUE(find->Busy());
    find->Execute();  // busy: nothing happens
    ASSERT_TRUE(PumpUntil([&] { return !find->Busy(); }));
    EXPECT_EQ(lines, direct);
    EXPECT_FALSE(offGuiThread);
    // A second threaded search runs as well.
    lines.clear();
    find->Execute();
    ASSERT_TRUE(PumpUntil([&] { return !find->Busy(); }));
    EXPECT_EQ(lines, direct);
}

TEST_F(ThreadedSearch, AbortFromTheGuiThreadStopsTheMatchesAndStillFinishes) {
    find->Execute();
    ASSERT_TRUE(PumpUntil([&] { return matches >= 3; }));
    find->Abort();
    EXPECT_EQ(lines.back(), "abort");  // at once, in the caller's thread
    const int atAbort = matches;
    ASSERT_TRUE(PumpUntil([&] { return !find->Busy(); }));
    EXPECT_EQ(matches, atAbort);
    EXPECT_EQ(lines.back(), "finish");
    EXPECT_TRUE(find->Aborted());
    EXPECT_FALSE(offGuiThread);
}

TEST_F(ThreadedSearch, AbortFromAHandler) {
    auto onMatch = find->OnFileMatch;
    find->OnFileMatch = [&](TFindFile& sender, const std::string& folder, const TSearchRec& rec) {
        onMatch(sender, folder, rec);
        if (matches == 2) sender.Abort();
    };
    find->Execute();
    ASSERT_TRUE(PumpUntil([&] { return !find->Busy(); }));
    EXPECT_EQ(matches, 2);
    ASSERT_EQ(lines.size(), 7u);  // begin, two folders, two matches, abort, finish
    EXPECT_EQ(lines[5], "abort");
    EXPECT_EQ(lines[6], "finish");
}

TEST_F(ThreadedSearch, DestroyingDuringASearchJoinsWithoutRunningOtherEvents) {
    bool posted = false;
    const HWND wnd = AllocateHWnd([&](TMessage&) { posted = true; });
    find->Execute();
    ASSERT_TRUE(PumpUntil([&] { return matches >= 3; }));
    ASSERT_TRUE(PostMessage(wnd, WM_USER, 0, 0));
    const V before = lines;
    find.reset();
    EXPECT_FALSE(posted);
    EXPECT_EQ(lines, before);  // no further match, no abort or finish event
    app->ProcessMessages();
    EXPECT_TRUE(posted);
    DeallocateHWnd(wnd);
}

TEST_F(ThreadedSearch, AHandlersErrorEndsTheSearchAndIsReported) {
    std::string reported;
    app->OnException = [&](const std::exception& e) { reported = e.what(); };
    find->OnFileMatch = [](TFindFile&, const std::string&, const TSearchRec&) {
        throw std::runtime_error("cannot import");
    };
    find->Execute();
    ASSERT_TRUE(PumpUntil([&] { return !find->Busy(); }));
    EXPECT_EQ(reported, "cannot import");
    EXPECT_EQ(lines.back(), "finish");
}

}  // namespace
}  // namespace rv
