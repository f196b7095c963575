// Inserting a Thing, deleting and copying listed objects, asked of the
// model directly: what each makes and the step it names.
#include <cstring>

#include "edits/edit_support.h"
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

TEST_F(ObjectEditsTest, DeletionsAndCopiesNameTheirStepsByCount) {
    Room();
    SelectionList lineDefs = ListOf({0, 1});
    EXPECT_TRUE(CopyListed(level, kObjLineDef, lineDefs));
    EXPECT_EQ(NumbersOf(lineDefs), (std::vector<int>{4, 5}));   // the head copied first
    EXPECT_EQ(Step(), "copy 2 LineDefs");
    SelectionList vertex = ListOf({0});
    DeleteListed(level, kObjVertex, vertex);
    EXPECT_TRUE(vertex.empty());
    EXPECT_EQ(level.lineDefs.count, 4);   // the west and south walls went with it
    EXPECT_TRUE(ReferencesSound());
    EXPECT_EQ(Step(), "delete 1 Vertex");
}

}  // namespace
