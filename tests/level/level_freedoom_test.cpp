// Every level of the Freedoom IWADs goes through the loader and the writer,
// and saved levels are handed to a real game engine.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "level_fixture.h"
#include "platform/files.h"

using testkit::Bytes;
using testkit::Contains;
using testkit::WadContents;

namespace {

const char* const kGame = "/usr/games/chocolate-doom";
const char* const kNodeBuilder = "/usr/bin/zdbsp";

class FreedoomLevelTest : public LevelTest {
protected:
    // Opens the IWAD afresh (no PWADs), loads the level and saves it under
    // its own name; returns the file.
    std::string LoadAndSave(const std::string& iwad, const std::string& name) {
        ResetMaster();
        for (auto& row : config.pwadList)
            row[0] = 0;
        OpenIwadAt(iwad);
        int episode = 1, map = 1;
        if (std::sscanf(name.c_str(), "E%dM%d", &episode, &map) != 2)
            std::sscanf(name.c_str(), "MAP%d", &map);
        config.lastEpisode = static_cast<int16_t>(episode);
        config.lastMap = static_cast<int16_t>(map);
        Load(name);
        EXPECT_EQ(SaveAs(config.lastEpisode, config.lastMap), 1) << name;
        return dir.file(name + ".WAD");
    }
};

// The index of the level's marker in a WAD taken apart.
size_t MarkerOf(const WadContents& wad, const std::string& name) {
    std::vector<std::string> names = wad.names();
    return static_cast<size_t>(std::find(names.begin(), names.end(), name) - names.begin());
}

void ExpectSameMap(const std::string& name, const WadContents& old, const WadContents& saved, bool nodesKept) {
    size_t o = MarkerOf(old, name), s = MarkerOf(saved, name);
    std::vector<const char*> same = {"THINGS", "SIDEDEFS", "SECTORS"};
    if (nodesKept)
        same.insert(same.end(), {"VERTEXES", "SEGS", "SSECTORS", "NODES", "BLOCKMAP"});
    for (const char* lump : same)
        EXPECT_TRUE(saved.data(lump, s) == old.data(lump, o)) << name << " " << lump;
    EXPECT_TRUE(ResolvedLineDefs(saved, s) == ResolvedLineDefs(old, o)) << name;
    Bytes reject = saved.data("REJECT", s), oldReject = old.data("REJECT", o);
    EXPECT_EQ(static_cast<int32_t>(reject.size()),
              RejectBytes(static_cast<int32_t>(old.data("SECTORS", o).size() / sizeof(Sector))))
        << name;
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
        WadContents iwadLumps = testkit::ReadWad(iwad);
        ResetMaster();
        OpenIwadAt(iwad);
        std::vector<std::string> names;
        for (const LevelListEntry& l : master.levelList)
            names.push_back(l.name);
        for (const std::string& name : names) {
            // Unchanged: the node builder's lumps are kept byte for byte.
            std::string file = LoadAndSave(iwad, name);
            ExpectSameMap(name, iwadLumps, testkit::ReadWad(file), true);
            // Geometry changed: the Vertexes in use are written from memory,
            // renumbered, and still describe the same map. The file saved
            // over is kept as the backup, and the level reads back the same.
            Bytes first = testkit::ReadFileBytes(file);
            std::vector<Vertex> vertices(level.vertices.begin(), level.vertices.end());
            level.mapChanged = true;
            dialogs.confirms = {0};
            ASSERT_EQ(SaveAs(config.lastEpisode, config.lastMap), 1) << name;
            EXPECT_TRUE(testkit::ReadFileBytes(dir.file(name + ".BAK")) == first) << name;
            WadContents changed = testkit::ReadWad(file);
            ExpectSameMap(name, iwadLumps, changed, false);
            Load(name);
            ASSERT_EQ(level.vertices.count, static_cast<int32_t>(vertices.size())) << name;
            EXPECT_EQ(std::memcmp(level.vertices.begin(), vertices.data(), vertices.size() * sizeof(Vertex)), 0) << name;
            ++levels;
        }
    }
    EXPECT_EQ(levels, 36 + 32);
}

// Runs the game on a PWAD for a few seconds. A level that starts keeps the
// game running until the time is up (exit status 124 from timeout) and says
// nothing of errors or a REJECT table it had to pad; a level the game refuses
// ends it at once with a non-zero status and the reason.
std::string RunGame(const std::string& work, const std::string& iwad, const std::string& pwad, bool* started) {
    std::string out = work + "game.out";
    std::string command = "cd '" + work + "' && HOME='" + work +
                          "' SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 5 stdbuf -oL -eL " + kGame +
                          " -iwad '" + iwad + "' -file '" + pwad + "' -warp 12 -nosound -nomusic > '" + out +
                          "' 2>&1; echo $? > '" + out + ".rc'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    int status = -1;
    std::ifstream(out + ".rc") >> status;
    std::stringstream text;
    text << std::ifstream(out).rdbuf();
    *started = status == 124 && Contains(text.str(), "ST_Init") && !Contains(text.str(), "Error") &&
               !Contains(text.str(), "PadRejectArray");
    return "status " + std::to_string(status) + "\n" + text.str();
}

TEST_F(FreedoomLevelTest, SavedLevelsStartInTheGame) {
    std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    if (!FileExists(kGame) || !FileExists(kNodeBuilder))
        GTEST_SKIP() << "Chocolate Doom or ZDBSP is not installed (" << kGame << ", " << kNodeBuilder << ")";
    bool started = false;
    std::string file = LoadAndSave(iwad, "MAP12");
    std::string output = RunGame(dir.path(), iwad, file, &started);
    EXPECT_TRUE(started) << output;

    // A map that is plainly broken (half its SideDefs gone) is refused, which
    // shows that the check can fail.
    Load("MAP12");
    level.sideDefs.count /= 2;
    dialogs.paths.push_back({true, dir.file("BROKEN.WAD")});
    char* name = ChooseSaveFile(1, 12);
    ASSERT_NE(name, nullptr);
    ASSERT_EQ(SaveLevel(name, kSaveKeyF2), 1);
    output = RunGame(dir.path(), iwad, dir.file("BROKEN.WAD"), &started);
    EXPECT_FALSE(started) << output;
    EXPECT_TRUE(Contains(output, "non-existent sidedef")) << output;

    // The whole map moved, so the old nodes no longer fit: rebuilt by the
    // node builder the level starts too. (ZDBSP's defaults: with -q -E it
    // would drop the REJECT table as "the wrong size" although it fits.)
    LoadAndSave(iwad, "MAP12");
    for (Vertex& v : level.vertices)
        v.x = static_cast<int16_t>(v.x + 64);
    level.mapChanged = true;
    dialogs.confirms = {0};   // keep the REJECT table
    EXPECT_THROW(SaveAs(1, 12, kSaveKeyAltF2), ProgramExit);
    ASSERT_EQ(dialogs.nodeCalls.size(), 1u);
    const auto& call = dialogs.nodeCalls[0];
    std::string build = std::string(kNodeBuilder) + " -o '" + call.outputFile + "' '" + call.tempFile +
                        "' > '" + dir.file("zdbsp.out") + "' 2>&1";
    ASSERT_EQ(std::system(build.c_str()), 0);
    output = RunGame(dir.path(), iwad, call.outputFile, &started);
    EXPECT_TRUE(started) << output;
}

}  // namespace
