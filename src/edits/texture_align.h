// Lining up the textures along a chain of walls: the X offsets run on from
// one SideDef to the next, so that a texture continues across the joints;
// the Y offsets make each texture hang from the height the first one hangs
// from. What the user chose comes in; why an alignment stopped comes back in
// the words the user is shown.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "edits/object_list.h"
#include "level/level.h"

namespace edits {

enum class AlignSide { First, Second };

// The SideDefs on that side of the listed LineDefs, the LineDef selected
// first first; LineDefs without that side are skipped.
std::vector<int> SidesToAlign(const LevelState& level, const SelectionList& lineDefs, AlignSide side);

// Sets the Y offset of every SideDef on that side so that its texture lines
// up with the first one's: the difference of the heights they hang from (the
// SideDef's Sector's ceiling, or the ceiling across its LineDef when that is
// lower and still above the floor), wrapped at 128 ("align textures Y").
// Nothing when there is no such SideDef.
void AlignTexturesY(LevelState& level, const SelectionList& lineDefs, AlignSide side);

// How the X offsets are run along the chain.
struct AlignXChoice {
    AlignSide side = AlignSide::First;
    bool identical = true;   // a different real texture stops the alignment
    int initial = 0;         // where the first texture starts
    bool restart = false;    // a new texture starts again at 0
};

// Why AlignTexturesX stopped before the end of the chain.
enum class AlignStop { None, DifferentTexture, UnknownTexture, WrongDirection, NotConnected };

struct AlignedX {
    AlignStop stop = AlignStop::None;
    std::string problem;   // the line that says why ("LineDef 4 not same direction")
    int aligned = 0;       // SideDefs given their offset before it stopped
};

// A wall texture's width; -1 when the game's files do not have it.
using TextureWidth = std::function<int(const std::string& name)>;

// Runs the X offsets along the chain of the listed LineDefs: on the first
// side from the LineDef selected first, each starting where the one before
// ended; on the second side from the one selected last, each ending where
// the one before started. The offset starts at the initial one and grows by
// each LineDef's length, wrapped at the width of the texture shown (the
// normal texture, else the upper, else the lower; none: 0). It stops at a
// LineDef that does not carry on the chain, at a texture whose width is
// unknown and, when identical textures are asked for, at a real texture
// that differs from the one before; the SideDefs before it keep their
// offsets ("align textures X").
AlignedX AlignTexturesX(LevelState& level, const SelectionList& lineDefs, const AlignXChoice& choice,
                        const TextureWidth& widthOf);

}  // namespace edits
