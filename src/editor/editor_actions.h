// The operations that the editor's keys and menus start: inserting,
// deleting, moving and copying objects (the editor's own commands by
// default), and those that other modules own: the vertex check, line drawing,
// the edit dialogs and compound operations, the checker, the settings
// dialogs, the info panels, the picture shows and test play.
//
// Each is one entry of one table, so that a module connects its operation by
// setting its entry (usually in an Install function called at start-up). An
// entry that no module has connected beeps as an unbound key does, or does
// the plain thing its comment names.
#pragma once

#include <cstdint>
#include <vector>

class SelectionList;

// What the main loop tells line drawing.
enum class LineDrawingCommand {
    Pass,     // every pass: the buttons of the pass (EditorState::buttons)
    Point,    // Enter: a point at the pointer, as the left button places one
    Insert,   // Ins: the shape is closed
    Escape,   // Esc: the shape is left as it is drawn (an empty one ends the drawing)
    Quit,     // End: as Esc, and the drawing ends
};

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

enum class SpriteShowMode { EntryScene, ScreenSaver };

// What the info panels are asked.
enum class PanelAction {
    Hover,    // whether the pointer is over a panel
    Select,   // the select key
    Edit,     // the edit key
};

// How the view is brought to an object.
enum class GoToMode {
    Centre,   // centred on it
    Zoom,     // centred, zoomed in until picking at the pointer finds it
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
    // The vertex check after objects were moved or drawn (Vertexes that now
    // lie on one another, on LineDefs): on the listed Vertexes, or on the
    // Vertexes at the ends of the listed LineDefs. It may change the lists.
    // Does nothing until connected.
    void (*checkVertexes)(SelectionList& vertexes, CheckStyle style);
    void (*checkLineDefVertexes)(SelectionList& lineDefs, CheckStyle style);

    // Line drawing, while EditorState::lineDrawing is set.
    void (*lineDrawingEvent)(LineDrawingCommand command);

    // , . < > in Things mode: turn the selected Things one step (+1 one way,
    // -1 the other).
    void (*rotateThings)(int direction);
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

    // F5, F6, Alt-F5, Alt-F6, Alt-F7: the settings dialogs.
    void (*textureDefaults)();
    void (*mapOptions)();
    void (*optionsDialog)();
    void (*colourDialog)();
    void (*paletteColours)();

    // Shift-F1: play the level in the game.
    void (*testPlay)();
    // W, Shift-W: the 3D view of the level. Beeps until connected.
    void (*preview3d)(PreviewStart start);
    // The sprite show: the entry scene, or the screen saver.
    void (*spriteShow)(SpriteShowMode mode);

    // The info panels (editor/info_panels.h): the panel of object n of the
    // current mode (n < 0: no object).
    void (*showObjectInfo)(int n);
    // True when the pointer is over a panel (Hover) or the panel took the
    // key; Enter (or both buttons) asks it with Edit.
    bool (*panelHit)(PanelAction action);

    // Brings the view to an object so that picking at the pointer finds it.
    void (*goToObject)(int type, int n, GoToMode mode);
    // Draws over the map after each full redraw. Nothing until connected.
    void (*drawMapOverlay)();
    // A left click with Ctrl at (x, y), pixels of the map area: true when
    // what the overlay draws there took it. False until connected.
    bool (*overlayClick)(int x, int y);
    // Asks for the number of an object of the type, starting at value;
    // returns the number left in the entry.
    int (*objectNumberEntry)(int x, int y, int type, int value);
};

extern EditorActions editorActions;

// The items of the Misc menu ("Misc. Operations") in an EditMode: rotate and
// scale, the first free tag, then the operations of the mode.
std::vector<const char*> MiscMenuItems(int mode);

// Puts every entry back to its default (tests, and the editor's start-up).
void ResetEditorActions();
