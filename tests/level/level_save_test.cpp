#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "level_fixture.h"
#include "platform/files.h"

using levelkit::AddLevel;
using levelkit::AsBytes;
using levelkit::AsRecords;
using levelkit::LumpData;
using levelkit::LumpNames;
using levelkit::MapData;
using levelkit::ReadWad;
using levelkit::Room;
using testkit::Bytes;
using testkit::WadBuilder;

namespace {

const std::vector<std::string> kLevelNames = {"E1M1", "THINGS", "LINEDEFS", "SIDEDEFS",
                                              "VERTEXES", "SEGS", "SSECTORS", "NODES",
                                              "SECTORS", "REJECT", "BLOCKMAP"};

class LevelSaveTest : public LevelTest {
protected:
    // An IWAD with E1M1 (two unused vertices before the room's) and E1M2.
    void SetUp() override {
        LevelTest::SetUp();
        WadBuilder iwad("IWAD");
        iwad.lump("PLAYPAL", Bytes(768, 1));
        AddLevel(iwad, "E1M1", Room(2));
        AddLevel(iwad, "E1M2", Room());
        WriteIwad(iwad);
    }
    void Edit(int16_t episode, int16_t map, int newLevel = 0) {
        config.lastEpisode = episode;
        config.lastMap = map;
        Load("E" + std::to_string(episode) + "M" + std::to_string(map), newLevel);
    }
    // Accepts whatever file name is proposed.
    void AcceptName() { dialogs.paths.push_back({true, ""}); }
    std::vector<std::string> ListedPwads() {
        std::vector<std::string> names;
        for (auto& row : config.pwadList)
            if (row[0])
                names.push_back(row);
        return names;
    }
    void AddSectors(int total) {
        while (level.sectors.count < total) {
            ResizeObject(kObjSector, 1);
            level.sectors[level.sectors.count - 1] = levelkit::MakeSector(0, 64);
        }
    }
};

// The vertex coordinates of every LineDef: the map as the game sees it.
std::vector<int> LineGeometry(const Bytes& lineDefs, const Bytes& vertexes) {
    std::vector<Vertex> v = AsRecords<Vertex>(vertexes);
    std::vector<int> out;
    for (const LineDef& l : AsRecords<LineDef>(lineDefs)) {
        for (int16_t n : {l.start, l.end}) {
            EXPECT_TRUE(n >= 0 && static_cast<size_t>(n) < v.size());
            if (n >= 0 && static_cast<size_t>(n) < v.size()) {
                out.push_back(v[static_cast<size_t>(n)].x);
                out.push_back(v[static_cast<size_t>(n)].y);
            }
        }
    }
    return out;
}

TEST_F(LevelSaveTest, UnchangedIwadLevelIsSavedAsItWasUnderItsOwnName) {
    Edit(1, 1);
    level.levelChanged = true;
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_EQ(dialogs.proposals[0], dir.file("E1M1.WAD"));
    EXPECT_EQ(dialogs.Questions(), std::vector<std::string>{"New WAD file Name"});
    std::vector<levelkit::WadLump> saved = ReadWad(dir.file("E1M1.WAD"));
    EXPECT_EQ(LumpNames(saved), kLevelNames);
    MapData old = Room(2);
    // The node builder's VERTEXES (with the unused vertices) is kept, so the
    // LineDefs keep their old vertex numbers.
    EXPECT_EQ(LumpData(saved, "VERTEXES"), AsBytes(old.vertices));
    EXPECT_EQ(LumpData(saved, "LINEDEFS"), AsBytes(old.lineDefs));
    EXPECT_EQ(LumpData(saved, "THINGS"), AsBytes(old.things));
    EXPECT_EQ(LumpData(saved, "SIDEDEFS"), AsBytes(old.sideDefs));
    EXPECT_EQ(LumpData(saved, "SECTORS"), AsBytes(old.sectors));
    EXPECT_EQ(LumpData(saved, "SEGS"), old.segs);
    EXPECT_EQ(LumpData(saved, "SSECTORS"), old.ssectors);
    EXPECT_EQ(LumpData(saved, "BLOCKMAP"), old.blockmap);
    EXPECT_EQ(LumpData(saved, "REJECT"), Bytes(1, 0));
    // The new file is in the master directory and holds the level now.
    EXPECT_EQ(ListedPwads(), std::vector<std::string>{dir.file("E1M1.WAD")});
    EXPECT_GT(master.currentLevelRow, 0);
    EXPECT_FALSE(level.levelChanged);
    EXPECT_EQ(FindEntry(0, "E1M1", 0)->file, master.currentLevelRow);
    EXPECT_TRUE(dialogs.Logged("#Saving Level to " + dir.file("E1M1.WAD")));
    EXPECT_EQ(dialogs.progressTotal, 10 + 16 + 56 + 120 + 26 + 48 + 4 + 0 + 1 + 40 + 511);
    EXPECT_EQ(dialogs.progressDone, 10 + 56 + 120 + 24 + 48 + 4 + 0 + 26 + 1 + 40);
    // Saving again (from the PWAD now) still keeps the map intact.
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    saved = ReadWad(dir.file("E1M1.WAD"));
    EXPECT_EQ(LumpData(saved, "LINEDEFS"), AsBytes(old.lineDefs));
    EXPECT_EQ(LumpData(saved, "VERTEXES"), AsBytes(old.vertices));
    // The file saved first is now the backup, released from the lists.
    EXPECT_EQ(LumpData(ReadWad(dir.file("E1M1.BAK")), "LINEDEFS"), AsBytes(old.lineDefs));
    EXPECT_EQ(ListedPwads(), std::vector<std::string>{dir.file("E1M1.WAD")});
}

TEST_F(LevelSaveTest, ChangedMapIsWrittenFromMemoryAfterTheNodeQuestion) {
    Edit(1, 1);
    level.mapChanged = true;
    level.vertices[0].x = -64;
    dialogs.confirms = {0};
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_EQ(dialogs.Questions(), (std::vector<std::string>{"New WAD file Name", "Map Changed, Rebuild NODES ?"}));
    EXPECT_TRUE(dialogs.Logged("Not playable if no NODES are built!"));
    std::vector<levelkit::WadLump> saved = ReadWad(dir.file("E1M1.WAD"));
    Bytes vertexes = LumpData(saved, "VERTEXES");
    ASSERT_EQ(vertexes.size(), 16u);
    EXPECT_EQ(AsRecords<Vertex>(vertexes)[0].x, -64);
    MapData old = Room(2);
    std::vector<int> expected = LineGeometry(AsBytes(old.lineDefs), AsBytes(old.vertices));
    expected[0] = expected[14] = -64;   // vertex 0 starts line 0 and ends line 3
    EXPECT_EQ(LineGeometry(LumpData(saved, "LINEDEFS"), vertexes), expected);
}

TEST_F(LevelSaveTest, SavingOverItsOwnPwadLeavesABackupAndReadsBack) {
    MapData mine = Room(1);
    mine.things[0].angle = 270;
    WadBuilder pwad;
    AddLevel(pwad, "E1M1", mine);
    pwad.write(dir.file("MYLEV.WAD"));
    ASSERT_GT(ReadPwad(dir.file("MYLEV.WAD")), 0);
    Bytes before = testkit::ReadFileBytes(dir.file("MYLEV.WAD"));
    Edit(1, 1);
    level.things[0].angle = 0;
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_EQ(dialogs.proposals[0], dir.file("MYLEV.WAD"));
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("MYLEV.BAK")), before);
    EXPECT_EQ(ListedPwads(), std::vector<std::string>{dir.file("MYLEV.WAD")});
    for (int r = 1; r < kOpenWadRows; ++r)
        EXPECT_NE(std::string(master.table[r].tag), ".BAK");
    std::vector<levelkit::WadLump> saved = ReadWad(dir.file("MYLEV.WAD"));
    EXPECT_EQ(AsRecords<Thing>(LumpData(saved, "THINGS"))[0].angle, 0);
    EXPECT_EQ(LumpData(saved, "VERTEXES"), AsBytes(mine.vertices));
    EXPECT_EQ(LumpData(saved, "SEGS"), mine.segs);
    // Loading the saved level gives the same model.
    std::vector<Vertex> vertices(level.vertices.begin(), level.vertices.end());
    Load("E1M1");
    EXPECT_EQ(level.things[0].angle, 0);
    ASSERT_EQ(level.vertices.count, static_cast<int32_t>(vertices.size()));
    EXPECT_EQ(level.vertices[3].y, vertices[3].y);
}

TEST_F(LevelSaveTest, CopyAllKeepsTheOtherEntriesInTheirOrder) {
    WadBuilder pwad;
    pwad.lump("PLAYPAL", Bytes(768, 9)).lump("S_START").lump("MYSPR0", "sprite");
    AddLevel(pwad, "E1M1", Room());
    pwad.lump("S_END").lump("DEHACKED", "patch text");
    pwad.write(dir.file("FULL.WAD"));
    ASSERT_GT(ReadPwad(dir.file("FULL.WAD")), 0);
    Edit(1, 1);
    dialogs.confirms = {1};
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_TRUE(dialogs.Logged("?Copy ALL data in PWAD?|(extra graphics,etc.)"));
    std::vector<levelkit::WadLump> saved = ReadWad(dir.file("FULL.WAD"));
    std::vector<std::string> expected = {"PLAYPAL", "S_START", "MYSPR0"};
    expected.insert(expected.end(), kLevelNames.begin(), kLevelNames.end());
    expected.push_back("S_END");
    expected.push_back("DEHACKED");
    EXPECT_EQ(LumpNames(saved), expected);
    EXPECT_EQ(LumpData(saved, "PLAYPAL"), Bytes(768, 9));
    EXPECT_EQ(LumpData(saved, "DEHACKED"), Bytes({'p', 'a', 't', 'c', 'h', ' ', 't', 'e', 'x', 't'}));
    EXPECT_EQ(ReadEntryData(*FindEntry(0, "MYSPR0", 1)), Bytes({'s', 'p', 'r', 'i', 't', 'e'}));
}

TEST_F(LevelSaveTest, DataNotCopiedFallsBackToTheIwadInsteadOfAForgottenFile) {
    WadBuilder pwad;
    pwad.lump("PLAYPAL", Bytes(768, 9)).lump("NEWLUMP", "new");
    AddLevel(pwad, "E1M1", Room());
    pwad.write(dir.file("FULL.WAD"));
    ASSERT_GT(ReadPwad(dir.file("FULL.WAD")), 0);
    Edit(1, 1);
    dialogs.confirms = {0};
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_EQ(LumpNames(ReadWad(dir.file("FULL.WAD"))), kLevelNames);
    const WadDirEntry* palette = FindEntry(0, "PLAYPAL", 1);
    EXPECT_EQ(palette->file, 0);
    EXPECT_EQ(ReadEntryData(*palette), Bytes(768, 1));
    EXPECT_EQ(FindEntry(0, "NEWLUMP", 0), nullptr);
    for (const WadDirEntry& e : MasterDirectory())
        EXPECT_NE(master.table[e.file].state, 0) << EntryNameText(e.name);
}

TEST_F(LevelSaveTest, RejectIsSizedForTheSectorsAndKeptOnlyWhileItFits) {
    // An old table of the right size is copied.
    WadBuilder pwad;
    MapData map = Room();
    map.sectors.assign(10, levelkit::MakeSector(0, 64));
    map.reject = Bytes(13, 0xA5);
    AddLevel(pwad, "E1M1", map);
    pwad.write(dir.file("REJ.WAD"));
    ASSERT_GT(ReadPwad(dir.file("REJ.WAD")), 0);
    Edit(1, 1);
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_EQ(LumpData(ReadWad(dir.file("REJ.WAD")), "REJECT"), Bytes(13, 0xA5));
    // With a Sector more the old table no longer fits: it is cleared.
    AddSectors(11);
    level.mapChanged = true;
    dialogs.confirms = {0};
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_EQ(LumpData(ReadWad(dir.file("REJ.WAD")), "REJECT"), Bytes(16, 0));
    // 8 Sectors need exactly 8 bytes.
    level.sectors.count = 8;
    dialogs.confirms = {0};
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_EQ(LumpData(ReadWad(dir.file("REJ.WAD")), "REJECT"), Bytes(8, 0));
    EXPECT_EQ(RejectBytes(10), 13);
    EXPECT_EQ(RejectBytes(0), 0);
}

TEST_F(LevelSaveTest, RejectMaskFillsThePattern) {
    Edit(1, 1);
    AddSectors(8);   // 8 bytes
    level.mapChanged = true;
    dialogs.confirms = {0};
    dialogs.forms.push_back({true, {1, 255}});
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1, kSaveKeyAltF8), 1);
    EXPECT_TRUE(dialogs.Logged("#Skip/Pattern| 0/0   = all (normal)| 0/255 = no  attacks"));
    EXPECT_EQ(LumpData(ReadWad(dir.file("E1M1.WAD")), "REJECT"),
              Bytes({0, 255, 0, 255, 0, 255, 0, 255}));
    // The settings stay for the run, so the next save asks again.
    dialogs.confirms = {0};
    dialogs.forms.push_back({true, {0, 255}});
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_EQ(LumpData(ReadWad(dir.file("E1M1.WAD")), "REJECT"), Bytes(8, 255));
    // A form that is not accepted keeps its values but fills nothing.
    dialogs.confirms = {0};
    dialogs.forms.push_back({false, {3, 255}});
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_EQ(level.rejectSkipEvery, 3);
    EXPECT_EQ(LumpData(ReadWad(dir.file("E1M1.WAD")), "REJECT"), Bytes(8, 255));
}

TEST_F(LevelSaveTest, FileThatCannotBeCreatedIsReportedAndForgotten) {
    Edit(1, 1);
    dialogs.paths.push_back({true, dir.file("NODIR/X.WAD")});
    char* name = ChooseSaveFile(1, 1);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(SaveLevel(name, kSaveKeyF2), 0);
    EXPECT_TRUE(dialogs.Logged("!Error Creating File|" + dir.file("NODIR/X.WAD") + "|Check PATCH path!"));
    EXPECT_EQ(name[0], 0);
    EXPECT_EQ(master.currentLevelRow, 0);
}

TEST_F(LevelSaveTest, LevelsOfGroupFilesAreNotMixedUp) {
    WadBuilder group;
    AddLevel(group, "E1M1", Room());
    AddLevel(group, "E1M2", Room());
    group.write(dir.file("GROUP.WAD"));
    ASSERT_GT(ReadPwad(dir.file("GROUP.WAD")), 0);
    Edit(1, 1);
    EXPECT_EQ(ChooseSaveFile(1, 2), nullptr);
    EXPECT_TRUE(dialogs.Logged("!You have read a PWAD file|using the same Level name."));
    // The same level is saved into a file of its own name.
    dialogs.confirms = {0};   // not all data
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_TRUE(dialogs.Logged("!This level is in the Group File|" + dir.file("GROUP.WAD")));
    EXPECT_EQ(dialogs.proposals[0], dir.file("E1M1.WAD"));
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("GROUP.WAD")).empty(), false);
    EXPECT_EQ(ListedPwads().size(), 2u);
    // E1M2 now comes from another PWAD than E1M1: they are not mixed either.
    Edit(1, 2);
    EXPECT_EQ(ChooseSaveFile(1, 1), nullptr);
}

TEST_F(LevelSaveTest, SavingUnderAnotherNameLeavesTheOldLevelAlone) {
    Edit(1, 1);
    AcceptName();
    ASSERT_EQ(SaveAs(1, 2, kSaveKeyF3), 1);
    EXPECT_EQ(dialogs.proposals[0], dir.file("E1M2.WAD"));
    EXPECT_STREQ(level.name, "E1M2");
    EXPECT_STREQ(level.warpText, "1 2");
    EXPECT_EQ(config.lastMap, 2);
    EXPECT_EQ(LumpNames(ReadWad(dir.file("E1M2.WAD")))[0], "E1M2");
    // The IWAD's E1M1 is still there under its name, and E1M2 comes from the file.
    EXPECT_EQ(FindEntry(0, "E1M1", 0)->file, 0);
    EXPECT_EQ(master.levelList[0].file, 0);
    EXPECT_EQ(FindEntry(0, "E1M2", 0)->file, master.currentLevelRow);
    EXPECT_GT(master.currentLevelRow, 0);
    // The saved E1M2 is E1M1's map.
    Load("E1M2");
    EXPECT_EQ(level.oldVertexCount, 6);
}

TEST_F(LevelSaveTest, NewLevelTakesNothingFromTheLevelItReplaces) {
    Edit(1, 1, 1);
    ResizeObject(kObjThing, 1);
    level.things[0] = {32, 32, 0, 1, 7};
    AcceptName();
    ASSERT_EQ(SaveAs(1, 1), 1);
    std::vector<levelkit::WadLump> saved = ReadWad(dir.file("E1M1.WAD"));
    EXPECT_EQ(LumpNames(saved), kLevelNames);
    for (const char* lump : {"LINEDEFS", "VERTEXES", "SEGS", "SSECTORS", "NODES", "REJECT", "BLOCKMAP"})
        EXPECT_TRUE(LumpData(saved, lump).empty()) << lump;
    EXPECT_EQ(LumpData(saved, "THINGS").size(), 10u);
}

TEST_F(LevelSaveTest, TheIwadIsNeverOverwritten) {
    Edit(1, 1);
    Bytes iwad = testkit::ReadFileBytes(dir.file("base.wad"));
    dialogs.paths.push_back({true, dir.file("base.wad")});
    dialogs.paths.push_back({false, ""});
    EXPECT_EQ(ChooseSaveFile(1, 1), nullptr);
    EXPECT_TRUE(dialogs.Logged("!Path/Name is not Valid"));
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("base.wad")), iwad);
    EXPECT_TRUE(ListedPwads().empty());
}

TEST_F(LevelSaveTest, NodeBuildingWritesTheTemporaryFileAndHandsOff) {
    MapData mine = Room();
    WadBuilder pwad;
    AddLevel(pwad, "E1M1", mine);
    pwad.write(dir.file("MYLEV.WAD"));
    ASSERT_GT(ReadPwad(dir.file("MYLEV.WAD")), 0);
    Edit(1, 1);
    dialogs.confirms = {1, 0};   // rebuild, keep REJECT
    AcceptName();
    char* name = ChooseSaveFile(1, 1);
    ASSERT_NE(name, nullptr);
    try {
        SaveLevel(name, kSaveKeyAltF2);
        ADD_FAILURE() << "no hand-off";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code(), kExitHandOff);
    }
    EXPECT_EQ(dialogs.Questions(), (std::vector<std::string>{"New WAD file Name", "Rebuild NODES ?", "Clear REJECT ?"}));
    ASSERT_EQ(dialogs.nodeCalls.size(), 1u);
    EXPECT_EQ(dialogs.nodeCalls[0].tempFile, dir.file("~Brel.WAD"));
    EXPECT_EQ(dialogs.nodeCalls[0].outputFile, dir.file("MYLEV.WAD"));
    EXPECT_EQ(dialogs.nodeCalls[0].levelName, "E1M1");
    EXPECT_EQ(LumpNames(ReadWad(dir.file("~Brel.WAD"))), kLevelNames);
    EXPECT_TRUE(FileExists(dir.file("MYLEV.BAK")));
    // The list the next run reads names the file the node builder writes.
    EXPECT_EQ(ListedPwads(), std::vector<std::string>{dir.file("MYLEV.WAD")});
}

TEST_F(LevelSaveTest, NodeKeysOnAChangedMapBuildNodesWithoutAsking) {
    Edit(1, 1);
    level.mapChanged = true;
    dialogs.confirms = {1};   // clear REJECT
    dialogs.forms.push_back({true, {0, 0}});
    AcceptName();
    char* name = ChooseSaveFile(1, 1);
    ASSERT_NE(name, nullptr);
    EXPECT_THROW(SaveLevel(name, kSaveKeyAltF3), ProgramExit);
    EXPECT_EQ(dialogs.Questions(),
              (std::vector<std::string>{"New WAD file Name", "Clear REJECT ?", "Reject Mask"}));
    EXPECT_EQ(dialogs.nodeCalls.size(), 1u);
}

TEST_F(LevelSaveTest, FatalErrorWhileWritingLeavesNoFileBehind) {
    MapData map = Room();
    WadBuilder pwad;
    AddLevel(pwad, "E1M1", map);
    pwad.write(dir.file("GONE.WAD"));
    ASSERT_GT(ReadPwad(dir.file("GONE.WAD")), 0);
    Edit(1, 1);
    AcceptName();
    char* name = ChooseSaveFile(1, 1);
    ASSERT_NE(name, nullptr);
    // The file the node lumps are copied from is cut short behind our back.
    Bytes cut = testkit::ReadFileBytes(dir.file("GONE.BAK"));
    cut.resize(40);
    testkit::WriteFileBytes(dir.file("GONE.BAK"), cut);
    std::string message = FatalOf([&] { SaveLevel(name, kSaveKeyF2); });
    EXPECT_NE(message, "");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"GONE.BAK", "base.wad"}));
}

}  // namespace
