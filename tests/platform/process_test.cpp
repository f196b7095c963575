// Running a child program and waiting for it: how it ended, what it said on
// its standard error, and the ways a wait could hang.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <unistd.h>

#include "platform/process.h"
#include "support/testkit.h"

namespace {

std::string ReadText(const std::string& path) {
    testkit::Bytes bytes = testkit::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

ChildResult RunQuietly(const ChildCommand& command, const ChildWatch& watch = [] { return true; }) {
    testkit::StderrCapture quiet;   // what the child passes on
    return RunChild(command, watch);
}

TEST(RunChildTest, HowTheChildEndedAndWhatItSaid) {
    testkit::ScratchDir dir;
    testkit::WriteFileBytes(dir.file("tool"), testkit::Bytes{'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'});
    std::filesystem::permissions(dir.file("tool"), std::filesystem::perms::owner_all);
    testkit::WriteFileBytes(dir.file("plain"), {});
    std::string here = dir.path().substr(0, dir.path().size() - 1);
    const struct {
        const char* why;
        ChildCommand command;
        ChildEnd end;
        int code;
        std::string tail;     // of the error output, or the reason it did not start
    } cases[] = {
        {"exit code and error output", {{"sh", "-c", "echo one >&2; echo two >&2; exit 3"}, "", ""},
         ChildEnd::Exited, 3, "one\ntwo\n"},
        {"a signal", {{"sh", "-c", "kill -SEGV $$"}, "", ""}, ChildEnd::Signalled, SIGSEGV, ""},
        // Standard input is empty: a program that reads it does not wait for the user.
        {"reads its input", {{"sh", "-c", "cat; exit 4"}, "", ""}, ChildEnd::Exited, 4, ""},
        {"its directory", {{"sh", "-c", "pwd >&2"}, dir.path(), ""}, ChildEnd::Exited, 0, here + "\n"},
        {"the first on its PATH", {{"tool", "a"}, "", here}, ChildEnd::Exited, 0, ""},
        {"no such program", {{"no-such-program"}, "", ""}, ChildEnd::NotStarted, 0,
         "no-such-program was not found on the PATH"},
        {"no such directory", {{"sh"}, dir.file("gone"), ""}, ChildEnd::NotStarted, 0,
         "cannot change to " + dir.file("gone") + ": No such file or directory"},
        {"not a program", {{dir.file("plain")}, "", ""}, ChildEnd::NotStarted, 0,
         "cannot run " + dir.file("plain") + ": Permission denied"},
    };
    for (const auto& c : cases) {
        ChildResult r = RunQuietly(c.command);
        EXPECT_EQ(r.end, c.end) << c.why;
        EXPECT_EQ(r.code, c.code) << c.why;
        EXPECT_EQ(r.end == ChildEnd::NotStarted ? r.reason : r.errorTail, c.tail) << c.why;
    }
}

// The error output is passed on as it comes, so a child that writes more
// than a pipe holds goes on; its end is kept.
TEST(RunChildTest, LongErrorOutputIsPassedOnAndItsEndKept) {
    testkit::StderrCapture passed;
    ChildResult r = RunChild({{"sh", "-c", "head -c 300000 /dev/zero | tr '\\0' x >&2; echo END >&2"}, "", ""},
                             [] { return true; });
    EXPECT_EQ(r.end, ChildEnd::Exited);
    EXPECT_EQ(r.errorTail.size(), kChildErrorTailBytes);
    EXPECT_EQ(r.errorTail.substr(r.errorTail.size() - 5), "xEND\n");
    EXPECT_EQ(passed.output().size(), 300004u);
}

// Whether the process runs (a zombie does not), looking a while for its end.
bool RunsOn(const std::string& pidFile) {
    std::string stat = "/proc/" + ReadText(pidFile).substr(0, ReadText(pidFile).find('\n')) + "/stat";
    for (int i = 0; i < 100; ++i) {
        std::string text = std::filesystem::exists(stat) ? ReadText(stat) : "";
        size_t state = text.rfind(") ");
        if (state == std::string::npos || text[state + 2] == 'Z')
            return false;
        usleep(10000);
    }
    return true;
}

// A stop ends the child and what it started, even when they ignore the
// polite request; a program left running in the background is not waited for.
TEST(RunChildTest, NeitherAStoppedChildNorOneThatLeftAProgramBehindHoldsTheWait) {
    testkit::ScratchDir dir;
    int watched = 0;
    ChildResult stopped = RunQuietly({{"sh", "-c", "trap '' TERM; sleep 60 & echo $! > p; mv p pid; wait"}, dir.path(), ""},
                              [&] { return !std::filesystem::exists(dir.file("pid")) || ++watched < 3; });
    EXPECT_EQ(stopped.end, ChildEnd::Stopped);
    EXPECT_EQ(watched, 3);
    EXPECT_LT(stopped.milliseconds, 30000);
    EXPECT_FALSE(RunsOn(dir.file("pid")));

    ChildResult left = RunQuietly({{"sh", "-c", "sleep 60 & echo $! > p; mv p pid"}, dir.path(), ""});
    EXPECT_EQ(left.end, ChildEnd::Exited);
    EXPECT_LT(left.milliseconds, 30000);
    EXPECT_TRUE(RunsOn(dir.file("pid")));
    kill(std::stoi(ReadText(dir.file("pid"))), SIGKILL);
}

}  // namespace
