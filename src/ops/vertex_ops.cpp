#include "ops/vertex_ops.h"

#include "base/format.h"
#include "level/level.h"
#include "ops/edit_support.h"
#include "ui/input.h"

void DeleteVertexesJoinLineDefs(const SelectionList& vertexes) {
    for (int v : edits::DeleteVertexesJoinLineDefs(level, vertexes).refused)
        ReportFailure(Format("Cannot delete Vertex %d and join the LineDefs. The Vertex", v),
                      "must be the start of one LineDef and the end of another.");
}

void MergeVertexes(SelectionList& vertexes) {
    if (CheckSelection(CountRule::AtLeast, 2, kObjVertex, vertexes))
        edits::MergeVertexes(level, vertexes);
}

int SplitLineDefAtVertex(int ld, int v) {
    int added = edits::SplitLineDefAtVertex(level, ld, v);
    if (added < 0 && LineDefAt(ld) && ValidVertex(v))
        ErrorBeep();
    return added;
}

void SplitLineDefs(const SelectionList& lineDefs) {
    for (int refused = edits::SplitLineDefs(level, lineDefs).refused; refused > 0; --refused)
        ErrorBeep();
}
