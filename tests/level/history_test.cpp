// Undo and redo: any sequence of edits taken back step by step gives back
// every earlier level exactly, and the change flags follow the saved state.
#include <memory>
#include <random>
#include <stdexcept>

#include "level/history.h"
#include "level_fixture.h"
#include "support/map_kit.h"

namespace {

using mapkit::LevelArrayBytes;

// The change flags: "L" the level changed, "M" the map.
std::string Flags() {
    return std::string(level.levelChanged ? "L" : "-") + (level.mapChanged ? "M" : "-");
}

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

// One random edit of the kinds editing operations make.
template <typename T>
void EditArray(ObjectArray<T>& array, std::mt19937& random) {
    const size_t n = array.count > 0 ? random() % static_cast<size_t>(array.count) : 0;
    auto at = [&](size_t i) { return array.records.begin() + static_cast<std::ptrdiff_t>(i); };
    switch (array.count > 0 ? random() % 4 : 1) {
    case 0:   // a byte of a record changed
        reinterpret_cast<uint8_t*>(&*at(n))[random() % sizeof(T)] ^=
            static_cast<uint8_t>(1 + random() % 255);
        break;
    case 1:   // a record appended
        if (array.count == array.capacity())
            array.records.resize(static_cast<size_t>(array.count) + 3);
        std::memset(&*at(static_cast<size_t>(array.count++)), static_cast<int>(random() % 256),
                    sizeof(T));
        break;
    case 2:   // one deleted from the middle, the rest moving down
        std::copy(at(n + 1), at(static_cast<size_t>(array.count--)), at(n));
        break;
    default:   // the last ones dropped
        array.count -= std::min(array.count, 1 + static_cast<int>(random() % 3));
    }
}

TEST(History, UndoAndRedoGiveBackEveryLevelExactly) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        SmallMap();
        std::vector<std::string> states = {LevelArrayBytes()};
        for (int step = 0; step < 40; ++step) {
            for (unsigned edits = 1 + random() % 3; edits > 0; --edits) {
                switch (random() % 5) {
                case 0: EditArray(level.things, random); break;
                case 1: EditArray(level.lineDefs, random); break;
                case 2: EditArray(level.sideDefs, random); break;
                case 3: EditArray(level.vertices, random); break;
                default: EditArray(level.sectors, random); break;
                }
            }
            if (RecordStep())
                states.push_back(LevelArrayBytes());
        }
        ASSERT_EQ(HistorySteps() + 1, static_cast<int>(states.size()));
        for (size_t back = states.size() - 1; back > 0; --back) {
            ASSERT_TRUE(Undo()) << "seed " << seed;
            ASSERT_EQ(LevelArrayBytes(), states[back - 1]) << "seed " << seed << " undo " << back;
        }
        EXPECT_FALSE(Undo());
        for (size_t forward = 1; forward < states.size(); ++forward) {
            ASSERT_TRUE(Redo());
            ASSERT_EQ(LevelArrayBytes(), states[forward]) << "seed " << seed << " redo " << forward;
        }
        EXPECT_FALSE(Redo());
        EXPECT_FALSE(RecordStep());   // nothing changed: no step
    }
}

// What a script of commands leaves: the change flags and the labels Undo and
// Redo show. The flags follow the saved state and the records, not the
// commands: equal records mean unchanged, and the map flag follows the
// records of its shape alone (or a save that left its nodes unfitting).
// Changes not yet recorded are undone first; a new step ends redo.
// Recorded as a step named by the letter: T a Thing moved, O another Thing
// moved, G a Vertex moved, g moved back, L a LineDef's tag and a Sector's
// light changed, D a SideDef facing another Sector, F the flags raised by a
// command that changed nothing. Then: t a Thing moved, not yet recorded;
// f the flags raised, then undo; S saved, s saved without new nodes; U undo;
// R redo.
TEST(History, ChangeFlagsAndLabelsFollowTheRecordsAndTheSavedState) {
    const struct {
        const char* script;
        const char* left;
    } cases[] = {
        {"TU", "-- /T"},      // back at the loaded level
        {"GU", "-- /G"},
        {"TGU", "L- T/G"},    // one Thing moved: the nodes still fit
        {"GTU", "LM G/T"},
        {"GGS", "-- G/"},     // as saved
        {"GGSU", "LM G/G"},   // a geometry step from the save
        {"GST", "L- T/"},     // only a Thing moved since the save
        {"GTsU", "LM G/T"},   // saved without new nodes
        {"TTsUU", "LM /T"},
        {"GSGGUUU", "LM /G"},   // before the save, across a geometry step
        {"TSGTU", "LM G/T"},
        {"F", "-- /"},
        {"f", "-- /"},
        {"L", "L- L/"},
        {"D", "LM D/"},
        {"Gg", "-- g/"},      // moved and moved back
        {"TSUOU", "L- /O"},   // saved, undone, and another Thing moved
        {"TtU", "L- T/change"},
        {"TtUUG", "LM G/"},
        {"TGUUR", "L- T/G"},
    };
    for (const auto& c : cases) {
        SmallMap();
        for (const char* s = c.script; *s; ++s) {
            const char command = *s;
            switch (command) {
            case 'T': case 't': ++level.things[0].x; break;
            case 'O': ++level.things[1].x; break;
            case 'G': ++level.vertices[0].y; break;
            case 'g': --level.vertices[0].y; break;
            case 'L': level.lineDefs[0].tag = 9, level.sectors[0].light = 99; break;
            case 'D': level.sideDefs[0].sector = 1; break;
            case 'F': case 'f': level.levelChanged = level.mapChanged = true; break;
            case 'S': case 's':
                level.levelChanged = false;
                level.mapChanged = command == 's';
                MarkSaved();
                break;
            }
            if (command == 'U' || command == 'f')
                EXPECT_EQ(Undo(), command == 'U') << c.script;
            else if (command == 'R')
                EXPECT_TRUE(Redo()) << c.script;
            else if (std::strchr("TOGgLDF", command)) {
                NameStep(std::string(1, command));
                EXPECT_EQ(RecordStep(), command != 'F') << c.script;
            }
        }
        EXPECT_EQ(Flags() + " " + UndoLabel() + "/" + RedoLabel(), c.left) << c.script;
    }
}

TEST(History, KeepsTheNewestStepsWithinItsLimit) {
    SmallMap();
    for (int i = 0; i < kHistorySteps + 50; ++i) {
        level.things[0].x = static_cast<int16_t>(i + 1);
        RecordStep();
    }
    EXPECT_EQ(HistorySteps(), kHistorySteps);
    while (Undo()) {
    }
    EXPECT_EQ(level.things[0].x, 50);
    EXPECT_TRUE(level.levelChanged);   // the loaded state was dropped
}

// Runs a script of edits in scopes: ( opens a scope named "s" and its
// depth, ) leaves the innermost without a commit, c commits it, C commits it
// named "renamed", x cancels it (it stays open), v moves a Vertex (raising
// both change flags), d drops a Thing, = takes the level as it stands as
// the one expected, e throws out of every open scope.
void RunScopes(const char* script, std::string& expected) {
    struct Scopes : std::vector<std::unique_ptr<EditScope>> {
        ~Scopes() {   // the innermost first, as nested scopes end
            while (!empty())
                pop_back();
        }
    } open;
    for (const char* s = script; *s; ++s) {
        switch (*s) {
        case '(':
            open.push_back(std::make_unique<EditScope>("s" + std::to_string(open.size() + 1)));
            break;
        case ')': open.pop_back(); break;
        case 'c': open.back()->Commit(); open.pop_back(); break;
        case 'C': open.back()->Commit("renamed"); open.pop_back(); break;
        case 'x': open.back()->Cancel(); break;
        case 'v':
            level.vertices[0].x += 8;
            level.levelChanged = level.mapChanged = true;
            break;
        case 'd': --level.things.count; break;
        case '=': expected = LevelArrayBytes() + Flags(); break;
        case 'e': throw std::runtime_error("no room");
        }
    }
}

// An edit scope keeps what it commits and puts back everything else (records
// and change flags), inner scopes taking back only their own part, whatever
// way the edit is left; the step takes the name of the scope that commits.
TEST(History, AnEditScopeKeepsOnlyWhatCommits) {
    const struct {
        const char* script;
        const char* label;   // the step's name; "change" when none was given
    } cases[] = {
        {"(vc=", "s1"},          // committed
        {"(vd)", "change"},      // left without a commit
        {"(dC=", "renamed"},     // named when it commits
        {"(v=(d)c", "s1"},       // an inner scope left, the outer committed
        {"(v(dc)", "change"},    // an inner scope committed, the outer left
        {"(vxc", "change"},      // cancelled, then committed
        {"(v(de", "change"},     // left by an exception
    };
    for (const auto& c : cases) {
        SmallMap();
        std::string expected = LevelArrayBytes() + Flags();
        try {
            RunScopes(c.script, expected);
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(LevelArrayBytes() + Flags(), expected) << c.script;
        level.sectors[0].light = 1;   // something to record, in case the edit left nothing
        ASSERT_TRUE(RecordStep());
        EXPECT_EQ(UndoLabel(), c.label) << c.script;
    }
}

using HistoryFreedoomTest = LevelTest;

// A thousand single-object edits of a large level hold little memory, and
// undoing them all gives back the level as loaded.
TEST_F(HistoryFreedoomTest, AThousandSmallEditsOfALargeLevelHoldUnder16MB) {
    if (!mapkit::OpenFreedoom2())
        GTEST_SKIP() << "Freedoom is not installed";
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
