// Faults a test provokes in a child process, so that the test program itself
// goes on: a disk that fills up, a directory that cannot be written, a file
// size limit whose signal kills the writer part-way.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace testkit {

// How a child process ended.
struct ChildOutcome {
    int exitCode = -1;    // when it exited
    int signal = 0;       // when a signal ended it
    std::string report;   // what its body returned, when it got that far
};
// Runs body in a forked child and waits for it. The child ends without
// running the test program's clean-ups; what it found is its report.
ChildOutcome RunInChild(const std::function<std::string()>& body);

// In a child: mounts a file system of bytes bytes (whole pages) on the empty
// directory dir, seen by this process only. False when the system allows
// no such mount (the test should then be skipped).
bool MountSmallDisk(const std::string& dir, size_t bytes);
// In a child, on a directory of MountSmallDisk: every write there fails now.
bool MakeDiskReadOnly(const std::string& dir);
// In a child: no file may grow beyond bytes. A write past that ends the
// process (SIGXFSZ).
void LimitFileSize(size_t bytes);

// Another program's process that runs until this object goes (it waits
// for a signal and does nothing else), to stand for a second session.
class RunningProcess {
public:
    RunningProcess();
    ~RunningProcess();
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;
    long pid() const { return pid_; }

private:
    long pid_ = 0;
};

// The id of a process that has ended and been reaped.
long EndedProcessId();

}  // namespace testkit
