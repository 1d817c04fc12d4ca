#pragma once

// What the layer knows of each open socket, shared by the calls (socket_calls.cpp) and the
// watching that turns readiness into event messages (socket_watch.cpp).

#include <memory>

#include "platform/sockets/winsock.h"

namespace rv::detail {

struct SocketWatch;  // the toolkit's notifiers of one socket

struct SocketRecord {
    SocketRecord(TSocket handle, int fd, bool stream);
    ~SocketRecord();

    const TSocket handle;
    const int fd;
    const bool stream;

    bool listening = false;
    bool connecting = false;  // a TCP connect whose outcome is not known yet
    bool connected = false;
    bool sendShut = false;     // our sending side was shut down
    bool closeSeen = false;    // the connection ended (FD_CLOSE, or a failed connect)
    bool readArmed = true;     // FD_READ / FD_ACCEPT may be posted
    bool writeWanted = false;  // a send was cut short: FD_WRITE once there is room

    HWND wnd = 0;
    UINT msg = 0;
    long events = 0;
    std::unique_ptr<SocketWatch> watch;
};

// Registers a socket the system has opened and returns its new handle.
TSocket RegisterSocket(int fd, bool stream, bool connected);
// The socket's record; null (WSAENOTSOCK set) for an unknown handle.
std::shared_ptr<SocketRecord> FindSocket(TSocket s);
// The same, leaving the last error alone (for the event loop's own use).
std::shared_ptr<SocketRecord> LookUpSocket(TSocket s);
// Takes the socket out of the table; null (WSAENOTSOCK set) for an unknown handle.
std::shared_ptr<SocketRecord> UnregisterSocket(TSocket s);

// Sets WSAGetLastError and returns SOCKET_ERROR.
int Fail(int wsaError);

// socket_watch.cpp: the notifiers follow the record's flags.
void UpdateWatch(SocketRecord& record);
// The outcome of a connect is known (errno, 0 for success): FD_CONNECT (and FD_WRITE on success)
// are posted.
void FinishConnect(SocketRecord& record, int systemError);
// Ends the watching (before the descriptor is closed).
void StopWatching(SocketRecord& record);
// WSAAsyncSelect on the record.
int SelectEvents(SocketRecord& record, HWND wnd, UINT msg, long events);

}  // namespace rv::detail
