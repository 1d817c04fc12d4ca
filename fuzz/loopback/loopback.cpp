#include "fuzz/loopback/loopback.h"

#include <cstdlib>

#include "platform/messages/application.h"

namespace rv::fuzz {

void Check(bool condition) {
    if (!condition) std::abort();
}

namespace {

// Made before the first socket or window; it lives as long as the fuzzer, as events may still be
// posted to it.
TApplication& LoopApplication() {
    static TApplication* application = [] {
        auto* app = new TApplication;
        app->Initialize();
        return app;
    }();
    return *application;
}

}  // namespace

void Pump() {
    LoopApplication().ProcessMessages();
}

LoopbackListener ListenOnLoopback() {
    LoopApplication();
    LoopbackListener listener;
    listener.socket = socket(AF_INET, SOCK_STREAM, 0);
    TSockAddrIn address;
    address.sin_addr = inet_addr("127.0.0.1");
    Check(bind(listener.socket, address) == 0 && listen(listener.socket, 8) == 0 &&
          getsockname(listener.socket, &address) == 0);
    listener.port = ntohs(address.sin_port);
    return listener;
}

}  // namespace rv::fuzz
