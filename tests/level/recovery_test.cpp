// Recovery files: what is written comes back exactly; a damaged file is set
// aside and never taken; a file belongs to the session that wrote it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "base/work_dir.h"
#include "level/history.h"
#include "level/recovery.h"
#include "level_fixture.h"
#include "platform/files.h"
#include "support/fault_kit.h"
#include "support/map_kit.h"

namespace {

class RecoveryTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        WadBuilder iwad("IWAD");
        AddLevel(iwad, "MAP01", Room());
        AddLevel(iwad, "MAP07", Room());
        WriteIwad(iwad);
        mapkit::ClearMap();
        SetField(level.name, "MAP07");
        int sector = mapkit::AddSector(3, 9, 8, 200);
        mapkit::AddRoom(0, 0, 192, 128, sector);
        mapkit::AddThing(40, 40, 3004, 90, 7);
        ResetHistory();
    }
    // A recovery file of the level as it stands, written by a session that
    // has ended, with the session text given.
    std::string Put(const std::string& name, const std::string& session) {
        std::string path = WorkDir() + name;
        std::string bytes = mapkit::RecoveryFile(session, "MAP07");
        testkit::WriteFileBytes(path, Bytes(bytes.begin(), bytes.end()));
        return path;
    }
    std::string EndedSession() { return mapkit::SessionText(testkit::EndedProcessId(), config.iwadName); }
};

// Files of this program's making are untrusted input: damage of any kind
// sets the file aside, with lines that say where, and nothing is taken.
TEST_F(RecoveryTest, ADamagedFileIsSetAsideAndNeverTaken) {
    std::string good = mapkit::RecoveryFile(EndedSession(), "MAP07");
    struct Damage {
        const char* what;
        std::function<void(std::string&)> apply;
    } damages[] = {
        {"cut short", [](std::string& b) { b.resize(b.size() - 20); }},
        {"not a PWAD", [](std::string& b) { b[0] = 'I'; }},
        {"a directory past the end", [](std::string& b) { b[9] = 0x7f; }},
        {"a lump of part of a record", [](std::string& b) {
             // THINGS (the third entry) one byte shorter
             size_t dir = size_t(uint8_t(b[8])) | size_t(uint8_t(b[9])) << 8 | size_t(uint8_t(b[10])) << 16;
             --b[dir + 2 * 16 + 4];
         }},
        {"empty", [](std::string& b) { b.clear(); }},
        {"a time past any clock", [](std::string& b) {
             size_t at = b.find("written ") + 8;
             b.replace(at, b.find('\n', at) - at, "99999999999999999");
         }},
        {"no owner", [](std::string& b) { b.replace(b.find("owner"), 5, "OWNER"); }},
        {"no level marker", [](std::string& b) { b.replace(b.find("MAP07"), 5, "LEVEL"); }},
    };
    std::string kept = mapkit::LevelArrayBytes();
    for (const Damage& d : damages) {
        std::string bytes = good;
        d.apply(bytes);
        std::string path = WorkDir() + "BrelUnsaved-1.WAD";
        testkit::WriteFileBytes(path, Bytes(bytes.begin(), bytes.end()));
        RecoveryScan scan = FindRecoveryFiles();
        EXPECT_TRUE(scan.ours.empty() && scan.others.empty()) << d.what;
        ASSERT_EQ(scan.setAside.size(), 3u) << d.what;
        EXPECT_EQ(scan.setAside[2], "it is set aside as BrelUnsaved-1.WAD.damaged") << d.what;
        EXPECT_FALSE(FileExists(path)) << d.what;
        EXPECT_EQ(testkit::ReadFileBytes(path + ".damaged"), Bytes(bytes.begin(), bytes.end())) << d.what;
        std::filesystem::remove(path + ".damaged");
        EXPECT_EQ(mapkit::LevelArrayBytes(), kept) << d.what;
    }
}

// A file whose LineDef names a Vertex the file does not hold is refused with
// the loader's reason, set aside, and the loaded level stays as it was.
TEST_F(RecoveryTest, ARestoreThatTheLoaderWouldRefuseIsRefused) {
    std::string loaded = mapkit::LevelArrayBytes();
    uint16_t start = level.lineDefs[0].start;
    level.lineDefs[0].start = 60000;
    std::string path = Put("BrelUnsaved-1.WAD", EndedSession());
    level.lineDefs[0].start = start;
    RecoveryScan scan = FindRecoveryFiles();
    ASSERT_EQ(scan.ours.size(), 1u);
    std::vector<std::string> refusal;
    EXPECT_FALSE(RestoreRecoveryFile(scan.ours[0], refusal));
    EXPECT_EQ(refusal, (std::vector<std::string>{"vertex in linedef 0 not valid 60000,1 ?",
                                                 "VERTEXES holds vertices 0 to 3",
                                                 "Recovery file BrelUnsaved-1.WAD is damaged:",
                                                 "a LineDef names a missing Vertex;",
                                                 "it is set aside as BrelUnsaved-1.WAD.damaged"}));
    EXPECT_EQ(mapkit::LevelArrayBytes(), loaded);
    EXPECT_FALSE(FileExists(path));
}

// Which files a start may offer: only those of sessions that no longer run,
// and of those only the ones left for this IWAD; none is ever written over.
// The next start offers this session's own file, and it comes back exactly.
TEST_F(RecoveryTest, AFileBelongsToTheSessionThatWroteIt) {
    testkit::RunningProcess other;
    std::string error;
    level.target = MapTarget::Mbf21;
    ASSERT_TRUE(WriteRecoveryFile(error));   // this session's own
    const std::string written = mapkit::LevelArrayBytes(), own = RecoveryFilePath();
    const struct {
        const char* name;
        std::string session;
        const char* found;   // "ours", "others" or "" (not offered)
    } files[] = {
        {"BrelUnsaved-1.WAD", mapkit::SessionText(other.pid(), config.iwadName), ""},
        {"BrelUnsaved-2.WAD", EndedSession(), "ours"},
        {"BrelUnsaved-3.WAD", mapkit::SessionText(CurrentProcessId(), config.iwadName, 0), "ours"},
        {"BrelUnsaved-4.WAD", mapkit::SessionText(testkit::EndedProcessId(), dir.file("doom.wad")), "others"},
        {"BrelUnsaved.WAD", "1733600000", "ours"},   // an older build's file
    };
    std::vector<Bytes> before;
    for (const auto& f : files) {
        Put(f.name, f.session);
        before.push_back(testkit::ReadFileBytes(WorkDir() + f.name));
    }
    RecoveryScan scan = FindRecoveryFiles();
    for (const auto& f : files) {
        auto listed = [&](const std::vector<RecoveryInfo>& list) {
            return std::any_of(list.begin(), list.end(),
                               [&](const RecoveryInfo& i) { return i.path == WorkDir() + f.name; });
        };
        std::string found = listed(scan.ours) ? "ours" : listed(scan.others) ? "others" : "";
        EXPECT_EQ(found, f.found) << f.name;
    }
    EXPECT_TRUE(scan.setAside.empty());
    ASSERT_TRUE(WriteRecoveryFile(error));
    for (size_t i = 0; i < std::size(files); ++i)
        EXPECT_EQ(testkit::ReadFileBytes(WorkDir() + files[i].name), before[i]) << files[i].name;

    StartRecoverySession();
    scan = FindRecoveryFiles();
    auto found = std::find_if(scan.ours.begin(), scan.ours.end(), [&](const RecoveryInfo& i) { return i.path == own; });
    ASSERT_NE(found, scan.ours.end());
    EXPECT_EQ(found->levelName, "MAP07");
    mapkit::ClearMap();
    SetField(level.name, "MAP07");
    level.target = MapTarget::Original;
    std::vector<std::string> refusal;
    ASSERT_TRUE(RestoreRecoveryFile(*found, refusal));
    EXPECT_EQ(mapkit::LevelArrayBytes(), written);
    EXPECT_EQ(level.target, MapTarget::Mbf21);
    EXPECT_TRUE(level.levelChanged && level.mapChanged);
}

}  // namespace
