// The real program ended abruptly in the middle of an edit, and started again:
// the next start offers the unsaved changes back, and what it restores is what
// a save then writes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "support/testkit.h"
#include "source_paths.h"

namespace {

class RecoveryProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        iwad = testkit::FreedoomIwad(2);
        if (iwad.empty())
            GTEST_SKIP() << "Freedoom is not installed";
        ASSERT_EQ(Run("Q\n", ""), 0);   // the first start's set-up, without a display
    }
    // Runs brel on freedoom2 with the shell input and the headless script;
    // returns its exit code. Without a script there is no screen at all.
    int Run(const std::string& input, const std::string& script) {
        testkit::WriteFileBytes(dir.file("input"), testkit::Bytes(input.begin(), input.end()));
        testkit::WriteFileBytes(dir.file("script"), testkit::Bytes(script.begin(), script.end()));
        std::string video = script.empty() ? "-u ZARN_VIDEO -u ZARN_SCRIPT"
                                           : "ZARN_VIDEO=headless ZARN_SCRIPT=script";
        std::string command = "cd '" + dir.path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY " + video +
                              " " ZARN_BINARY_DIR "/brel -main '" + iwad + "' < input > out 2> err";
        int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    bool There(const std::string& name) {
        struct stat st;
        return stat(dir.file(name).c_str(), &st) == 0;
    }
    std::string iwad;
    testkit::ScratchDir dir;
};

TEST_F(RecoveryProgramTest, ChangesOfARunThatDiedAreOfferedAndSaved) {
    const int kScriptEnded = 3;
    ASSERT_EQ(Run("E 1\n", "key L\nkey N\nkey Del\nkey Del\nwait 0\n"), kScriptEnded);
    ASSERT_TRUE(There("BrelUnsaved.WAD"));

    // Y restores; F2 saves MAP01.WAD (Enter takes the proposed name, N keeps
    // the old nodes); the saved level has one LineDef less than the IWAD's.
    ASSERT_EQ(Run("E 1\n", "key Y\nwait 0\nkey F2\nkey Enter\nkey N\nwait 0\n"), kScriptEnded);
    ASSERT_TRUE(There("MAP01.WAD"));
    EXPECT_FALSE(There("BrelUnsaved.WAD"));   // saving took its place
    testkit::WadContents original = testkit::ReadWad(iwad);
    std::vector<std::string> names = original.names();
    size_t map01 = static_cast<size_t>(std::find(names.begin(), names.end(), "MAP01") - names.begin());
    size_t lineDefs = original.data("LINEDEFS", map01).size();
    size_t saved = testkit::ReadWad(dir.file("MAP01.WAD")).data("LINEDEFS").size();
    EXPECT_EQ(saved, lineDefs - 14);
}

}  // namespace
