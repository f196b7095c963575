#include "edits/level_target.h"

#include <string>

#include "level/history.h"

namespace edits {

bool MakeLevelFor(LevelState& level, MapTarget target) {
    if (level.target == target)
        return false;
    EditScope edit(std::string("make the level for ") + MapTargetName(target));
    level.target = target;
    edit.Commit();
    return true;
}

}  // namespace edits
