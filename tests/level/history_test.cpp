// Undo history: its step limit, edit scopes, and its memory on a large level.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "level/history.h"
#include "level/level.h"
#include "level_fixture.h"
#include "support/map_kit.h"

namespace {

using mapkit::LevelArrayBytes;

void SmallMap() {
    mapkit::ClearMap();
    int sector = mapkit::AddSector();
    mapkit::AddRoom(0, 0, 256, 256, sector);
    int inner = mapkit::AddSector(0, 0, 16, 112);
    mapkit::AddRoom(64, 64, 128, 128, inner, sector);
    for (int i = 0; i < 6; ++i)
        mapkit::AddThing(32 * i, 16, 3004 + i);
    level.levelChanged = level.mapChanged = false;
    ResetHistory();
}

TEST(History, KeepsTheNewestStepsWithinItsLimit) {
    SmallMap();
    for (int i = 0; i < kHistorySteps + 50; ++i) {
        level.things[0].x = static_cast<int16_t>(i + 1);
        RecordStep();
    }
    EXPECT_EQ(HistorySteps(), kHistorySteps);
    for (int i = 0; i < kHistorySteps; ++i)
        ASSERT_TRUE(Undo());
    EXPECT_FALSE(Undo());
    EXPECT_EQ(level.things[0].x, 50);
    EXPECT_TRUE(level.levelChanged);   // the loaded state was dropped
}

// An edit scope keeps what it commits and puts back everything else, inner
// scopes taking back only their own part, whatever way the edit is left.
TEST(History, AnEditScopeKeepsOnlyWhatCommits) {
    struct Edited {
        std::string bytes;
        bool levelChanged, mapChanged;
    };
    auto now = [] { return Edited{LevelArrayBytes(), level.levelChanged, level.mapChanged}; };
    auto moveVertex = [] {
        level.vertices[0].x += 8;
        level.levelChanged = level.mapChanged = true;
    };
    auto dropThing = [] { --level.things.count; };
    const struct {
        const char* what;
        std::function<void(Edited& expected)> edit;
        const char* label;   // the step's name; "change" when none was given
    } cases[] = {
        {"committed", [&](Edited& expected) {
             EditScope edit("move 1 Vertex");
             moveVertex();
             edit.Commit();
             expected = now();
         }, "move 1 Vertex"},
        {"left without a commit", [&](Edited&) {
             EditScope edit("move 1 Vertex");
             moveVertex();
             dropThing();
         }, "change"},
        {"named when it commits", [&](Edited& expected) {
             EditScope edit("delete");
             dropThing();
             edit.Commit("delete 1 Thing");
             expected = now();
         }, "delete 1 Thing"},
        {"an inner scope left, the outer committed", [&](Edited& expected) {
             EditScope outer("move and delete");
             moveVertex();
             expected = now();
             {
                 EditScope inner("delete 1 Thing");
                 dropThing();
             }
             outer.Commit();
         }, "move and delete"},
        {"an inner scope committed, the outer left", [&](Edited&) {
             EditScope outer("move and delete");
             moveVertex();
             EditScope inner("delete 1 Thing");
             dropThing();
             inner.Commit();
         }, "change"},
        {"cancelled, then committed", [&](Edited& expected) {
             EditScope edit("move 1 Vertex");
             moveVertex();
             edit.Cancel();
             EXPECT_EQ(now().bytes, expected.bytes);
             edit.Commit();
         }, "change"},
        {"left by an exception", [&](Edited&) {
             try {
                 EditScope edit("move 1 Vertex");
                 moveVertex();
                 throw std::runtime_error("no room");
             } catch (const std::runtime_error&) {
             }
         }, "change"},
    };
    for (const auto& c : cases) {
        SmallMap();
        Edited expected = now();
        c.edit(expected);
        Edited after = now();
        EXPECT_EQ(after.bytes, expected.bytes) << c.what;
        EXPECT_EQ(after.levelChanged, expected.levelChanged) << c.what;
        EXPECT_EQ(after.mapChanged, expected.mapChanged) << c.what;
        level.sectors[0].light = 1;   // something to record, in case the edit left nothing
        ASSERT_TRUE(RecordStep());
        EXPECT_EQ(UndoLabel(), c.label) << c.what;
    }
}

class HistoryFreedoomTest : public LevelTest {};

// A thousand single-object edits of a large level hold little memory.
TEST_F(HistoryFreedoomTest, AThousandSmallEditsOfALargeLevelHoldUnder16MB) {
    std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    OpenIwadAt(iwad);
    config.lastMap = 12;
    Load("MAP12");
    ResetHistory();
    std::string start = LevelArrayBytes();
    for (int i = 0; i < 1000; ++i) {
        switch (i % 4) {
        case 0: level.vertices[i * 7 % level.vertices.count].x += 8; break;
        case 1: level.things[i % level.things.count].angle += 45; break;
        case 2: level.sideDefs[i * 13 % level.sideDefs.count].xOffset += 1; break;
        default: level.sectors[i % level.sectors.count].light += 1; break;
        }
        RecordStep();
    }
    EXPECT_EQ(HistorySteps(), 1000);
    EXPECT_LT(HistoryBytes(), size_t{16} << 20);
    while (Undo()) {
    }
    EXPECT_EQ(LevelArrayBytes(), start);
}

}  // namespace
