#include "level_fixture.h"

namespace {

using LevelLoadTest = LevelTest;

TEST_F(LevelLoadTest, UnusedVerticesAreDroppedAndTheRestRenumberedInTheirOrder) {
    // The room's four vertices with unused ones before, between and after them.
    MapData map = Room();
    map.vertices = {{-30000, 30000}, {0, 0}, {5, 5}, {9, 9}, {0, 256}, {256, 256}, {7, 7}, {256, 0}, {30000, -3}};
    const int16_t used[] = {1, 4, 5, 7};
    for (size_t k = 0; k < 4; ++k) {
        map.lineDefs[k].start = used[k];
        map.lineDefs[k].end = used[(k + 1) % 4];
    }
    map.lineDefs.push_back(map.lineDefs[0]);   // shares both its vertices with others
    map.lineDefs.back().end = 5;
    WadBuilder iwad("IWAD");
    AddLevel(iwad, "E1M1", map);
    AddLevel(iwad, "E1M9", Room());
    WriteIwad(iwad);
    Load("E1M1");
    EXPECT_EQ(level.oldVertexCount, 9);
    ASSERT_EQ(level.vertices.count, 4);
    for (int j = 0; j < 4; ++j) {
        const Vertex& old = map.vertices[size_t(used[j])];
        EXPECT_TRUE(level.vertices[j].x == old.x && level.vertices[j].y == old.y) << j;
        EXPECT_EQ(level.oldVertexNumbers[size_t(j)], used[j]);
        EXPECT_EQ(level.lineDefs[j].start, j);
        EXPECT_EQ(level.lineDefs[j].end, (j + 1) % 4);
    }
    EXPECT_EQ(level.lineDefs[4].end, 2);
    // Unused vertices do not widen the bounds.
    EXPECT_EQ((std::vector<int>{level.minX, level.minY, level.maxX, level.maxY}), (std::vector<int>{0, 0, 256, 256}));
}

TEST_F(LevelLoadTest, DamagedLevelsEndTheProgramWithTheirMessage) {
    const std::string damaged = " Damaged " + dir.file("base.wad") + " file ";
    struct Case {
        int line, start, end;   // a LineDef's vertices, or line -1: E1M1 cut short
        const char* level;
        std::string message;
    } cases[] = {
        {3, 3, 4, "E1M1", "vertex in linedef 3 not valid 3,4 ?"},   // 4: the old vertex count
        {1, -1, 2, "E1M1", "vertex in linedef 1 not valid -1,2 ?"},
        {-1, 0, 0, "E1M1", damaged + "SIDEDEFS not found"},   // not taken from the next level
        {-1, 0, 0, "E1M7", damaged + "E1M7 not found"},
    };
    for (const Case& c : cases) {
        MapData map = Room();
        WadBuilder iwad("IWAD");
        if (c.line < 0) {
            iwad.lump("E1M1").lump("THINGS", AsBytes(map.things)).lump("LINEDEFS", AsBytes(map.lineDefs));
        } else {
            map.lineDefs[size_t(c.line)].start = int16_t(c.start);
            map.lineDefs[size_t(c.line)].end = int16_t(c.end);
            AddLevel(iwad, "E1M1", map);
        }
        AddLevel(iwad, "E1M2", Room());
        ResetMaster();
        WriteIwad(iwad);
        EXPECT_EQ(ExitOf([&] { Load(c.level); }), c.message) << c.message;
    }
}

TEST_F(LevelLoadTest, PartialRecordsAtTheEndOfALumpAreIgnored) {
    WadBuilder room;
    AddLevel(room, "E1M1", Room());
    std::vector<testkit::WadLump> lumps = testkit::ParseWad(room.bytes()).lumps;
    const size_t extra[] = {0, 9, 13, 1, 3, 11, 3, 27, 25, 2, 1};   // after the marker: THINGS..BLOCKMAP
    WadBuilder iwad("IWAD");
    for (size_t i = 0; i < lumps.size(); ++i) {
        lumps[i].data.resize(lumps[i].data.size() + extra[i], 0x7F);
        iwad.lump(lumps[i].name, lumps[i].data);
    }
    WriteIwad(iwad);
    Load("E1M1");
    EXPECT_EQ((std::vector<int32_t>{level.things.count, level.lineDefs.count, level.sideDefs.count,
                                    level.oldVertexCount, level.numSegs, level.numSSectors, level.numNodes,
                                    level.sectors.count, level.rejectSize, level.blockmapSize}),
              (std::vector<int32_t>{1, 4, 4, 4, 4, 1, 0, 1, 3, 41}));
}

}  // namespace
