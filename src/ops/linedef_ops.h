// The Misc menu's operations on LineDefs and Sectors (edits/linedef_edits.h)
// with what they tell the user: the selection they need, the boxes that say
// why they failed, and the menu "Split Option" (editor/split_option.h).
#pragma once

#include "editor/selection.h"
#include "editor/split_option.h"
#include "edits/linedef_edits.h"

using edits::FirstFreeTag;
using edits::FlipLineDefs;
using edits::FlipPart;
using edits::JoinSectors;

// Splits both LineDefs at their midpoints and adds a LineDef between the two
// new Vertexes, splitting the Sector they share (AddLineDefSplitSector, which
// asks). LineDefs without a Sector in common are reported; on any failure or
// cancel nothing changes.
void SplitLineDefsAndSector(int lineDef1, int lineDef2);

// edits::DeleteLineDefsJoinSectors on at least 1 LineDef (else says so),
// reporting the LineDef it refused.
void DeleteLineDefsJoinSectors(SelectionList& lineDefs);
