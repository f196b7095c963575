// The fixes the consistency checks offer: each changes the level as the
// user agreed and names the step; finding, wording and asking stay with the
// checks. Every fix raises level.levelChanged.
//
// Deletions and the flags of a whole collection are an undoable step of
// their own. The fixes of one field, which a check may make thousands of
// times in one pass, only name the step the check makes: they cannot fail
// halfway, so keeping a copy of the level for each would buy nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "edits/object_list.h"
#include "edits/object_values.h"
#include "level/level.h"

namespace edits {

// Deletes the listed objects of the type, which nothing uses, and empties
// the list ("delete unused objects").
void DeleteUnusedObjects(LevelState& level, int type, SelectionList& unused);

// Deletes LineDef n, which joins the same two Vertexes as another ("delete
// duplicate LineDef"). False, changing nothing, when there is no such
// LineDef.
bool DeleteDuplicateLineDef(LevelState& level, int lineDef);

// Sets the bits of `set` and clears those of `clear` in the flags of every
// listed LineDef that exists ("set LineDef flags").
void FixLineDefFlags(LevelState& level, const std::vector<int>& lineDefs, int16_t set, int16_t clear);

// Sets the tag of LineDef or Sector n (by its type code) to 0 ("reset
// tags"). False for another type or an object that does not exist.
bool ResetTag(LevelState& level, int type, int n);

// Why a field takes the default: it is empty ("set missing textures"), or
// names a picture the files lack ("replace unknown textures").
enum class NameFix { Missing, Unknown };

// The configured default of the part.
const char* DefaultName(NamePart part);
// Puts the default into that part of Sector or SideDef n. False when there
// is no such object.
bool SetDefaultName(LevelState& level, int n, NamePart part, NameFix why);

// The heights the checks mend ("set missing textures"): a ceiling below
// the floor goes 64 above it, one more than 1023 above it comes down to
// 1023 above (neither higher than the map allows).
enum class HeightFix { CeilingBelowFloor, TooTall };
bool FixSectorHeight(LevelState& level, int sector, HeightFix fix);

}  // namespace edits
