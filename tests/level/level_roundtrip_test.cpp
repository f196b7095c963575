// Levels through the loader and the writer: every level of the Freedoom
// IWADs and a generated map whose references run far past 32,767 save byte
// for byte and, with their geometry changed, as the same map.
#include "level_fixture.h"
#include "support/big_map.h"

using testkit::WadContents;

namespace {

// Each LineDef as the game sees it: its fields with the vertex numbers
// replaced by their coordinates (-1, -1 for a vertex that is not there).
std::vector<std::vector<int>> ResolvedLineDefs(const WadContents& wad, size_t from = 0) {
    std::vector<Vertex> v = AsRecords<Vertex>(wad.data("VERTEXES", from));
    auto at = [&](size_t n) { return n < v.size() ? v[n] : Vertex{-1, -1}; };
    std::vector<std::vector<int>> out;
    for (const LineDef& l : AsRecords<LineDef>(wad.data("LINEDEFS", from)))
        out.push_back({at(l.start).x, at(l.start).y, at(l.end).x, at(l.end).y, l.flags, l.type, l.tag,
                       l.sideDef1, l.sideDef2});
    return out;
}

class RoundTripTest : public LevelTest {
protected:
    // Opens the IWAD afresh (no PWADs) and saves level `name` unchanged
    // under its own name: the file holds its lumps as the IWAD does, byte
    // for byte. Saves it again with its geometry changed
    // (no new nodes): the Vertexes in use are written from memory,
    // renumbered, and still describe the same map; the file saved over is
    // kept as the backup, and the level reads back the same. `old` is the
    // IWAD's contents.
    void SaveTwiceAndCompare(const std::string& iwad, const WadContents& old,
                                    const std::string& name) {
        SCOPED_TRACE(name);
        const std::vector<std::string> names = old.names();
        const size_t o = size_t(std::find(names.begin(), names.end(), name) - names.begin());
        Reopen(iwad);
        config.lastEpisode = config.lastMap = 1;
        if (std::sscanf(name.c_str(), "E%hdM%hd", &config.lastEpisode, &config.lastMap) != 2)
            std::sscanf(name.c_str(), "MAP%hd", &config.lastMap);
        Load(name);
        EXPECT_EQ(SaveAs(config.lastEpisode, config.lastMap), 1);
        const std::string file = dir.file(name + ".WAD");
        const auto marker = old.lumps.begin() + long(o);
        EXPECT_TRUE(testkit::ReadWad(file).lumps == decltype(old.lumps)(marker, marker + 11));
        Bytes first = testkit::ReadFileBytes(file);
        auto inUse = [] { return AsBytes(std::vector<Vertex>(level.vertices.begin(), level.vertices.end())); };
        const Bytes vertices = inUse();
        level.mapChanged = true;
        dialogs.answers = {"n"};   // keep the REJECT table
        EXPECT_EQ(SaveAs(config.lastEpisode, config.lastMap), 1);
        EXPECT_TRUE(testkit::ReadFileBytes(dir.file(name + ".BAK")) == first);
        const WadContents saved = testkit::ReadWad(file);
        EXPECT_TRUE(ResolvedLineDefs(saved) == ResolvedLineDefs(old, o));
        for (const char* lump : {"THINGS", "SIDEDEFS", "SECTORS", "REJECT"})
            EXPECT_TRUE(saved.data(lump) == old.data(lump, o)) << lump;
        Load(name);
        EXPECT_TRUE(inUse() == vertices);
    }
};

TEST_F(RoundTripTest, EveryFreedoomLevelSavedHoldsTheSameMap) {
    int levels = 0;
    for (int which : {1, 2}) {
        std::string iwad = testkit::FreedoomIwad(which);
        if (iwad.empty())
            GTEST_SKIP() << "Freedoom is not installed (/usr/share/games/doom/freedoom" << which << ".wad)";
        Reopen(iwad);
        const WadContents old = testkit::ReadWad(iwad);
        std::vector<std::string> names;
        for (const LevelListEntry& l : master.levelList)
            names.push_back(l.name);
        for (const std::string& name : names) {
            SaveTwiceAndCompare(iwad, old, name);
            ++levels;
        }
    }
    EXPECT_EQ(levels, 36 + 32);
}

TEST_F(RoundTripTest, GeneratedMapPastTheSigned16BitRangeSavesByteForByte) {
    const bigmap::BigMap map = bigmap::Generate();
    WadBuilder iwad("IWAD");
    AddLevel(iwad, "MAP01", map);
    WriteIwad(iwad);
    const WadContents old = testkit::ParseWad(iwad.bytes());
    SaveTwiceAndCompare(dir.file("base.wad"), old, "MAP01");
    EXPECT_EQ((std::vector<int32_t>{level.lineDefs.count, level.sideDefs.count, level.vertices.count,
                                    level.oldVertexCount, level.sectors.count, level.things.count}),
              (std::vector<int32_t>{64512, 63488, 32769, 64769, 2000, 40000}));
    // The Vertexes in use, then the old lump's records beyond them, which the
    // old nodes may name.
    EXPECT_EQ(testkit::ReadWad(dir.file("MAP01.WAD")).data("VERTEXES").size(),
              std::max<size_t>(32769, map.vertices.size()) * sizeof(Vertex));
}

}  // namespace
