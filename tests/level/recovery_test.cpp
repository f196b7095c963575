// Recovery files: what is written comes back exactly; a damaged file is set
// aside and never taken; a file belongs to the session that wrote it.
#include <filesystem>
#include <map>

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
    std::string EndedSession() { return mapkit::SessionText(testkit::EndedProcessId(), config.iwadName); }
};

// Files of this program's making are untrusted input: damage of any kind
// sets the file aside, with lines that say where and why, and nothing is
// taken. Damage the scan cannot see is refused by the restore, with the
// loader's reason, and the loaded level stays as it was.
TEST_F(RecoveryTest, ADamagedFileIsSetAsideAndNeverTaken) {
    // Where directory entry n is in the file's bytes (a file of a few pages).
    auto word = [](const std::string& b, size_t at) {
        return size_t(uint8_t(b[at])) | size_t(uint8_t(b[at + 1])) << 8;
    };
    auto entry = [&](const std::string& b, size_t n) { return word(b, 8) + 16 * n; };
    const char* kNotOurs = "it is not a PWAD of the session and the level's lumps";
    struct Damage {
        const char* what;
        std::function<void(std::string&)> apply;
        const char* why;            // told after the file's name
        const char* loader = "";   // the loader's lines before it
    } damages[] = {
        {"cut short", [](std::string& b) { b.resize(b.size() - 20); }, kNotOurs},
        {"not a PWAD", [](std::string& b) { b[0] = 'I'; }, kNotOurs},
        {"a directory past the end", [](std::string& b) { b[9] = 0x7f; }, kNotOurs},
        {"THINGS (the third entry) a part of a record long", [&](std::string& b) { --b[entry(b, 2) + 4]; },
         "its THINGS lump is not whole"},
        {"empty", [](std::string& b) { b.clear(); }, kNotOurs},
        {"a lump past the end", [&](std::string& b) { b[entry(b, 2) + 6] = 0x7f; }, kNotOurs},
        {"no owner", [](std::string& b) { b.replace(b.find("owner"), 5, "OWNER"); },
         "its session text is incomplete"},
        {"no level marker", [](std::string& b) { b.replace(b.find("MAP07"), 5, "LEVEL"); },
         "it holds no level marker"},
        {"a LineDef naming a missing Vertex", [&](std::string& b) {
             size_t lineDefs = word(b, entry(b, 3));
             b[lineDefs] = char(0x60), b[lineDefs + 1] = char(0xEA);   // Vertex 60000
         }, "a LineDef names a missing Vertex",
         "vertex in linedef 0 not valid 60000,1 ?|VERTEXES holds vertices 0 to 3|"},
    };
    const std::string good = mapkit::RecoveryFile(EndedSession(), "MAP07");
    const std::string kept = mapkit::LevelArrayBytes(), path = WorkDir() + "BrelUnsaved-1.WAD";
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        std::string bytes = good;
        d.apply(bytes);
        testkit::WriteFileBytes(path, Bytes(bytes.begin(), bytes.end()));
        RecoveryScan scan = FindRecoveryFiles();
        EXPECT_TRUE(scan.others.empty());
        std::vector<std::string> told = scan.setAside;
        EXPECT_TRUE(scan.ours.empty() || !RestoreRecoveryFile(scan.ours[0], told));
        std::string text;
        for (const std::string& line : told)
            text += line + "|";
        EXPECT_EQ(text, std::string(d.loader) + "Recovery file BrelUnsaved-1.WAD is damaged:|" + d.why +
                            ";|it is set aside as BrelUnsaved-1.WAD.damaged|");
        EXPECT_FALSE(FileExists(path));
        EXPECT_EQ(testkit::ReadFileBytes(path + ".damaged"), Bytes(bytes.begin(), bytes.end()));
        std::filesystem::remove(path + ".damaged");
        EXPECT_EQ(mapkit::LevelArrayBytes(), kept);
    }
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
    std::vector<Bytes> before;   // recovery files of the level as it stands
    for (const auto& f : files) {
        const std::string bytes = mapkit::RecoveryFile(f.session, "MAP07");
        before.emplace_back(bytes.begin(), bytes.end());
        testkit::WriteFileBytes(WorkDir() + f.name, before.back());
    }
    RecoveryScan scan = FindRecoveryFiles();
    std::map<std::string, std::string> offered;
    for (const RecoveryInfo& i : scan.ours)
        offered[i.path] = "ours";
    for (const RecoveryInfo& i : scan.others)
        offered[i.path] = "others";
    for (const auto& f : files)
        EXPECT_EQ(offered[WorkDir() + f.name], f.found) << f.name;
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
