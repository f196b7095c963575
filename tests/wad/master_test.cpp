#include <gtest/gtest.h>

#include <cstring>

#include "shell/config.h"
#include "shell/fatal.h"
#include "command_fixture.h"

using namespace wadtest;

namespace {

class MasterTest : public WadCommandTest {
protected:
    const WadDirEntry& Entry(const char* name) {
        WadDirEntry* e = FindEntry(0, name, 0);
        EXPECT_NE(e, nullptr) << name;
        return *e;
    }
    // "name:file " for every level of the level list.
    std::string LevelFiles() {
        std::string s;
        for (auto& l : master.levelList)
            s += std::string(l.name) + ":" + std::to_string(l.file) + " ";
        return s;
    }
    std::string NameAt(int row, size_t index) { return EntryNameText(master.table[row].dir[index].name); }
};

std::string MapName(int n) { return "MAP" + std::string(n < 10 ? "0" : "") + std::to_string(n); }

TEST_F(MasterTest, IwadDecidesTheNamingStyleAndListsEveryLevel) {
    MakeIwad({"E1M1", "E1M2"});
    EXPECT_EQ(master.gameStyle, kStyleEpisodes);
    EXPECT_EQ(LevelFiles(), "E1M1:0 E1M2:0 ");
    ResetMaster();
    std::vector<std::string> maps;
    for (int i = 1; i <= 48; ++i)
        maps.push_back(MapName(i));
    MakeIwad(maps);
    EXPECT_EQ(master.gameStyle, kStyleMaps);
    EXPECT_EQ(master.levelList.size(), 48u);   // no level is dropped
}

TEST_F(MasterTest, PwadEntriesReplaceTheirNamesakesOrAreAppended) {
    MakeIwad({"E1M1", "E1M2"});
    size_t before = MasterDirectory().size();
    WadBuilder p;
    p.lump("PLAYPAL", Bytes(768, 2)).lump("NEWTEX", "abc").level("E1M2");
    p.write(dir.file("p.wad"));
    int r = Read("p.wad");
    ASSERT_GT(r, 0);
    EXPECT_NE(console.output().find(" 1 Entries added, 1 Entries replaced"), std::string::npos);
    EXPECT_EQ(MasterDirectory().size(), before + 1);
    EXPECT_EQ(master.table[0].count, static_cast<int32_t>(before + 1));
    EXPECT_EQ(ReadEntryData(Entry("NEWTEX")), Text("abc"));
    EXPECT_EQ(ReadEntryData(Entry("PLAYPAL")), Bytes(768, 2));
    // Every lump of E1M2 comes from the PWAD; those of E1M1 stay.
    EXPECT_EQ(LevelFiles(), "E1M1:0 E1M2:" + std::to_string(r) + " ");
    int marker = FindMasterIndex("E1M2");
    ASSERT_GE(marker, 0);
    for (int k = 0; k < kLevelLumpCount; ++k)
        EXPECT_EQ(MasterDirectory()[static_cast<size_t>(marker + k)].file, r) << k;
    EXPECT_EQ(ReadEntryData(Entry("THINGS")), Text("E1M1/THINGS/iwad"));
}

TEST_F(MasterTest, LevelNamesAreConvertedBetweenStyles) {
    MakeIwad({"MAP01", "MAP02", "MAP03"});
    WadBuilder().level("E1M1").level("E3M5").write(dir.file("ep.wad"));
    int r = Read("ep.wad");
    ASSERT_GT(r, 0);
    EXPECT_EQ(NameAt(r, 0), "MAP01");
    EXPECT_EQ(NameAt(r, 11), "MAP02");
    EXPECT_NE(console.output().find("Converted to HERETIC II level name"), std::string::npos);

    ResetMaster();
    std::vector<std::string> episodes;
    for (int m = 1; m <= 9; ++m)
        episodes.push_back("E1M" + std::to_string(m));
    episodes.push_back("E2M1");
    MakeIwad(episodes);
    WadBuilder many;
    for (int i = 3; i <= 12; ++i)
        many.level(MapName(i));
    many.write(dir.file("maps.wad"));
    r = Read("maps.wad");
    ASSERT_GT(r, 0);
    EXPECT_EQ(NameAt(r, 0), "E1M1");
    EXPECT_EQ(NameAt(r, 11), "E1M2");
    EXPECT_EQ(NameAt(r, 99), "E2M1");
}

TEST_F(MasterTest, OddLevelsAreReportedOrAddedNotFatal) {
    MakeIwad({"E1M1"});
    // Lumps out of order are matched by name.
    WadBuilder().lump("E1M1").lump("LINEDEFS", "L").lump("THINGS", "T").write(dir.file("bad.wad"));
    int r = Read("bad.wad");
    ASSERT_GT(r, 0);
    EXPECT_NE(console.output().find("THINGS entry sequence ?, press a key"), std::string::npos);
    EXPECT_EQ(Entry("LINEDEFS").file, r);
    EXPECT_EQ(Entry("THINGS").file, r);
    // A level the IWAD lacks is added whole.
    WadBuilder().level("E4M1").write(dir.file("new.wad"));
    ASSERT_GT(Read("new.wad"), 0);
    ASSERT_GE(FindLevel("E4M1"), 0);
    const WadDirEntry* marker = FindEntry(0, "E4M1", 0);
    ASSERT_NE(marker, nullptr);
    EXPECT_TRUE(SameEntryName((marker + 10)->name, "BLOCKMAP"));
}

TEST_F(MasterTest, ReplacedPwadIsForgottenAndTheSameFileIsReadOnce) {
    MakeIwad({"E1M1"});
    WadBuilder().level("E1M1").write(dir.file("a.wad"));
    WadBuilder().level("E1M1").write(dir.file("b.wad"));
    int a = Read("a.wad");
    ASSERT_GT(a, 0);
    int b = Read("b.wad");
    ASSERT_GT(b, 0);
    EXPECT_EQ(master.table[a].state, 0);   // a supplied nothing any more
    EXPECT_STREQ(config.pwadList[0], dir.file("b.wad").c_str());
    EXPECT_EQ(config.pwadList[1][0], 0);
    size_t size = MasterDirectory().size();
    EXPECT_EQ(LoadPwad(config.pwadList[0]), b);
    EXPECT_EQ(MasterDirectory().size(), size);
}

TEST_F(MasterTest, CompactingThePwadListKeepsRowsPointingAtTheirNames) {
    MakeIwad({"E1M1"});
    WadBuilder().lump("A1", "x").write(dir.file("a.wad"));
    WadBuilder().lump("B1", "y").write(dir.file("b.wad"));
    SetField(config.pwadList[3], dir.file("a.wad").c_str());
    SetField(config.pwadList[7], dir.file("b.wad").c_str());
    int a = LoadPwad(config.pwadList[3]);
    ASSERT_STREQ(config.pwadList[1], dir.file("b.wad").c_str());
    int b = LoadPwad(config.pwadList[1]);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    EXPECT_EQ(master.table[a].name, config.pwadList[0]);
    EXPECT_EQ(master.table[b].name, config.pwadList[1]);
    EXPECT_EQ(NewPwadRow(), 2);
}

TEST_F(MasterTest, WrongTypeAndMissingFilesAreRefused) {
    MakeIwad({"E1M1"});
    WadBuilder("IWAD").lump("X", "1").write(dir.file("iw.wad"));
    EXPECT_EQ(Read("iw.wad"), -1);
    EXPECT_EQ(Read("missing.wad"), -1);
    EXPECT_NE(console.output().find("is not PWAD, found IWAD, press a key"), std::string::npos);
    EXPECT_NE(console.output().find("not found, press a key"), std::string::npos);
}

TEST_F(MasterTest, DamagedWadsEndWithAMessageNamingTheFile) {
    Bytes good = WadBuilder().lump("DATA", Bytes(100, 7)).bytes();
    struct Case {
        const char* what;
        size_t at;
        int32_t value;
    } cases[] = {
        {"directory past the end", 8, 1000000},
        {"negative count", 4, -5},
        {"huge count", 4, 0x7FFFFFF0},
        {"entry past the end", 116, 200},      // size of DATA
        {"negative entry offset", 112, -1},
        {"short file", 5, 0},
    };
    for (const Case& c : cases) {
        ResetMaster();
        std::memset(config.pwadList, 0, sizeof config.pwadList);
        MakeIwad({"E1M1"});
        Bytes bad = good;
        for (int i = 0; i < 4; ++i)
            bad[c.at + i] = static_cast<uint8_t>(static_cast<uint32_t>(c.value) >> (8 * i));
        if (c.at == 5)
            bad.resize(5);
        testkit::WriteFileBytes(dir.file("dmg.wad"), bad);
        try {
            Read("dmg.wad");
            ADD_FAILURE() << c.what;
        } catch (const ProgramExit& e) {
            EXPECT_EQ(e.code(), 5);
            EXPECT_TRUE(Contains(e.what(), "dmg.wad")) << c.what << ": " << e.what();
        }
    }
}

TEST_F(MasterTest, NamesAreCompletedOnlyWhenTheyFit) {
    char name[kFileNameField] = "X.LMP";
    SetField(config.patchPath, "/levels/");
    EXPECT_EQ(NormalizeWadName(name, sizeof name), 1);
    EXPECT_STREQ(name, "/levels/X.LMP");
    SetField(config.patchPath, "/a/very/long/patch/path/for/levels/");
    SetField(name, "SOMELONGNAME");
    EXPECT_EQ(NormalizeWadName(name, sizeof name), 0);
    EXPECT_STREQ(name, "SOMELONGNAME");
}

}  // namespace
