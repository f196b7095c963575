// Running another program (the node builder, the game) as a child process
// and waiting for it, while the caller keeps its window alive and may stop
// it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct ChildCommand {
    std::vector<std::string> arguments;   // the program (looked up on PATH), then its arguments
    std::string directory;                // where it runs; "" the current directory
    std::string pathFirst;                // a directory put first on its PATH; "" none
};

enum class ChildEnd {
    Exited,       // ChildResult::code is its exit code
    Signalled,    // ChildResult::code is the signal that ended it, reason its name
    Stopped,      // the watch asked for its end, and it was ended
    NotStarted,   // ChildResult::reason says why
};

struct ChildResult {
    ChildEnd end = ChildEnd::NotStarted;
    int code = 0;
    int64_t milliseconds = 0;   // from its start to its end, in real time
    std::string errorTail;      // the end of what it wrote on its standard error
    std::string reason;         // NotStarted: why; Signalled: the signal's name
};

// The most of the error output that ChildResult::errorTail keeps.
constexpr size_t kChildErrorTailBytes = 4096;
// How long a child asked to end may take before it is killed.
constexpr int kChildEndGraceMs = 2000;

// The program as a PATH (directories separated by ":") finds it: the first
// executable file of that name in them; a name with a "/" as it is; "" when
// none is found.
std::string FindOnPath(const std::string& name, const std::string& path);

// Called about 20 times a second while the child runs; false asks for its
// end.
using ChildWatch = std::function<bool()>;

// Runs the command and waits for it to end. Its standard input is
// /dev/null, its standard output the program's own; its standard error is
// passed on to the program's as it comes, and its end kept. The child gets a
// process group of its own, so that a stop reaches whatever it started:
// SIGTERM, and SIGKILL when the group is still there kChildEndGraceMs later.
// Programs it left running in the background are not waited for.
ChildResult RunChild(const ChildCommand& command, const ChildWatch& watch);
