// The check that runs after Vertexes were moved or drawn, so that the map
// stays free of overlaps. In three phases, on the Vertexes given:
//   1. a Vertex on exactly the point of another is merged into it (the
//      other one stays, and takes its place in the list);
//   2. a LineDef passing within "Overlap Tolerance" map units of a Vertex
//      (not one of its own ends) is split there;
//   3. LineDefs that then join the same two Vertexes are merged into one,
//      the lower-numbered keeping the SideDefs of both.
// Phase 2 runs in the Quiet style, with the "LineDef Split" setting, or when
// phase 1 merged something; phase 3 only when phase 2 met a LineDef's end
// and something changed. The status line names each phase; Esc ends the
// check at once.
//
// Interactive: the user is asked before the first merge of phase 1, before
// the first split of phase 2 and before every merge of phase 3; a "no" ends
// the check, keeping what it already did. Quiet: nothing is asked.
#pragma once

#include "editor/editor_actions.h"
#include "editor/selection.h"
#include "edits/edit_support.h"

// Checks the listed Vertexes. Afterwards the list holds the Vertexes that are
// left of it (a merged Vertex replaced by the one it was merged into),
// renumbered for the Vertexes deleted.
void CheckVertexes(SelectionList& vertexes, CheckStyle style);

// Checks the Vertexes at both ends of the listed LineDefs, each once.
// Afterwards the list holds the LineDefs that are left of it, renumbered for
// the LineDefs deleted.
void CheckLineDefVertexes(SelectionList& lineDefs, CheckStyle style);
