#include "testsupport/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace rv::test {

namespace {

void CloseFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input) {
    ProcessResult result;
    if (argv.empty()) return result;
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0) return result;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]), close(in[1]);
        return result;
    }
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(in[0]), close(in[1]), close(out[0]), close(out[1]);
        return result;
    }
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    if (pid < 0) {
        close(in[1]), close(out[0]), close(err[0]);
        return result;
    }

    // Feed and drain together so that neither side can block on a full pipe.
    int inFd = in[1], outFd = out[0], errFd = err[0];
    fcntl(inFd, F_SETFL, O_NONBLOCK);
    size_t written = 0;
    if (input.empty()) CloseFd(inFd);
    signal(SIGPIPE, SIG_IGN);
    char buffer[65536];
    while (outFd >= 0 || errFd >= 0) {
        pollfd fds[3];
        int n = 0;
        if (outFd >= 0) fds[n++] = {outFd, POLLIN, 0};
        if (errFd >= 0) fds[n++] = {errFd, POLLIN, 0};
        if (inFd >= 0) fds[n++] = {inFd, POLLOUT, 0};
        if (poll(fds, n, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < n; ++i) {
            if (!fds[i].revents) continue;
            if (fds[i].fd == inFd) {
                ssize_t w = write(inFd, input.data() + written, input.size() - written);
                if (w > 0) written += static_cast<size_t>(w);
                if (w < 0 && errno != EAGAIN && errno != EINTR) written = input.size();
                if (written == input.size()) CloseFd(inFd);
                continue;
            }
            int& fd = fds[i].fd == outFd ? outFd : errFd;
            std::string& sink = fds[i].fd == outFd ? result.out : result.err;
            ssize_t r = read(fd, buffer, sizeof buffer);
            if (r > 0)
                sink.append(buffer, static_cast<size_t>(r));
            else if (r == 0 || (errno != EINTR && errno != EAGAIN))
                CloseFd(fd);
        }
    }
    CloseFd(inFd);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool HaveTool(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (!folder.empty() && access((folder + "/" + name).c_str(), X_OK) == 0) return true;
    }
    return false;
}

bool PackageInstalled(const std::string& package) {
    const ProcessResult status = RunProcess({"dpkg-query", "-W", "-f=${Status}", package});
    return status.exitCode == 0 && status.out.ends_with(" ok installed");
}

}  // namespace rv::test
