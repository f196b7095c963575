// Inserting a Thing asked of the model directly: what it copies and the
// step it names. Deleting and copying are tested with the editor's commands.
#include <cstring>

#include "edits/object_edits.h"
#include "edits_fixture.h"

namespace {

using namespace edits;
using mapkit::AddThing;

bool Same(const Thing& a, const Thing& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

using ObjectEditsTest = EditsTest;

// A copy of the model Thing, unless it is missing or a player start (a
// second start is an extra body in the game): then the default type.
TEST_F(ObjectEditsTest, AThingCopiesItsModelButNeverAPlayerStart) {
    config.defaultThingType = 2012;
    const struct {
        int model;
        Thing made;
        bool modelIsStart;
    } cases[] = {
        {0, {5, 6, 90, 3004, 4}, false},
        {1, {5, 6, 0, 2012, 7}, true},
        {-1, {5, 6, 0, 2012, 7}, false},
        {9, {5, 6, 0, 2012, 7}, false},
    };
    for (const auto& c : cases) {
        mapkit::ClearMap();
        AddThing(10, 10, 3004, 90, 4);
        AddThing(0, 0, 1, 270, 7);
        ResetHistory();
        ThingInserted made = InsertThing(level, c.model, 5, 6);
        ASSERT_EQ(made.thing, 2) << c.model;
        EXPECT_TRUE(Same(level.things[2], c.made)) << c.model;
        EXPECT_EQ(made.modelIsStart, c.modelIsStart) << c.model;
        EXPECT_EQ(Step(), "insert Thing");
    }
}

}  // namespace
