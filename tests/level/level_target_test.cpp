#include "level/history.h"
#include "level_fixture.h"

namespace {

using LevelTargetTest = LevelTest;

// A PWAD's COMPLVL lump gives the level's target; a change of target is an
// undoable step of its own and the save writes the target's lump (none for
// the original games), which reads back as it was.
// A lump we cannot read is kept until another target is chosen; Copy ALL
// writes the new target's lump only, once. New levels take the target
// chosen for them.
TEST_F(LevelTargetTest, EachTargetIsSavedInItsCompLevelLumpAndReadBack) {
    using T = MapTarget;
    const struct {
        const char* lump;   // in the PWAD; nullptr: none
        T read, chosen;
        const char* saved;
        bool patch = false;   // a DEHACKED lump beside it, all data copied
    } cases[] = {
        {nullptr, T::Original, T::LimitRemoving, "COMPLVL=vanilla "},
        {nullptr, T::Original, T::Mbf21, "COMPLVL=mbf21 "},
        {"prboom-plus 17\n", T::Original, T::Original, "COMPLVL=prboom-plus 17\n "},
        {"MBF", T::Boom, T::Boom, "COMPLVL=MBF "},
        {"boom\n", T::Original, T::Mbf21, "COMPLVL=mbf21 "},
        {"MBF", T::Boom, T::Original, ""},
        {"vanilla", T::LimitRemoving, T::Boom, "DEHACKED=patch COMPLVL=boom ", true},
    };
    // The saved file's lumps besides the level's, with their text.
    auto savedExtras = [&] {
        std::string extras;
        for (const testkit::WadLump& l : testkit::ReadWad(dir.file("MAP01.WAD")).lumps)
            if (l.name == "COMPLVL" || l.name == "DEHACKED")
                extras += l.name + "=" + std::string(l.data.begin(), l.data.end()) + " ";
        return extras;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lump ? c.lump : "none") + " to " + MapTargetName(c.chosen));
        TearDown();   // a fresh session
        SetUp();
        WadBuilder iwad("IWAD"), pwad;
        AddLevel(iwad, "MAP01", Room());
        WriteIwad(iwad);
        if (c.lump)
            pwad.lump("COMPLVL", std::string(c.lump));
        if (c.patch)
            pwad.lump("DEHACKED", "patch");
        AddLevel(pwad, "MAP01", Room());
        pwad.write(dir.file("MAP01.WAD"));
        ASSERT_GT(ReadPwad(dir.file("MAP01.WAD")), 0);
        Load("MAP01");
        EXPECT_EQ(level.target, c.read);
        ResetHistory();
        level.target = c.chosen;
        NameStep("target");
        EXPECT_EQ(RecordStep(), c.chosen != c.read);
        EXPECT_EQ(level.levelChanged, c.chosen != c.read);
        EXPECT_EQ(Undo(), c.chosen != c.read);
        EXPECT_EQ(level.target, c.read);
        EXPECT_FALSE(level.levelChanged);
        EXPECT_EQ(Redo(), c.chosen != c.read);
        EXPECT_EQ(level.levelChanged, c.chosen != c.read);
        // Only a file with more than the level and its COMPLVL asks to copy all.
        if (c.patch)
            dialogs.answers = {"y"};
        ASSERT_EQ(SaveAs(1, 1), 1);
        EXPECT_EQ(savedExtras(), c.saved);
        Load("MAP01");
        EXPECT_EQ(level.target, c.chosen);
    }
    // A new level takes the target chosen for new levels.
    level.newLevelTarget = MapTarget::Boom;
    ResetLevel();
    Load("MAP01", LevelSource::NewLevel);
    EXPECT_EQ(level.target, MapTarget::Boom);
}

}  // namespace
