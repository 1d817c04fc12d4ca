// The CDDB client's parts, settings and tables of contents.

#include "cd/cddb.h"

#include "cd/cd_drives.h"
#include "cd/cd_interface.h"
#include "cd/disc_id.h"
#include "cd/toc_reading.h"
#include "net/http_cli.h"
#include "net/smtp_cli.h"
#include "net/wsocket.h"
#include "platform/text/codepage.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

constexpr std::size_t kNoteLength = 70;
constexpr std::int64_t kMaxAnswerSize = 1 << 20;  // a site list or an entry is a few kilobytes

// A folder named with or without its closing "/".
std::string WithoutClosingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

TCddb::TCddb(TComponent* owner)
    : TComponent(owner),
      socket_(std::make_unique<TWSocket>(nullptr)),
      http_(std::make_unique<THttpCli>(nullptr)),
      smtp_(std::make_unique<TSmtpCli>(nullptr)) {
    socket_->SetProto("tcp");
    socket_->SetPort("8880");
    socket_->SetAddr(kDefaultCddbServer);
    socket_->SetLineMode(true);
    socket_->OnSessionConnected = [this](TObject*, std::uint16_t error) { CddbpConnected(error); };
    socket_->OnSessionClosed = [this](TObject*, std::uint16_t) { CddbpClosed(); };
    socket_->OnDataAvailable = [this](TObject*, std::uint16_t) { CddbpLineReceived(); };
    // The socket drops the connection after this, which tells "Connection closed".
    socket_->OnBgException = [this](TObject*, const std::exception& e, bool&) {
        Status(kCddbInternalError + std::string(e.what()));
    };

    // The drives are not read here: that would hold up whoever makes the client. A look-up
    // reads the disc when it starts.
    InternalTOCRetrieve = DetectCDInterface();
    http_->ReceiveStream = &received_;
    http_->PostStream = &sent_;
    http_->MaxDocumentSize = kMaxAnswerSize;
    http_->OnCommand = [this](TObject*, std::string& line) { AddSubmissionHeader(line); };
    http_->OnRequestDone = [this](TObject*, THttpRequest, std::uint16_t error) {
        RequestDone(error);
    };

    smtp_->OnRequestDone = [this](TObject*, TSmtpRequest, std::uint16_t error) {
        MailStepDone(error);
    };
    // What the mail client sends and hears goes out in ISO-8859-1 (the entry) or comes from the
    // server (any bytes).
    smtp_->OnDisplay = [this](TObject*, const std::string& line) {
        if (mailSerial_ == serial_) DataExchange(DecodeCodePage(CodePage::Iso8859_1, line));
    };
    smtp_->OnHeaderLine = [this](TObject*, std::string& line, std::int32_t) {
        MailHeaderLine(line);
    };
    MailServerPort = smtp_->Port;
    reader_.OnStatus = [this](const std::string& status) {
        const std::uint64_t serial = serial_;
        Status(status);
        return !MovedOn(serial);
    };
    reader_.OnChoose = [this](const TMatchArray& matches, int& rightOne) {
        const std::uint64_t serial = serial_;
        if (OnMatch) OnMatch(this, matches, rightOne);
        return !MovedOn(serial);
    };
    reader_.OnEntryComplete = [this](std::string& reason) { return FileEntry(reason); };
}

TCddb::~TCddb() {
    MarkDestroying();
    // Connections closing now have nobody to tell; the HTTP client goes before its streams.
    socket_->OnSessionClosed = nullptr;
    socket_->OnDataAvailable = nullptr;
    smtp_->OnDisplay = nullptr;
    smtp_->OnRequestDone = nullptr;
    socket_.reset();
    smtp_.reset();
    http_.reset();
}

std::string TCddb::ProxyAddress() const {
    return http_->Proxy;
}
void TCddb::SetProxyAddress(const std::string& value) {
    http_->Proxy = value;
}
std::string TCddb::ProxyPort() const {
    return http_->ProxyPort;
}
void TCddb::SetProxyPort(const std::string& value) {
    http_->ProxyPort = value;
}
std::string TCddb::ProxyUsername() const {
    return http_->ProxyUsername;
}
void TCddb::SetProxyUsername(const std::string& value) {
    http_->ProxyUsername = value;
}
std::string TCddb::ProxyPassword() const {
    return http_->ProxyPassword;
}
void TCddb::SetProxyPassword(const std::string& value) {
    http_->ProxyPassword = value;
}
int TCddb::ConnectTimeout() const {
    return http_->ConnectTimeout;
}
void TCddb::SetConnectTimeout(int ms) {
    http_->ConnectTimeout = ms;
}
int TCddb::IdleTimeout() const {
    return http_->IdleTimeout;
}
void TCddb::SetIdleTimeout(int ms) {
    http_->IdleTimeout = ms;
}
int TCddb::MailReplyTimeout() const {
    return smtp_->ReplyTimeout;
}
void TCddb::SetMailReplyTimeout(int ms) {
    smtp_->ReplyTimeout = ms;
}

void TCddb::SetNoteToUser(const std::string& value) {
    noteToUser_ = CutToChars(value, kNoteLength);
}

TCddb::TocRead TCddb::ReadDrive(std::uint8_t drive, TCDTOC& toc) {
    EnumerateCDDrives(drives_, CDInterface);
    if (!drives_.Lists(drive)) return TocRead::NoDrive;
    const bool empty = rv::ReadTOC(CDInterface, drive, drives_, toc,
                                   [this](TCDNotice notice, const std::string& text) {
                                       Status(text);
                                       if (OnDriveNotice) OnDriveNotice(this, notice, text);
                                   });
    drives_.CurrentDrive = drive;
    return empty ? TocRead::NoDisc : TocRead::Disc;
}

bool TCddb::ReadTOC(std::uint8_t drive) {
    if (!InternalTOCRetrieve) {
        Status("No CD-ROM interface detected!");
        return false;
    }
    const TocRead read = ReadDrive(drive, info_.TOC);
    if (read == TocRead::NoDrive) return false;
    if (read == TocRead::NoDisc) Status("No CD in CD/DVD drive!");
    info_.DiscID = DiscIdText(CddbDiscId(info_.TOC));
    return read == TocRead::Disc;
}

bool TCddb::ReadTOCByLetter(const std::string& drive) {
    if (!InternalTOCRetrieve) {
        Status("No CD-ROM interface detected!");
        return false;
    }
    EnumerateCDDrives(drives_, CDInterface);
    const std::string wanted = WithoutClosingSlash(drive);
    for (std::uint8_t i = 0; drives_.Lists(i); ++i) {
        const TCDDriveInfo& info = drives_.Drives[i];
        const bool mountedThere =
            !info.MountPoint.empty() && WithoutClosingSlash(info.MountPoint) == wanted;
        if (mountedThere || info.Device == wanted) return ReadTOC(i);
    }
    Status("No CD/DVD drive found at " + drive);
    return false;
}

bool TCddb::ReadCurrentTOC() {
    return ReadTOC(drives_.CurrentDrive);
}

void TCddb::Status(const std::string& status) {
    if (OnStatusMessage) OnStatusMessage(this, status);
}

void TCddb::DataExchange(const std::string& text) {
    if (OnDataExchange) OnDataExchange(this, text);
}

}  // namespace rv
