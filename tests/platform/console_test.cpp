// The text console when no terminal is at hand: who answers its waits, and
// how text redrawn in place is paced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/console.h"
#include "support/testkit.h"

namespace {

// A script's lines are commands: a "press a key" wait takes none of them, a
// question takes a whole line. A person's key presses are taken one by one.
TEST(ConsoleInput, WaitsTakeKeysFromAPersonAndNothingFromAScript) {
    for (ConsoleReader reader : {ConsoleReader::Script, ConsoleReader::Person}) {
        const bool person = reader == ConsoleReader::Person;
        testkit::ConsoleCapture capture("WADS\nQ\n", reader);
        EXPECT_EQ(ConsoleInteractive(), person);
        ConsoleWaitForKey();
        // The wait took 'W' from a person; from a script the question takes "WADS" whole.
        EXPECT_EQ(ConsoleReadKey(), person ? 'A' : 'W');
        std::string line;
        EXPECT_TRUE(ConsoleReadLine(line));
        EXPECT_EQ(line, person ? "DS" : "Q");
    }
    testkit::ConsoleCapture ended("", ConsoleReader::Person);
    EXPECT_EQ(ConsoleReadKey(), kConsoleEndOfInput);
    ConsoleWaitForKey();   // returns at the end of input too
}

std::vector<int64_t> Range(int64_t from, int64_t to, int64_t step) {
    std::vector<int64_t> values;
    for (int64_t v = from; v <= to; v += step)
        values.push_back(v);
    return values;
}

// The amounts of work at which a plain console draws a progress text.
TEST(ConsoleProgressPacing, APlainConsoleGetsALineEveryTenthAndAtTheEnd) {
    testkit::ConsoleCapture capture;
    const struct {
        int64_t total;
        std::vector<int64_t> steps, due;
    } cases[] = {
        {1000, Range(0, 1000, 1), {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}},
        {1000, {0, 250, 260, 1000, 1000, 1200}, {250, 1000}},    // a jump over tenths is one line; the end is once
        {10, {-5, 0, 3, 12}, {3, 12}},                           // past the total is the end
        {0, {0, 0, 5}, {0}},                                     // no work: the end at once
        {int64_t{3} << 40, {int64_t{3} << 39, int64_t{3} << 40}, {int64_t{3} << 39, int64_t{3} << 40}},
    };
    for (const auto& c : cases) {
        ConsoleProgress progress(c.total);
        EXPECT_FALSE(progress.InPlace());
        std::vector<int64_t> due;
        for (int64_t done : c.steps)
            if (progress.Due(done))
                due.push_back(done);
        EXPECT_EQ(due, c.due) << c.total;
    }
}

}  // namespace
