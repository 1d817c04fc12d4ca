#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "net/wsocket.h"
#include "platform/messages/tests/loop_fixture.h"
#include "platform/sockets/tests/socket_peer.h"

namespace rv::test {

// The events of a socket as lines of text, in the order they came.
struct EventLog {
    void Attach(TCustomWSocket& socket) {
        socket.OnSessionConnected = [this](TObject*, std::uint16_t e) { Add("connected", e); };
        socket.OnSessionClosed = [this](TObject*, std::uint16_t e) { Add("closed", e); };
        socket.OnDataSent = [this](TObject*, std::uint16_t e) { Add("sent", e); };
        socket.OnDnsLookupDone = [this](TObject*, std::uint16_t e) { Add("dns", e); };
        socket.OnChangeState = [this](TObject*, TSocketState, TSocketState to) {
            Add("state", to);
        };
    }
    void Add(const std::string& what, int value) {
        lines.push_back(what + " " + std::to_string(value));
    }
    int Count(const std::string& line) const {
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }
    bool Has(const std::string& line) const { return Count(line) > 0; }

    std::vector<std::string> lines;
};

class WSocketTest : public LoopTest {
protected:
    // Lets the loop run a while, for events that must not come.
    void Settle(int ms = 150) {
        RunUntil([] { return false; }, ms);
    }

    static void Aim(TCustomWSocket& socket, std::uint16_t port) {
        socket.SetAddr("127.0.0.1");
        socket.SetPort(std::to_string(port));
    }
};

// The message of the exception of type E that `action` raises; empty when none.
template <typename E = ESocketException, typename F>
std::string RaisedBy(F action) {
    try {
        action();
    } catch (const E& e) {
        return e.what();
    }
    return {};
}

}  // namespace rv::test
