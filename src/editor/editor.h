// The graphical editor's frame: choosing the level, the main loop that turns
// the mouse and the menu bar into keys, and the key dispatcher.
#pragma once

#include <cstdint>
#include <vector>
#include <string>

#include "level/level_files.h"

// What the editor asks the shell to do when it returns.
enum EditorReturn {
    kEditorLeave = 0,
    kEditorLeaveToo = 1,
    kEditorOtherLevel = 2,
    kEditorNewLevel = 3,
    kEditorIwadOnly = 4,
    kEditorReadPwad = 5,
    kEditorSavedAs = 6,
};

// What the main loop keeps from pass to pass.
struct EditorState {
    // Redraw requests, acted on before the loop waits for the next key.
    bool redrawAll = false;      // the whole screen: bars, map, panels
    bool redrawMap = false;      // the map and the panels
    bool redrawStatus = false;   // the status line
    bool redrawMenuBar = false;  // the menu bar (a pressed button comes up again)

    int statusColour = 7;        // background of the status fields
    int shiftState = 0;          // shift state that came with the key being handled
    int buttons = 0;             // mouse buttons read by this pass
    int lastButtons = 0;         // mouse buttons seen on the previous pass
    bool buttonHeld = false;     // the left button of the key's press stayed down (a box)
    int pendingKey = 0;          // a key read ahead (by the zoom repeat); 0 none
    int cursorStep = 1;          // pixels an arrow key moves the cursor
    bool panelHover = false;     // the pointer is over an info panel
    // An object brought into view by Next, Previous or Jump stays highlighted
    // until the pointer moves away from where that put it.
    bool highlightHeld = false;
    int heldX = 0, heldY = 0;
    // Where the highlight was last picked and whether Shift was held then,
    // and whether a key or a redraw since may have changed what lies under
    // the pointer.
    bool pickDue = true;
    int pickedX = -1, pickedY = -1;
    bool pickedShift = false;

    // Set by the modules that own them: line drawing and dragging are on.
    bool lineDrawing = false;
    bool dragging = false;

    // The PWAD that kEditorReadPwad asks the shell to read.
    std::string pwadToRead;
};

extern EditorState editor;

// How the level to edit is chosen.
enum class LevelChoice {
    FromList,   // by the user, from the list of levels
    Given,      // the one named by episode and map
};

// Runs the editor on a level and returns what the shell should do next.
int EditLevel(int16_t episode, int16_t map, LevelSource source, LevelChoice choice);

// Chooses the level. Sets map (or episode) to 0 when nothing was chosen or
// the level is not there. Makes the chosen level's file the current one.
void SelectLevel(int16_t& episode, int16_t& map, LevelChoice choice);

// Counts the changes of the mouse buttons from the state given, polling
// every 50 ms for ms milliseconds; stops at 2, or when the pointer leaves the
// place of the first press by more than a few pixels (a press there is a
// click of its own). The pointer stays where the press was for the command
// that follows.
int CountClicks(int buttons, int ms);

// F2, Alt-F2, Alt-F8 (the key): after the exits check, saves the level under
// its own name into the file the user chooses, and says so over the map.
// Returns what SaveLevel returns (kNotSaved when the check or the file
// choice stopped it).
int SaveLevelFromEditor(int key);

// Handles one key (menus and the mouse give keys too); 0 to go on, else the
// editor's return code. EditorState::shiftState is the shift state.
int EditorKey(int key);

// The mouse controls and keys the About box lists beside F1, in the words of
// the help on the editor: those a designer used to current editors looks for.
struct EditorControl {
    const char* name;   // "Ctrl-Z"
    const char* does;   // "undo the last change"
};
const std::vector<EditorControl>& AboutControls();

// Switches the EditMode (1 Things, 2 LineDefs, 4 Vertexes, 8 Sectors),
// carrying the selection over; choosing Things again toggles Thing pictures.
void SetEditMode(int mode);

// Makes object n of the current mode the highlighted one and brings it into
// view.
void GoToObject(int n);

// The editor's main loop on the loaded level; returns the editor's code.
int EditorMainLoop();

// How long the main loop may sleep when nothing happens: until an event
// (kWaitUntilInput), the next step of the edge scrolling, the end of a
// notice's time, or the next write of the recovery file.
int IdleWaitMs();

// A short message in the status line until the next key is handled.
void ShowEditorMessage(const char* text);

// One pass of the shell's EDIT and NEW loop: EditLevel on the graphics screen.
int EditOnGraphicsScreen(int16_t episode, int16_t map, LevelSource source, LevelChoice choice);
