// The real program ended abruptly in the middle of an edit, and started again:
// the next start offers the unsaved changes back, and what it restores is what
// a save then writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "brel_run.h"
#include "support/fault_kit.h"
#include "support/map_kit.h"

namespace {

TEST(RecoveryProgramTest, ChangesOfARunThatDiedAreNamedAtStartOfferedAndSaved) {
    const std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    testkit::ScratchDir dir;
    auto recoveryFiles = [&] {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            count += entry.path().filename().string().rfind("BrelUnsaved", 0) == 0;
        return count;
    };
    const std::string main = "-main '" + iwad + "'";
    const int kScriptEnded = 3;
    ASSERT_EQ(shelltest::RunBrel(dir, main, "Q\n").code, 0);   // the first start's set-up, without a display
    ASSERT_EQ(shelltest::RunBrel(dir, main, "E 2\n", "key L\nkey N\nkey Del\nkey Del\nwait 0\n").code, kScriptEnded);
    ASSERT_EQ(recoveryFiles(), 1);
    // What a run on another IWAD left is kept and named too.
    std::string other = mapkit::RecoveryFile(
        mapkit::SessionText(testkit::EndedProcessId(), "/elsewhere/doom.wad"), "E1M1");
    shelltest::WriteText(dir.file("BrelUnsaved-1.WAD"), other);

    // -edit alone opens MAP02 (not the last level edited, MAP01) with the
    // offer; Y restores; F2 saves MAP02.WAD (Enter takes the proposed name,
    // N keeps the old nodes) with one LineDef less than the IWAD's.
    shelltest::Ended run =
        shelltest::RunBrel(dir, main + " -edit", "", "key Y\nwait 0\nkey F2\nkey Enter\nkey N\nwait 0\n");
    ASSERT_EQ(run.code, kScriptEnded);
    for (const char* line : {"Unsaved changes of MAP02 from ", "  E 2 (or the option -edit) offers them back.",
                             "Unsaved changes of E1M1 from ",
                             "  start with -main /elsewhere/doom.wad -edit E1M1 to get them back."})
        EXPECT_NE(run.out.find(line), std::string::npos) << run.out;
    EXPECT_EQ(recoveryFiles(), 1);   // saving took the restored file's place; the other stays
    EXPECT_TRUE(std::filesystem::exists(dir.file("BrelUnsaved-1.WAD")));
    testkit::WadContents original = testkit::ReadWad(iwad);
    std::vector<std::string> names = original.names();
    size_t map02 = static_cast<size_t>(std::find(names.begin(), names.end(), "MAP02") - names.begin());
    size_t lineDefs = original.data("LINEDEFS", map02).size();
    EXPECT_EQ(testkit::ReadWad(dir.file("MAP02.WAD")).data("LINEDEFS").size(), lineDefs - 14);
}

}  // namespace
