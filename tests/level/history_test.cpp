// Undo and redo: any sequence of edits taken back step by step gives back
// every earlier level exactly, and the change flags follow the saved state.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
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

// One random edit of the kinds editing operations make: a field changed, a
// record appended, one deleted from the middle (the rest move down), the last
// ones dropped.
template <typename T>
void EditArray(ObjectArray<T>& array, std::mt19937& random) {
    int kind = static_cast<int>(random() % 4);
    if (array.count == 0)
        kind = 1;
    int n = array.count > 0 ? static_cast<int>(random() % static_cast<unsigned>(array.count)) : 0;
    if (kind == 0) {
        reinterpret_cast<uint8_t*>(&array.records[static_cast<size_t>(n)])[random() % sizeof(T)] ^=
            static_cast<uint8_t>(1 + random() % 255);
    } else if (kind == 1) {
        if (array.count == array.capacity())
            array.records.resize(static_cast<size_t>(array.count) + 3);
        T record{};
        std::memset(&record, static_cast<int>(random() % 256), sizeof record);
        array.records[static_cast<size_t>(array.count++)] = record;
    } else if (kind == 2) {
        std::memmove(&array.records[static_cast<size_t>(n)], &array.records[static_cast<size_t>(n) + 1],
                     static_cast<size_t>(array.count - n - 1) * sizeof(T));
        --array.count;
    } else {
        array.count -= std::min(array.count, 1 + static_cast<int>(random() % 3));
    }
}

void RandomEdit(std::mt19937& random) {
    switch (random() % 5) {
    case 0: EditArray(level.things, random); break;
    case 1: EditArray(level.lineDefs, random); break;
    case 2: EditArray(level.sideDefs, random); break;
    case 3: EditArray(level.vertices, random); break;
    default: EditArray(level.sectors, random); break;
    }
}

TEST(History, UndoAndRedoGiveBackEveryLevelExactly) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        SmallMap();
        std::vector<std::string> states = {LevelArrayBytes()};
        for (int step = 0; step < 40; ++step) {
            for (unsigned edits = 1 + random() % 3; edits > 0; --edits)
                RandomEdit(random);
            if (RecordStep())
                states.push_back(LevelArrayBytes());
        }
        ASSERT_EQ(HistorySteps() + 1, static_cast<int>(states.size()));
        for (size_t back = states.size() - 1; back > 0; --back) {
            ASSERT_TRUE(Undo()) << "seed " << seed;
            ASSERT_EQ(LevelArrayBytes(), states[back - 1]) << "seed " << seed << " undo to " << back - 1;
        }
        EXPECT_FALSE(Undo());
        for (size_t forward = 1; forward < states.size(); ++forward) {
            ASSERT_TRUE(Redo());
            ASSERT_EQ(LevelArrayBytes(), states[forward]) << "seed " << seed << " redo to " << forward;
        }
        EXPECT_FALSE(Redo());
        // Nothing changed: no step.
        EXPECT_FALSE(RecordStep());
    }
}

TEST(History, ChangesNotYetRecordedAreUndoneFirstAndANewStepEndsRedo) {
    SmallMap();
    std::string start = LevelArrayBytes();
    level.things[0].x = 500;
    NameStep("move 1 Thing");
    ASSERT_TRUE(RecordStep());
    std::string moved = LevelArrayBytes();
    level.things[1].type = 7;   // not recorded yet
    ASSERT_TRUE(Undo());
    EXPECT_EQ(LevelArrayBytes(), moved);
    EXPECT_EQ(UndoLabel(), "move 1 Thing");
    EXPECT_EQ(RedoLabel(), "change");
    ASSERT_TRUE(Undo());
    EXPECT_EQ(LevelArrayBytes(), start);
    EXPECT_EQ(RedoLabel(), "move 1 Thing");
    level.vertices[0].x = -8;
    NameStep("drag 1 Vertex");
    ASSERT_TRUE(RecordStep());
    EXPECT_EQ(RedoLabel(), "");
    EXPECT_FALSE(Redo());
    EXPECT_EQ(UndoLabel(), "drag 1 Vertex");
    EXPECT_EQ(HistorySteps(), 1);
}

// Each row: the steps made (T: Things only, G: geometry), where the level was
// saved (the number of steps done then, or -1 for not at all) and whether the
// save left the map marked changed (nodes not rebuilt), then how far to undo;
// the flags expected there.
struct FlagCase {
    const char* steps;
    int savedAfter;
    bool savedWithMapChanged;
    int undoCount;
    bool levelChanged;
    bool mapChanged;
};

const FlagCase kFlagCases[] = {
    {"T", -1, false, 1, false, false},     // back at the loaded level
    {"G", -1, false, 1, false, false},
    {"TG", -1, false, 1, true, false},     // one Thing moved: the nodes still fit
    {"GT", -1, false, 1, true, true},
    {"GG", 2, false, 0, false, false},     // as saved
    {"GG", 2, false, 1, true, true},       // a geometry step from the save
    {"GT", 1, false, 0, true, false},      // only a Thing moved since the save
    {"GT", 2, true, 1, true, true},        // saved without new nodes
    {"TT", 2, true, 2, true, true},
    {"GGG", 1, false, 3, true, true},      // before the save, across a geometry step
    {"TGT", 1, false, 1, true, true},
};

TEST(History, ChangeFlagsFollowTheSavedState) {
    for (const FlagCase& c : kFlagCases) {
        SmallMap();
        int done = 0;
        auto save = [&] {
            level.levelChanged = false;
            level.mapChanged = c.savedWithMapChanged;
            MarkSaved();
        };
        if (c.savedAfter == 0)
            save();
        for (const char* s = c.steps; *s; ++s) {
            if (*s == 'T')
                ++level.things[0].x;
            else
                ++level.vertices[0].y;
            level.levelChanged = true;
            level.mapChanged = level.mapChanged || *s == 'G';
            RecordStep();
            if (++done == c.savedAfter)
                save();
        }
        for (int i = 0; i < c.undoCount; ++i)
            Undo();
        EXPECT_EQ(level.levelChanged, c.levelChanged) << c.steps << " saved " << c.savedAfter << " undo " << c.undoCount;
        EXPECT_EQ(level.mapChanged, c.mapChanged) << c.steps << " saved " << c.savedAfter << " undo " << c.undoCount;
    }
}

// However the level got there: equal records mean unchanged, and the map
// flag follows the records of its shape alone.
TEST(History, ChangeFlagsFollowTheRecordsNotTheCommands) {
    const struct {
        const char* what;
        std::function<void()> edits;
        bool levelChanged, mapChanged;
    } cases[] = {
        {"flags raised by a command that changed nothing", [] {
             level.levelChanged = level.mapChanged = true;
             EXPECT_FALSE(RecordStep());
         }, false, false},
        {"the same, then undo with nothing to undo", [] {
             level.levelChanged = level.mapChanged = true;
             EXPECT_FALSE(Undo());
         }, false, false},
        {"a LineDef's tag and a Sector's light changed", [] {
             level.lineDefs[0].tag = 9;
             level.sectors[0].light = 99;
             RecordStep();
         }, true, false},
        {"a SideDef facing another Sector", [] {
             level.sideDefs[0].sector = 1;
             RecordStep();
         }, true, true},
        {"a Vertex moved and moved back", [] {
             level.vertices[0].y += 8;
             RecordStep();
             level.vertices[0].y -= 8;
             RecordStep();
         }, false, false},
        {"saved, undone, and another Thing moved", [] {
             ++level.things[0].x;
             RecordStep();
             MarkSaved();
             Undo();
             ++level.things[1].x;
             RecordStep();
             Undo();
         }, true, false},
    };
    for (const auto& c : cases) {
        SmallMap();
        c.edits();
        EXPECT_EQ(level.levelChanged, c.levelChanged) << c.what;
        EXPECT_EQ(level.mapChanged, c.mapChanged) << c.what;
    }
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
