// Arbitrary bytes as what an SMTP server says, heard by the SMTP client itself over a real
// connection: a server on 127.0.0.1, in this thread, says the bytes whatever the client sends,
// then ends the connection. The client opens a session (logging in the way the top bits of the
// first byte pick), sends a mail and quits, each request started once the one before has ended.
// The bytes go twice: whole, and in pieces of 1 to 17 bytes (the first byte picks the size) with
// the message loop run between them.
// Nothing may crash; each request ends with exactly one OnRequestDone, of its own type, with the
// client ready again; a request that succeeds has read the replies that accept it; no line read
// holds a line end or fills the client's buffer; every command is one the client means to send,
// a CRAM-MD5 answer the user and 32 hexadecimal digits. The first request ends alike in both
// deliveries. The later ones may not: lines that come between two requests are only shown, and
// which lines come between depends on the pieces.

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/loopback/loopback.h"
#include "net/smtp_cli.h"
#include "net/smtp_reply.h"
#include "platform/sockets/winsock.h"
#include "platform/text/base64.h"

namespace {

using rv::fuzz::Check;
using rv::fuzz::Pump;

// A listening socket on 127.0.0.1 and the one conversation it holds, driven from this thread a
// step at a time.
class LoopbackServer {
public:
    std::uint16_t Port() const { return listener_.port; }

    // The next connection hears `words`, `piece` bytes a step.
    void Begin(std::string_view words, std::size_t piece) {
        words_ = words;
        piece_ = piece;
        finished_ = false;
    }

    // Takes the client's connection when it comes, reads whatever the client sent (so that
    // closing does not reset the connection and lose what the client has not read yet) and
    // sends the next piece; once everything is said, ends the sending side.
    void Step() {
        if (connection_ == rv::INVALID_SOCKET) connection_ = rv::accept(listener_.socket, nullptr);
        if (connection_ == rv::INVALID_SOCKET || finished_) return;
        char bytes[4096];
        while (rv::recv(connection_, bytes, sizeof bytes, 0) > 0) {
        }
        if (!words_.empty()) {
            const std::string_view part = words_.substr(0, piece_);
            const int n = rv::send(connection_, part.data(), static_cast<int>(part.size()), 0);
            if (n < 0 && rv::WSAGetLastError() != rv::WSAEWOULDBLOCK) words_ = {};  // it left
            if (n > 0) words_.remove_prefix(static_cast<std::size_t>(n));
        }
        if (words_.empty()) {
            rv::shutdown(connection_, rv::SD_SEND);
            finished_ = true;
        }
    }

    void End() {
        if (connection_ != rv::INVALID_SOCKET) rv::closesocket(connection_);
        connection_ = rv::INVALID_SOCKET;
    }

private:
    rv::fuzz::LoopbackListener listener_ = rv::fuzz::ListenOnLoopback();
    rv::TSocket connection_ = rv::INVALID_SOCKET;
    std::string_view words_;
    std::size_t piece_ = 1;
    bool finished_ = false;
};

bool IsFinalReply(const std::string& line, int code) {
    const rv::TSmtpStatus status = rv::ParseSmtpStatus(line);
    return status.code == code && !status.continued;
}

// A CRAM-MD5 answer to any challenge: "u", a blank and the HMAC-MD5 in lower-case hexadecimal.
bool IsCramMD5Answer(const std::string& command) {
    std::string answer;
    return rv::Base64DecodeTo(command, answer) == rv::Base64Fault::None && answer.size() == 34 &&
           answer.starts_with("u ") &&
           answer.find_first_not_of("0123456789abcdef", 2) == std::string::npos;
}

// Each command the client may send in the conversation, for the way it logs in.
bool IsExpectedCommand(const std::string& command, rv::TSmtpAuthType auth) {
    for (const char* expected :
         {"EHLO client.test", "HELO client.test", "MAIL FROM:<ann@example.org>",
          "RCPT TO:<bob@example.org>", "RCPT TO:<eve@example.org>", "DATA", ".", "QUIT"}) {
        if (command == expected) return true;
    }
    switch (auth) {
        case rv::smtpAuthPlain:
            return command == "AUTH PLAIN AHUAcA==";
        case rv::smtpAuthLogin:
            return command == "AUTH LOGIN" || command == "dQ==" || command == "cA==";
        case rv::smtpAuthCramMD5:
            return command == "AUTH CRAM-MD5" || IsCramMD5Answer(command);
        default:
            return false;
    }
}

// How the first request ended, as far as the server's words decide it.
struct Ending {
    std::uint16_t error = 0;
    std::string errorMessage, lastResponse;
    std::size_t linesRead = 0;

    bool operator==(const Ending&) const = default;
};

// One conversation: the client, what it read and sent, and how its requests ended.
class Conversation {
public:
    Conversation(LoopbackServer& server, rv::TSmtpAuthType auth) : server_(server), auth_(auth) {
        smtp_.Host = "127.0.0.1";
        smtp_.Port = std::to_string(server.Port());
        // Whole strings, not literals: g++ 12 at -O3 takes the copy of a short literal into a
        // member for one that may overlap itself (-Wrestrict).
        smtp_.SignOn = std::string("client.test");
        smtp_.Username = std::string("u");
        smtp_.Password = std::string("p");
        smtp_.AuthType = auth;
        smtp_.FromName = "ann@example.org";
        smtp_.RcptName = {"bob@example.org", "eve@example.org"};
        smtp_.HdrFrom = "ann@example.org";
        smtp_.HdrTo = "bob@example.org";
        smtp_.HdrSubject = "Hello";
        smtp_.MailMessage = {"Hello", ".", "Ann"};
        smtp_.ReplyTimeout = 0;  // the server always ends: a request that never does is a fault
        smtp_.OnResponse = [this](rv::TObject*, const std::string& line) {
            Check(line.find_first_of("\r\n") == std::string::npos && line.size() < 4096);
            lines_.push_back(line);
        };
        smtp_.OnCommand = [this](rv::TObject*, const std::string& command) {
            Check(IsExpectedCommand(command, auth_));
            commands_.push_back(command);
        };
        smtp_.OnStateChange = [this](rv::TObject*) {
            if (smtp_.State() != rv::smtpReady || firstEnded_) return;
            firstEnded_ = true;
            first_.errorMessage = smtp_.ErrorMessage();
            first_.lastResponse = smtp_.LastResponse();
            first_.linesRead = lines_.size();
        };
        smtp_.OnRequestDone = [this](rv::TObject*, rv::TSmtpRequest type, std::uint16_t error) {
            ++done_;
            doneType_ = type;
            doneError_ = error;
            Check(smtp_.State() == rv::smtpReady);
        };
    }

    Ending Run(std::string_view words, std::size_t piece) {
        server_.Begin(words, piece);
        Check(Request(&rv::TCustomSmtpClient::Open, rv::srOpen, {220, 250}) && firstEnded_);
        first_.error = doneError_;
        if (doneError_ == 0 && Sent(0, "AUTH")) Check(Read(0, 235));
        if (smtp_.Connected()) Request(&rv::TCustomSmtpClient::Mail, rv::srMail, {354, 250});
        const std::size_t linesBefore = lines_.size(), commandsBefore = commands_.size();
        if (Request(&rv::TCustomSmtpClient::Quit, rv::srQuit, {}) && doneError_ == 0 &&
            Sent(commandsBefore, "QUIT"))
            Check(Read(linesBefore, 221));
        server_.End();
        return first_;
    }

private:
    // Whether a line of `code` ending a reply was read since line `from`.
    bool Read(std::size_t from, int code) const {
        for (std::size_t i = from; i < lines_.size(); ++i)
            if (IsFinalReply(lines_[i], code)) return true;
        return false;
    }

    // Whether a command starting with `prefix` was sent since command `from`.
    bool Sent(std::size_t from, std::string_view prefix) const {
        for (std::size_t i = from; i < commands_.size(); ++i)
            if (commands_[i].starts_with(prefix)) return true;
        return false;
    }

    // Starts a request and runs the loop, the server talking, until it ends; a success must
    // have read a final reply of each of `accepting`. False when the request refused to start.
    bool Request(void (rv::TCustomSmtpClient::*request)(), rv::TSmtpRequest type,
                 std::initializer_list<int> accepting) {
        done_ = 0;
        const std::size_t from = lines_.size();
        try {
            (smtp_.*request)();
        } catch (const rv::SmtpException&) {
            Check(smtp_.State() == rv::smtpReady);
            for (int i = 0; i < 3; ++i) Pump();
            Check(done_ == 0);
            return false;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (done_ == 0) {
            server_.Step();
            Pump();
            Check(std::chrono::steady_clock::now() < deadline);
        }
        for (int i = 0; i < 3; ++i) Pump();  // where a second end would show
        Check(done_ == 1 && doneType_ == type && smtp_.State() == rv::smtpReady);
        if (doneError_ == 0)
            for (const int code : accepting) Check(Read(from, code));
        return true;
    }

    LoopbackServer& server_;
    rv::TSmtpAuthType auth_;
    rv::TSmtpCli smtp_{nullptr};
    std::vector<std::string> lines_, commands_;
    int done_ = 0;
    rv::TSmtpRequest doneType_ = rv::srConnect;
    std::uint16_t doneError_ = 0;
    bool firstEnded_ = false;
    Ending first_;
};

Ending Converse(LoopbackServer& server, std::string_view words, std::size_t piece,
                rv::TSmtpAuthType auth) {
    Conversation conversation(server, auth);
    return conversation.Run(words, piece);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static LoopbackServer* server = new LoopbackServer;
    static constexpr rv::TSmtpAuthType kAuth[] = {rv::smtpAuthCramMD5, rv::smtpAuthLogin,
                                                  rv::smtpAuthPlain, rv::smtpAuthNone};
    const rv::TSmtpAuthType auth = kAuth[data[0] >> 6];
    const std::string_view words(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t piece = 1 + data[0] % 17;
    Check(Converse(*server, words, words.size() + 1, auth) ==
          Converse(*server, words, piece, auth));
    return 0;
}
