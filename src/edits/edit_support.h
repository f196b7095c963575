// What the edits share: counting objects in words, names into texture
// fields, room for more objects, and deletions that keep lists of object
// numbers naming the same objects.
//
// The functions that read or change a level take it as their first
// parameter (see edits/objects.h).
#pragma once

#include <string>
#include <vector>

#include "edits/object_list.h"
#include "level/level.h"

// "1 Vertex", "3 LineDefs": how undo steps and messages count objects.
std::string CountOf(int count, int type);

// Puts a texture or flat name into a SideDef's or Sector's field.
void SetTextureName(char (&field)[8], const char* name);

// The "Overlap Tolerance" setting within its range: how near a LineDef may
// pass a Vertex before it counts as passing through it.
int OverlapTolerance();

// Whether the level has room for so many more objects of each kind (a
// reference can name only so many).
bool RoomFor(const LevelState& level, int lineDefs, int sideDefs, int vertexes, int sectors);

// Lists of numbers that an operation holds while it deletes objects: after a
// deletion each entry names the same object as before, or is -1 when that
// object went. Either list may be null.
struct TrackedLists {
    std::vector<int>* vertexes = nullptr;
    std::vector<int>* lineDefs = nullptr;
};

// Deletes the Vertexes or LineDefs (with what depends on them) and renumbers
// the tracked lists. Numbers that name no object are ignored.
void DeleteTracked(LevelState& level, int type, const std::vector<int>& numbers, TrackedLists tracked);

// The numbers of a list, newest first, and back: the entries that name an
// object, each once, the first of the numbers becoming the list's head.
std::vector<int> NumbersOf(const SelectionList& list);
void ReplaceList(SelectionList& list, const std::vector<int>& newestFirst, int count);
