// The table of open sockets: handles that are never reused, mapped to the system's descriptors
// (which are), and the calling thread's last error.

#include <mutex>
#include <unordered_map>

#include "platform/sockets/internal/socket_record.h"

namespace rv {

namespace {

thread_local int t_lastError = 0;

std::mutex g_mutex;
std::unordered_map<TSocket, std::shared_ptr<detail::SocketRecord>> g_sockets;
// Handles start far above any descriptor number, so that a descriptor passed by mistake for a
// handle is never taken for one.
TSocket g_lastHandle = 0x10000;

}  // namespace

int WSAGetLastError() {
    return t_lastError;
}

void WSASetLastError(int error) {
    t_lastError = error;
}

namespace detail {

TSocket RegisterSocket(int fd, bool stream, bool connected) {
    std::lock_guard lock(g_mutex);
    const TSocket handle = ++g_lastHandle;
    auto record = std::make_shared<SocketRecord>(handle, fd, stream);
    record->connected = connected;
    g_sockets.emplace(handle, std::move(record));
    return handle;
}

std::shared_ptr<SocketRecord> LookUpSocket(TSocket s) {
    std::lock_guard lock(g_mutex);
    const auto it = g_sockets.find(s);
    return it == g_sockets.end() ? nullptr : it->second;
}

std::shared_ptr<SocketRecord> FindSocket(TSocket s) {
    auto record = LookUpSocket(s);
    if (!record) WSASetLastError(WSAENOTSOCK);
    return record;
}

std::shared_ptr<SocketRecord> UnregisterSocket(TSocket s) {
    {
        std::lock_guard lock(g_mutex);
        const auto it = g_sockets.find(s);
        if (it != g_sockets.end()) {
            auto record = std::move(it->second);
            g_sockets.erase(it);
            return record;
        }
    }
    WSASetLastError(WSAENOTSOCK);
    return nullptr;
}

int Fail(int wsaError) {
    WSASetLastError(wsaError);
    return SOCKET_ERROR;
}

}  // namespace detail

}  // namespace rv
