#include "level_fixture.h"

using levelkit::AddLevel;
using levelkit::MapData;
using levelkit::Room;
using testkit::Bytes;
using testkit::WadBuilder;

namespace {

class LevelLoadTest : public LevelTest {
protected:
    void WriteIwadWith(const std::string& name, const MapData& map) {
        WadBuilder iwad("IWAD");
        iwad.lump("PLAYPAL", Bytes(768, 1));
        AddLevel(iwad, name, map);
        AddLevel(iwad, "E1M9", Room());
        WriteIwad(iwad);
    }
};

// 500 vertices of which every 25 the first four are used by no LineDef.
MapData FiveHundredVertices(std::vector<int16_t>& used) {
    MapData m = Room();
    m.vertices.clear();
    m.lineDefs.clear();
    for (int16_t i = 0; i < 500; ++i) {
        m.vertices.push_back({static_cast<int16_t>(i * 3), static_cast<int16_t>(-i)});
        if (i % 25 >= 4)
            used.push_back(i);
    }
    m.vertices[0] = {-30000, 30000};   // unused: must not widen the bounds
    for (size_t k = 0; k < used.size(); ++k) {
        LineDef l{};
        l.start = used[k];
        l.end = used[(k + 1) % used.size()];
        l.sideDef1 = 0;
        l.sideDef2 = -1;
        m.lineDefs.push_back(l);
    }
    LineDef again = m.lineDefs[0];   // shares both its vertices with others
    again.end = used[5];
    m.lineDefs.push_back(again);
    return m;
}

TEST_F(LevelLoadTest, UnusedVerticesAreDroppedAndTheRestRenumberedInTheirOrder) {
    std::vector<int16_t> used;
    MapData map = FiveHundredVertices(used);
    WriteIwadWith("E1M1", map);
    Load("E1M1");
    ASSERT_EQ(used.size(), 420u);
    ASSERT_EQ(level.vertices.count, 420);
    EXPECT_EQ(level.vertices.capacity(), 840);
    for (int j = 0; j < 420; ++j) {
        EXPECT_EQ(level.vertices[j].x, map.vertices[static_cast<size_t>(used[j])].x) << j;
        EXPECT_EQ(level.oldVertexNumbers[static_cast<size_t>(j)], used[j]);
    }
    ASSERT_EQ(level.lineDefs.count, 421);
    for (int k = 0; k < 420; ++k) {
        EXPECT_EQ(level.lineDefs[k].start, k);
        EXPECT_EQ(level.lineDefs[k].end, (k + 1) % 420);
    }
    EXPECT_EQ(level.lineDefs[420].end, 5);
    EXPECT_EQ(level.oldVertexCount, 500);
    EXPECT_EQ(level.minX, 12);     // vertex 4, the first used
    EXPECT_EQ(level.maxX, 1497);
    EXPECT_EQ(level.minY, -499);
    EXPECT_EQ(level.maxY, -4);
}

TEST_F(LevelLoadTest, ArraysHoldTheLumpsWithRoomForAsManyAgain) {
    MapData map = Room(2);
    WriteIwadWith("E1M1", map);
    Load("E1M1");
    EXPECT_TRUE(dialogs.Logged("#Processing Level E1M1"));
    EXPECT_EQ(level.things.count, 1);
    EXPECT_EQ(level.things.capacity(), 2);
    EXPECT_EQ(level.things[0].type, 1);
    EXPECT_EQ(level.sideDefs.count, 4);
    EXPECT_EQ(std::string(level.sideDefs[0].middle, 8), "STARTAN3");   // 8 characters, no zero
    EXPECT_EQ(level.sectors.count, 1);
    EXPECT_EQ(level.sectors.capacity(), 2);
    EXPECT_EQ(level.lineDefs[0].sideDef2, -1);
    EXPECT_EQ(level.numSegs, 4);
    EXPECT_EQ(level.numSSectors, 1);
    EXPECT_EQ(level.numNodes, 0);
    EXPECT_EQ(level.rejectSize, 1);
    EXPECT_EQ(level.blockmapSize, 40);
    EXPECT_EQ(level.vertices.count, 4);
    EXPECT_TRUE(level.fromFile);
    EXPECT_TRUE(SameEntryName(MasterDirectory()[static_cast<size_t>(level.markerIndex)].name, "E1M1"));
    EXPECT_EQ(master.currentLevelRow, 0);
}

TEST_F(LevelLoadTest, LineDefsOutsideTheVertexLumpEndTheProgram) {
    MapData map = Room();
    map.lineDefs[3].end = 4;   // the old vertex count
    WriteIwadWith("E1M1", map);
    EXPECT_EQ(FatalOf([&] { Load("E1M1"); }), "vertex in linedef 3 not valid 3,4 ?");
    map.lineDefs[3].end = 0;
    map.lineDefs[1].start = -1;
    ResetMaster();
    WriteIwadWith("E1M1", map);
    EXPECT_EQ(FatalOf([&] { Load("E1M1"); }), "vertex in linedef 1 not valid -1,2 ?");
}

TEST_F(LevelLoadTest, MissingLumpsAreNotTakenFromTheNextLevel) {
    WadBuilder iwad("IWAD");
    MapData map = Room();
    iwad.lump("E1M1")
        .lump("THINGS", levelkit::AsBytes(map.things))
        .lump("LINEDEFS", levelkit::AsBytes(map.lineDefs));
    AddLevel(iwad, "E1M2", Room());
    WriteIwad(iwad);
    EXPECT_EQ(FatalOf([&] { Load("E1M1"); }),
              " Damaged " + dir.file("base.wad") + " file SIDEDEFS not found");
    EXPECT_EQ(FatalOf([&] { Load("E1M7"); }),
              " Damaged " + dir.file("base.wad") + " file E1M7 not found");
}

TEST_F(LevelLoadTest, PartialRecordsAtTheEndOfALumpAreIgnored) {
    WadBuilder iwad("IWAD");
    MapData map = Room();
    auto padded = [](Bytes b, size_t extra) {
        b.resize(b.size() + extra, 0x7F);
        return b;
    };
    iwad.lump("E1M1")
        .lump("THINGS", padded(levelkit::AsBytes(map.things), 9))
        .lump("LINEDEFS", padded(levelkit::AsBytes(map.lineDefs), 13))
        .lump("SIDEDEFS", padded(levelkit::AsBytes(map.sideDefs), 1))
        .lump("VERTEXES", padded(levelkit::AsBytes(map.vertices), 3))
        .lump("SEGS", Bytes(13, 1))
        .lump("SSECTORS", Bytes(3, 1))
        .lump("NODES", Bytes(27, 1))
        .lump("SECTORS", padded(levelkit::AsBytes(map.sectors), 25))
        .lump("REJECT", Bytes(3, 0))
        .lump("BLOCKMAP", Bytes(7, 0));
    WriteIwad(iwad);
    Load("E1M1");
    EXPECT_EQ(level.things.count, 1);
    EXPECT_EQ(level.lineDefs.count, 4);
    EXPECT_EQ(level.sideDefs.count, 4);
    EXPECT_EQ(level.oldVertexCount, 4);
    EXPECT_EQ(level.sectors.count, 1);
    EXPECT_EQ(level.numSegs, 1);
    EXPECT_EQ(level.numSSectors, 0);
    EXPECT_EQ(level.numNodes, 0);
    EXPECT_EQ(level.rejectSize, 3);
    EXPECT_EQ(level.blockmapSize, 7);
}

TEST_F(LevelLoadTest, EmptyLevelHasNoRoomUntilObjectsAreAdded) {
    MapData empty;
    WriteIwadWith("E1M1", empty);
    Load("E1M1");
    EXPECT_EQ(level.things.capacity(), 0);
    EXPECT_EQ(level.vertices.count, 0);
    EXPECT_EQ(level.vertices.capacity(), 1000);
    EXPECT_EQ(level.minX, 32767);
    EXPECT_EQ(level.maxX, -32767);
    ResizeObject(kObjThing, 1);
    EXPECT_EQ(level.things.capacity(), 400);
}

TEST_F(LevelLoadTest, NewLevelIsEmptyAndLeavesTheMasterDirectoryAlone) {
    WriteIwadWith("E1M1", Room());
    const WadDirEntry segsBefore = *FindEntry(0, "SEGS", 0);
    level.things.count = 99;
    Load("E1M1", 1);
    EXPECT_EQ(level.things.count, 0);
    EXPECT_EQ(level.things.capacity(), 200);
    EXPECT_EQ(level.lineDefs.capacity(), 1500);
    EXPECT_EQ(level.sideDefs.capacity(), 2000);
    EXPECT_EQ(level.vertices.capacity(), 1000);
    EXPECT_EQ(level.sectors.capacity(), 300);
    EXPECT_EQ(level.numSegs + level.numSSectors + level.numNodes + level.rejectSize +
                  level.blockmapSize,
              0);
    EXPECT_FALSE(level.fromFile);
    EXPECT_EQ(FindEntry(0, "SEGS", 0)->size, segsBefore.size);   // the IWAD's level is intact
    Load("E1M1");
    EXPECT_EQ(level.numSegs, 4);
}

TEST_F(LevelLoadTest, LevelOfAPwadIsReadFromThePwadAndItsFileClosedFirst) {
    WriteIwadWith("E1M1", Room());
    MapData mine = Room(3);
    mine.things[0].type = 2001;
    WadBuilder pwad;
    AddLevel(pwad, "E1M1", mine);
    pwad.write(dir.file("mine.wad"));
    WadBuilder other;
    other.lump("DEMO9", "x");
    other.write(dir.file("other.wad"));
    int row = ReadPwad(dir.file("mine.wad"));
    int otherRow = ReadPwad(dir.file("other.wad"));
    ASSERT_GT(row, 0);
    MakeRowReady(static_cast<int16_t>(otherRow));
    Load("E1M1");
    EXPECT_EQ(master.currentLevelRow, row);
    EXPECT_EQ(level.things[0].type, 2001);
    EXPECT_EQ(level.oldVertexCount, 7);
    EXPECT_EQ(level.vertices.count, 4);
    EXPECT_EQ(master.table[otherRow].state, 'C');
    EXPECT_EQ(master.table[row].state, 'O');
}

}  // namespace
