#include "platform/audio/tests/private_pulse_server.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "testsupport/test_files.h"

extern char** environ;

namespace rv::test {

namespace {

// The process's environment with the folders PulseAudio keeps its state in pointed elsewhere.
std::vector<std::string> PrivateEnvironment(const std::string& folder) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('='));
        if (name != "HOME" && name != "XDG_RUNTIME_DIR" && name != "XDG_CONFIG_HOME" &&
            name != "PULSE_SERVER") {
            variables.push_back(variable);
        }
    }
    variables.push_back("HOME=" + folder);
    variables.push_back("XDG_RUNTIME_DIR=" + folder);
    variables.push_back("XDG_CONFIG_HOME=" + folder + "/config");
    return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

PrivatePulseServer::PrivatePulseServer() {
    const std::string socket = folder_ / "native";
    const std::string log = folder_ / "server.log";
    std::vector<std::string> args = {
        "pulseaudio",
        "--daemonize=no",
        "-n",  // no configuration file: only the modules named here
        "--use-pid-file=no",
        "--exit-idle-time=-1",
        "--log-target=stderr",
        // Without rewinds: this server's null sink stalls for a second after each rewind.
        "--load=module-null-sink sink_name=reelvault_test norewinds=1",
        "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket,
    };
    std::vector<std::string> environment = PrivateEnvironment(folder_.Path());
    auto argv = Pointers(args);
    auto envp = Pointers(environment);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    const int spawned =
        posix_spawnp(&pid, "pulseaudio", &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        why_ = "pulseaudio could not be run (is it installed?)";
        return;
    }

    // Ready once its socket is there; gone when it gave up.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        struct stat facts;
        if (stat(socket.c_str(), &facts) == 0 && S_ISSOCK(facts.st_mode)) {
            pid_ = pid;
            return;
        }
        int status = 0;
        const bool ended = waitpid(pid, &status, WNOHANG) == pid;
        if (ended || std::chrono::steady_clock::now() > deadline) {
            if (!ended) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
            }
            why_ = "PulseAudio did not start: " + ReadFileBytes(log);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

PrivatePulseServer::~PrivatePulseServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 250; ++i) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
}

}  // namespace rv::test
