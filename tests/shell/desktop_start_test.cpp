// The real program started as the desktop's menu starts it: -desktop, no
// terminal on any of its streams, the user's data directory not there yet.
#include <gtest/gtest.h>

#include <filesystem>

#include "brel_run.h"
#include "support/screen_text.h"

namespace {

TEST(DesktopStartTest, WorksInTheDataDirectoryEditsAtOnceAndShowsItsErrorInAWindow) {
    const std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    testkit::ScratchDir dir;
    const std::string environment = "HOME='" + dir.path() + "' XDG_DATA_HOME='" + dir.file("data") + "'";
    // The first start: the setup's boxes (OK, the options dialog's OK, OK),
    // then the editor on MAP01; leaving it ends the program, and the shell
    // reads no command.
    const std::string setup = "key Enter\nkey Alt-O\nkey Enter\n";
    shelltest::Ended run = shelltest::RunBrel(dir, "-desktop -main '" + iwad + "'", "WADS\n",
                                              setup + "snapshot " + dir.file("map.png") + "\nkey Esc\n", environment);
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(std::filesystem::exists(dir.file("data/brel/Brel.cfg")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("Brel.cfg")));
    EXPECT_TRUE(testkit::SnapshotShowsText(dir.file("map.png"), "MAP01"));
    EXPECT_EQ(run.out.find("IWAD  =="), std::string::npos) << run.out;

    // An IWAD that is not there: the setup comes again, and the error that
    // ends the program is in a box as well as on the console.
    run = shelltest::RunBrel(dir, "-desktop -main '" + dir.file("gone.wad") + "'", "",
                             setup + "snapshot " + dir.file("error.png") + "\nkey Enter\n", environment);
    EXPECT_EQ(run.code, 5);
    EXPECT_TRUE(testkit::SnapshotShowsText(dir.file("error.png"), "Please restart and set the correct main IWAD"));
    EXPECT_NE(run.out.find("Error: Please restart"), std::string::npos) << run.out;
}

}  // namespace
