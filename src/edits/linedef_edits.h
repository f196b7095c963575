// Edits of LineDefs and the Sectors beside them: adding a LineDef across a
// Sector (splitting it in two), splitting two LineDefs at their midpoints,
// joining Sectors, deleting LineDefs and joining the Sectors on their sides,
// flipping and swapping LineDefs, and the first free tag. Each keeps every
// reference sound, raises both change flags when it changes something, and
// leaves the level exactly as it was when it refuses; each that makes a step
// names it. What the user chose comes in as arguments; why an edit was
// refused comes back in the words the user is shown.
//
// The functions that read or change a level take it as their first
// parameter (see edits/objects.h).
#pragma once

#include <string>
#include <utility>

#include "edits/object_list.h"
#include "level/level.h"

namespace edits {

// What becomes of the Sector that a new LineDef crosses.
enum class SplitChoice {
    SplitSector,   // the part on the LineDef's left becomes a new Sector
    TwoSided,      // both sides face the one Sector
};

// Why an edit was refused, and the box's lines that say so ("" when there
// is nothing to show but the error beep).
struct Refusal {
    enum class Kind { None, Missing, NoRoom, Said };
    Kind kind = Kind::None;
    std::string first, second;

    Refusal() = default;
    explicit Refusal(Kind why, std::string line1 = "", std::string line2 = "")
        : kind(why), first(std::move(line1)), second(std::move(line2)) {}
    bool refused() const { return kind != Kind::None; }
};

// Why no LineDef can run from Vertex a to b: it would have no length, pass
// through the Vertex of a LineDef (within "Overlap Tolerance"), run along a
// LineDef that ends at a or b, or meet any other; "" when nothing is in its
// way. LineDefs that already join a and b are not in the way. Both must
// exist.
std::string PathBlocked(const LevelState& level, int a, int b);

// Whether a LineDef starts or ends at Vertex v (a split of the Sector needs
// one at a or b).
bool UsedByLineDef(const LevelState& level, int v);

// Adds a two-sided LineDef from Vertex a to Vertex b inside the Sector
// around their midpoint, after deleting LineDef `deleted` (-1: none; the
// caller offers a LineDef that already joins a and b):
//   SplitSector - the part of the Sector on the LineDef's left (found by
//     walking the Sector's boundary from a to b with the Sector on the
//     right) becomes a new Sector, a copy of the old, with every inner shape
//     (pillar) that lies in it;
//   TwoSided - both sides face the Sector.
// The new LineDef's first side faces the old Sector; both sides have "-" as
// normal texture. The walk follows the Sector's area that the new LineDef
// cuts, turning at each Vertex to the next LineDef round it, so that it
// never wanders along a LineDef inside the Sector into another part of it.
// Refused, changing nothing: a or b missing or the same (Missing), no room
// (NoRoom), a path blocked (PathBlocked), no Sector between a and b, or a
// boundary walk that ends or comes back (Said).
Refusal AddLineDefSplitSector(LevelState& level, int a, int b, SplitChoice choice, int deleted = -1);

// Whether two LineDefs have a Sector on a side of each in common.
bool ShareSector(const LevelState& level, int lineDef1, int lineDef2);

// Joins the listed Sectors into the list's head: every SideDef facing one of
// the others faces it, and the others are deleted. The list then holds the
// kept Sector alone.
void JoinSectors(LevelState& level, SelectionList& sectors);

// Deletes the listed LineDefs and joins the Sector of each one's second side
// into the Sector of its first. Every LineDef must have two sides, both
// facing a Sector; otherwise the first that does not is refused and nothing
// changes. Empties the list when done.
Refusal DeleteLineDefsJoinSectors(LevelState& level, SelectionList& lineDefs);

// What a flip exchanges.
enum class FlipPart { Vertexes, SideDefs, Both };
// Flips every listed LineDef: its start and end Vertexes, its first and
// second SideDefs, or both.
void FlipLineDefs(LevelState& level, const SelectionList& lineDefs, FlipPart part);

// The smallest tag of 1 or above that no LineDef and no Sector uses.
int FirstFreeTag(const LevelState& level);

}  // namespace edits
