#include <csignal>
#include <filesystem>

#include "level/history.h"
#include "level_fixture.h"
#include "platform/files.h"
#include "support/fault_kit.h"

using testkit::ParseWad;
using testkit::ReadFileBytes;

namespace {

class LevelSaveTest : public LevelTest {
protected:
    // An IWAD with E1M1 and E1M2.
    void SetUp() override {
        LevelTest::SetUp();
        WadBuilder iwad("IWAD");
        AddLevel(iwad, "E1M1", Room());
        AddLevel(iwad, "E1M2", Room());
        WriteIwad(iwad);
    }
    // E1M<map> loaded as the level edited.
    void Edit(int16_t map) {
        config.lastMap = map;
        Load("E1M" + std::to_string(map));
    }
    // Writes the PWAD under the file name and reads it.
    void ReadPwadOf(const std::string& file, const WadBuilder& wad) {
        wad.write(dir.file(file));
        ASSERT_GT(ReadPwad(dir.file(file)), 0);
    }
    void ReadLevelPwad(const std::string& file, const MapData& map) {
        WadBuilder pwad;
        AddLevel(pwad, "E1M1", map);
        ReadPwadOf(file, pwad);
    }
    testkit::WadContents Saved(const std::string& file) { return testkit::ReadWad(dir.file(file)); }
    std::vector<std::string> ListedPwads() {
        std::vector<std::string> names(std::begin(config.pwadList), std::end(config.pwadList));
        names.erase(std::remove(names.begin(), names.end(), ""), names.end());
        return names;
    }
    // The names in a directory, sorted, temporary files as "<temporary>".
    std::string FilesIn(const std::string& path) {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path))
            names.push_back(IsTemporaryFileName(e.path().filename().string()) ? "<temporary>"
                                                                               : e.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string text;
        for (const std::string& n : names)
            text += n + " ";
        return text;
    }
};

// An unchanged level is saved byte for byte, nodes of a format of their own
// (SEGS and SSECTORS empty, as node builders for large maps write them)
// included, and changed geometry without new nodes keeps them too.
// REJECT is kept while it fits the Sectors (an empty table stays empty),
// cleared when it no longer does, or filled by the reject mask: its pattern
// in every (skip + 1)-th byte, also of tables larger than the chunks they
// are written in. The mask's settings stay for the run, so later saves ask
// again, and a cancelled form fills nothing.
TEST_F(LevelSaveTest, RejectIsKeptWhileItFitsAndOtherwiseClearedOrFilled) {
    MapData map = Room();
    map.sectors.assign(10, map.sectors[0]);
    map.segs.clear();
    map.ssectors.clear();
    map.nodes = Bytes({'X', 'N', 'O', 'D', 1, 37, 74});
    map.blockmap = Bytes(41, 0xB7);
    for (const Bytes& reject : {Bytes(), Bytes(13, 0xA5)}) {
        map.reject = reject;
        const std::string name = reject.empty() ? "EMPTY" : "REJ";
        ReadLevelPwad(name + ".WAD", map);
        Edit(1);
        ASSERT_EQ(SaveAs(1, 1), 1);
        EXPECT_EQ(Saved(name + ".WAD").lumps, Saved(name + ".BAK").lumps);
    }
    ResizeObject(level, kObjSector, Resize::AddOne);
    level.mapChanged = true;
    dialogs.answers = {"n"};
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_EQ(Saved("REJ.WAD").data("REJECT"), Bytes(16, 0));
    EXPECT_EQ(Saved("REJ.WAD").data("NODES"), map.nodes);
    const struct {
        int32_t sectors;
        const char* form;
        int skip, pattern;
    } fills[] = {{8, "1 255", 1, 255}, {8, "0 255", 0, 255}, {1001, "3 255", 3, 255}, {2003, "6 7", 6, 7},
                 {3, "1 9", 1, 9}, {3, "!3 255", 1, 9}, {1001, "0 0", 0, 0}};   // "!": cancelled
    for (const auto& c : fills) {
        SCOPED_TRACE(c.form);
        AllocateArray(level.sectors, c.sectors, c.sectors);
        level.mapChanged = true;
        dialogs.answers = {"n", c.form};
        ASSERT_EQ(SaveAs(1, 1, &c == fills ? kSaveKeyAltF8 : kSaveKeyF2), 1);
        Bytes expected(size_t(RejectBytes(c.sectors)), 0);
        for (size_t i = size_t(c.skip); i < expected.size(); i += size_t(c.skip) + 1)
            expected[i] = uint8_t(c.pattern);
        EXPECT_TRUE(Saved("REJ.WAD").data("REJECT") == expected);
        EXPECT_TRUE(c.form[0] != '!' || level.rejectSkipEvery == 3);
    }
}

// Saves refused before anything is written, editing going on: of a level
// past a reference limit of the format, over the IWAD, into a file that
// cannot be created (forgotten then), and with 42 PWADs read, when the
// saved file could not be read back.
TEST_F(LevelSaveTest, SavesThatCannotBeMadeAreRefusedAndWriteNothing) {
    const struct {
        const char* kind;
        std::function<void(int32_t)> make;
    } limits[] = {
        {"Vertexes", [](int32_t n) { AllocateArray(level.vertices, n, n); }},
        {"LineDefs", [](int32_t n) { AllocateArray(level.lineDefs, n, n); }},
        {"SideDefs", [](int32_t n) { AllocateArray(level.sideDefs, n, n); }},
        {"Sectors", [](int32_t n) { AllocateArray(level.sectors, n, n); }},
    };
    for (const auto& c : limits) {
        Edit(1);
        c.make(65535);
        AllocateArray(level.things, 70000, 70000);   // Things have no limit
        EXPECT_EQ(PassedLimit(), "") << c.kind;
        c.make(65536);
        dialogs.log.clear();
        EXPECT_EQ(ChooseSaveFile(1, 1), nullptr);
        EXPECT_EQ(dialogs.log, std::vector<std::string>{std::string("!Level too large to save|65536 ") +
                                                         c.kind + ", more than the 65535 a level can hold"});
    }
    Edit(1);
    Bytes iwad = ReadFileBytes(dir.file("base.wad"));
    dialogs.answers = {dir.file("base.wad"), "-"};
    EXPECT_EQ(ChooseSaveFile(1, 1), nullptr);
    EXPECT_TRUE(dialogs.Logged("!This is the IWAD|" + dir.file("base.wad") +
                               "|The IWAD is never written: choose another name."));
    EXPECT_EQ(ReadFileBytes(dir.file("base.wad")), iwad);
    EXPECT_EQ(SaveAs(1, 1, kSaveKeyF2, dir.file("NODIR/X.WAD")), 0);
    EXPECT_TRUE(dialogs.Logged("!Error Creating File|" + dir.file("NODIR/X.WAD") +
                               "|No such file or directory|Check PATCH path!"));
    EXPECT_TRUE(ListedPwads().empty());
    EXPECT_EQ(master.currentLevelRow, 0);
    for (int i = 1; i <= 42; ++i) {
        std::string lump = "L" + std::to_string(i);
        ReadPwadOf(lump + ".WAD", WadBuilder().lump(lump, "x"));
    }
    EXPECT_EQ(SaveAs(1, 1), 0);
    EXPECT_TRUE(dialogs.Logged("!File Limit of 43 Exceeded|The level was not saved."));
    EXPECT_FALSE(Exists("E1M1.WAD"));
    EXPECT_EQ(ListedPwads().size(), 42u);
}

TEST_F(LevelSaveTest, LevelsOfGroupFilesAreNotMixedUp) {
    WadBuilder group;
    AddLevel(group, "E1M1", Room());
    AddLevel(group, "E1M2", Room());
    ReadPwadOf("GROUP.WAD", group);
    Edit(1);
    EXPECT_EQ(ChooseSaveFile(1, 2), nullptr);
    EXPECT_TRUE(dialogs.Logged("!You have read a PWAD file|using the same Level name."));
    // The same level is saved into a file of its own name.
    dialogs.answers = {"n"};   // not all data
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_TRUE(dialogs.Logged("?Copy ALL data in PWAD?|(extra graphics,etc.)"));
    EXPECT_TRUE(dialogs.Logged("!This level is in the Group File|" + dir.file("GROUP.WAD")));
    EXPECT_TRUE(Exists("E1M1.WAD"));   // the name proposed
    EXPECT_EQ(ReadFileBytes(dir.file("GROUP.WAD")), group.bytes());
    // E1M2 now comes from another PWAD than E1M1: they are not mixed either.
    Edit(2);
    EXPECT_EQ(ChooseSaveFile(1, 1), nullptr);
}

// A node builder that writes its output, or not, and ends as told: the
// temporary file with two nodes in place of its NODES lump; with its
// Vertexes in the reverse order (node builders renumber them), or with the
// last Sector dropped as unused (as ZDBSP does) besides.
enum class Writes { Nothing, Nodes, NodesRenumberingVertexes, NodesDroppingASector };
Writes fakeWrites = Writes::Nodes;
NodeBuildEnd fakeEnd = NodeBuildEnd::Built;

NodeBuildResult FakeNodeBuilder(const std::string& temp, const std::string& out, const std::string&) {
    const testkit::WadContents level = testkit::ReadWad(temp);
    std::vector<Vertex> vertexes = AsRecords<Vertex>(level.data("VERTEXES"));
    std::vector<LineDef> lineDefs = AsRecords<LineDef>(level.data("LINEDEFS"));
    if (fakeWrites == Writes::NodesRenumberingVertexes) {
        std::reverse(vertexes.begin(), vertexes.end());
        for (LineDef& l : lineDefs) {
            l.start = static_cast<uint16_t>(vertexes.size() - 1 - l.start);
            l.end = static_cast<uint16_t>(vertexes.size() - 1 - l.end);
        }
    }
    WadBuilder built;
    for (const testkit::WadLump& lump : level.lumps) {
        Bytes data = lump.name == "NODES" ? Bytes(2 * kNodeRecord, 1)
                     : lump.name == "VERTEXES" ? AsBytes(vertexes)
                     : lump.name == "LINEDEFS" ? AsBytes(lineDefs)
                                               : lump.data;
        if (lump.name == "SECTORS" && fakeWrites == Writes::NodesDroppingASector)
            data.resize(data.size() - sizeof(Sector));
        built.lump(lump.name, data);
    }
    if (fakeWrites != Writes::Nothing)
        built.write(out);
    return {fakeEnd, {fakeEnd == NodeBuildEnd::Failed ? "Brelbsp ended with exit code 1" : ""}};
}

// The level the node builder wrote is read back, or a box says why there is
// none and what the file holds. Renumbered Vertexes leave the level in
// memory and its undo history as they were, the file's numbers kept for the
// next save; objects the node builder dropped are gone from the level too,
// as an undo step of its own. A plain save replaces the file afterwards.
TEST_F(LevelSaveTest, WhatTheNodeBuilderWroteIsReadBackAndFailuresAreTold) {
    SetNodeBuilderHandOff(FakeNodeBuilder);
    const struct {
        Writes writes;
        NodeBuildEnd end;
        int saved;
        const char* told;   // the box's last line after the file's name; "" no box
    } cases[] = {
        {Writes::Nodes, NodeBuildEnd::Built, kSaved, ""},
        {Writes::NodesRenumberingVertexes, NodeBuildEnd::Built, kSaved, ""},
        {Writes::NodesDroppingASector, NodeBuildEnd::Built, kSaved, ""},
        {Writes::Nodes, NodeBuildEnd::Failed, kSavedWithoutNodes, " holds the level with its old nodes."},
        {Writes::Nothing, NodeBuildEnd::Failed, kNotSaved, " was not changed: the level is not saved."},
        {Writes::Nothing, NodeBuildEnd::Built, kNotSaved, " was not changed: the level is not saved."},
        {Writes::Nothing, NodeBuildEnd::NotRun, kNotSaved, ""},   // the hand-off could not go ahead
    };
    for (const auto& c : cases) {
        // A file of its own: the last one stays open.
        const std::string base = "MY" + std::to_string(&c - cases), file = base + ".WAD";
        SCOPED_TRACE(file);
        MapData map = Room();
        map.sectors.push_back(map.sectors[0]);   // used by no SideDef
        ReadLevelPwad(file, map);
        Bytes old = ReadFileBytes(dir.file(file));
        Edit(1);
        ResetHistory();
        level.vertices[0].x = 8;
        NameStep("move");
        RecordStep();
        fakeWrites = c.writes;
        fakeEnd = c.end;
        dialogs.log.clear();
        // The REJECT question, asked the first time only.
        dialogs.answers.assign(&c == cases ? 1 : 0, "n");
        EXPECT_EQ(SaveAs(1, 1, kSaveKeyAltF2), c.saved);
        // The file handed to the node builder is first kept as the backup.
        EXPECT_EQ(ReadFileBytes(dir.file(base + ".BAK")), old);
        bool written = c.writes != Writes::Nothing;
        EXPECT_EQ(ReadFileBytes(dir.file(file)) == old, !written);
        EXPECT_STREQ(RowFileName(master.currentLevelRow), dir.file(file).c_str());
        // The level is that of the file: its flags, its nodes and its old
        // vertex numbers.
        EXPECT_EQ(
            (std::vector<int>{level.levelChanged, level.mapChanged, level.numNodes, level.vertices[0].x}),
            (std::vector<int>{!written, c.saved != kSaved, c.saved == kSaved ? 2 : 0, 8}));
        std::string why = c.end == NodeBuildEnd::Failed ? "Brelbsp ended with exit code 1"
                                                        : "The node builder did not write " + dir.file(file) + ".";
        EXPECT_EQ(dialogs.Logged("!The nodes") ? dialogs.log.back() : "",
                  c.told[0] ? "!The nodes of E1M1 were not built|" + why + "|" + dir.file(file) + c.told : "");
        // Saved again, an unchanged level keeps the file's Vertexes and nodes.
        std::vector<testkit::WadLump> built = Saved(file).lumps;
        if (c.saved != kSaved)
            dialogs.answers = {"n"};   // no new nodes
        ASSERT_EQ(SaveAs(1, 1), kSaved);
        EXPECT_TRUE(c.saved != kSaved || Saved(file).lumps == built);
        if (c.writes == Writes::NodesDroppingASector) {
            EXPECT_EQ(level.sectors.count, 1);
            EXPECT_EQ(UndoLabel(), "the node builder's changes");
            ASSERT_TRUE(Undo());
            EXPECT_TRUE(level.levelChanged);
        }
        EXPECT_EQ(level.sectors.count, 2);
        EXPECT_EQ(UndoLabel(), "move");
        ASSERT_TRUE(Undo());
        EXPECT_EQ(level.vertices[0].x, 0);
    }
}

// Saving over a PWAD of the level's own, in a child process whose faults
// cannot harm the test program.
class SaveFaultTest : public LevelSaveTest {
protected:
    // MINE.WAD: a level of a few hundred Things, a few pages.
    void SetUp() override {
        LevelSaveTest::SetUp();
        MapData map = Room();
        map.things.assign(400, map.things[0]);
        WadBuilder pwad;
        AddLevel(pwad, "E1M1", map);
        mine = pwad.bytes();
    }
    // Its level, read from `in` with an older MINE.BAK beside it, loaded and
    // given an extra Thing.
    void EditMine(const std::string& in) {
        testkit::WriteFileBytes(in + "MINE.WAD", mine);
        testkit::WriteFileBytes(in + "MINE.BAK", older);
        ASSERT_GT(ReadPwad(in + "MINE.WAD"), 0);
        Edit(1);
        ResizeObject(level, kObjThing, Resize::AddOne);
        level.levelChanged = true;
    }
    // The files in `in`, then what MINE.WAD and MINE.BAK hold: "mine",
    // "older" or the Things of a level saved.
    std::string Files(const std::string& in) {
        auto holds = [&](const std::string& file) {
            Bytes b = ReadFileBytes(in + file);
            return b == mine    ? "mine"
                   : b == older ? "older"
                                : std::to_string(ParseWad(b).data("THINGS").size());
        };
        return FilesIn(in) + "| " + holds("MINE.WAD") + ", " + holds("MINE.BAK");
    }
    // Where editing stands after a save that did not happen.
    std::string State() {
        const WadFile& row = master.table[master.currentLevelRow];
        return std::string(row.name ? row.name : "-") + " tag '" + row.tag + "'" +
               (level.levelChanged ? ", changed" : ", saved") + ", listed " + std::to_string(ListedPwads().size());
    }
    Bytes mine, older = Bytes(100, 0x0D);
};

TEST_F(SaveFaultTest, AKilledSaveLeavesTheUsersFileWholeAndALeftoverTheNextStartRemoves) {
    // Killed at the first bytes, part-way, near the end; and not killed.
    for (size_t limit : {size_t(1), size_t(2000), size_t(4200), size_t(1) << 20}) {
        SCOPED_TRACE(limit);
        bool finishes = limit > 100000;
        testkit::ChildOutcome run = testkit::RunInChild([&] {
            EditMine(dir.path());
            testkit::LimitFileSize(limit);
            return std::to_string(SaveAs(1, 1));
        });
        EXPECT_EQ(run.signal, finishes ? 0 : SIGXFSZ) << run.report;
        EXPECT_EQ(Files(dir.path()), finishes ? "MINE.BAK MINE.WAD base.wad | 4010, mine"
                                              : "<temporary> MINE.BAK MINE.WAD base.wad | mine, older");
        RemoveLeftoverTemporaryFiles(dir.path());
        EXPECT_EQ(FilesIn(dir.path()), "MINE.BAK MINE.WAD base.wad ");
    }
}

TEST_F(SaveFaultTest, AFullDiskOrReadOnlyDirectoryIsReportedAndEditingGoesOn) {
    std::string disk = dir.file("disk/");
    std::filesystem::create_directory(disk);
    struct Case {
        bool readOnly;
        std::string message;
    } cases[] = {{false, "!Error Writing File|" + disk + "MINE.WAD|No space left on device|The level was not saved."},
                 {true, "!Error Creating File|" + disk + "MINE.WAD|Read-only file system|Check PATCH path!"}};
    for (const Case& c : cases) {
        testkit::ChildOutcome run = testkit::RunInChild([&] {
            // MINE.WAD takes two pages, MINE.BAK one: one page is left free.
            if (!testkit::MountSmallDisk(disk, 4 * 4096))
                return std::string("no mount");
            EditMine(disk);
            if (c.readOnly && !testkit::MakeDiskReadOnly(disk))
                return std::string("no mount");
            std::string report = std::to_string(SaveAs(1, 1)) + "\n";
            report += dialogs.log.back() + "\n" + Files(disk) + "\n" + State() + "\n";
            report += std::to_string(SaveAs(1, 1, kSaveKeyF2, dir.file("ELSE.WAD")));   // the user saves elsewhere
            return report + "\n" + State();
        });
        if (run.report == "no mount")
            GTEST_SKIP() << "this system allows no private file system";
        EXPECT_EQ(run.report, "0\n" + c.message + "\nMINE.BAK MINE.WAD | mine, older\n" + disk +
                                  "MINE.WAD tag '', changed, listed 1\n1\n" + dir.file("ELSE.WAD") +
                                  " tag '', saved, listed 1");   // MINE.WAD supplies nothing now
        EXPECT_EQ(Saved("ELSE.WAD").data("THINGS").size(), 4010u);
    }
}

TEST_F(LevelSaveTest, AFileCutShortBehindOurBackIsReportedAndChangesNothing) {
    ReadLevelPwad("GONE.WAD", Room());
    Edit(1);
    level.levelChanged = true;
    dialogs.answers = {""};
    char* name = ChooseSaveFile(1, 1);
    ASSERT_NE(name, nullptr);
    // The file the node lumps are copied from, closed as between commands.
    Bytes cut = ReadFileBytes(dir.file("GONE.WAD"));
    cut.resize(200);
    testkit::WriteFileBytes(dir.file("GONE.WAD"), cut);
    CloseWads(WadRows::Pwads);
    EXPECT_EQ(SaveLevel(name, kSaveKeyF2), 0);
    EXPECT_TRUE(dialogs.Logged("!Error Reading File|" + dir.file("GONE.WAD") + "|the file ends too soon|"));
    EXPECT_EQ(ReadFileBytes(dir.file("GONE.WAD")), cut);
    EXPECT_EQ(FilesIn(dir.path()), "GONE.WAD base.wad ");
    EXPECT_EQ(ListedPwads(), std::vector<std::string>{dir.file("GONE.WAD")});
    EXPECT_TRUE(level.levelChanged);
}

TEST_F(LevelSaveTest, SavingOverAnOpenPwadUnderAnotherSpellingKeepsABackupAndReadsTheNewFile) {
    std::filesystem::create_directory(dir.file("sub"));
    std::filesystem::create_symlink(dir.file("p1.wad"), dir.file("link.wad"));
    const char* spellings[] = {"P1.WAD", "sub/../p1.wad", "./p1.wad", "link.wad", "P1"};
    // The first backup is made as "p1.BAK"; an existing "p1.bak" then keeps its name.
    std::string backup = "p1.BAK";
    for (const char* spelling : spellings) {
        SCOPED_TRACE(spelling);
        Reopen(dir.file("base.wad"));
        ReadLevelPwad("p1.wad", Room());
        Bytes old = ReadFileBytes(dir.file("p1.wad"));
        Edit(1);
        level.things.records[0].type = 3001;
        ASSERT_EQ(SaveAs(1, 1, kSaveKeyF2, dir.file(spelling)), 1);
        // The old file is the backup beside it, the new one keeps its name.
        EXPECT_EQ(ReadFileBytes(dir.file(backup)), old);
        EXPECT_EQ(FilesIn(dir.path()), "base.wad link.wad " + backup + " p1.wad sub ");
        EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.wad")));
        EXPECT_EQ(AsRecords<Thing>(Saved("p1.wad").data("THINGS")).at(0).type, 3001);
        // One row for the file, and the master directory reads the new file.
        ASSERT_EQ(ListedPwads().size(), 1u);
        EXPECT_TRUE(SameFileName(ListedPwads()[0].c_str(), dir.file("p1.wad").c_str()));
        for (const char* lump : {"THINGS", "LINEDEFS", "SIDEDEFS", "BLOCKMAP"})
            EXPECT_EQ(ReadEntryData(*FindEntry(0, lump, EntryNeed::Required)), Saved("p1.wad").data(lump)) << lump;
        if (backup == "p1.BAK")
            std::filesystem::rename(dir.file("p1.BAK"), dir.file("p1.bak"));
        backup = "p1.bak";
    }
}

}  // namespace
