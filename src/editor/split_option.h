// Adding a LineDef across a Sector as the user asks for it: the menu "Split
// Option" first, then the edit (edits/linedef_edits.h), then a box that says
// why it failed. Line drawing and the Misc menu both start it.
#pragma once

// How adding a LineDef across a Sector ended.
enum class SplitResult {
    Cancelled = -1,   // the user chose not to
    Failed = 0,       // no Sector lies between them, or its boundary does not lead from one to the other
    Done = 1,
};

// Adds a two-sided LineDef from Vertex a to Vertex b inside the Sector
// around their midpoint (edits::AddLineDefSplitSector), after the user chose
// in the menu "Split Option": "Split Sector" or "2-Sided LineDef". Only
// "2-Sided LineDef" is offered when no LineDef uses a or b. When a LineDef
// already joins a and b, `replace` (when >= 0) is deleted, or else the user
// is asked whether to delete the LineDef found. A path that is blocked is
// reported before the menu opens; missing Vertexes and a level without room
// give the error beep; the other failures are reported. Failures change
// nothing. Returns Cancelled when the user chose "Exit" or pressed Esc.
SplitResult AddLineDefSplitSector(int a, int b, int replace = -1);
