#include "edits/object_edits.h"

#include "edits/edit_support.h"
#include "edits/objects.h"
#include "gamedefs/thingtypes.h"
#include "level/history.h"

namespace edits {

ThingInserted InsertThing(LevelState& level, int model, int x, int y) {
    EditScope edit("insert Thing");
    const Thing* copied = level.things.at(model);
    ThingInserted made;
    made.modelIsStart = copied && IsPlayerStart(static_cast<uint16_t>(copied->type));
    made.thing = AddObject(level, kObjThing, made.modelIsStart ? -1 : model, x, y);
    if (made.thing >= 0)
        edit.Commit();
    return made;
}

void DeleteListed(LevelState& level, int type, SelectionList& objects) {
    EditScope edit("delete " + CountOf(objects.size(), type));
    DeleteObjects(level, type, objects);
    edit.Commit();
}

bool CopyListed(LevelState& level, int type, SelectionList& objects) {
    EditScope edit("copy " + CountOf(objects.size(), type));
    if (!CopyObjects(level, type, objects))
        return false;
    edit.Commit();
    return true;
}

}  // namespace edits
