// Arbitrary bytes as an HTTP server's reply, received by the HTTP client itself over a real
// connection: a server on 127.0.0.1, in this thread, answers every connection the client makes
// with the bytes. The client reaches it as its proxy, so that no Location leads to a name look-up
// or out of this machine. Each reply is sent twice: whole, and in pieces of 1 to 17 bytes (the
// first byte picks the size; its top bit a body cap) with the message loop run between them.
// Nothing may crash, each request ends with exactly one OnRequestDone, the body kept is what the
// client counted, and both deliveries must end alike.

#include <chrono>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz/loopback/loopback.h"
#include "net/http_cli.h"
#include "platform/sockets/winsock.h"

namespace {

using rv::fuzz::Check;
using rv::fuzz::Pump;

// A listening socket on 127.0.0.1 and the connections it takes, driven from this thread.
class LoopbackServer {
public:
    LoopbackServer() {
        const rv::fuzz::LoopbackListener listener = rv::fuzz::ListenOnLoopback();
        listener_ = listener.socket;
        port_ = listener.port;
    }

    std::uint16_t Port() const { return port_; }

    // Serves one waiting connection, if there is one: reads the request (so that closing does
    // not reset the connection), sends the reply in pieces and closes.
    void ServeWaiting(std::string_view reply, std::size_t piece, const int& ended) {
        const rv::TSocket connection = rv::accept(listener_, nullptr);
        if (connection == rv::INVALID_SOCKET) return;
        std::string request;
        while (request.find("\r\n\r\n") == std::string::npos && ended == 0) {
            char bytes[4096];
            const int n = rv::recv(connection, bytes, sizeof bytes, 0);
            if (n > 0) request.append(bytes, static_cast<std::size_t>(n));
            if (n == 0 || (n < 0 && rv::WSAGetLastError() != rv::WSAEWOULDBLOCK)) break;
            Pump();
        }
        while (!reply.empty()) {
            const std::string_view part = reply.substr(0, piece);
            const int n = rv::send(connection, part.data(), static_cast<int>(part.size()), 0);
            if (n < 0 && rv::WSAGetLastError() != rv::WSAEWOULDBLOCK) break;  // the client left
            if (n > 0) reply.remove_prefix(static_cast<std::size_t>(n));
            Pump();
        }
        rv::closesocket(connection);
    }

private:
    rv::TSocket listener_ = rv::INVALID_SOCKET;
    std::uint16_t port_ = 0;
};

// How a request ended.
struct Ending {
    int done = 0;  // OnRequestDone calls
    std::uint16_t error = 0;
    int status = 0;
    std::string reason, body;

    bool operator==(const Ending&) const = default;
};

Ending Fetch(LoopbackServer& server, std::string_view reply, std::size_t piece,
             std::int64_t maxDocumentSize) {
    rv::THttpCli http(nullptr);
    http.Proxy = "127.0.0.1:" + std::to_string(server.Port());
    http.URL = "http://fuzz.test/a/b/c?q=1";
    http.MaxDocumentSize = maxDocumentSize;
    std::ostringstream body;
    http.ReceiveStream = &body;
    Ending ending;
    http.OnRequestDone = [&](rv::TObject*, rv::THttpRequest, std::uint16_t error) {
        ++ending.done;
        ending.error = error;
    };
    http.GetAsync();
    // Relocations come back here as new connections; a request that never ends is a fault.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (ending.done == 0) {
        server.ServeWaiting(reply, piece, ending.done);
        Pump();
        Check(std::chrono::steady_clock::now() < deadline);
    }
    for (int i = 0; i < 3; ++i) Pump();  // where a second end would show
    Check(ending.done == 1);
    Check(http.State() == rv::httpReady);
    ending.status = http.StatusCode();
    ending.reason = http.ReasonPhrase();
    ending.body = body.str();
    Check(http.ReceivedCount() == static_cast<std::int64_t>(ending.body.size()));
    Check(maxDocumentSize == 0 || http.ReceivedCount() <= maxDocumentSize);
    return ending;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static LoopbackServer* server = new LoopbackServer;
    const std::string_view reply(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t piece = 1 + data[0] % 17;
    const std::int64_t cap = (data[0] & 0x80) != 0 ? 100 : 0;
    Check(Fetch(*server, reply, reply.size() + 1, cap) == Fetch(*server, reply, piece, cap));
    return 0;
}
