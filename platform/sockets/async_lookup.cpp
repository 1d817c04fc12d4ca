// Host look-ups answered by a message. Each runs on a resolver thread of its own, so a slow
// name server holds up no other look-up; a cancelled look-up runs to its end but its answer is
// dropped. The threads are detached and own what they touch, so a program may end while one is
// still waiting for a name server.

#include <exception>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>

#include "platform/sockets/internal/host_lookup.h"

namespace rv {

namespace {

struct Request {
    HWND wnd = 0;
    UINT msg = 0;
    std::string name;
    std::uint32_t addr = 0;
    bool byAddress = false;
    std::shared_ptr<THostEnt> result;
};

struct Resolver {
    std::mutex mutex;
    std::unordered_map<TAsyncHandle, std::shared_ptr<Request>> pending;
    TAsyncHandle lastHandle = 0;
    bool stopped = false;  // the program is ending: nothing is posted any more
};

// Made on first use, hence ended before the window table it posts through.
struct ResolverHolder {
    std::shared_ptr<Resolver> resolver = std::make_shared<Resolver>();
    ~ResolverHolder() {
        std::lock_guard lock(resolver->mutex);
        resolver->stopped = true;
        resolver->pending.clear();
    }
};

std::shared_ptr<Resolver> TheResolver() {
    static ResolverHolder holder;
    return holder.resolver;
}

void Resolve(const std::shared_ptr<Resolver>& resolver, TAsyncHandle handle,
             const std::shared_ptr<Request>& request) {
    THostEnt entry;
    const int error = request->byAddress ? detail::LookUpHostAddress(request->addr, entry)
                                         : detail::LookUpHostName(request->name, entry);
    std::lock_guard lock(resolver->mutex);
    if (resolver->stopped || resolver->pending.erase(handle) == 0) return;
    if (error == 0) *request->result = std::move(entry);
    PostMessage(request->wnd, request->msg, handle, WSAMAKESELECTREPLY(0, error));
}

TAsyncHandle Start(std::shared_ptr<Request> request) {
    if (!request->result) {
        WSASetLastError(WSAEFAULT);
        return 0;
    }
    const auto resolver = TheResolver();
    TAsyncHandle handle;
    {
        std::lock_guard lock(resolver->mutex);
        handle = ++resolver->lastHandle;
        resolver->pending.emplace(handle, request);
    }
    try {
        std::thread(Resolve, resolver, handle, std::move(request)).detach();
    } catch (const std::exception&) {
        std::lock_guard lock(resolver->mutex);
        resolver->pending.erase(handle);
        WSASetLastError(WSAENOBUFS);
        return 0;
    }
    return handle;
}

}  // namespace

TAsyncHandle WSAAsyncGetHostByName(HWND wnd, UINT msg, const std::string& name,
                                   std::shared_ptr<THostEnt> result) {
    auto request = std::make_shared<Request>();
    request->wnd = wnd;
    request->msg = msg;
    request->name = name;
    request->result = std::move(result);
    return Start(std::move(request));
}

TAsyncHandle WSAAsyncGetHostByAddr(HWND wnd, UINT msg, std::uint32_t addr,
                                   std::shared_ptr<THostEnt> result) {
    auto request = std::make_shared<Request>();
    request->wnd = wnd;
    request->msg = msg;
    request->addr = addr;
    request->byAddress = true;
    request->result = std::move(result);
    return Start(std::move(request));
}

int WSACancelAsyncRequest(TAsyncHandle handle) {
    const auto resolver = TheResolver();
    std::lock_guard lock(resolver->mutex);
    if (resolver->pending.erase(handle) != 0) return 0;
    WSASetLastError(handle != 0 && handle <= resolver->lastHandle ? WSAEALREADY : WSAEINVAL);
    return SOCKET_ERROR;
}

}  // namespace rv
