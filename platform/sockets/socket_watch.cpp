// Select-style events: the toolkit's notifiers watch each selected socket, and what they see is
// posted to the socket's window as Winsock would. A notifier is switched off as soon as it fires
// and on again only when the program has acted (recv, accept, a send cut short), so a program
// that leaves data unread is not called again and again.

#include "platform/sockets/internal/socket_record.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <cerrno>

#include "platform/sockets/internal/errno_map.h"

namespace rv::detail {

namespace {

void OnReadable(TSocket handle);
void OnWritable(TSocket handle);

}  // namespace

struct SocketWatch {
    SocketWatch(int fd, TSocket handle)
        : read(fd, QSocketNotifier::Read), write(fd, QSocketNotifier::Write) {
        read.setEnabled(false);
        write.setEnabled(false);
        QObject::connect(&read, &QSocketNotifier::activated, [handle] { OnReadable(handle); });
        QObject::connect(&write, &QSocketNotifier::activated, [handle] { OnWritable(handle); });
    }
    QSocketNotifier read;
    QSocketNotifier write;
};

SocketRecord::SocketRecord(TSocket handle_, int fd_, bool stream_)
    : handle(handle_), fd(fd_), stream(stream_) {}

SocketRecord::~SocketRecord() = default;

namespace {

void Post(const SocketRecord& r, long event, int error) {
    if (r.wnd != 0 && (r.events & event) != 0)
        PostMessage(r.wnd, r.msg, r.handle, WSAMAKESELECTREPLY(event, error));
}

void OnReadable(TSocket handle) {
    const auto record = LookUpSocket(handle);
    if (!record) return;
    SocketRecord& r = *record;
    r.readArmed = false;
    if (r.listening) {
        Post(r, FD_ACCEPT, 0);
    } else if (!r.stream) {
        Post(r, FD_READ, 0);
    } else {
        // A peek tells data from the end of the connection: the end shows only once everything
        // the peer sent has been read.
        char byte;
        const auto n = ::recv(r.fd, &byte, 1, ::MSG_PEEK | MSG_DONTWAIT);
        const int error = n < 0 ? errno : 0;
        if (n > 0) {
            Post(r, FD_READ, 0);
        } else if (n < 0 && (error == EAGAIN || error == EWOULDBLOCK || error == EINTR)) {
            r.readArmed = true;
        } else {
            r.closeSeen = true;
            Post(r, FD_CLOSE, n == 0 ? 0 : WsaErrorFromErrno(error));
        }
    }
    UpdateWatch(r);
}

void OnWritable(TSocket handle) {
    const auto record = LookUpSocket(handle);
    if (!record) return;
    SocketRecord& r = *record;
    if (r.connecting) {
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(r.fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
        FinishConnect(r, error);
        return;
    }
    r.writeWanted = false;
    Post(r, FD_WRITE, 0);
    UpdateWatch(r);
}

}  // namespace

void UpdateWatch(SocketRecord& r) {
    if (!r.watch) return;
    const bool selected = r.wnd != 0 && r.events != 0;
    const bool readEvents =
        r.listening ? (r.events & FD_ACCEPT) != 0
                    : (r.events & (FD_READ | FD_CLOSE)) != 0 && (!r.stream || r.connected);
    r.watch->read.setEnabled(selected && readEvents && r.readArmed && !r.closeSeen &&
                             !r.connecting);
    r.watch->write.setEnabled(selected &&
                              (r.connecting || (r.writeWanted && (r.events & FD_WRITE) != 0)));
}

void FinishConnect(SocketRecord& r, int systemError) {
    r.connecting = false;
    // A reset can only follow an accepted connection: it is connected, then closed.
    const bool reset = systemError == ECONNRESET;
    const int error = systemError == 0 || reset ? 0 : WsaErrorFromErrno(systemError);
    if (error == 0) {
        r.connected = true;
        r.readArmed = true;
    } else {
        r.closeSeen = true;
    }
    Post(r, FD_CONNECT, error);
    if (error == 0) Post(r, FD_WRITE, 0);
    if (reset) {
        r.closeSeen = true;
        Post(r, FD_CLOSE, WSAECONNRESET);
    }
    UpdateWatch(r);
}

void StopWatching(SocketRecord& r) {
    r.watch.reset();
}

int SelectEvents(SocketRecord& r, HWND wnd, UINT msg, long events) {
    if (events != 0 && !r.watch) {
        if (!QCoreApplication::instance() || !QAbstractEventDispatcher::instance())
            return Fail(WSASYSNOTREADY);
        r.watch = std::make_unique<SocketWatch>(r.fd, r.handle);
    }
    r.wnd = wnd;
    r.msg = msg;
    r.events = events;
    r.readArmed = true;
    if (!r.stream || r.connected) Post(r, FD_WRITE, 0);
    UpdateWatch(r);
    return 0;
}

}  // namespace rv::detail
