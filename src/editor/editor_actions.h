// The operations that the editor's keys and menus start but that modules
// above the editor own: the vertex check, the edit dialogs and compound
// operations, the checker, find and change, the 3D view, test play and the
// overlay over the map.
//
// Each is one entry of one table, so that a module connects its operation by
// setting its entry (usually in an Install function called at start-up). An
// entry that no module has connected beeps as an unbound key does, or does
// the plain thing its comment names.
#pragma once

#include <cstdint>
#include <vector>

class SelectionList;

// How the Misc menu starts.
enum class MiscStart {
    Menu,
    RotateAndScale,   // its rotate-and-scale item at once
};

// How find and change starts.
enum class FindStart {
    Ask,          // asks what to find
    RepeatLast,   // the last search again
};

// Where the 3D view's camera starts.
enum class PreviewStart {
    PlayerStart,   // Player 1's start, or the pointer when the level has none
    Pointer,       // the map point under the pointer
};

// Whether a check asks the user before each change it makes.
enum class CheckStyle { Interactive, Quiet };

struct EditorActions {
    // The edit dialog of the current mode on the objects (their head is the
    // one whose values it shows), near screen point (x, y); directItem 0
    // shows its menu, d > 0 goes straight to the menu's item d + 1 (a click
    // on a field of the info panel). Beeps until connected.
    void (*editObjects)(int x, int y, SelectionList& objects, int directItem);
    // The vertex check after objects were moved or drawn (Vertexes that now
    // lie on one another, on LineDefs): on the listed Vertexes, or on the
    // Vertexes at the ends of the listed LineDefs. It may change the lists.
    // Does nothing until connected.
    void (*checkVertexes)(SelectionList& vertexes, CheckStyle style);
    void (*checkLineDefVertexes)(SelectionList& lineDefs, CheckStyle style);

    // The menus of the compound operations at (x, y): Misc, Object
    // (predefined shapes), Check. Each returns kMenuNext or kMenuPrevious when
    // it was left with Right or Left, so that the menu bar opens its
    // neighbour; anything else when done.
    int (*miscMenu)(int x, int y, MiscStart start);
    int (*objectMenu)(int x, int y);
    int (*checkMenu)(int x, int y);
    // The exits and starting positions check that runs before every save:
    // 0 when the user did not confirm (nothing is saved). Accepts until the
    // checker is connected.
    int (*checkExits)();
    // F4 and F: find and change.
    void (*findChange)(int x, int y, FindStart start);

    // Shift-F1: play the level in the game.
    void (*testPlay)();
    // W, Shift-W: the 3D view of the level. Beeps until connected.
    void (*preview3d)(PreviewStart start);
    // Draws over the map after each full redraw. Nothing until connected.
    void (*drawMapOverlay)();
    // A left click with Ctrl at (x, y), pixels of the map area: true when
    // what the overlay draws there took it. False until connected.
    bool (*overlayClick)(int x, int y);
};

extern EditorActions editorActions;

// The items of the Misc menu ("Misc. Operations") in an EditMode: rotate and
// scale, the first free tag, then the operations of the mode.
std::vector<const char*> MiscMenuItems(int mode);

// Puts every entry back to its default (tests, and the editor's start-up).
void ResetEditorActions();
