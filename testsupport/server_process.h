#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace rv::test {

// A server program started for a test and stopped with it: it runs in a process group of its
// own, which is ended (SIGTERM, then SIGKILL) when the object dies, so helper processes it forked
// go too; it is killed as well when the test program dies first. What it writes to standard
// output can be read line by line (a port it chose, say).
class ServerProcess {
public:
    // Started at once; Running() tells whether that worked.
    explicit ServerProcess(const std::vector<std::string>& argv);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    bool Running() const { return pid_ > 0; }
    // The next line of standard output without its end; empty after `timeoutMs` or at its end.
    std::string ReadLine(int timeoutMs = 10000);
    // Waits until something accepts connections on 127.0.0.1:port; false after `timeoutMs`.
    static bool WaitForPort(int port, int timeoutMs = 10000);

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string pending_;
};

}  // namespace rv::test
