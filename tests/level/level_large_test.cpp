// Levels past the signed 16-bit range: a generated map whose references run
// far past 32,767 loads and saves byte for byte, and a level past the
// format's limits refuses to save.
#include "level_fixture.h"
#include "support/big_map.h"

namespace {

using LargeLevelTest = LevelTest;

TEST_F(LargeLevelTest, GeneratedMapLoadsAndSavesByteForByte) {
    const bigmap::BigMap map = bigmap::Generate();
    WadBuilder iwad("IWAD");
    AddLevel(iwad, "MAP01", map);
    WriteIwad(iwad);
    const testkit::WadContents old = testkit::ParseWad(iwad.bytes());
    config.lastEpisode = config.lastMap = 1;
    Load("MAP01");
    ASSERT_EQ(level.lineDefs.count, 64512);
    EXPECT_EQ((std::vector<int32_t>{level.sideDefs.count, level.vertices.count, level.oldVertexCount,
                                    level.sectors.count, level.things.count}),
              (std::vector<int32_t>{63488, 32769, 64769, 2000, 40000}));
    // Every LineDef reaches the same Vertexes and SideDefs as in the file.
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& in = level.lineDefs[l];
        const LineDef& file = map.lineDefs[size_t(l)];
        const Vertex* s = VertexAt(in.start);
        const Vertex* e = VertexAt(in.end);
        ASSERT_TRUE(s && e) << l;
        ASSERT_TRUE(s->x == map.vertices[file.start].x && s->y == map.vertices[file.start].y &&
                    e->x == map.vertices[file.end].x && e->y == map.vertices[file.end].y)
            << l;
        ASSERT_TRUE(in.sideDef1 == file.sideDef1 && in.sideDef2 == file.sideDef2) << l;
    }
    ASSERT_NE(SideDefAt(63487), nullptr);
    EXPECT_EQ(SectorAt(SideDefAt(63487)->sector), &level.sectors[map.RoomSector(31743)]);

    // Unchanged: the file's own records come back, the LineDefs with their
    // old vertex numbers.
    ASSERT_EQ(SaveAs(1, 1), 1);
    EXPECT_EQ(testkit::ReadWad(dir.file("MAP01.WAD")).lumps, old.lumps);

    // Changed: the Vertexes are written from memory (then the old lump's
    // records beyond them, which the old nodes may name), and every LineDef
    // still joins the same points.
    level.mapChanged = level.levelChanged = true;
    dialogs.answers = {"", "n"};   // the proposed name; no nodes
    char* name = ChooseSaveFile(1, 1);
    ASSERT_TRUE(name);
    ASSERT_EQ(SaveLevel(name, kSaveKeyF2), 1);
    testkit::WadContents saved = testkit::ReadWad(dir.file("MAP01.WAD"));
    EXPECT_EQ(saved.data("VERTEXES").size(), std::max<size_t>(32769, map.vertices.size()) * 4);
    EXPECT_TRUE(ResolvedLineDefs(saved) == ResolvedLineDefs(old));
    for (const char* lump : {"THINGS", "SIDEDEFS", "SECTORS"})
        EXPECT_TRUE(saved.data(lump) == old.data(lump)) << lump;
}

TEST_F(LargeLevelTest, LevelPastAReferenceLimitRefusesToSave) {
    struct Case {
        const char* kind;
        std::function<void(int32_t)> make;
    } cases[] = {
        {"Vertexes", [](int32_t n) { AllocateArray(level.vertices, n, n); }},
        {"LineDefs", [](int32_t n) { AllocateArray(level.lineDefs, n, n); }},
        {"SideDefs", [](int32_t n) { AllocateArray(level.sideDefs, n, n); }},
        {"Sectors", [](int32_t n) { AllocateArray(level.sectors, n, n); }},
    };
    WadBuilder iwad("IWAD");
    AddLevel(iwad, "E1M1", Room());
    WriteIwad(iwad);
    config.lastEpisode = config.lastMap = 1;
    for (const Case& c : cases) {
        Load("E1M1");
        c.make(65535);
        AllocateArray(level.things, 70000, 70000);   // Things have no limit
        EXPECT_EQ(PassedLimit(), "") << c.kind;
        c.make(65536);
        dialogs.log.clear();
        EXPECT_EQ(ChooseSaveFile(1, 1), nullptr);
        EXPECT_EQ(dialogs.log, std::vector<std::string>{std::string("!Level too large to save|65536 ") +
                                                         c.kind + ", more than the 65535 a level can hold"});
        EXPECT_FALSE(Exists("E1M1.WAD"));
    }
}

}  // namespace
