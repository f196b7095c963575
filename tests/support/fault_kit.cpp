#include "support/fault_kit.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testkit {

namespace {

bool WriteProcFile(const char* path, const std::string& text) {
    int fd = open(path, O_WRONLY);
    if (fd < 0)
        return false;
    bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return ok;
}

// Gives this process mounts of its own: as root directly, otherwise as root
// of a new user namespace. Nothing mounted here reaches the rest of the system.
bool EnterPrivateMounts() {
    if (unshare(CLONE_NEWNS) != 0) {
        uid_t uid = getuid();
        gid_t gid = getgid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        WriteProcFile("/proc/self/setgroups", "deny");
        if (!WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
            return false;
    }
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

}  // namespace

ChildOutcome RunInChild(const std::function<std::string()>& body) {
    std::fflush(nullptr);
    int pipeEnds[2];
    ChildOutcome outcome;
    if (pipe(pipeEnds) != 0)
        return outcome;
    pid_t child = fork();
    if (child == 0) {
        // Nothing may leave the child but its report: not even an exception
        // back into the test program's copy.
        close(pipeEnds[0]);
        std::string report;
        int code = 0;
        try {
            report = body();
        } catch (const std::exception& e) {
            report = std::string("exception: ") + e.what();
            code = 1;
        } catch (...) {
            report = "exception";
            code = 1;
        }
        ssize_t unused = write(pipeEnds[1], report.data(), report.size());
        (void)unused;
        _exit(code);
    }
    close(pipeEnds[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        outcome.report.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        outcome.signal = WTERMSIG(status);
    return outcome;
}

bool MountSmallDisk(const std::string& dir, size_t bytes) {
    return EnterPrivateMounts() &&
           mount("tmpfs", dir.c_str(), "tmpfs", 0, ("size=" + std::to_string(bytes)).c_str()) == 0;
}

bool MakeDiskReadOnly(const std::string& dir) {
    return mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

void LimitFileSize(size_t bytes) {
    rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    rlimit size{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &size);
    std::signal(SIGXFSZ, SIG_DFL);
}

RunningProcess::RunningProcess() {
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        for (;;)
            pause();
    }
    pid_ = static_cast<long>(child);
}

RunningProcess::~RunningProcess() {
    if (pid_ <= 0)
        return;
    kill(static_cast<pid_t>(pid_), SIGKILL);
    waitpid(static_cast<pid_t>(pid_), nullptr, 0);
}

long EndedProcessId() {
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return static_cast<long>(child);
}

}  // namespace testkit
