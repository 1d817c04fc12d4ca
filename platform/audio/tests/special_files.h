#pragma once

// Names of things that are not regular files, made in a test's folder with the names of sound
// files, and a way to see that a call given one returns at once.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "testsupport/temp_dir.h"

namespace rv::test {

struct SpecialFile {
    std::string kind;
    std::string path;
};

// A FIFO, a link to a FIFO, a character device that never ends (through a link), one that is
// always empty, and a socket. The socket is closed with the object.
class SpecialFiles {
public:
    explicit SpecialFiles(const TempDir& dir) {
        fifo_ = dir / "x.mp3";
        EXPECT_EQ(mkfifo(fifo_.c_str(), 0600), 0);
        const std::string fifoLink = dir / "fifo-link.wma";
        EXPECT_EQ(symlink(fifo_.c_str(), fifoLink.c_str()), 0);
        const std::string zero = dir / "zero.mp3";
        EXPECT_EQ(symlink("/dev/zero", zero.c_str()), 0);
        const std::string socketPath = dir / "socket.mp3";
        socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(listen(socket_, 1), 0);
        files_ = {{"FIFO", fifo_},
                  {"link to a FIFO", fifoLink},
                  {"link to /dev/zero", zero},
                  {"/dev/null", "/dev/null"},
                  {"socket", socketPath}};
    }
    ~SpecialFiles() { close(socket_); }
    SpecialFiles(const SpecialFiles&) = delete;
    SpecialFiles& operator=(const SpecialFiles&) = delete;

    const std::vector<SpecialFile>& All() const { return files_; }

    // Runs `call` in a thread of its own; false when it has not returned within `limit`, or
    // raised an exception. A call stuck on the FIFO is then let go by writers coming and going,
    // so the test can end.
    bool ReturnsWithin(const std::function<void()>& call, std::chrono::milliseconds limit) const {
        struct State {
            std::mutex mutex;
            std::condition_variable changed;
            bool done = false;
            bool raised = false;
        };
        auto state = std::make_shared<State>();
        std::thread thread([state, call] {
            bool raised = false;
            try {
                call();
            } catch (...) {
                raised = true;
            }
            std::lock_guard lock(state->mutex);
            state->raised = raised;
            state->done = true;
            state->changed.notify_all();
        });
        std::unique_lock lock(state->mutex);
        const bool returned = state->changed.wait_for(lock, limit, [&] { return state->done; });
        for (int tries = 0; !state->done && tries < 500; ++tries) {
            lock.unlock();
            const int writer = open(fifo_.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) close(writer);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            lock.lock();
        }
        if (!state->done) {
            thread.detach();  // stuck for good: the test has failed
            return false;
        }
        const bool raised = state->raised;
        lock.unlock();
        thread.join();
        return returned && !raised;
    }

private:
    std::string fifo_;
    int socket_ = -1;
    std::vector<SpecialFile> files_;
};

}  // namespace rv::test
