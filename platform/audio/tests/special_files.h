#pragma once

// Things that are not regular files, named like sound files in a test's folder, and a way to see
// that a call given one returns at once.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "testsupport/temp_dir.h"

namespace rv::test {

// A FIFO, a link to one, a link to a device that never ends, a device that is always empty and a
// listening socket (closed with the object); each with what it is.
class SpecialFiles {
public:
    explicit SpecialFiles(const TempDir& dir) : fifo_(dir / "x.mp3") {
        EXPECT_EQ(mkfifo(fifo_.c_str(), 0600), 0);
        EXPECT_EQ(symlink(fifo_.c_str(), (dir / "fifo.wma").c_str()), 0);
        EXPECT_EQ(symlink("/dev/zero", (dir / "zero.mp3").c_str()), 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, (dir / "socket.mp3").c_str(), sizeof address.sun_path - 1);
        socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        EXPECT_EQ(bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(listen(socket_, 1), 0);
        all_ = {{"FIFO", fifo_},
                {"link to a FIFO", dir / "fifo.wma"},
                {"link to /dev/zero", dir / "zero.mp3"},
                {"/dev/null", "/dev/null"},
                {"socket", address.sun_path}};
    }
    ~SpecialFiles() { close(socket_); }

    // What each is, and its name.
    const std::vector<std::pair<std::string, std::string>>& All() const { return all_; }

    // Runs `call` in a thread of its own; false when it raised, or had not returned within
    // `limit`. A call stuck on the FIFO is let go by writers coming and going, so the test ends.
    bool ReturnsWithin(const std::function<void()>& call, std::chrono::milliseconds limit) const {
        auto done = std::async(std::launch::async, call);
        const bool returned = done.wait_for(limit) == std::future_status::ready;
        while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
            const int writer = open(fifo_.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) close(writer);
        }
        try {
            done.get();
        } catch (...) {
            return false;
        }
        return returned;
    }

private:
    std::string fifo_;
    int socket_ = -1;
    std::vector<std::pair<std::string, std::string>> all_;
};

}  // namespace rv::test
