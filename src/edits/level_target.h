// The game a level is made for, as an edit of the level: a change of target
// changes what the level may hold and what its file says, so it is an
// undoable step like any other.
#pragma once

#include "base/map_target.h"
#include "level/level.h"

namespace edits {

// Makes the level for the target ("make the level for Boom"). False,
// changing nothing, when it is made for that target already.
bool MakeLevelFor(LevelState& level, MapTarget target);

}  // namespace edits
