// The type choosers: the two-level menus through which the user sets the
// type of Things, LineDefs or Sectors. A category menu built from the
// category headers of the game's tables leads to a menu of the types of one
// category, or to a number entry. The Thing chooser shows the sprite of the
// highlighted category or type beside its menus.
//
// The choosers write the chosen type into every listed object of the level
// and raise levelChanged; the editor's history records the change as one
// step of the command that opened them.
#pragma once

#include <vector>

// Whether a chooser goes round again after a pass that chose nothing (a
// list or entry left with Esc); a choice always ends it, back to the dialog
// that asked.
enum class ChooserRepeat {
    BySetting,   // again while "Menu Nesting" is on, until a choice, Exit or Esc
    Once,        // one pass
};

// What a chooser did.
struct ChooserResult {
    bool chosen = false;    // a type was chosen
    bool changed = false;   // some object's type changed (redraw the map)
};

// The Thing type chooser at (x, y) for the Things numbered in things (the
// first one gives the preselections). A type above 0 is written into every
// listed Thing that has another one.
ChooserResult ChooseThingType(int x, int y, const std::vector<int>& things,
                              ChooserRepeat repeat = ChooserRepeat::BySetting);
// The same chooser picking a type for the defaults: type is the current one
// and receives the choice (above 0); no Thing changes. True when chosen.
bool ChooseDefaultThingType(int x, int y, int& type);

// The LineDef type chooser at (x, y): a chosen type of 0 or more is written
// into every listed LineDef.
ChooserResult ChooseLineDefType(int x, int y, const std::vector<int>& lineDefs,
                                ChooserRepeat repeat = ChooserRepeat::BySetting);
// The Sector type chooser (placed by itself, near the top of the screen,
// which it saves whole): a chosen type becomes every listed Sector's special.
ChooserResult ChooseSectorType(const std::vector<int>& sectors,
                               ChooserRepeat repeat = ChooserRepeat::BySetting);
