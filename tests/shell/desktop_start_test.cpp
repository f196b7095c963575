// The real program started as the desktop's menu starts it: -desktop, no
// terminal on any of its streams, the user's data directory not there yet.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/screen_text.h"
#include "support/testkit.h"
#include "source_paths.h"

namespace {

class DesktopStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        iwad = testkit::FreedoomIwad(2);
        if (iwad.empty())
            GTEST_SKIP() << "Freedoom is not installed";
    }
    // Runs brel -desktop with the IWAD, the headless script and the shell
    // input given; returns its exit code.
    int Run(const std::string& iwadName, const std::string& script, const std::string& input) {
        testkit::WriteFileBytes(dir.file("input"), testkit::Bytes(input.begin(), input.end()));
        testkit::WriteFileBytes(dir.file("script"), testkit::Bytes(script.begin(), script.end()));
        std::string command = "cd '" + dir.path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY HOME='" +
                              dir.path() + "' XDG_DATA_HOME='" + dir.file("data") +
                              "' ZARN_VIDEO=headless ZARN_SCRIPT='" + dir.file("script") +
                              "' " ZARN_BINARY_DIR "/brel -desktop -main '" + iwadName +
                              "' < input > out 2> err";
        int raw = std::system(command.c_str());
        testkit::Bytes bytes = testkit::ReadFileBytes(dir.file("out"));
        out.assign(bytes.begin(), bytes.end());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    bool There(const std::string& name) {
        struct stat st;
        return stat(dir.file(name).c_str(), &st) == 0;
    }
    std::string iwad, out;
    testkit::ScratchDir dir;
};

TEST_F(DesktopStartTest, WorksInTheDataDirectoryEditsAtOnceAndShowsItsErrorInAWindow) {
    // The first start: the setup's boxes (OK, the options dialog's OK, OK),
    // then the editor on MAP01; leaving it ends the program, and the shell
    // reads no command.
    const std::string setup = "key Enter\nkey Alt-O\nkey Enter\n";
    ASSERT_EQ(Run(iwad, setup + "snapshot " + dir.file("map.png") + "\nkey Esc\n", "WADS\n"), 0) << out;
    EXPECT_TRUE(There("data/brel/Brel.cfg"));
    EXPECT_FALSE(There("Brel.cfg"));
    EXPECT_TRUE(testkit::SnapshotShowsText(dir.file("map.png"), "MAP01"));
    EXPECT_EQ(out.find("IWAD  =="), std::string::npos) << out;

    // An IWAD that is not there: the setup comes again, and the error that
    // ends the program is in a box as well as on the console.
    const std::string missing = dir.file("gone.wad");
    EXPECT_EQ(Run(missing, setup + "snapshot " + dir.file("error.png") + "\nkey Enter\n", ""), 5);
    EXPECT_TRUE(testkit::SnapshotShowsText(dir.file("error.png"), "Please restart and set the correct main IWAD"));
    EXPECT_NE(out.find("Error: Please restart"), std::string::npos) << out;
}

}  // namespace
