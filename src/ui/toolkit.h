// The dialog toolkit's shared state: the nesting of saved screen areas, the
// button row and list mouse state that dialogs continue from pass to pass,
// the pointer as the last pass read it, and the hooks through which the
// toolkit reaches the help viewer and the options dialog.
#pragma once

#include <cstdint>

// A window coordinate that centres the window on the drawing area (any
// negative value does).
constexpr int kCentred = -1;

// How much of the help file the viewer shows from a topic on.
enum class HelpRange {
    TopicOnly,     // up to the next topic
    ToEnd,         // to the end of the file
    SearchToEnd,   // to the end, asking for a search text first
};

// Opens the help viewer on a topic in a window (x1, y1)-(x2, y2).
using HelpHandler = void (*)(const char* topic, HelpRange range, int x1, int y1, int x2, int y2);
// A settings dialog at (x, y); a negative coordinate centres it.
using SettingsDialog = void (*)(int x, int y);

// The pointer as a dialog pass saw it.
struct PointerSample {
    int x = 0, y = 0;    // pixels of the current viewport
    int screenY = 0;     // screen row, for the menu bar band
    int buttons = 0;     // bit 0 left, bit 1 right; a click since the last read counts
    int held = 0;        // the buttons down at the time of the read
};

constexpr int kMaxButtons = 4;

struct ButtonBarState {
    int focus = 0;                       // focused button, -1 none
    bool focused[kMaxButtons] = {};
    bool raised[kMaxButtons] = {};
    bool drawnRaised[kMaxButtons] = {};
    bool drawnFocused[kMaxButtons] = {};
    bool redraw = true;                  // draw every button on the next pass
    int lastKey = -1;                    // the last key a pass read (-1: none)
};

struct ListMouseState {
    bool waitRelease = false;    // a button held at the reset is not a press
    int lastHeld = 0;            // buttons held at the previous call
    int64_t nextRepeat = 0;      // clock time of the next step of a held arrow
};

struct ToolkitState {
    int savedAreas = 0;          // screen areas saved and not yet restored
    ButtonBarState buttonBar;
    ListMouseState listMouse;
    PointerSample pointer;       // what the last ButtonBar or ListMouse pass read
    int magnify = 1;             // picture magnification of the list choosers, 1..10
    // The help viewer (InstallToolkit sets it); F1 does nothing without it.
    HelpHandler helpHandler = nullptr;
    // The options dialog that the first-time setup runs; skipped while unset.
    SettingsDialog optionsDialog = nullptr;
};

extern ToolkitState toolkit;

// Installs what the toolkit provides to the modules below it: the level
// dialogs (which answer on the console while the graphics screen is down) and
// the help viewer of F1. Call once at start.
void InstallToolkit();

// Reads the mouse into toolkit.pointer and returns it.
PointerSample SamplePointer();

// F1 in a dialog: the help viewer on topic in a window of 48 characters by 41
// lines centred on the drawing area (nothing without a topic or a viewer).
void ShowHelpTopic(const char* topic);

// For modal routines that show the pointer while they wait: puts it back as
// it was on entry (hidden or shown) when the routine ends.
class PointerRestore {
public:
    PointerRestore();
    ~PointerRestore();
    PointerRestore(const PointerRestore&) = delete;
    PointerRestore& operator=(const PointerRestore&) = delete;

private:
    bool wasHidden_;
};
