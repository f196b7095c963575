#include "level_fixture.h"

using levelkit::AddLevel;
using levelkit::AsBytes;
using levelkit::MapData;
using levelkit::Room;
using testkit::Bytes;
using testkit::WadBuilder;

namespace {

class LevelLoadTest : public LevelTest {
protected:
    // An IWAD of the level name (the given map) and E1M9.
    void WriteIwadWith(const std::string& name, const MapData& map) {
        WadBuilder iwad("IWAD");
        AddLevel(iwad, name, map);
        AddLevel(iwad, "E1M9", Room());
        WriteIwad(iwad);
    }
};

TEST_F(LevelLoadTest, UnusedVerticesAreDroppedAndTheRestRenumberedInTheirOrder) {
    // The room's four vertices with unused ones before, between and after them.
    MapData map = Room();
    map.vertices = {{-30000, 30000}, {0, 0}, {5, 5}, {9, 9}, {0, 256}, {256, 256}, {7, 7}, {256, 0}, {30000, -3}};
    const std::vector<int16_t> used = {1, 4, 5, 7};
    for (size_t k = 0; k < 4; ++k) {
        map.lineDefs[k].start = used[k];
        map.lineDefs[k].end = used[(k + 1) % 4];
    }
    map.lineDefs.push_back(map.lineDefs[0]);   // shares both its vertices with others
    map.lineDefs.back().end = 5;
    WriteIwadWith("E1M1", map);
    Load("E1M1");
    EXPECT_EQ(level.oldVertexCount, 9);
    ASSERT_EQ(level.vertices.count, 4);
    for (int j = 0; j < 4; ++j) {
        const Vertex& old = map.vertices[static_cast<size_t>(used[static_cast<size_t>(j)])];
        EXPECT_TRUE(level.vertices[j].x == old.x && level.vertices[j].y == old.y) << j;
        EXPECT_EQ(level.oldVertexNumbers[static_cast<size_t>(j)], used[static_cast<size_t>(j)]);
        EXPECT_EQ(level.lineDefs[j].start, j);
        EXPECT_EQ(level.lineDefs[j].end, (j + 1) % 4);
    }
    EXPECT_EQ(level.lineDefs[4].end, 2);
    // Unused vertices do not widen the bounds.
    EXPECT_EQ((std::vector<int>{level.minX, level.minY, level.maxX, level.maxY}), (std::vector<int>{0, 0, 256, 256}));
}

TEST_F(LevelLoadTest, DamagedLevelsEndTheProgramWithTheirMessage) {
    MapData map = Room();
    map.lineDefs[3].end = 4;   // the old vertex count
    WriteIwadWith("E1M1", map);
    EXPECT_EQ(ExitOf([&] { Load("E1M1"); }), "vertex in linedef 3 not valid 3,4 ?");
    map.lineDefs[3].end = 0;
    map.lineDefs[1].start = -1;
    ResetMaster();
    WriteIwadWith("E1M1", map);
    EXPECT_EQ(ExitOf([&] { Load("E1M1"); }), "vertex in linedef 1 not valid -1,2 ?");

    // Missing lumps are not taken from the next level.
    ResetMaster();
    WadBuilder iwad("IWAD");
    iwad.lump("E1M1").lump("THINGS", AsBytes(map.things)).lump("LINEDEFS", AsBytes(map.lineDefs));
    AddLevel(iwad, "E1M2", Room());
    WriteIwad(iwad);
    EXPECT_EQ(ExitOf([&] { Load("E1M1"); }), " Damaged " + dir.file("base.wad") + " file SIDEDEFS not found");
    EXPECT_EQ(ExitOf([&] { Load("E1M7"); }), " Damaged " + dir.file("base.wad") + " file E1M7 not found");
}

TEST_F(LevelLoadTest, PartialRecordsAtTheEndOfALumpAreIgnored) {
    WadBuilder room;
    AddLevel(room, "E1M1", Room());
    std::vector<testkit::WadLump> lumps = testkit::ParseWad(room.bytes()).lumps;
    const size_t extra[] = {9, 13, 1, 3, 11, 3, 27, 25, 2, 1};   // THINGS..BLOCKMAP
    WadBuilder iwad("IWAD");
    iwad.lump("E1M1");
    for (size_t i = 1; i < lumps.size(); ++i) {
        lumps[i].data.resize(lumps[i].data.size() + extra[i - 1], 0x7F);
        iwad.lump(lumps[i].name, lumps[i].data);
    }
    WriteIwad(iwad);
    Load("E1M1");
    EXPECT_EQ((std::vector<int32_t>{level.things.count, level.lineDefs.count, level.sideDefs.count,
                                    level.oldVertexCount, level.numSegs, level.numSSectors, level.numNodes,
                                    level.sectors.count, level.rejectSize, level.blockmapSize}),
              (std::vector<int32_t>{1, 4, 4, 4, 4, 1, 0, 1, 3, 41}));
}

TEST_F(LevelLoadTest, NewLevelIsEmptyAndLeavesTheMasterDirectoryAlone) {
    WriteIwadWith("E1M1", Room());
    const WadDirEntry segsBefore = *FindEntry(0, "SEGS", 0);
    level.things.count = 99;
    Load("E1M1", 1);
    EXPECT_EQ(level.things.count + level.lineDefs.count + level.vertices.count, 0);
    EXPECT_EQ(level.numSegs + level.numSSectors + level.numNodes + level.rejectSize + level.blockmapSize, 0);
    EXPECT_FALSE(level.fromFile);
    EXPECT_EQ(FindEntry(0, "SEGS", 0)->size, segsBefore.size);   // the IWAD's level is intact
    Load("E1M1");
    EXPECT_EQ(level.numSegs, 4);
}

}  // namespace
