#include <cstring>

#include "level/history.h"
#include "level_fixture.h"

using testkit::ParseWad;
using testkit::ReadFileBytes;

namespace {

class LevelTargetTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        WadBuilder iwad("IWAD");
        iwad.lump("PLAYPAL", Bytes(768, 1));
        AddLevel(iwad, "MAP01", Room());
        WriteIwad(iwad);
        config.lastEpisode = 1;
        config.lastMap = 1;
    }
    // A fresh session over the same IWAD, for the next case of a table.
    void Restart() {
        TearDown();
        SetUp();
    }
    // A PWAD of MAP01 with a COMPLVL lump of that text (none when null).
    void ReadPwadWith(const char* compLevel, const MapData& map = Room()) {
        WadBuilder pwad;
        AddLevel(pwad, "MAP01", map);
        if (compLevel)
            pwad.lump("COMPLVL", std::string(compLevel));
        pwad.write(dir.file("MAP01.WAD"));
        ASSERT_GT(ReadPwad(dir.file("MAP01.WAD")), 0);
    }
    // The COMPLVL lump of the saved file, "-" when it has none.
    std::string SavedCompLevel() {
        testkit::WadContents wad = testkit::ReadWad(dir.file("MAP01.WAD"));
        for (const testkit::WadLump& l : wad.lumps)
            if (l.name == "COMPLVL")
                return std::string(l.data.begin(), l.data.end());
        return "-";
    }
};

// A map of port-only values: a generalized floor on a LineDef with the pass
// use and MBF21 flags, a Sector with Boom bits, a Thing with the new flags.
MapData PortMap() {
    MapData m = Room();
    m.lineDefs[0].flags = static_cast<int16_t>(0x3201);
    m.lineDefs[0].type = static_cast<int16_t>(0x6091);
    m.lineDefs[0].tag = 3;
    m.sectors[0].type = static_cast<int16_t>(0x20E1);
    m.things[0].flags = static_cast<int16_t>(0xE7);
    return m;
}

TEST_F(LevelTargetTest, EachTargetIsSavedInItsCompLevelLumpAndReadBack) {
    const struct {
        MapTarget target;
        const char* lump;   // "-": none
    } cases[] = {
        {MapTarget::Original, "-"},
        {MapTarget::LimitRemoving, "vanilla"},
        {MapTarget::Boom, "boom"},
        {MapTarget::Mbf21, "mbf21"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(MapTargetName(c.target));
        Restart();
        ReadPwadWith(nullptr, PortMap());
        Load("MAP01");
        EXPECT_EQ(level.target, MapTarget::Original);
        // A change of target is a step of its own.
        ResetHistory();
        level.target = c.target;
        NameStep("target");
        EXPECT_EQ(RecordStep(), c.target != MapTarget::Original);
        EXPECT_EQ(level.levelChanged, c.target != MapTarget::Original);
        if (c.target != MapTarget::Original) {
            ASSERT_TRUE(Undo());
            EXPECT_EQ(level.target, MapTarget::Original);
            EXPECT_FALSE(level.levelChanged);
            ASSERT_TRUE(Redo());
            EXPECT_TRUE(level.levelChanged);
        }
        ASSERT_EQ(SaveAs(1, 1), 1);
        EXPECT_EQ(SavedCompLevel(), c.lump);
        // Read back: the target, and every 16-bit value as it was.
        Load("MAP01");
        EXPECT_EQ(level.target, c.target);
        EXPECT_EQ((std::vector<uint16_t>{uint16_t(level.lineDefs[0].flags), uint16_t(level.lineDefs[0].type),
                                         uint16_t(level.sectors[0].type), uint16_t(level.things[0].flags)}),
                  (std::vector<uint16_t>{0x3201, 0x6091, 0x20E1, 0xE7}));
    }
}

TEST_F(LevelTargetTest, ALumpWeCannotReadIsKeptUntilAnotherTargetIsChosen) {
    for (const char* text : {"prboom-plus 17\n", "MBF", "", "boom\n"}) {
        SCOPED_TRACE(text);
        Restart();
        ReadPwadWith(text);
        Load("MAP01");
        std::string kept = text;
        MapTarget read = kept == "MBF" ? MapTarget::Boom : MapTarget::Original;
        EXPECT_EQ(level.target, read);
        ASSERT_EQ(SaveAs(1, 1), 1);
        EXPECT_EQ(SavedCompLevel(), kept);
        // The file holds only the level and that lump: nothing to ask.
        EXPECT_FALSE(dialogs.Logged("Copy ALL"));
        level.target = MapTarget::Mbf21;
        ASSERT_EQ(SaveAs(1, 1), 1);
        EXPECT_EQ(SavedCompLevel(), "mbf21");
        level.target = MapTarget::Original;
        ASSERT_EQ(SaveAs(1, 1), 1);
        EXPECT_EQ(SavedCompLevel(), "-");
    }
}

TEST_F(LevelTargetTest, NewLevelsTakeTheChosenTarget) {
    level.newLevelTarget = MapTarget::Boom;
    ResetLevel();
    Load("MAP01", LevelSource::NewLevel);
    EXPECT_EQ(level.target, MapTarget::Boom);
    EXPECT_EQ(level.newLevelTarget, MapTarget::Boom);
}

TEST_F(LevelTargetTest, CopyAllWritesOneCompLevelLumpOfTheNewTarget) {
    WadBuilder pwad;
    pwad.lump("COMPLVL", std::string("vanilla")).lump("DEHACKED", "patch");
    AddLevel(pwad, "MAP01", Room());
    pwad.write(dir.file("MAP01.WAD"));
    ASSERT_GT(ReadPwad(dir.file("MAP01.WAD")), 0);
    Load("MAP01");
    EXPECT_EQ(level.target, MapTarget::LimitRemoving);
    level.target = MapTarget::Boom;
    dialogs.answers = {"y"};
    ASSERT_EQ(SaveAs(1, 1), 1);
    std::vector<std::string> names = testkit::ReadWad(dir.file("MAP01.WAD")).names();
    EXPECT_EQ(std::count(names.begin(), names.end(), "COMPLVL"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "DEHACKED"), 1);
    EXPECT_EQ(SavedCompLevel(), "boom");
}

}  // namespace
