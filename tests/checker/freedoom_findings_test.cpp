// Every check on every level of both Freedoom IWADs: nothing crashes and the
// findings are the ones listed in tests/data/freedoom_findings.txt. With
// ZARN_WRITE_FINDINGS set in the environment the list is written afresh
// instead (for a change to the checks that is meant to change it).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "base/config.h"
#include "check_recorder.h"
#include "level/level.h"
#include "level/level_files.h"
#include "checker/checks.h"
#include "pictures/namelists.h"
#include "support/program_state.h"
#include "support/session_kit.h"
#include "wad/master.h"
#include "source_paths.h"

namespace {

const char kExpected[] = ZARN_SOURCE_DIR "/tests/data/freedoom_findings.txt";

// Every check in the menu's order, all findings continued and every fix
// declined; wall textures the checks ask about are set on the way.
std::string FindingsOf(const char* name) {
    SetField(level.name, name);
    EXPECT_TRUE(LoadLevel(LevelSource::MasterDirectory)) << name;
    checktest::Recorder rec;
    bool (*const checks[])(CheckDialogs&) = {
        CheckClosedSectors,
        CheckCrossReferences,
        [](CheckDialogs& d) { return CheckMissingTextures(d, FixStyle::Ask); },
        [](CheckDialogs& d) { return CheckTextureNames(d, FixStyle::Ask); },
        CheckThingTypes,
        CheckLineDefTypes,
        CheckSectorTypes,
        CheckExitsAndStarts,
    };
    for (auto check : checks)
        EXPECT_TRUE(check(rec)) << name;
    std::string text = std::string("== ") + name + "\n";
    for (const std::string& line : rec.said)
        text += line + "\n";
    return text;
}

std::string FindingsOfIwad(int which) {
    std::string iwad = testkit::FreedoomIwad(which);
    if (iwad.empty())
        return "";
    testkit::ResetProgramState(Flavour::Doom);
    testkit::OpenIwadAt(iwad);
    BuildTextureNames();
    BuildFlatNames();
    std::string text;
    for (const char* name : SortedLevelNames())
        text += FindingsOf(name);
    return text;
}

TEST(FreedoomFindings, EveryLevelGivesTheListedFindings) {
    std::string one = FindingsOfIwad(1), two = FindingsOfIwad(2);
    testkit::ResetProgramState();
    if (one.empty() || two.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    std::string found = "# freedoom1.wad\n" + one + "# freedoom2.wad\n" + two;
    EXPECT_EQ(std::count(found.begin(), found.end(), '='), 2 * 68);
    if (std::getenv("ZARN_WRITE_FINDINGS")) {
        std::ofstream(kExpected) << found;
        GTEST_SKIP() << "wrote " << kExpected;
    }
    std::ifstream in(kExpected);
    ASSERT_TRUE(in) << kExpected;
    std::istringstream lines(found);
    std::string want, got, levelName;
    for (int row = 1; std::getline(in, want); ++row) {
        ASSERT_TRUE(std::getline(lines, got)) << "missing from row " << row << ": " << want;
        if (got.rfind("== ", 0) == 0)
            levelName = got;
        ASSERT_EQ(got, want) << "row " << row << " (" << levelName << ")";
    }
    EXPECT_FALSE(std::getline(lines, got)) << "more than listed: " << got;
}

}  // namespace
