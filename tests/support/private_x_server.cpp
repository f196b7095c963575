#include "support/private_x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace testkit {

namespace {
const char* const kXvfb = "/usr/bin/Xvfb";
}

bool PrivateXServer::Installed() { return access(kXvfb, X_OK) == 0; }

bool PrivateXServer::Start(int width, int height) {
    int report[2];
    if (pid_ > 0 || pipe(report) != 0)
        return false;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const char* argv[] = {kXvfb, "-displayfd", "3", "-screen", "0", screen.c_str(),
                          "-nolisten", "tcp", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, report[0]);   // may be fd 3
    posix_spawn_file_actions_adddup2(&actions, report[1], 3);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, kXvfb, &actions, nullptr, const_cast<char* const*>(argv), environ) == 0)
        pid_ = pid;
    posix_spawn_file_actions_destroy(&actions);
    close(report[1]);
    std::string display = ":";
    pollfd ready{report[0], POLLIN, 0};
    for (char c; pid_ > 0 && poll(&ready, 1, 10000) > 0 && read(report[0], &c, 1) == 1 && c != '\n';)
        display += c;
    close(report[0]);
    return display.size() > 1 && setenv("DISPLAY", display.c_str(), 1) == 0;
}

PrivateXServer::~PrivateXServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

}  // namespace testkit
