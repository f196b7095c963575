#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "base/config.h"
#include "command_fixture.h"

using namespace wadtest;

namespace {

class MasterTest : public WadCommandTest {
protected:
    const WadDirEntry& Entry(const char* name) {
        WadDirEntry* e = FindEntry(0, name, EntryNeed::Optional);
        EXPECT_NE(e, nullptr) << name;
        return *e;
    }
    // The names of the row's directory entries at the indices given.
    std::string NamesAt(int row, std::vector<size_t> indices) {
        std::string s;
        for (size_t i : indices)
            s += EntryNameText(master.table[row].dir[i].name) + " ";
        return s;
    }
};

TEST_F(MasterTest, PwadEntriesReplaceTheirNamesakesOrAreAppended) {
    MakeIwad({"E1M1", "E1M2"});
    size_t before = MasterDirectory().size();
    WadBuilder p;
    int r = Read("p.wad", p.lump("PLAYPAL", Bytes(768, 2)).lump("NEWTEX", "abc").level("E1M2"));
    ASSERT_GT(r, 0);
    EXPECT_TRUE(Contains(console.output(), " 1 Entries added, 1 Entries replaced"));
    EXPECT_EQ(MasterDirectory().size(), before + 1);
    EXPECT_EQ(ReadEntryData(Entry("NEWTEX")), Text("abc"));
    EXPECT_EQ(ReadEntryData(Entry("PLAYPAL")), Bytes(768, 2));
    // Every lump of E1M2 comes from the PWAD; those of E1M1 stay.
    EXPECT_EQ(master.levelList[0].file, 0);
    EXPECT_EQ(master.levelList[1].file, r);
    int marker = FindMasterIndex("E1M2");
    ASSERT_GE(marker, 0);
    for (int k = 0; k < kLevelLumpCount; ++k)
        EXPECT_EQ(MasterDirectory()[size_t(marker + k)].file, r) << k;
    EXPECT_EQ(ReadEntryData(Entry("THINGS")), Text("E1M1/THINGS/iwad"));
    // Lumps out of order are matched by name; a level the IWAD lacks is added whole.
    int bad = Read("bad.wad", WadBuilder().lump("E1M1").lump("LINEDEFS", "L").lump("THINGS", "T"));
    EXPECT_TRUE(Contains(console.output(), "THINGS entry sequence ?, press a key"));
    EXPECT_EQ(std::make_pair(Entry("LINEDEFS").file, Entry("THINGS").file), std::make_pair(int16_t(bad), int16_t(bad)));
    ASSERT_GT(Read("new.wad", WadBuilder().level("E4M1")), 0);
    EXPECT_TRUE(SameEntryName((&Entry("E4M1") + 10)->name, "BLOCKMAP"));
}

TEST_F(MasterTest, TheIwadDecidesTheNamingStyleAndLevelNamesAreConvertedToIt) {
    std::vector<std::string> maps;
    for (int i = 1; i <= 48; ++i)
        maps.push_back((i < 10 ? "MAP0" : "MAP") + std::to_string(i));
    MakeIwad(maps);
    EXPECT_EQ(master.gameStyle, kStyleMaps);
    EXPECT_EQ(master.levelList.size(), 48u);   // no level is dropped
    int r = Read("ep.wad", WadBuilder().level("E1M1").level("E3M5"));
    ASSERT_GT(r, 0);
    EXPECT_EQ(NamesAt(r, {0, 11}), "MAP01 MAP02 ");
    EXPECT_TRUE(Contains(console.output(), "Converted to HERETIC II level name"));

    ResetMaster();
    MakeIwad({"E1M1", "E1M2", "E1M3", "E1M4", "E1M5", "E1M6", "E1M7", "E1M8", "E1M9", "E2M1"});
    EXPECT_EQ(master.gameStyle, kStyleEpisodes);
    WadBuilder many;
    for (size_t i = 3; i <= 12; ++i)
        many.level(maps[i - 1]);
    r = Read("maps.wad", many);
    ASSERT_GT(r, 0);
    EXPECT_EQ(NamesAt(r, {0, 11, 99}), "E1M1 E1M2 E2M1 ");
}

// Files of the wrong type or missing are refused; names are completed with
// the patch path only when they fit. The table of open files has room for
// 42 PWADs: the 43rd is refused with the design's message and the session
// goes on with the 42.
TEST_F(MasterTest, WrongMissingAndTooManyFilesAreRefused) {
    MakeIwad({"E1M1"});
    EXPECT_EQ(Read("iw.wad", WadBuilder("IWAD").lump("X", "1")), -1);
    EXPECT_EQ(ReadPwad(dir.file("missing.wad")), -1);
    EXPECT_TRUE(Contains(console.output(), "is not PWAD, found IWAD, press a key"));
    EXPECT_TRUE(Contains(console.output(), "not found, press a key"));
    char name[kFileNameField] = "X.LMP";
    SetField(config.patchPath, "/levels/");
    EXPECT_EQ(NormalizeWadName(name, sizeof name), 1);
    EXPECT_STREQ(name, "/levels/X.LMP");
    char small[44] = "SOMELONGNAME";
    SetField(config.patchPath, "/a/very/long/patch/path/for/levels/");
    EXPECT_EQ(NormalizeWadName(small, sizeof small), 0);
    EXPECT_STREQ(small, "SOMELONGNAME");

    config.patchPath[0] = 0;
    for (int i = 1; i <= 43; ++i) {
        std::string lump = "L" + std::to_string(i);
        EXPECT_EQ(Read(lump + ".wad", WadBuilder().lump(lump, "x")) > 0, i <= 42) << i;
    }
    EXPECT_TRUE(Contains(console.output(), "File Limit of 43 Exceeded, " + dir.file("L43.wad") +
                                               " is not read, press a key"));
    EXPECT_EQ(RememberedPwads().size(), 42u);
    EXPECT_EQ(FindEntry(0, "L43", EntryNeed::Optional), nullptr);
}

// A damaged PWAD is refused with a message naming it and why, and the session
// goes on with the directory as it was; a damaged IWAD ends the program.
TEST_F(MasterTest, DamagedPwadsAreRefusedAndADamagedIwadEndsTheProgram) {
    struct Case { size_t at; int32_t value; const char* why; } cases[] = {
        {8, 1000000, "its directory (1 entries at 1000000) lies outside the file"},
        {4, -5, "its directory (-5 entries at 112) lies outside the file"},
        {4, 0x7FFFFFF0, "its directory (2147483632 entries at 112) lies outside the file"},
        {116, 200, "entry 0 (DATA) lies outside the file"},
        {112, -1, "entry 0 (DATA) lies outside the file"},
        {5, 0, "it is too short for a WAD header"},
    };
    for (const char* type : {"PWAD", "IWAD"}) {
        Bytes good = WadBuilder(type).lump("DATA", Bytes(100, 7)).bytes();
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(type) + " damaged at " + std::to_string(c.at));
            ResetMaster();
            std::memset(config.pwadList, 0, sizeof config.pwadList);
            Bytes bad = good;
            for (size_t i = 0; i < 4; ++i)
                bad[c.at + i] = uint8_t(uint32_t(c.value) >> (8 * i));
            bad.resize(c.at == 5 ? 5 : bad.size());
            testkit::WriteFileBytes(dir.file("dmg.wad"), bad);
            std::string damaged = "WAD file " + dir.file("dmg.wad") + " is damaged: ";
            if (type[0] == 'I') {
                EXPECT_EQ(testkit::ExitOf([&] { OpenIwadAt(dir.file("dmg.wad")); }).rfind(damaged, 0), 0u);
                continue;
            }
            MakeIwad({"E1M1"});
            size_t entries = MasterDirectory().size();
            EXPECT_EQ(ReadPwad(dir.file("dmg.wad")), -1);
            EXPECT_TRUE(Contains(console.output(), damaged + c.why + "; it is not read, press a key"))
                << console.output();
            EXPECT_EQ(MasterDirectory().size(), entries);
            // No row is kept for it: the next file is read into the first.
            EXPECT_EQ(Read("ok.wad", WadBuilder().lump("OK", "1")), 1);
        }
    }
}

}  // namespace
