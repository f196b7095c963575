// Edits of Vertexes and the LineDefs that meet at them: deleting a Vertex
// between two LineDefs and joining them into one, merging Vertexes, and
// splitting LineDefs at a Vertex or at their midpoints. Each keeps every
// reference sound and raises both change flags when it changes something;
// each that makes a step names it.
//
// The functions that read or change a level take it as their first
// parameter (see edits/objects.h).
#pragma once

#include <vector>

#include "edits/edit_support.h"
#include "edits/object_list.h"
#include "level/level.h"

namespace edits {

// What deleting Vertexes and joining their LineDefs did: the Vertexes joined,
// and those that could not be, by the numbers they had when their turn came,
// in the list's order.
struct JoinOutcome {
    int joined = 0;
    std::vector<int> refused;
};

// For every listed Vertex, in the list's order (newest first): when exactly
// one LineDef starts there and exactly one other ends there, the one ending
// there is drawn on to the end of the other, which is deleted with its
// SideDefs, and the Vertex is deleted (when the two run between the same
// two Vertexes, both go with it). Any other Vertex is refused and kept. The
// list is left as it was: the caller forgets it, since its numbers no longer
// fit.
JoinOutcome DeleteVertexesJoinLineDefs(LevelState& level, const SelectionList& vertexes);

// Merges the listed Vertexes into the one selected last, the list's head:
// every LineDef from a merged Vertex to a Vertex outside the list now ends at
// the kept one; LineDefs between two listed Vertexes are deleted with the
// merged Vertexes. Empties the list. False, changing nothing, for fewer
// than 2 Vertexes.
bool MergeVertexes(LevelState& level, SelectionList& vertexes);

// The merge itself: the Vertexes `gone` into `keep` (an entry equal to keep
// is ignored). Returns keep's number after the deletion; the tracked lists
// keep naming the same objects.
int MergeVertexesInto(LevelState& level, int keep, const std::vector<int>& gone, TrackedLists tracked = {});

// Splits LineDef ld at Vertex v: a copy of ld (with copies of its SideDefs
// on the same sides) runs from v to ld's end, and ld now ends at v. Returns
// the new LineDef's number; -1 when ld or v does not exist or the level has
// no room.
int SplitLineDefAtVertex(LevelState& level, int ld, int v);

// What splitting LineDefs at their midpoints did: the LineDefs split, and
// those refused (too short, or the first that found no room, where the
// split stops).
struct SplitCount {
    int split = 0;
    int refused = 0;
};

// Splits every listed LineDef at a new Vertex at its midpoint (each
// coordinate halved towards zero). A LineDef whose midpoint falls on one of
// its ends (shorter than 2 units) stays whole, and so does one whose halves,
// bent by the rounding, would pass a Vertex or meet a LineDef that the
// whole LineDef did not.
SplitCount SplitLineDefs(LevelState& level, const SelectionList& lineDefs);

}  // namespace edits
