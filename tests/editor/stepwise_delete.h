// Deletion one object at a time, written as plainly as the rules read: the
// model that the one-pass deletion of the editor is checked against.
#pragma once

#include <cstdint>
#include <vector>

namespace stepwise {

// Deletes the listed objects (head first) with their dependants, as
// DeleteObjects does, one object after another: each deletion moves the
// following records down and renumbers every reference and the rest of the
// list. Entries that name no object are skipped. Raises the change flags.
void DeleteObjects(int type, std::vector<int> list);

// How many objects of an editable type the level holds.
int32_t CountOf(int type);

}  // namespace stepwise
