#include "platform/process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/files.h"

extern char** environ;

namespace {

constexpr int kWatchMs = 50;
constexpr int kStopPollMs = 20;

// Why a child did not get as far as running its program; it sends this to
// its parent through a pipe that closes unread when the program starts.
enum StartStage : int { kChangeDirectory, kExecute };
struct StartFailure {
    int stage;
    int error;
};

std::vector<std::string> ChildEnvironment(const std::string& pathFirst, std::string& path) {
    std::vector<std::string> environment;
    const char* inherited = std::getenv("PATH");
    path = inherited ? inherited : "/usr/local/bin:/usr/bin:/bin";
    if (!pathFirst.empty())
        path = pathFirst + ":" + path;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "PATH=", 5) != 0)
            environment.push_back(*e);
    environment.push_back("PATH=" + path);
    return environment;
}

// The descriptors a child is started with; those still held are closed when
// the object goes.
struct Descriptors {
    int input = -1;                 // /dev/null, the child's standard input
    int errorPipe[2] = {-1, -1};    // the child's standard error
    int startPipe[2] = {-1, -1};    // StartFailure, when the program does not start

    bool Open() {
        input = open("/dev/null", O_RDONLY | O_CLOEXEC);
        return input >= 0 && pipe2(errorPipe, O_CLOEXEC) == 0 && pipe2(startPipe, O_CLOEXEC) == 0;
    }
    void CloseChildSides() {
        Close(input);
        Close(errorPipe[1]);
        Close(startPipe[1]);
    }
    int TakeErrorReader() {
        int fd = errorPipe[0];
        errorPipe[0] = -1;
        return fd;
    }
    ~Descriptors() {
        CloseChildSides();
        Close(errorPipe[0]);
        Close(startPipe[0]);
    }
    static void Close(int& fd) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
};

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(&text[0]);
    pointers.push_back(nullptr);
    return pointers;
}

// A write whose failure nobody could act on (the program's own standard
// error gone, the parent of a child that failed to start gone).
void WriteIgnoringErrors(int fd, const void* data, size_t size) {
    ssize_t written = write(fd, data, size);
    (void)written;
}

// In the child, between fork and exec: only async-signal-safe calls.
[[noreturn]] void BecomeProgram(const std::string& program, const std::string& directory, char* const* argv,
                                char* const* envp, int input, int errorOut, int startPipe) {
    setpgid(0, 0);
    struct sigaction plain {};
    plain.sa_handler = SIG_DFL;
    for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGQUIT, SIGHUP})
        sigaction(sig, &plain, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    StartFailure failure{kChangeDirectory, 0};
    if (directory.empty() || chdir(directory.c_str()) == 0) {
        dup2(input, 0);
        dup2(errorOut, 2);
        execve(program.c_str(), argv, envp);
        failure.stage = kExecute;
    }
    failure.error = errno;
    WriteIgnoringErrors(startPipe, &failure, sizeof failure);
    _exit(127);
}

// Passes what the child wrote on to the program's standard error and keeps
// its end; false once the child's side is closed.
bool TakeErrorOutput(int fd, std::string& tail) {
    char buffer[4096];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            WriteIgnoringErrors(2, buffer, static_cast<size_t>(n));
            tail.append(buffer, static_cast<size_t>(n));
            if (tail.size() > kChildErrorTailBytes)
                tail.erase(0, tail.size() - kChildErrorTailBytes);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && errno == EAGAIN;
    }
}

void TakeStatus(int status, ChildResult& result) {
    if (WIFSIGNALED(status)) {
        result.end = ChildEnd::Signalled;
        result.code = WTERMSIG(status);
        result.reason = strsignal(result.code);
    } else {
        result.end = ChildEnd::Exited;
        result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
}

void Reap(pid_t pid) {
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

bool GroupGone(pid_t group) { return kill(-group, 0) != 0 && errno == ESRCH; }

// Ends the child's process group: politely first, then by force.
void StopGroup(pid_t pid) {
    kill(-pid, SIGTERM);
    int64_t deadline = MonotonicMilliseconds() + kChildEndGraceMs;
    bool reaped = false;
    int status = 0;
    while (MonotonicMilliseconds() < deadline) {
        if (!reaped)
            reaped = waitpid(pid, &status, WNOHANG) == pid;
        if (reaped && GroupGone(pid))
            return;
        SleepMilliseconds(kStopPollMs);
    }
    kill(-pid, SIGKILL);
    if (!reaped)
        Reap(pid);
}

std::string NotStartedReason(const std::string& name, const StartFailure& failure, const std::string& directory) {
    if (failure.stage == kChangeDirectory)
        return "cannot change to " + directory + ": " + SystemErrorText(failure.error);
    return "cannot run " + name + ": " + SystemErrorText(failure.error);
}

// Waits for the child, reading its error output and asking the watch
// between times.
void Wait(pid_t pid, int errorIn, const ChildWatch& watch, ChildResult& result) {
    int64_t nextWatch = MonotonicMilliseconds() + kWatchMs;
    int status = 0;
    for (;;) {
        if (errorIn >= 0) {
            pollfd p{errorIn, POLLIN, 0};
            if (poll(&p, 1, kWatchMs) > 0 && !TakeErrorOutput(errorIn, result.errorTail)) {
                close(errorIn);
                errorIn = -1;
            }
        } else {
            SleepMilliseconds(kWatchMs);
        }
        pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            TakeStatus(status, result);
            break;
        }
        if (ended < 0 && errno != EINTR) {   // reaped elsewhere: how it ended is not known
            result.end = ChildEnd::Exited;
            result.code = -1;
            break;
        }
        if (MonotonicMilliseconds() < nextWatch)
            continue;
        nextWatch = MonotonicMilliseconds() + kWatchMs;
        if (!watch()) {
            StopGroup(pid);
            result.end = ChildEnd::Stopped;
            break;
        }
    }
    // What it wrote just before its end; programs it left behind may hold
    // the pipe open, so only what is there now.
    if (errorIn >= 0) {
        TakeErrorOutput(errorIn, result.errorTail);
        close(errorIn);
    }
}

}  // namespace

std::string FindOnPath(const std::string& name, const std::string& path) {
    if (name.find('/') != std::string::npos)
        return name;
    size_t start = 0;
    while (start <= path.size()) {
        size_t colon = path.find(':', start);
        if (colon == std::string::npos)
            colon = path.size();
        std::string dir = path.substr(start, colon - start);
        std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0 && !IsDirectory(candidate))
            return candidate;
        start = colon + 1;
    }
    return std::string();
}

ChildResult RunChild(const ChildCommand& command, const ChildWatch& watch) {
    ChildResult result;
    if (command.arguments.empty()) {
        result.reason = "no program to run";
        return result;
    }
    std::string path;
    std::vector<std::string> environment = ChildEnvironment(command.pathFirst, path);
    const std::string& name = command.arguments[0];
    std::string program = FindOnPath(name, path);
    if (program.empty()) {
        result.reason = name + " was not found on the PATH";
        return result;
    }
    std::vector<std::string> arguments = command.arguments;
    std::vector<char*> argv = Pointers(arguments), envp = Pointers(environment);
    Descriptors fds;
    if (!fds.Open()) {
        result.reason = SystemErrorText(errno);
        return result;
    }
    int64_t start = MonotonicMilliseconds();
    pid_t pid = fork();
    if (pid == 0)
        BecomeProgram(program, command.directory, argv.data(), envp.data(), fds.input, fds.errorPipe[1],
                      fds.startPipe[1]);
    int forkError = errno;
    fds.CloseChildSides();
    if (pid < 0) {
        result.reason = SystemErrorText(forkError);
        return result;
    }
    setpgid(pid, pid);   // the child does it too: whichever comes first
    StartFailure failure{};
    ssize_t n;
    while ((n = read(fds.startPipe[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
    }
    if (n == static_cast<ssize_t>(sizeof failure)) {
        Reap(pid);
        result.reason = NotStartedReason(name, failure, command.directory);
        return result;
    }
    int errorIn = fds.TakeErrorReader();
    fcntl(errorIn, F_SETFL, fcntl(errorIn, F_GETFL) | O_NONBLOCK);
    Wait(pid, errorIn, watch, result);
    result.milliseconds = MonotonicMilliseconds() - start;
    return result;
}
