// The Misc menu's operations on Vertexes (edits/vertex_edits.h), with what
// they tell the user: a box for each Vertex that cannot be joined, the
// selection count a merge needs, the error beep for each LineDef that
// cannot be split.
#pragma once

#include "edits/vertex_edits.h"
#include "editor/selection.h"

// edits::DeleteVertexesJoinLineDefs, then a box for each Vertex refused
// ("Cannot delete Vertex %d and join the LineDefs...").
void DeleteVertexesJoinLineDefs(const SelectionList& vertexes);

// edits::MergeVertexes on at least 2 Vertexes; with fewer, says so and does
// nothing.
void MergeVertexes(SelectionList& vertexes);

// edits::SplitLineDefAtVertex, with the error beep when it fails.
int SplitLineDefAtVertex(int ld, int v);

// edits::SplitLineDefs, with the error beep for each LineDef refused.
void SplitLineDefs(const SelectionList& lineDefs);
