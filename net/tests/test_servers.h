#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "testsupport/process.h"
#include "testsupport/server_process.h"
#include "testsupport/temp_dir.h"

namespace rv::test {

// A server from outside started for a test on 127.0.0.1, stopped when the object dies. Port()
// is 0 when it did not start. Each comes with a Debian package that the test scripts install
// (scripts/packages/test.txt): a server whose package is installed must start.
class TestServer {
public:
    int Port() const { return port_; }
    std::string PortText() const { return std::to_string(port_); }
    // The Debian package the server comes with, whether it is installed, and the command line
    // that starts the server.
    const std::string& Package() const { return package_; }
    bool Installed() const { return installed_; }
    const std::string& Command() const { return command_; }

protected:
    // Starts the program when the package is installed and waits for its port; a `port` of 0 is
    // read from its first line.
    void Start(const std::string& package, const std::vector<std::string>& argv, int port);

    TempDir dir_;
    std::unique_ptr<ServerProcess> process_;
    std::string package_;
    bool installed_ = false;
    std::string command_;
    int port_ = 0;
    int secondPort_ = 0;
};

// Skips the test when the server's package is not installed, and fails it when the server did
// not start although its package is.
#define RV_REQUIRE_SERVER(server)                                \
    RV_REQUIRE_STARTED((server).Package(), (server).Port() != 0, \
                       (server).Command() + " did not start")

// net/tests/http_fake.py. FullPort() is a port whose connections never complete.
class HttpFake : public TestServer {
public:
    HttpFake();
    int FullPort() const { return secondPort_; }
};

// net/tests/smtp_server.py, which keeps the messages it accepts in Folder().
class SmtpServer : public TestServer {
public:
    SmtpServer();
    const TempDir& Folder() const { return dir_; }
};

// tinyproxy asking for Basic authentication with the given user and password.
class Tinyproxy : public TestServer {
public:
    Tinyproxy(const std::string& user, const std::string& password);
};

// microsocks, a SOCKS 5 server; with a user it asks for user and password.
class Microsocks : public TestServer {
public:
    explicit Microsocks(const std::string& user = {}, const std::string& password = {});
};

// Dante's server, for SOCKS 4.
class Dante : public TestServer {
public:
    Dante();
};

}  // namespace rv::test
