#include <gtest/gtest.h>

#include <cstring>

#include "shell/config.h"
#include "shell/fatal.h"
#include "shell/flavour.h"
#include "shell/startup.h"
#include "support/testkit.h"
#include "wad/master.h"

using testkit::Bytes;
using testkit::WadBuilder;

namespace {

class MasterTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFlavour(Flavour::Heretic);
        startup = StartupState{};
        startup.workDir = dir.path();
        ResetConfig();
        ResetMaster();
    }
    void TearDown() override { ResetMaster(); }

    // An IWAD of the given levels with a PLAYPAL before them.
    void MakeIwad(const std::vector<std::string>& levels) {
        WadBuilder b("IWAD");
        b.lump("PLAYPAL", Bytes(768, 1));
        for (const std::string& l : levels) {
            b.lump(l);
            for (const char* name : testkit::kLevelLumps)
                b.lump(name, Bytes(4, 0x11));
        }
        b.write(dir.file("base.wad"));
        SetField(config.iwadName, dir.file("base.wad").c_str());
        OpenIwad(config.iwadName);
    }
    int Read(const std::string& file) {
        int row = NewPwadRow();
        SetField(config.pwadList[row], dir.file(file).c_str());
        int r = LoadPwad(config.pwadList[row]);
        if (r <= 0)
            config.pwadList[row][0] = 0;
        return r;
    }
    const WadDirEntry& Entry(const char* name) {
        WadDirEntry* e = FindEntry(0, name, 0);
        EXPECT_NE(e, nullptr) << name;
        return *e;
    }
    std::string LevelNames() {
        std::string s;
        for (auto& l : master.levelList)
            s += std::string(l.name) + ":" + std::to_string(l.file) + " ";
        return s;
    }
    testkit::ScratchDir dir;
    testkit::ConsoleCapture console{std::string(20, '\n')};
};

TEST_F(MasterTest, IwadDecidesTheNamingStyleAndListsEveryLevel) {
    MakeIwad({"E1M1", "E1M2"});
    EXPECT_EQ(master.gameStyle, kStyleEpisodes);
    EXPECT_EQ(LevelNames(), "E1M1:0 E1M2:0 ");
    ResetMaster();
    std::vector<std::string> maps;
    for (int i = 1; i <= 48; ++i)
        maps.push_back("MAP" + std::string(i < 10 ? "0" : "") + std::to_string(i));
    MakeIwad(maps);
    EXPECT_EQ(master.gameStyle, kStyleMaps);
    EXPECT_EQ(master.levelList.size(), 48u);   // no level is dropped
}

TEST_F(MasterTest, PwadReplacesAndAppendsEntries) {
    MakeIwad({"E1M1", "E1M2"});
    size_t before = MasterDirectory().size();
    WadBuilder p;
    p.lump("PLAYPAL", Bytes(768, 2)).lump("NEWTEX", "abc");
    p.write(dir.file("p.wad"));
    int r = Read("p.wad");
    ASSERT_GT(r, 0);
    EXPECT_EQ(Entry("PLAYPAL").file, r);
    EXPECT_EQ(Entry("NEWTEX").file, r);
    EXPECT_EQ(MasterDirectory().size(), before + 1);
    EXPECT_EQ(master.table[0].count, static_cast<int32_t>(before + 1));
    EXPECT_EQ(ReadEntryData(Entry("NEWTEX")), Bytes({'a', 'b', 'c'}));
    EXPECT_EQ(ReadEntryData(Entry("PLAYPAL"))[0], 2);
    EXPECT_NE(console.output().find(" 1 Entries added, 1 Entries replaced"), std::string::npos);
}

TEST_F(MasterTest, LevelLumpsReplaceTheLevelInStep) {
    MakeIwad({"E1M1", "E1M2"});
    WadBuilder p;
    p.level("E1M2");
    p.write(dir.file("lev.wad"));
    int r = Read("lev.wad");
    ASSERT_GT(r, 0);
    EXPECT_EQ(LevelNames(), "E1M1:0 E1M2:" + std::to_string(r) + " ");
    // Every lump of E1M2 comes from the PWAD; those of E1M1 stay.
    auto& dirm = MasterDirectory();
    for (size_t i = 0; i < dirm.size(); ++i) {
        if (SameEntryName(dirm[i].name, "E1M2")) {
            for (size_t k = 0; k < 11; ++k)
                EXPECT_EQ(dirm[i + k].file, r) << k;
        }
    }
    EXPECT_EQ(Entry("THINGS").file, 0);   // the first THINGS is E1M1's
}

TEST_F(MasterTest, LevelNamesAreConvertedBetweenStyles) {
    MakeIwad({"MAP01", "MAP02", "MAP03"});
    WadBuilder p;
    p.level("E1M1").level("E3M5");
    p.write(dir.file("ep.wad"));
    int r = Read("ep.wad");
    ASSERT_GT(r, 0);
    EXPECT_EQ(EntryNameText(master.table[r].dir[0].name), "MAP01");
    EXPECT_EQ(EntryNameText(master.table[r].dir[11].name), "MAP02");
    EXPECT_NE(console.output().find("Converted to HERETIC II level name"), std::string::npos);

    ResetMaster();
    master.nextEpisode = 1;
    std::vector<std::string> episodes;
    for (int m = 1; m <= 9; ++m)
        episodes.push_back("E1M" + std::to_string(m));
    episodes.push_back("E2M1");
    MakeIwad(episodes);
    WadBuilder many;
    for (int i = 3; i <= 12; ++i)
        many.level("MAP" + std::string(i < 10 ? "0" : "") + std::to_string(i));
    many.write(dir.file("maps.wad"));
    r = Read("maps.wad");
    ASSERT_GT(r, 0);
    EXPECT_EQ(EntryNameText(master.table[r].dir[0].name), "E1M1");
    EXPECT_EQ(EntryNameText(master.table[r].dir[11].name), "E1M2");
    EXPECT_EQ(EntryNameText(master.table[r].dir[99].name), "E2M1");
}

TEST_F(MasterTest, LevelLumpsOutOfOrderAreReportedAndMatchedByName) {
    MakeIwad({"E1M1"});
    WadBuilder p;
    p.lump("E1M1").lump("LINEDEFS", "L").lump("THINGS", "T");
    p.write(dir.file("bad.wad"));
    int r = Read("bad.wad");
    ASSERT_GT(r, 0);
    EXPECT_NE(console.output().find("THINGS entry sequence ?, press a key"), std::string::npos);
    EXPECT_EQ(Entry("LINEDEFS").file, r);
    EXPECT_EQ(Entry("THINGS").file, r);
}

TEST_F(MasterTest, LevelMissingFromTheIwadIsAddedNotFatal) {
    MakeIwad({"MAP01"});
    WadBuilder p;
    p.level("MAP33");
    p.write(dir.file("new.wad"));
    int r = Read("new.wad");
    ASSERT_GT(r, 0);
    ASSERT_GE(FindLevel("MAP33"), 0);
    const WadDirEntry* marker = FindEntry(0, "MAP33", 0);
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
    int again = LoadPwad(config.pwadList[0]);
    EXPECT_EQ(again, b);
    EXPECT_EQ(MasterDirectory().size(), size);
}

TEST_F(MasterTest, WrongTypeAndMissingFilesAreRefused) {
    MakeIwad({"E1M1"});
    WadBuilder("IWAD").lump("X", "1").write(dir.file("iw.wad"));
    EXPECT_EQ(Read("iw.wad"), -1);
    EXPECT_EQ(Read("missing.wad"), -1);
    std::string out = console.output();
    EXPECT_NE(out.find("is not PWAD, found IWAD, press a key"), std::string::npos);
    EXPECT_NE(out.find("not found, press a key"), std::string::npos);
}

TEST_F(MasterTest, DamagedWadsEndWithAMessageNamingTheFile) {
    MakeIwad({"E1M1"});
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
    };
    for (const Case& c : cases) {
        Bytes bad = good;
        for (int i = 0; i < 4; ++i)
            bad[c.at + i] = static_cast<uint8_t>(static_cast<uint32_t>(c.value) >> (8 * i));
        testkit::WriteFileBytes(dir.file("dmg.wad"), bad);
        try {
            Read("dmg.wad");
            ADD_FAILURE() << c.what;
        } catch (const ProgramExit& e) {
            EXPECT_EQ(e.code(), 5);
            EXPECT_NE(std::string(e.what()).find("dmg.wad"), std::string::npos) << c.what;
        }
        ResetMaster();
        std::memset(config.pwadList, 0, sizeof config.pwadList);
        MakeIwad({"E1M1"});
    }
    testkit::WriteFileBytes(dir.file("short.wad"), Bytes({'P', 'W', 'A', 'D', 1}));
    EXPECT_THROW(Read("short.wad"), ProgramExit);
}

TEST_F(MasterTest, MissingIwadIsFatal) {
    SetField(config.iwadName, dir.file("none.wad").c_str());
    try {
        OpenIwad(config.iwadName);
        FAIL();
    } catch (const ProgramExit& e) {
        EXPECT_STREQ(e.what(), "Please restart and set the correct main IWAD file name!");
    }
}

TEST_F(MasterTest, NamesAreCompletedAndTypesChecked) {
    char name[kFileNameField] = "MYLEVEL";
    EXPECT_EQ(NormalizeWadName(name, sizeof name), 1);
    EXPECT_EQ(std::string(name), dir.path() + "MYLEVEL.WAD");
    SetField(config.patchPath, "/levels/");
    SetField(name, "X.LMP");
    NormalizeWadName(name, sizeof name);
    EXPECT_STREQ(name, "/levels/X.LMP");
    SetField(config.patchPath, "/a/very/long/patch/path/for/levels/");
    SetField(name, "SOMELONGNAME");
    EXPECT_EQ(NormalizeWadName(name, sizeof name), 0);
    EXPECT_STREQ(name, "SOMELONGNAME");

    testkit::WriteFileBytes(dir.file("c.cfg"), Bytes({'Q', 'C', 'F', 'G'}));
    char cfg[kFileNameField];
    SetField(cfg, dir.file("C.CFG").c_str());   // found ignoring case
    EXPECT_EQ(CheckFileType(cfg, "_CFG", 0), 1);
    EXPECT_EQ(CheckFileType(cfg, "xCFG", 0), 0);
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

}  // namespace
