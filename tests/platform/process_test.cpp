// Running a child program and waiting for it: how it ended, what it said on
// its standard error, and the ways a wait could hang.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <unistd.h>

#include "platform/files.h"
#include "platform/process.h"
#include "support/testkit.h"

namespace {

std::string ReadText(const std::string& path) {
    testkit::Bytes bytes = testkit::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(RunChildTest, HowTheChildEndedAndWhatItSaid) {
    testkit::ScratchDir dir;
    const struct {
        const char* why;
        ChildCommand command;
        ChildEnd end;
        int code;
        std::string tail;     // of the error output, or the reason it did not start
        size_t passed;        // bytes of error output passed on as they came
    } cases[] = {
        {"exit code and error output", {{"sh", "-c", "echo one >&2; echo two >&2; exit 3"}, "", ""},
         ChildEnd::Exited, 3, "one\ntwo\n", 8},
        {"a signal", {{"sh", "-c", "kill -SEGV $$"}, "", ""}, ChildEnd::Signalled, SIGSEGV, "", 0},
        // Standard input is empty: a program that reads it does not wait for the user.
        {"reads its input", {{"sh", "-c", "cat; exit 4"}, "", ""}, ChildEnd::Exited, 4, "", 0},
        // More than a pipe holds: the child goes on, the end of it is kept.
        {"long error output", {{"sh", "-c", "head -c 300000 /dev/zero | tr '\\0' x >&2; echo END >&2"}, "", ""},
         ChildEnd::Exited, 0, std::string(kChildErrorTailBytes - 4, 'x') + "END\n", 300004},
        {"no such program", {{"no-such-program"}, "", ""}, ChildEnd::NotStarted, 0,
         "no-such-program was not found on the PATH", 0},
        {"no such directory", {{"sh"}, dir.file("gone"), ""}, ChildEnd::NotStarted, 0,
         "cannot change to " + dir.file("gone") + ": No such file or directory", 0},
    };
    for (const auto& c : cases) {
        testkit::StderrCapture passed;
        ChildResult r = RunChild(c.command, [] { return true; });
        EXPECT_EQ(passed.output().size(), c.passed) << c.why;
        EXPECT_EQ(r.end, c.end) << c.why;
        EXPECT_EQ(r.code, c.code) << c.why;
        EXPECT_EQ(r.end == ChildEnd::NotStarted ? r.reason : r.errorTail, c.tail) << c.why;
    }
}

// Whether the process runs (a zombie does not), looking a while for its end.
bool RunsOn(long pid) {
    for (int i = 0; i < 100 && !ProcessStartMark(pid).empty(); ++i)
        usleep(10000);
    return !ProcessStartMark(pid).empty();
}

// A stop ends the child and what it started, even when they ignore the
// polite request; a program left running in the background is not waited for.
TEST(RunChildTest, NeitherAStoppedChildNorOneThatLeftAProgramBehindHoldsTheWait) {
    testkit::ScratchDir dir;
    testkit::StderrCapture quiet;   // what the children pass on
    int watched = 0;
    ChildResult stopped = RunChild({{"sh", "-c", "trap '' TERM; sleep 60 & echo $! > p; mv p pid; wait"}, dir.path(), ""},
                                   [&] { return !std::filesystem::exists(dir.file("pid")) || ++watched < 3; });
    EXPECT_EQ(stopped.end, ChildEnd::Stopped);
    EXPECT_EQ(watched, 3);
    EXPECT_LT(stopped.milliseconds, 30000);
    EXPECT_FALSE(RunsOn(std::stol(ReadText(dir.file("pid")))));

    ChildResult left = RunChild({{"sh", "-c", "sleep 60 & echo $! > p; mv p pid"}, dir.path(), ""},
                                [] { return true; });
    EXPECT_EQ(left.end, ChildEnd::Exited);
    EXPECT_LT(left.milliseconds, 30000);
    const long background = std::stol(ReadText(dir.file("pid")));
    EXPECT_TRUE(RunsOn(background));
    kill(pid_t(background), SIGKILL);
}

}  // namespace
