// The real program in a window on a private X server (Xvfb): the wall time
// from starting the process to Freedoom 2's MAP12 drawn in a 1280x1024
// window (and the CPU time the program took for it: other work on the
// machine lengthens the wall time, not this), and the CPU time the editor
// then uses while nobody touches it, over 5 seconds. The program reports each frame it shows on stderr
// (ZARN_TRACE_FRAMES); the map is drawn with the last frame before it goes
// idle.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "support/private_x_server.h"
#include "support/testkit.h"
#include "source_paths.h"

extern char** environ;

namespace {

constexpr int kRuns = 7;
constexpr int kSettleMs = 1500;   // no frame for this long: the program is idle
constexpr int kFirstFrameMs = 20000;
constexpr int kIdleMs = 5000;
const char* const kIwad = "/usr/share/games/doom/freedoom2.wad";

int64_t Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// CPU milliseconds the process's main thread has run so far (the scheduler's
// count, in nanoseconds: finer than the clock ticks of /proc/PID/stat). An
// idle program has no other thread.
double CpuMs(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/schedstat");
    long long ns = 0;
    stat >> ns;
    return double(ns) / 1e6;
}

struct Run {
    double startMs = -1;    // process start to the last frame before idle
    double startCpuMs = -1; // the CPU time the program used for it, all threads
    int frames = 0;
    double idleCpuMsPerS = -1;
    int idleFrames = 0;
};

// A frame the program showed: when, and the CPU time it had used by then.
struct Frame {
    int64_t at;
    double cpuMs;
};

// The frames the program writes on the pipe until the time given, or (with
// -1) from its first frame until it is quiet for kSettleMs.
std::vector<Frame> ReadFrames(int fd, int64_t until) {
    std::vector<Frame> frames;
    std::string pending;
    for (;;) {
        int64_t left = until - Now();
        if (until < 0)
            left = frames.empty() ? kFirstFrameMs : kSettleMs;
        if (left <= 0)
            break;
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, int(left)) <= 0)
            break;
        char buffer[512];
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        pending.append(buffer, size_t(n));
        for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
            long long t = 0;
            double cpu = -1;
            if (std::sscanf(pending.c_str(), "frame %lld %lf", &t, &cpu) >= 1)
                frames.push_back({t, cpu});
        }
    }
    return frames;
}

Run RunOnce(const std::string& dir) {
    int errors[2];
    if (pipe(errors) != 0)
        return {};
    const std::string program = std::string(ZARN_BINARY_DIR) + "/brel";
    const char* argv[] = {program.c_str(), "-main", kIwad, "-video", "4", "-edit", "MAP12", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/zero", O_RDONLY, 0);   // never ends
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errors[1], 2);
    posix_spawn_file_actions_addclose(&actions, errors[0]);
    setenv("ZARN_TRACE_FRAMES", "1", 1);
    int64_t start = Now();
    pid_t pid = -1;
    int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(errors[1]);
    Run run;
    if (failed == 0) {
        std::vector<Frame> frames = ReadFrames(errors[0], -1);
        run.frames = int(frames.size());
        if (!frames.empty()) {
            run.startMs = double(frames.back().at - start);
            run.startCpuMs = frames.back().cpuMs;
        }
        double cpu = CpuMs(pid);
        run.idleFrames = int(ReadFrames(errors[0], Now() + kIdleMs).size());
        run.idleCpuMsPerS = (CpuMs(pid) - cpu) / (kIdleMs / 1000.0);
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    close(errors[0]);
    return run;
}

}  // namespace

int main() {
    if (!testkit::PrivateXServer::Installed() || access(kIwad, R_OK) != 0) {
        std::printf("program_bench: needs Xvfb and %s; skipped\n", kIwad);
        return 0;
    }
    testkit::PrivateXServer server;
    if (!server.Start(1280, 1024)) {
        std::printf("program_bench: Xvfb did not start\n");
        return 1;
    }
    unsetenv("ZARN_VIDEO");
    unsetenv("SDL_VIDEODRIVER");
    testkit::ScratchDir dir;
    // A configuration and the help file, so that no first-time setup runs.
    std::string setup = "cd '" + dir.path() + "' && cp '" ZARN_SOURCE_DIR "/data/Brel.HLP' . && env -u DISPLAY " +
                        ZARN_BINARY_DIR + "/brel -main " + kIwad + " < /dev/null > /dev/null 2>&1";
    if (std::system(setup.c_str()) != 0) {
        std::printf("program_bench: the first start failed\n");
        return 1;
    }
    std::printf("Brel on MAP12 in a 1280x1024 window (Xvfb), %d runs\n", kRuns);
    std::printf("%6s %10s %14s %8s %14s %12s\n", "run", "start ms", "start CPU ms", "frames", "idle CPU ms/s",
                "idle frames");
    std::vector<double> starts, startCpus, idles;
    for (int i = 0; i < kRuns; ++i) {
        Run run = RunOnce(dir.path());
        std::printf("%6d %10.0f %14.1f %8d %14.2f %12d\n", i + 1, run.startMs, run.startCpuMs, run.frames,
                    run.idleCpuMsPerS, run.idleFrames);
        starts.push_back(run.startMs);
        startCpus.push_back(run.startCpuMs);
        idles.push_back(run.idleCpuMsPerS);
    }
    for (std::vector<double>* figures : {&starts, &startCpus, &idles})
        std::sort(figures->begin(), figures->end());
    std::printf("start-up: min %.0f ms, median %.0f ms (target < 100); its CPU: min %.1f ms, median %.1f ms\n",
                starts[0], starts[kRuns / 2], startCpus[0], startCpus[kRuns / 2]);
    std::printf("idle: min %.2f, median %.2f ms of CPU a second (target < 1)\n", idles[0], idles[kRuns / 2]);
    return 0;
}
