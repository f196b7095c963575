// The boxes the Vertex operations report their refusals in; what they edit
// is the model's (tests/edits/vertex_edits_test.cpp).
#include "ops/vertex_ops.h"
#include "ops_fixture.h"

namespace {

using VertexOpsTest = OpsTest;

// A Vertex where three LineDefs meet cannot be deleted; one Vertex cannot be
// merged: a box says so and nothing changes.
TEST_F(VertexOpsTest, RefusalsAreReportedAndChangeNothing) {
    struct Case {
        void (*run)(SelectionList&);
        std::vector<std::string> box;
    } cases[] = {
        {[](SelectionList& l) { DeleteVertexesJoinLineDefs(l); },
         {"Cannot delete Vertex 0 and join the LineDefs. The Vertex",
          "must be the start of one LineDef and the end of another."}},
        {[](SelectionList& l) { MergeVertexes(l); }, {"Select at least 2 Vertexs"}},
    };
    AddSector();
    AddRoom(0, 0, 200, 200, 0);
    AddLineDef(0, 2, AddSideDef(0), AddSideDef(0), 4);   // a third LineDef at Vertex 0
    ResetHistory();
    std::string before = LevelArrayBytes();
    for (const Case& c : cases) {
        SelectionList list = ListOf({0});
        Answers({"Enter"});
        c.run(list);
        for (const std::string& text : c.box)
            EXPECT_TRUE(Showed(0, text)) << text;
        EXPECT_EQ(LevelArrayBytes(), before);
        EXPECT_EQ(Step(), "");
        EXPECT_EQ(list.size(), 1);
    }
}

}  // namespace
