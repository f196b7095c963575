// The editor's object commands as edits of the level: inserting a Thing,
// deleting and copying the objects the user chose. Each is one undoable step
// named for what it did ("delete 3 LineDefs"); what to act on, and asking
// first, are the caller's.
#pragma once

#include "edits/object_list.h"
#include "level/level.h"

namespace edits {

// What inserting a Thing made.
struct ThingInserted {
    int thing = -1;            // the new Thing; -1 when the level had no room
    bool modelIsStart = false; // the model is a player start, not copied
};

// A Thing at (x, y) ("insert Thing"), a copy of Thing `model` (its type,
// angle and flags), or of the default type when there is no such Thing. A
// player start is not copied this way (a second would be an extra body in
// the game): the new Thing takes the default type.
ThingInserted InsertThing(LevelState& level, int model, int x, int y);

// Deletes the listed objects of the type with what depends on them
// (DeleteObjects) and empties the list ("delete 3 LineDefs").
void DeleteListed(LevelState& level, int type, SelectionList& objects);

// Copies the listed objects in place (CopyObjects); the list becomes the
// copies ("copy 3 LineDefs"). False, changing nothing, when the copies would
// not fit in the level.
bool CopyListed(LevelState& level, int type, SelectionList& objects);

}  // namespace edits
