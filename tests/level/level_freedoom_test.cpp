// Every level of the Freedoom IWADs goes through the loader and the writer,
// and saved levels are handed to a real game engine.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "level_fixture.h"
#include "platform/files.h"

using levelkit::AsBytes;
using levelkit::AsRecords;
using levelkit::LumpData;
using levelkit::ReadWad;
using levelkit::WadLump;
using testkit::Bytes;

namespace {

const char* const kGame = "/usr/games/chocolate-doom";
const char* const kNodeBuilder = "/usr/bin/zdbsp";

class FreedoomLevelTest : public LevelTest {
protected:
    // Opens the IWAD afresh (no PWADs) and makes name the level to edit.
    void Choose(const std::string& iwad, const std::string& name) {
        ResetMaster();
        for (auto& row : config.pwadList)
            row[0] = 0;
        OpenIwadAt(iwad);
        int episode = 1, map = 1;
        if (name[0] == 'E')
            std::sscanf(name.c_str(), "E%dM%d", &episode, &map);
        else
            std::sscanf(name.c_str(), "MAP%d", &map);
        config.lastEpisode = static_cast<int16_t>(episode);
        config.lastMap = static_cast<int16_t>(map);
    }
    // Loads the level and saves it under its own name; returns the file.
    std::string LoadAndSave(const std::string& iwad, const std::string& name) {
        Choose(iwad, name);
        Load(name);
        dialogs.paths.push_back({true, ""});
        EXPECT_EQ(SaveAs(config.lastEpisode, config.lastMap), 1) << name;
        return dir.file(name + ".WAD");
    }
    // The level's lumps in a WAD taken apart.
    static std::vector<WadLump> LevelLumps(const std::vector<WadLump>& wad, const std::string& name) {
        for (size_t i = 0; i < wad.size(); ++i)
            if (wad[i].name == name && i + 11 <= wad.size())
                return std::vector<WadLump>(wad.begin() + static_cast<long>(i),
                                            wad.begin() + static_cast<long>(i) + 11);
        ADD_FAILURE() << name << " not found";
        return {};
    }
};

// Each LineDef as the game sees it: its fields with the vertex numbers
// replaced by their coordinates.
std::vector<std::vector<int>> ResolvedLineDefs(const Bytes& lineDefs, const Bytes& vertexes) {
    std::vector<Vertex> v = AsRecords<Vertex>(vertexes);
    std::vector<std::vector<int>> out;
    auto at = [&](int16_t n) {
        return n >= 0 && static_cast<size_t>(n) < v.size() ? v[static_cast<size_t>(n)] : Vertex{-1, -1};
    };
    for (const LineDef& l : AsRecords<LineDef>(lineDefs))
        out.push_back({at(l.start).x, at(l.start).y, at(l.end).x, at(l.end).y, l.flags, l.type, l.tag,
                       l.sideDef1, l.sideDef2});
    return out;
}

void ExpectSameMap(const std::string& name, const std::vector<WadLump>& old,
                   const std::vector<WadLump>& saved, bool nodesKept) {
    for (const char* lump : {"THINGS", "SIDEDEFS", "SECTORS"})
        EXPECT_TRUE(LumpData(saved, lump) == LumpData(old, lump)) << name << " " << lump;
    if (nodesKept) {
        for (const char* lump : {"VERTEXES", "SEGS", "SSECTORS", "NODES", "BLOCKMAP"})
            EXPECT_TRUE(LumpData(saved, lump) == LumpData(old, lump)) << name << " " << lump;
    }
    EXPECT_TRUE(ResolvedLineDefs(LumpData(saved, "LINEDEFS"), LumpData(saved, "VERTEXES")) ==
                ResolvedLineDefs(LumpData(old, "LINEDEFS"), LumpData(old, "VERTEXES")))
        << name;
    int32_t sectors = static_cast<int32_t>(LumpData(old, "SECTORS").size() / sizeof(Sector));
    Bytes reject = LumpData(saved, "REJECT");
    EXPECT_EQ(static_cast<int32_t>(reject.size()), RejectBytes(sectors)) << name;
    Bytes oldReject = LumpData(old, "REJECT");
    if (oldReject.size() == reject.size()) {
        EXPECT_TRUE(reject == oldReject) << name;
    }
}

TEST_F(FreedoomLevelTest, EveryLevelSavedHoldsTheSameMap) {
    int levels = 0;
    for (int which : {1, 2}) {
        std::string iwad = testkit::FreedoomIwad(which);
        if (iwad.empty())
            GTEST_SKIP() << "Freedoom is not installed (/usr/share/games/doom/freedoom" << which << ".wad)";
        std::vector<WadLump> iwadLumps = ReadWad(iwad);
        Choose(iwad, which == 1 ? "E1M1" : "MAP01");
        std::vector<std::string> names;
        for (const LevelListEntry& l : master.levelList)
            names.push_back(l.name);
        for (const std::string& name : names) {
            std::vector<WadLump> old = LevelLumps(iwadLumps, name);
            // Unchanged: the node builder's lumps are kept byte for byte.
            std::string file = LoadAndSave(iwad, name);
            ExpectSameMap(name, old, LevelLumps(ReadWad(file), name), true);
            // Geometry changed: the Vertexes in use are written from memory,
            // renumbered, and still describe the same map.
            level.mapChanged = true;
            dialogs.confirms = {0};
            dialogs.paths.push_back({true, ""});
            ASSERT_EQ(SaveAs(config.lastEpisode, config.lastMap), 1) << name;
            std::vector<WadLump> changed = LevelLumps(ReadWad(file), name);
            ExpectSameMap(name, old, changed, false);
            EXPECT_EQ(static_cast<int32_t>(LumpData(changed, "VERTEXES").size()),
                      level.vertices.count * 4);
            ++levels;
        }
    }
    EXPECT_EQ(levels, 36 + 32);
}

TEST_F(FreedoomLevelTest, SavingOverItsOwnFileLeavesABackupAndReadsBackTheSame) {
    std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    std::string file = LoadAndSave(iwad, "MAP12");
    Bytes first = testkit::ReadFileBytes(file);
    // Edit the level from its own file and save it there again.
    Load("MAP12");
    EXPECT_GT(master.currentLevelRow, 0);
    std::vector<Thing> things(level.things.begin(), level.things.end());
    dialogs.paths.push_back({true, ""});
    ASSERT_EQ(SaveAs(1, 12), 1);
    EXPECT_EQ(dialogs.proposals.back(), file);
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("MAP12.BAK")), first);
    EXPECT_EQ(testkit::ReadFileBytes(file), first);
    Load("MAP12");
    ASSERT_EQ(level.things.count, static_cast<int32_t>(things.size()));
    EXPECT_EQ(std::memcmp(level.things.begin(), things.data(), things.size() * sizeof(Thing)), 0);
}

// Runs the game on a PWAD for a few seconds. A level that starts keeps the
// game running until the time is up (exit status 124 from timeout); a level
// the game refuses ends it at once with a non-zero status and the reason.
struct GameRun {
    int status;
    std::string output;
};

GameRun RunGame(const std::string& work, const std::string& iwad, const std::string& pwad,
                const std::string& warp) {
    std::string out = work + "game.out";
    std::string command = "cd '" + work + "' && HOME='" + work +
                          "' SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 5 stdbuf -oL -eL " + kGame +
                          " -iwad '" + iwad + "' -file '" + pwad + "' -warp " + warp +
                          " -nosound -nomusic > '" + out + "' 2>&1; echo $? >> '" + out + ".rc'";
    std::remove((out + ".rc").c_str());
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ifstream rc(out + ".rc");
    GameRun run{-1, ""};
    rc >> run.status;
    std::ifstream text(out);
    std::stringstream s;
    s << text.rdbuf();
    run.output = s.str();
    return run;
}

bool StartedFine(const GameRun& run) {
    return run.status == 124 && run.output.find("ST_Init") != std::string::npos &&
           run.output.find("Error") == std::string::npos;
}

TEST_F(FreedoomLevelTest, SavedLevelsStartInTheGame) {
    std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    if (!FileExists(kGame))
        GTEST_SKIP() << "Chocolate Doom is not installed (" << kGame << ")";
    std::string file = LoadAndSave(iwad, "MAP12");
    GameRun run = RunGame(dir.path(), iwad, file, "12");
    EXPECT_TRUE(StartedFine(run)) << run.status << "\n" << run.output;

    EXPECT_EQ(run.output.find("PadRejectArray"), std::string::npos) << run.output;

    // A map that is plainly broken (half its SideDefs gone) is refused, which
    // shows that the check above can fail.
    Load("MAP12");
    level.sideDefs.count /= 2;
    dialogs.paths.push_back({true, dir.file("BROKEN.WAD")});
    ASSERT_EQ(SaveAs(1, 12), 1);
    run = RunGame(dir.path(), iwad, dir.file("BROKEN.WAD"), "12");
    EXPECT_FALSE(StartedFine(run)) << run.output;
    EXPECT_NE(run.output.find("non-existent sidedef"), std::string::npos) << run.output;
}

TEST_F(FreedoomLevelTest, ChangedLevelWithRebuiltNodesStartsInTheGame) {
    std::string iwad = testkit::FreedoomIwad(1);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    if (!FileExists(kGame) || !FileExists(kNodeBuilder))
        GTEST_SKIP() << "Chocolate Doom or ZDBSP is not installed (" << kGame << ", " << kNodeBuilder << ")";
    Choose(iwad, "E1M3");
    Load("E1M3");
    for (Vertex& v : level.vertices)   // the whole map moved: old nodes no longer fit
        v.x = static_cast<int16_t>(v.x + 64);
    level.mapChanged = true;
    dialogs.confirms = {0};   // keep the REJECT table
    dialogs.paths.push_back({true, ""});
    char* name = ChooseSaveFile(1, 3);
    ASSERT_NE(name, nullptr);
    EXPECT_THROW(SaveLevel(name, kSaveKeyAltF2), ProgramExit);
    ASSERT_EQ(dialogs.nodeCalls.size(), 1u);
    const auto& call = dialogs.nodeCalls[0];
    // ZDBSP's defaults: with -q -E it would drop the REJECT table as "the
    // wrong size" although it fits the Sectors.
    std::string build = std::string(kNodeBuilder) + " -o '" + call.outputFile + "' '" + call.tempFile +
                        "' > '" + dir.file("zdbsp.out") + "' 2>&1";
    ASSERT_EQ(std::system(build.c_str()), 0);
    GameRun run = RunGame(dir.path(), iwad, call.outputFile, "1 3");
    EXPECT_TRUE(StartedFine(run)) << run.status << "\n" << run.output;
    EXPECT_EQ(run.output.find("PadRejectArray"), std::string::npos) << run.output;
}

}  // namespace
