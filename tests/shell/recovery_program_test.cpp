// The real program ended abruptly in the middle of an edit, and started again:
// the next start offers the unsaved changes back, and what it restores is what
// a save then writes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/fault_kit.h"
#include "support/map_kit.h"
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
    int Run(const std::string& input, const std::string& script, const std::string& options = "") {
        testkit::WriteFileBytes(dir.file("input"), testkit::Bytes(input.begin(), input.end()));
        testkit::WriteFileBytes(dir.file("script"), testkit::Bytes(script.begin(), script.end()));
        std::string video = script.empty() ? "-u ZARN_VIDEO -u ZARN_SCRIPT"
                                           : "ZARN_VIDEO=headless ZARN_SCRIPT=script";
        std::string command = "cd '" + dir.path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY " + video +
                              " " ZARN_BINARY_DIR "/brel -main '" + iwad + "' " + options + " < input > out 2> err";
        int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    bool There(const std::string& name) {
        struct stat st;
        return stat(dir.file(name).c_str(), &st) == 0;
    }
    int RecoveryFiles() {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            count += entry.path().filename().string().rfind("BrelUnsaved", 0) == 0;
        return count;
    }
    std::string Output() {
        testkit::Bytes out = testkit::ReadFileBytes(dir.file("out"));
        return std::string(out.begin(), out.end());
    }
    std::string iwad;
    testkit::ScratchDir dir;
};

TEST_F(RecoveryProgramTest, ChangesOfARunThatDiedAreNamedAtStartOfferedAndSaved) {
    const int kScriptEnded = 3;
    ASSERT_EQ(Run("E 2\n", "key L\nkey N\nkey Del\nkey Del\nwait 0\n"), kScriptEnded);
    ASSERT_EQ(RecoveryFiles(), 1);
    // What a run on another IWAD left is kept and named too.
    std::string other = mapkit::RecoveryFile(
        mapkit::SessionText(testkit::EndedProcessId(), "/elsewhere/doom.wad"), "E1M1");
    testkit::WriteFileBytes(dir.file("BrelUnsaved-1.WAD"), testkit::Bytes(other.begin(), other.end()));

    // -edit alone opens MAP02 (not the last level edited, MAP01) with the
    // offer; Y restores; F2 saves MAP02.WAD (Enter takes the proposed name,
    // N keeps the old nodes) with one LineDef less than the IWAD's.
    ASSERT_EQ(Run("", "key Y\nwait 0\nkey F2\nkey Enter\nkey N\nwait 0\n", "-edit"), kScriptEnded);
    std::string out = Output();
    EXPECT_NE(out.find("Unsaved changes of MAP02 from "), std::string::npos) << out;
    EXPECT_NE(out.find("  E 2 (or the option -edit) offers them back."), std::string::npos) << out;
    EXPECT_NE(out.find("Unsaved changes of E1M1 from "), std::string::npos) << out;
    EXPECT_NE(out.find("  start with -main /elsewhere/doom.wad -edit E1M1 to get them back."), std::string::npos)
        << out;
    ASSERT_TRUE(There("MAP02.WAD"));
    EXPECT_EQ(RecoveryFiles(), 1);   // saving took the restored file's place; the other stays
    EXPECT_TRUE(There("BrelUnsaved-1.WAD"));
    testkit::WadContents original = testkit::ReadWad(iwad);
    std::vector<std::string> names = original.names();
    size_t map02 = static_cast<size_t>(std::find(names.begin(), names.end(), "MAP02") - names.begin());
    size_t lineDefs = original.data("LINEDEFS", map02).size();
    size_t saved = testkit::ReadWad(dir.file("MAP02.WAD")).data("LINEDEFS").size();
    EXPECT_EQ(saved, lineDefs - 14);
}

}  // namespace
