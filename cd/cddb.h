#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cd/cd_info.h"
#include "cd/cd_records.h"
#include "cd/cddb_answer.h"
#include "cd/cddb_states.h"
#include "cd/cddb_submission_text.h"
#include "cd/site.h"
#include "cd/toc_reading.h"
#include "platform/components/component.h"

namespace rv {

class THttpCli;
class TSmtpCli;
class TWSocket;

// The CDDB server asked when no other is set, over HTTP on port 80.
inline constexpr char kDefaultCddbServer[] = "gnudb.gnudb.org";
inline constexpr char kDefaultCddbPath[] = "/~cddb/cddb.cgi";
// How the statuses of the client's own failures (not the server's answers) begin.
inline constexpr char kCddbInternalError[] = "CDDB Component Internal Error: ";

enum class TSubmissionType : std::uint8_t { TEST, SUBMIT };

using TStatusEvent = std::function<void(TObject* sender, const std::string& status)>;
// What reading a drive's table of contents has to tell the user (toc_reading.h).
using TDriveNoticeEvent =
    std::function<void(TObject* sender, TCDNotice notice, const std::string& text)>;
// `rightOne` comes in as 0; the handler sets the index of the chosen match, -1 for none.
using TMatchEvent = std::function<void(TObject* sender, const TMatchArray& matches, int& rightOne)>;

// The CDDB client: reads an audio CD's table of contents, asks a CDDB server over HTTP which
// entries match the disc, lets its owner choose one, reads that entry into the disc record, and
// fetches the server's list of sites.
//
// Requests (HTTPQuery, HTTPRead, HTTPSites) return at once; the answer arrives later from the
// message loop. Owners follow a request through OnStatusMessage, OnDataExchange and OnMatch,
// reading State after each: a request sets its own State (cddbQuerySent, cddbReadSent,
// cddbSitesSent, cddbSubmissionSent) before its first event, and every request ends in one of
// cddbMatchChosen or cddbNoMatch (query), cddbEntryRead or cddbReadFailed (read),
// cddbSitesReceived or cddbNoSiteInfo (sites), cddbSubmissionAccepted, cddbSubmissionRefused
// or cddbSubmissionFailed (submissions), or cddbHttpFailed with a status saying why. A request
// started while another runs leaves the earlier one's end untold. OnMatch runs inside the
// answer's handling; an owner starts the read after it has returned (by a posted message, say).
// The client is not to be freed from its own events.
class TCddb : public TComponent {
public:
    explicit TCddb(TComponent* owner);
    ~TCddb() override;

    std::string ClassName() const override { return "TCddb"; }

    // Whether a CD interface may be used; set from detection when made.
    bool InternalTOCRetrieve = false;
    TCDInterface CDInterface = TCDInterface::cdiAutoDetect;
    std::string LocalCDDBPath;                         // kept, not used
    std::string LocalCDDBDLLPath = "./LocalCDDB.dll";  // kept, not used

    TStatusEvent OnStatusMessage;  // progress and failures
    TStatusEvent OnDataExchange;   // each request's URL (with CR LF) and each line received
    TMatchEvent OnMatch;           // the choice among the matches
    // A warning or a device error met reading a drive's table of contents, for the user to see;
    // its text goes to OnStatusMessage too.
    TDriveNoticeEvent OnDriveNotice;

    // The user's e-mail address, "user@host": the first part of the hello.
    std::string EmailUser;
    // Where mailed submissions go, for real and as tests.
    std::string EmailSubmit, EmailTestSubmit;

    std::string ServerAddr = kDefaultCddbServer;
    std::string ServerAdditionalAddr = kDefaultCddbPath;  // path of the CGI program
    std::string ServerPort = "80";
    TServerType ServerType = TServerType::HTTP;  // only HTTP servers are asked
    std::string ServerLatitude, ServerLongitude, ServerDescription;

    // The HTTP proxy, straight through to the HTTP client: its address ("host" or "host:port",
    // empty for none), port and Basic credentials.
    std::string ProxyAddress() const;
    void SetProxyAddress(const std::string& value);
    std::string ProxyPort() const;
    void SetProxyPort(const std::string& value);
    std::string ProxyUsername() const;
    void SetProxyUsername(const std::string& value);
    std::string ProxyPassword() const;
    void SetProxyPassword(const std::string& value);

    // Milliseconds the HTTP client gives the connection to be made and a connected server to
    // answer, straight through to it.
    int ConnectTimeout() const;
    void SetConnectTimeout(int ms);
    int IdleTimeout() const;
    void SetIdleTimeout(int ms);
    // Milliseconds the mail server of a mailed submission may take to greet, to answer and to
    // take the message, straight through to the mail client (its ReplyTimeout).
    int MailReplyTimeout() const;
    void SetMailReplyTimeout(int ms);

    // Submissions: a test the server checks and drops, or an entry for its database.
    TSubmissionType SubmissionType = TSubmissionType::TEST;
    // The mail server that mailed submissions go out by; the port as the mail client has it.
    std::string MailServerAddress;
    std::string MailServerPort;
    const std::string& NoteToUser() const { return noteToUser_; }
    void SetNoteToUser(const std::string& value);  // keeps at most 70 characters

    std::string ClientName = "Reelvault";  // one word each: the hello is split at blanks
    std::string ClientVersion = "1.0";
    std::string ClientComments;  // kept

    std::int32_t State() const { return reader_.State; }

    // Reads the table of contents of the listed drive (by its index) into the disc record,
    // telling "No CD in CD/DVD drive!" when it holds no readable disc; then the record's DiscID
    // is the disc id in lower case and the drive is the current one. True when a disc was read.
    // False with "No CD-ROM interface detected!" without InternalTOCRetrieve, and false without
    // a word for an index beyond the drives. Raises ECDError when no interface serves
    // CDInterface.
    bool ReadTOC(std::uint8_t drive);
    // ReadTOC of the drive whose disc is mounted at `drive` (a folder; a trailing "/" does not
    // count), or that is opened by that device name; "No CD/DVD drive found at <drive>" and
    // false when none is.
    bool ReadTOCByLetter(const std::string& drive);
    bool ReadCurrentTOC();
    const TCDInfo& GetCDInfo() const { return info_; }
    // The server's site list after HTTPSites; a slot with an empty address is free.
    const TServerArray& Sites() const { return reader_.Sites(); }

    // Reads the current drive's table of contents and asks the server for the disc.
    void HTTPQuery();
    // Reads the chosen match's entry; the disc record takes it when the current drive still
    // holds the disc the query asked about. Refused after a query that found nothing.
    void HTTPRead();
    // Fetches the server's site list.
    void HTTPSites();

    // Submit a database entry (its lines) under `category` and the record's DiscID, which the
    // entry is to describe: the disc last read. Both send the header values category, DiscID,
    // EmailUser, NoteToUser and the kind of submission; a value holding a line break refuses
    // the submission (cddbSubmissionFailed) before anything is sent. Texts go in ISO-8859-1.
    //
    // HTTPSubmit posts the entry to "submit.cgi" beside ServerAdditionalAddr; the server's
    // answer ends it in cddbSubmissionAccepted or cddbSubmissionRefused (a header value missing
    // or invalid), a failed request in cddbHttpFailed.
    void HTTPSubmit(const std::string& category, const std::vector<std::string>& entry);
    // SMTPSubmit mails the entry through MailServerAddress and MailServerPort, from EmailUser
    // to EmailTestSubmit or EmailSubmit by SubmissionType, and ends in cddbSubmissionAccepted
    // once the mail server has taken the message, else in cddbSubmissionFailed with the step
    // that failed and the mail server's words (or the time-out, when it fell silent).
    void SMTPSubmit(const std::string& category, const std::vector<std::string>& entry);

    // The connection of the CDDB line protocol, in line mode, made for the default server on
    // port 8880; nothing here connects it (whoever does sets address and port again, as after
    // every close). Connected, State becomes cddbConnected; each line that arrives goes to
    // OnDataExchange and is then read by State (the banner, the answers to hello and protocol
    // level, a query, read or site list); closed, State becomes cddbIdle with the status
    // "Connection closed".
    TWSocket& CddbpSocket() { return *socket_; }

private:
    enum class Request { Query, Read, Sites, Submission };
    // The requests of a mailed submission, in their order.
    enum class MailStep { Connect, Helo, Mail, Quit };
    enum class TocRead { NoDrive, NoDisc, Disc };

    TocRead ReadDrive(std::uint8_t drive, TCDTOC& toc);
    void StartRequest(Request request);
    // Reads the current drive's table of contents into the record for the query; false, with
    // the reason in `failure`, when there is no disc to ask about.
    bool ReadQueryTOC(std::string& failure);
    // Tells the request's URL and starts it.
    void SendRequest(std::uint64_t serial, Request request, const std::string& url);
    // The submission's header values; none, with State and a status telling why, when they
    // cannot go out.
    std::optional<TCddbSubmission> PrepareSubmission(const std::string& category);
    void AddSubmissionHeader(std::string& line);
    // Starts a request of the mail client; false, with the failure told, when it cannot start.
    bool StartMailStep(MailStep step);
    void MailStepDone(std::uint16_t error);
    void MailFailed(MailStep step, const std::string& reason);
    void MailHeaderLine(std::string& line);
    void CddbpConnected(std::uint16_t error);
    void CddbpClosed();
    void CddbpLineReceived();
    void RequestDone(std::uint16_t error);
    void HandleAnswer();
    bool AnswerComplete() const;
    bool FileEntry(std::string& reason);
    void Fail(const std::string& status);
    void Status(const std::string& status);
    void DataExchange(const std::string& text);
    // Whether a later request has started since the one numbered `serial`.
    bool MovedOn(std::uint64_t serial) const { return serial_ != serial; }

    std::unique_ptr<TWSocket> socket_;
    std::unique_ptr<THttpCli> http_;
    std::unique_ptr<TSmtpCli> smtp_;
    std::ostringstream received_;
    std::istringstream sent_;  // a submission's body
    TCDDriveTable drives_{};
    TCDInfo info_{};
    CddbAnswerReader reader_{info_};
    std::string noteToUser_ = "Sent by Lorvix Reelvault.";
    Request request_ = Request::Query;  // the one the HTTP client runs or ran last
    std::uint64_t serial_ = 0;          // counts the requests started
    std::uint64_t answerSerial_ = 0;    // the serial of the one the HTTP client runs
    std::uint64_t mailSerial_ = 0;      // the serial of the submission being mailed
    MailStep mailStep_ = MailStep::Connect;
    std::string postHeader_;  // the lines a submission's POST adds to its header
    std::string mailHeader_;  // the "From" and note lines of a mailed submission
};

}  // namespace rv
