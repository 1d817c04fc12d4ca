#include "net/tests/test_servers.h"

#include <sstream>

#include "platform/sockets/tests/socket_peer.h"
#include "testsupport/process.h"
#include "testsupport/test_files.h"

namespace rv::test {

void TestServer::Start(const std::string& package, const std::vector<std::string>& argv, int port) {
    package_ = package;
    installed_ = PackageInstalled(package);
    for (const std::string& word : argv) command_ += (command_.empty() ? "" : " ") + word;
    if (!installed_) return;
    process_ = std::make_unique<ServerProcess>(argv);
    if (!process_->Running()) return;
    if (port == 0) {
        std::istringstream ports(process_->ReadLine());
        ports >> port >> secondPort_;
    }
    if (port > 0 && ServerProcess::WaitForPort(port)) port_ = port;
}

HttpFake::HttpFake() {
    Start("python3", {"/usr/bin/python3", SourcePath("net/tests/http_fake.py")}, 0);
}

SmtpServer::SmtpServer() {
    Start("python3-aiosmtpd",
          {"/usr/bin/python3", SourcePath("net/tests/smtp_server.py"), dir_.Path()}, 0);
}

Tinyproxy::Tinyproxy(const std::string& user, const std::string& password) {
    const int port = UnusedPort();
    WriteFileBytes(dir_ / "tinyproxy.conf", "Port " + std::to_string(port) +
                                                "\nListen 127.0.0.1\nTimeout 30\nAllow "
                                                "127.0.0.1\nMaxClients 20\nLogLevel Error\n"
                                                "BasicAuth " +
                                                user + " " + password + "\n");
    Start("tinyproxy-bin", {"/usr/bin/tinyproxy", "-d", "-c", dir_ / "tinyproxy.conf"}, port);
}

Microsocks::Microsocks(const std::string& user, const std::string& password) {
    const int port = UnusedPort();
    std::vector<std::string> argv = {"/usr/bin/microsocks", "-i", "127.0.0.1", "-p",
                                     std::to_string(port)};
    if (!user.empty()) argv.insert(argv.end(), {"-u", user, "-P", password});
    Start("microsocks", argv, port);
}

Dante::Dante() {
    const int port = UnusedPort();
    WriteFileBytes(dir_ / "danted.conf",
                   "logoutput: " + (dir_ / "danted.log") +
                       "\ninternal: 127.0.0.1 port = " + std::to_string(port) +
                       "\nexternal: 127.0.0.1\nclientmethod: none\nsocksmethod: none\n"
                       "client pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }\n"
                       "socks pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }\n");
    Start("dante-server",
          {"/usr/sbin/danted", "-f", dir_ / "danted.conf", "-p", dir_ / "danted.pid"}, port);
}

}  // namespace rv::test
