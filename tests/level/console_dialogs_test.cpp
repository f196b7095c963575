// Saving's progress on the text console.
#include <gtest/gtest.h>

#include <sstream>

#include "level/level_dialogs.h"
#include "support/testkit.h"

namespace {

// Without a terminal the percentage is a line at most every tenth of the work,
// however often the save reports.
TEST(ConsoleLevelDialogsProgress, APipedSaveShowsAFewLinesOfPercentages) {
    testkit::ConsoleCapture capture;
    ConsoleLevelDialogs dialogs;
    dialogs.ProgressStart("Saving Level to E1M1.WAD", 100000);
    for (int32_t done = 0; done <= 100000; done += 7)
        dialogs.ProgressUpdate(done);
    dialogs.ProgressUpdate(100000);
    dialogs.ProgressEnd();
    std::istringstream shown(capture.output());
    std::vector<std::string> lines;
    for (std::string line; std::getline(shown, line);)
        if (!line.empty())
            lines.push_back(line);
    ASSERT_EQ(lines.size(), 11u) << capture.output();
    EXPECT_EQ(lines.front(), "Saving Level to E1M1.WAD");
    EXPECT_EQ(lines[1], "Saving Level to E1M1.WAD  10%");
    EXPECT_EQ(lines.back(), "Saving Level to E1M1.WAD 100%");
}

}  // namespace
