// Every level of the Freedoom IWADs goes through the loader and the writer,
// and saved levels are handed to a real game engine.
#include <cstdio>
#include <cstring>

#include "level_fixture.h"
#include "support/game_kit.h"

using testkit::WadContents;

namespace {

class FreedoomLevelTest : public LevelTest {
protected:
    // Opens the IWAD afresh (no PWADs), loads the level and saves it under
    // its own name; returns the file.
    std::string LoadAndSave(const std::string& iwad, const std::string& name) {
        Reopen(iwad);
        config.lastEpisode = config.lastMap = 1;
        if (std::sscanf(name.c_str(), "E%hdM%hd", &config.lastEpisode, &config.lastMap) != 2)
            std::sscanf(name.c_str(), "MAP%hd", &config.lastMap);
        Load(name);
        EXPECT_EQ(SaveAs(config.lastEpisode, config.lastMap), 1) << name;
        return dir.file(name + ".WAD");
    }
};

void ExpectSameMap(const std::string& name, const WadContents& old, const WadContents& saved, bool nodesKept) {
    auto markerOf = [&](const WadContents& wad) {
        std::vector<std::string> names = wad.names();
        return size_t(std::find(names.begin(), names.end(), name) - names.begin());
    };
    size_t o = markerOf(old), s = markerOf(saved);
    std::vector<const char*> same = {"THINGS", "SIDEDEFS", "SECTORS"};
    if (nodesKept)
        same.insert(same.end(), {"VERTEXES", "SEGS", "SSECTORS", "NODES", "BLOCKMAP"});
    for (const char* lump : same)
        EXPECT_TRUE(saved.data(lump, s) == old.data(lump, o)) << name << " " << lump;
    EXPECT_TRUE(ResolvedLineDefs(saved, s) == ResolvedLineDefs(old, o)) << name;
    // REJECT is kept where its size fits the Sectors.
    Bytes reject = saved.data("REJECT", s), oldReject = old.data("REJECT", o);
    EXPECT_EQ(reject.size(), size_t(RejectBytes(int32_t(old.data("SECTORS", o).size() / sizeof(Sector))))) << name;
    EXPECT_TRUE(reject == oldReject || reject.size() != oldReject.size()) << name;
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
            dialogs.answers = {"n"};
            ASSERT_EQ(SaveAs(config.lastEpisode, config.lastMap), 1) << name;
            EXPECT_TRUE(testkit::ReadFileBytes(dir.file(name + ".BAK")) == first) << name;
            ExpectSameMap(name, iwadLumps, testkit::ReadWad(file), false);
            Load(name);
            EXPECT_TRUE(AsBytes(std::vector<Vertex>(level.vertices.begin(), level.vertices.end())) ==
                        AsBytes(vertices)) << name;
            ++levels;
        }
    }
    EXPECT_EQ(levels, 36 + 32);
}

TEST_F(FreedoomLevelTest, SavedLevelsStartInTheGame) {
    std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    if (!testkit::HaveGameAndNodeBuilder())
        GTEST_SKIP() << "Chocolate Doom or ZDBSP is not installed (" << testkit::kGameProgram << ", "
                     << testkit::kNodeBuilder << ")";
    testkit::ExpectGameStarts(dir.path(), iwad, LoadAndSave(iwad, "MAP12"), "12");

    // The whole map moved, so the old nodes no longer fit: rebuilt by the
    // node builder the level starts too. (ZDBSP's defaults: with -q -E it
    // would drop the REJECT table as "the wrong size" although it fits.)
    for (Vertex& v : level.vertices)
        v.x = int16_t(v.x + 64);
    level.mapChanged = true;
    dialogs.answers = {"n"};   // keep the REJECT table
    EXPECT_EQ(ExitOf([&] { SaveAs(1, 12, kSaveKeyAltF2); }, kExitHandOff), "hand-off");
    ASSERT_EQ(dialogs.nodeCall.size(), 3u);
    ASSERT_TRUE(testkit::BuildNodes(dialogs.nodeCall[0], dialogs.nodeCall[1], dir.file("zdbsp.out")));
    testkit::ExpectGameStarts(dir.path(), iwad, dialogs.nodeCall[1], "12");
}

}  // namespace
