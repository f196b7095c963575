// The operations that the editor's keys and menus start but that other
// modules own: inserting, deleting, moving and copying objects, line drawing,
// the edit dialogs and compound operations, the checker, the settings
// dialogs, the info panels, the picture shows and test play.
//
// Each is one entry of one table, so that a module connects its operation by
// setting its entry (usually in an Install function called at start-up). An
// entry that no module has connected beeps as an unbound key does, or does
// the plain thing its comment names.
#pragma once

#include <cstdint>

struct EditorActions {
    // Enter (or both buttons): the edit dialog on the selection, or on the
    // highlighted object when nothing is selected.
    void (*editObjects)();
    // Ins: insert an object of the current mode (in Vertexes mode this
    // starts line drawing; in LineDefs mode it builds a Sector).
    void (*insertObject)();
    // Del: delete the selection (or the highlighted object) after asking.
    void (*deleteObjects)();
    // D (or the right button): start a drag of the selection, or end it.
    void (*moveObjects)();
    // O: copy the selection in place, ready to be dragged.
    void (*copyObjects)();
    // Every pass of the main loop while EditorState::dragging is set, and the
    // clear key or Esc while it is (which ends the drag).
    void (*dragStep)();
    void (*cancelDrag)();

    // Line drawing, while EditorState::lineDrawing is set: command 1 on every
    // pass (buttons in the pointer state) and for Enter, 2 for Ins, 3 for Esc.
    void (*lineDrawingEvent)(int command);

    // , . < > in Things mode: turn the selected Things one step (+1 one way,
    // -1 the other).
    void (*rotateThings)(int direction);
    // The menus of the compound operations at (x, y): Misc (direct 1: the
    // rotate-and-scale item at once), Object (predefined shapes), Check. Each
    // returns kMenuNext or kMenuPrevious when it was left with Right or Left,
    // so that the menu bar opens its neighbour; anything else when done.
    int (*miscMenu)(int x, int y, int direct);
    int (*objectMenu)(int x, int y);
    int (*checkMenu)(int x, int y);
    // The exits and starting positions check that runs before every save:
    // 0 when the user did not confirm (nothing is saved). Accepts until the
    // checker is connected.
    int (*checkExits)();
    // F4 and F: find and change (repeat 1: the last search again).
    void (*findChange)(int x, int y, int repeat);

    // F5, F6, Alt-F5, Alt-F6, Alt-F7: the settings dialogs.
    void (*textureDefaults)();
    void (*mapOptions)();
    void (*optionsDialog)();
    void (*colourDialog)();
    void (*paletteColours)();

    // Shift-F1: save and hand the level to the game (ends the program).
    void (*testPlay)();
    // The sprite show: mode 0 the entry scene (clears the screen until
    // connected), 1 the screen saver.
    void (*spriteShow)(int mode);

    // The info panels: the panel of object n of the current mode (n < 0: no
    // object). Draws nothing until connected.
    void (*showObjectInfo)(int n);
    // Hover test (how -1), select key (0) and edit key (1) on the panels;
    // true when the pointer is over a panel (how -1) or the panel took the
    // key. False until connected.
    bool (*panelHit)(int how);

    // Centres the view on an object so that picking at the pointer finds it;
    // zoom lets it zoom in until it does. Centres on the object's reference
    // point until connected.
    void (*goToObject)(int type, int n, bool zoom);
    // Asks for the number of an object of the type, starting at value;
    // returns the number left in the entry.
    int (*objectNumberEntry)(int x, int y, int type, int value);
};

extern EditorActions editorActions;

// Puts every entry back to its default (tests, and the editor's start-up).
void ResetEditorActions();
