// Lists of selected objects, the editor's current selection and highlighted
// object, the selection box, and the conversion of a selection between modes.
#pragma once

#include <cstdint>
#include <vector>

#include "edits/object_list.h"

// How many objects an operation needs.
enum class CountRule { Exactly, AtLeast };

// What CheckSelection found in a list: its length, its head (the object
// selected last) and its last entry (the one selected first); -1 for none.
struct SelectionCount {
    int count = 0;
    int first = -1;
    int last = -1;
};

// Whether the list holds exactly / at least `needed` objects. When it does
// not, says so in a box ("Select exactly 2 LineDefs", named by the object
// type) with the button "Ok!" and returns false. `found` (may be null) gets
// the count and both ends either way.
bool CheckSelection(CountRule rule, int needed, int type, const SelectionList& list,
                    SelectionCount* found = nullptr);

// The selection box that the select command draws with the pointer.
struct SelectionBox {
    bool active = false;
    int16_t x0 = 0, y0 = 0;                  // first corner, map coordinates
    bool drawn = false;
    int sx0 = 0, sy0 = 0, sx1 = 0, sy1 = 0;  // the outline on the screen
};

struct SelectionState {
    SelectionList list;            // the current selection
    int current = -1;              // the highlighted object of the mode, -1 none
    bool currentDrawn = false;     // its highlight is on the screen
    int lastObject[4] = {-1, -1, -1, -1};   // per mode: Things, LineDefs, Vertexes, Sectors
    SelectionBox box;
    // Shows a short message to the user (set by the main loop); may be null.
    void (*message)(const char* text) = nullptr;
};

extern SelectionState selection;

// Forgets every list, the highlight and the box (the editor starts afresh).
void ResetSelection();

// The current EditMode (1 Things, 2 LineDefs, 4 Vertexes, 8 Sectors).
int CurrentEditMode();
// Index of a mode in SelectionState::lastObject; -1 for other codes.
int ModeIndex(int mode);
// Remembers the object shown last in a mode (the info panel calls it).
void RememberObject(int mode, int n);

// Makes n (or -1) the highlighted object, moving the highlight on the screen.
void SetCurrentObject(int n);
// Draws the highlight and the selection after the map was redrawn.
void DrawSelectionHighlights();
// How long the highlight stays on an object the pointer has left.
enum class HighlightHold {
    UntilNext,        // until the pointer reaches another object
    UnderPointerOnly, // it goes with the pointer (line drawing: what a click would join)
};
// Lets the highlight follow the pointer (when that switch is on and the
// pointer is not over an info panel) and keeps the highlighted object at the
// head of the selection. True when the highlighted object changed.
bool FollowPointer(bool overPanel, HighlightHold hold = HighlightHold::UntilNext);

// Toggles the highlighted object in the selection. Returns false (after the
// error beep) when nothing is highlighted.
bool ToggleCurrentSelected();
// Empties the selection and removes its highlight.
void ClearSelection();
// Drops every number the level no longer has from the selection, the
// highlight and the objects remembered per mode (after an undo or redo).
void ForgetMissingObjects();
// Selects every object of the current mode; selects exactly the objects that
// are not selected now.
void SelectAll();
void InvertSelection();
// The map box around the selected objects (Sectors by their LineDefs'
// ends). False when none is selected.
bool SelectionBounds(int& minX, int& minY, int& maxX, int& maxY);

// The selection box: started at the pointer's map position, redrawn as the
// pointer moves, ended by selecting what lies inside.
void StartSelectionBox();
void MoveSelectionBox();
// Selects the objects in the box (added to the selection with "Additive
// Select", else instead of it). Returns the number selected.
int EndSelectionBox();
void CancelSelectionBox();

// The next / previous object number of a mode, wrapping around; -1 when the
// mode has no objects.
int NextObject(int mode, int n);
int PrevObject(int mode, int n);

// Replaces the selection by its counterpart in the new mode and restores the
// new mode's highlighted object.
void ConvertSelection(int oldMode, int newMode);
