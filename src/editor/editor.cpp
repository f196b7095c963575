#include "editor/editor.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/editor_actions.h"
#include "editor/editor_history.h"
#include "editor/info_panels.h"
#include "editor/line_drawing.h"
#include "editor/map_draw.h"
#include "editor/menu_bar.h"
#include "editor/object_commands.h"
#include "editor/objects.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "level/level.h"
#include "level/level_files.h"
#include "pictures/namelists.h"
#include "base/config.h"
#include "base/fatal.h"
#include "ui/button_bar.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/list_select.h"
#include "ui/menus.h"
#include "ui/message_box.h"
#include "ui/message_panel.h"
#include "ui/sprite_views.h"
#include "wad/master.h"

EditorState editor;

namespace {

constexpr int kClickPoll = 50;     // ms between the polls of the click count
constexpr int kClickSlop = 4;      // pixels the pointer may move between two clicks of a double click
constexpr int kHoldTest = 50;      // ms the left button must stay down for a box
constexpr int kMissionRows = 9;
constexpr int kMissionPreviewSide = 160;   // the animation beside the level list
constexpr int kBrowseBeepMs = 5;
constexpr int kBothButtons = 3;
constexpr int kEdgeScrollWaitMs = 15;   // a pass a display frame while the view scrolls

std::string LevelName(int16_t episode, int16_t map) { return LevelNameFor(episode, map); }

void ForgetSavedView() {
    config.savedViewX = kNoSavedView;
    config.savedViewY = kNoSavedView;
}

// While the editor runs, the window's close button leaves it as Alt-F4 does,
// and the recovery file is written on its schedule whatever waits for the
// user (menus and dialogs too).
class EditorInputGuard {
public:
    EditorInputGuard() : closeKey_(input.windowCloseKey), background_(input.backgroundWork) {
        input.windowCloseKey = kKeyAltF4;
        input.backgroundWork = BackgroundWork{RecoveryWriteDueMs, WriteRecoveryWhenDue};
    }
    ~EditorInputGuard() {
        input.windowCloseKey = closeKey_;
        input.backgroundWork = background_;
    }
    EditorInputGuard(const EditorInputGuard&) = delete;
    EditorInputGuard& operator=(const EditorInputGuard&) = delete;

private:
    int closeKey_;
    BackgroundWork background_;
};

bool ChooseFromList(int16_t& episode, int16_t& map, const std::vector<const char*>& names) {
    char text[16];
    std::snprintf(text, sizeof text, "%s", LevelName(episode, map).c_str());
    ListSelectOptions options;
    options.save = WindowSave::Always;
    options.picW = kMissionPreviewSide;
    options.picH = kMissionPreviewSide;
    options.preview = MissionAnimation;
    if (!ListSelect(kCentred, kCentred, "Select Mission", static_cast<int>(names.size()),
                    names.data(), kMissionRows, text, kNameLength, options))
        return false;
    if (master.gameStyle == kStyleEpisodes)
        return std::sscanf(text, "E%hdM%hd", &episode, &map) == 2;
    episode = 1;
    return std::sscanf(text, "MAP%hd", &map) == 1;
}

// --- The main loop's passes ------------------------------------------------------

// A notice comes down by a redraw of the map it covers.
void TakeDownNotice() {
    ForgetNotice();
    editor.redrawMap = true;
}

// The highlight follows the pointer over the map, not over the bars, and
// stays while Shift is held. It is picked again only when the pointer moved,
// Shift was pressed or let go, or a key or a redraw may have changed the map
// under it: a still pointer costs nothing.
void TrackHighlight(int x, int y) {
    bool shift = (ShiftState() & (kShiftLeft | kShiftRight)) != 0;
    if (!editor.pickDue && x == editor.pickedX && y == editor.pickedY && shift == editor.pickedShift)
        return;
    editor.pickDue = false;
    editor.pickedX = x;
    editor.pickedY = y;
    editor.pickedShift = shift;
    if (editor.highlightHeld && x == editor.heldX && y == editor.heldY)
        return;
    editor.highlightHeld = false;
    bool onMap = y >= kMenuBarHeight && y <= graphics.screenMaxY - kStatusHeight;
    if (!onMap || editor.dragging || shift)
        return;
    HighlightHold hold = editor.lineDrawing ? HighlightHold::UnderPointerOnly : HighlightHold::UntilNext;
    if (FollowPointer(editor.panelHover, hold)) {
        Beep(config.beepBrowseFreq, kBrowseBeepMs);
        ShowObjectInfo(selection.current);
    }
}

void MoveRuler() {
    RulerState& ruler = graphics.ruler;
    if (!ruler.on)
        return;
    int x = input.pointerX, y = input.pointerY - MapAreaTop();
    if (ruler.drawn && ruler.lastX == x && ruler.lastY == y)
        return;
    DrawRuler(RulerAction::Remove);
    DrawRuler(RulerAction::Show);
}

void Redraw() {
    bool all = editor.redrawAll || view.fullRedraw;
    bool map = all || editor.redrawMap || view.redrawPending;
    if (all) {
        HidePointer();
        ClearScreen();
    }
    if (all || editor.redrawMenuBar)
        DrawMenuBar();
    if (map) {
        editor.pickDue = true;
        graphics.ruler.drawn = false;
        DrawMap(MapDrawing::Full);
        editorActions.drawMapOverlay();
        if (editor.dragging)
            DrawDragHighlights();
        else
            DrawSelectionHighlights();
        if (editor.lineDrawing)
            RedrawLineDrawing();
        ShowObjectInfo(selection.current);
        DrawRuler(RulerAction::Show);
    }
    DrawStatusLine(all || editor.redrawStatus ? Refresh::All : Refresh::IfChanged);
    ShowPointerField(all ? Refresh::All : Refresh::IfChanged);
    DrawNotice();
    editor.redrawAll = editor.redrawMap = editor.redrawStatus = editor.redrawMenuBar = false;
    view.redrawPending = view.fullRedraw = false;
    ShowPointer();
}

int LeftButtonKey(int buttons) {
    int clicks = CountClicks(buttons, config.clickSpeed);
    int mode = config.editMode;
    if (clicks >= 2 && (mode == kObjThing || (mode == kObjVertex && selection.list.size() < 3)))
        return kKeyIns;
    if (clicks == 0) {
        Delay(kHoldTest);
        int held = 0;
        ReadButtons(&held);
        editor.buttonHeld = (held & 1) != 0;
    }
    return 'M';
}

int RightButtonKey(int buttons, int x, int y) {
    if (CountClicks(buttons, config.clickSpeedCopy) < 2)
        return 'D';
    return ShortModesMenu(x, y - MapAreaTop());
}

// A press of the buttons as a key: on the menu bar the key of the title or
// button under the pointer; on the map M (left), D (right) or Enter (both),
// none for a left click with Ctrl that the map's overlay took.
// Releases give no key; a press that line drawing took (drawing: it was on
// when the pass began) gives none either.
int MouseKey(int x, int y, int buttons, bool drawing) {
    int previous = editor.lastButtons;
    // A quick click is reported once and is over: the next press is new.
    editor.lastButtons = HeldButtons();
    if (buttons == previous || buttons == 0)
        return 0;
    if (y < kMenuBarHeight) {
        WaitRelease(nullptr);
        editor.lastButtons = 0;
        int key = MenuBarKey(x);
        PressMenuBarButton(key);
        return key;
    }
    if (y > graphics.screenMaxY - kStatusHeight || drawing)
        return 0;
    if (buttons == 1 && (ShiftState() & kShiftCtrl) && editorActions.overlayClick(x, y - MapAreaTop())) {
        WaitRelease(nullptr);
        editor.lastButtons = 0;
        return 0;
    }
    if (buttons == kBothButtons) {
        WaitRelease(nullptr);
        editor.lastButtons = 0;
        return kKeyEnter;
    }
    return buttons & 1 ? LeftButtonKey(buttons) : RightButtonKey(buttons, x, y);
}

// One pass: follow the pointer, redraw what was asked for, and handle one
// key if the keyboard or the mouse gave one. Returns the editor's code.
int MainLoopPass() {
    FollowScreenSize();
    int x = 0, y = 0, buttons = 0;
    ReadMouse(&x, &y, &buttons);
    SetPointerFromScreen(x, y);
    if (NoticeTimeUp())
        TakeDownNotice();
    editor.buttons = buttons;
    FollowWheelAndMiddleButton();
    editor.panelHover = PanelHit(PanelAction::Hover);
    TrackHighlight(x, y);
    bool drawing = editor.lineDrawing;
    if (drawing)
        LineDrawingEvent(LineDrawingCommand::Pass);
    else if (editor.dragging)
        DragStep();
    else
        MoveSelectionBox();
    EdgeScroll();
    Redraw();
    MoveRuler();
    editor.buttonHeld = false;
    int key = editor.pendingKey;
    editor.pendingKey = 0;
    if (key == 0)
        key = MouseKey(x, y, buttons, drawing);
    if (key == 0 && !ReadKey(&key)) {
        // A drag that ended or a line drawn by clicks changed the level
        // between keys.
        EndOfCommand();
        WaitForInput(IdleWaitMs());
        return 0;
    }
    editor.shiftState = ShiftState();
    if (notice.shown)
        TakeDownNotice();
    if (menuBar.messageShown)
        DrawStatusLine(Refresh::All);
    int code = EditorKey(key);
    EndOfCommand();
    ForgetWheel();
    editor.pickDue = true;
    return code;
}

int ValidEditMode(int mode) {
    return mode == kObjLineDef || mode == kObjVertex || mode == kObjSector ? mode : kObjThing;
}

void StartEditing() {
    StartHistory();
    ForgetNotice();
    editor = EditorState{};
    infoPanels = InfoPanelState{};
    menuBar = MenuBarState{};
    editor.statusColour = config.colors[kColorMenu] == 7 ? 15 : 7;
    config.editMode = static_cast<int16_t>(ValidEditMode(config.editMode));
    InitView();
    ResetSelection();
    EndMove();
    selection.message = ShowEditorMessage;
    mapDraw.coordsShown = false;
    SyncMapBackground();
    graphics.ruler.on = false;
    StartView();
    editor.redrawAll = true;
}

}  // namespace

int IdleWaitMs() {
    int ms = EdgeScrolling() ? kEdgeScrollWaitMs : kWaitUntilInput;
    if (notice.shown) {
        int64_t left = notice.shownAt + notice.durationMs - PlatformMilliseconds();
        ms = SoonerWait(ms, std::clamp<int64_t>(left + 1, 0, notice.durationMs + 1));
    }
    return SoonerWait(ms, RecoveryWriteDueMs());
}

int EditLevel(int16_t episode, int16_t map, LevelSource source, LevelChoice choice) {
    if (choice == LevelChoice::Given)
        ClearScreen();
    else
        SpriteShow(SpriteShowStyle::EntryScene);
    if (OfferRecovery(episode, map)) {
        choice = LevelChoice::Given;
        source = FindLevel(LevelName(episode, map).c_str()) >= 0 ? LevelSource::MasterDirectory
                                                                : LevelSource::NewLevel;
    }
    SelectLevel(episode, map, choice);
    if (episode < 1 || map < 1)
        return kEditorLeaveToo;
    if (LevelName(episode, map) != LevelName(config.lastEpisode, config.lastMap))
        ForgetSavedView();
    BuildTextureNames();
    BuildFlatNames();
    config.lastEpisode = episode;
    config.lastMap = map;
    SetLevelName(episode, map);
    if (!LoadLevel(source)) {   // refused, the user told why
        FreeNameLists();
        return kEditorLeaveToo;
    }
    int code = EditorMainLoop();
    EndHistory();
    FreeLevel();
    FreeNameLists();
    if (config.savedViewX != kNoSavedView || config.savedViewY != kNoSavedView) {
        config.savedViewX = view.origX;
        config.savedViewY = view.origY;
    }
    return code;
}

void SelectLevel(int16_t& episode, int16_t& map, LevelChoice choice) {
    master.currentLevelRow = 0;
    if (master.levelList.empty())
        FatalError("no levels found");
    std::vector<const char*> names = SortedLevelNames();
    MessagePanel(graphics.charW, graphics.charH, "%hd missions available",
                 static_cast<short>(names.size()));
    std::string given = LevelName(episode, map);
    if (episode < 1)
        episode = 1;
    if (map < 1)
        map = 1;
    if (choice == LevelChoice::FromList && !ChooseFromList(episode, map, names))
        map = 0;
    if (episode >= 1 && map >= 1) {
        std::string name = LevelName(episode, map);
        int found = FindLevel(name.c_str());
        if (found >= 0) {
            master.currentLevelRow = master.levelList[static_cast<size_t>(found)].file;
        } else {
            char text[40];
            std::snprintf(text, sizeof text, "Mission %s not available.", name.c_str());
            MessageBox(kCentred, kCentred, LineAlign::Centred, "OK", kAnyKey, nullptr, 0, text, {});
            map = 0;
        }
    }
    if (LevelName(episode, map) != given)
        ForgetSavedView();
}

int CountClicks(int buttons, int ms) {
    const int x0 = input.pointerX, y0 = input.pointerY;
    int changes = 0;
    int state = buttons;
    for (int i = 0; i < ms / kClickPoll && changes < 2; ++i) {
        Delay(kClickPoll);
        int x = 0, y = 0, now = 0;
        ReadMouse(&x, &y, &now);
        if (std::abs(x - x0) > kClickSlop || std::abs(y - y0) > kClickSlop)
            break;   // a press elsewhere is a click of its own
        if (now != state) {
            ++changes;
            state = now;
        }
    }
    SetPointerFromScreen(x0, y0);
    editor.lastButtons = state;
    return changes;
}

void SetEditMode(int mode) {
    int old = config.editMode;
    if (mode == old) {
        if (mode == kObjThing) {
            SetThingPictures(!mapDraw.thingPictures);
            editor.redrawMap = true;
        }
        return;
    }
    if (editor.dragging)
        CancelDrag();
    EndLineDrawing();
    ConvertSelection(old, mode);
    config.editMode = static_cast<int16_t>(mode);
    SyncMapBackground();
    editor.redrawMap = editor.redrawStatus = true;
}

int EditorMainLoop() {
    EditorInputGuard inputGuard;
    StartEditing();
    int code = 0;
    while (code == 0)
        code = MainLoopPass();
    EndLineDrawing();
    EndMove();
    ForgetSelection(selection.list);
    selection.message = nullptr;
    return code;
}

void ShowEditorMessage(const char* text) { ShowStatusMessage(text); }

int EditOnGraphicsScreen(int16_t episode, int16_t map, LevelSource source, LevelChoice choice) {
    InitGraphics(GraphicsPalette::Game);
    int code = EditLevel(episode, map, source, choice);
    CloseGraphics();
    return code;
}
