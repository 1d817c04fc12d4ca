// The CDDB client's connection of the CDDB line protocol: what its events do.

#include "cd/cddb.h"
#include "cd/cddb_text.h"
#include "net/wsocket.h"

namespace rv {

void TCddb::CddbpConnected(std::uint16_t error) {
    // A connection that could not be made is no connection; its close follows.
    if (error == 0) reader_.State = cddbConnected;
}

void TCddb::CddbpClosed() {
    reader_.State = cddbIdle;
    Status("Connection closed");
}

void TCddb::CddbpLineReceived() {
    const std::uint64_t serial = serial_;
    for (const std::string& line : CddbAnswerLines(socket_->ReceiveStr())) {
        DataExchange(line);
        if (MovedOn(serial)) return;
        reader_.Line(line);
        if (MovedOn(serial)) return;
    }
}

}  // namespace rv
