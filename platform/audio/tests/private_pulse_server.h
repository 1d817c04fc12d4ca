#pragma once

#include <string>

#include "testsupport/temp_dir.h"

// A PulseAudio server of the test's own: a private runtime folder, a null sink as its only
// output, and a socket in that folder that takes clients without a cookie. It never touches the
// user's own server and is stopped with the object.
namespace rv::test {

class PrivatePulseServer {
public:
    PrivatePulseServer();
    ~PrivatePulseServer();
    PrivatePulseServer(const PrivatePulseServer&) = delete;
    PrivatePulseServer& operator=(const PrivatePulseServer&) = delete;

    // False when the server could not start; Why says what happened.
    bool Running() const { return pid_ > 0; }
    const std::string& Why() const { return why_; }
    // The address for PULSE_SERVER.
    std::string Address() const { return "unix:" + folder_ / "native"; }

private:
    TempDir folder_;
    int pid_ = -1;
    std::string why_;
};

}  // namespace rv::test
