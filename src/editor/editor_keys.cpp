// The key dispatcher: every key, whether typed, made from a mouse action or
// chosen from a menu, goes through EditorKey and one of its tables.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/editor_history.h"
#include "editor/info_panels.h"
#include "editor/line_drawing.h"
#include "editor/map_draw.h"
#include "editor/menu_bar.h"
#include "editor/object_commands.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "edits/turn_scale.h"
#include "level/level.h"
#include "level/level_files.h"
#include "base/config.h"
#include "base/format.h"
#include "base/flavour.h"
#include "ui/button_bar.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/help_viewer.h"
#include "ui/input.h"
#include "ui/input_box.h"
#include "ui/menus.h"
#include "ui/message_box.h"
#include "ui/message_panel.h"
#include "ui/saved_area.h"
#include "ui/settings_dialogs.h"
#include "ui/sprite_views.h"
#include "wad/master.h"

namespace {

constexpr int kAltZ = 0x2C00;
constexpr int kAltX = 0x2D00;
constexpr int kReadPwadLength = kFileNameField - 1;
constexpr int kMaxAutoCloseDelay = 500;
constexpr int kAutoCloseStep = 10;

using KeyHandler = int (*)(int key);

bool ShiftHeld() { return (editor.shiftState & (kShiftLeft | kShiftRight)) != 0; }

// --- Modes and the cursor ---------------------------------------------------

int ModeAfter(int mode, bool forward) {
    static const int kOrder[] = {kObjThing, kObjVertex, kObjLineDef, kObjSector};
    int i = 0;
    while (i < 3 && kOrder[i] != mode)
        ++i;
    return kOrder[(i + (forward ? 1 : 3)) % 4];
}

int KeyNextMode(int key) {
    SetEditMode(ModeAfter(config.editMode, key == kKeyTab));
    return 0;
}

int KeyMode(int key) {
    switch (key) {
    case 'L': SetEditMode(kObjLineDef); break;
    case 'V': SetEditMode(kObjVertex); break;
    case 'S': SetEditMode(kObjSector); break;
    default: SetEditMode(kObjThing); break;
    }
    return 0;
}

// The arrow keys move the pointer (the keyboard cursor without a mouse).
int KeyCursor(int key) {
    int dx = key == kKeyLeft ? -1 : key == kKeyRight ? 1 : 0;
    int dy = key == kKeyUp ? -1 : key == kKeyDown ? 1 : 0;
    int x = input.pointerX, y = input.pointerY;
    if (input.mousePresent)
        ReadMouse(&x, &y, nullptr);
    x = std::clamp(x + dx * editor.cursorStep, 0, graphics.screenMaxX);
    y = std::clamp(y + dy * editor.cursorStep, 0, graphics.screenMaxY);
    if (input.mousePresent) {
        SetMousePos(x, y);
    } else {
        input.pointerX = x;
        input.pointerY = y;
    }
    SetPointerFromScreen(x, y);
    return 0;
}

// --- Leaving, saving and changing levels --------------------------------------

int KeyQuit(int) {
    EndLineDrawing();
    if (selection.box.active) {
        CancelSelectionBox();
        return 0;
    }
    if (editor.dragging) {
        CancelDrag();
        return 0;
    }
    if (level.levelChanged && !ConfirmYes(kCentred, kCentred, "You have unsaved changes.",
                                          "Do you really want to quit?", DefaultAnswer::No))
        return 0;
    return kEditorLeaveToo;
}

bool UnsavedChangesAccepted() {
    return !level.levelChanged ||
           ConfirmYes(kCentred, kCentred, "You have unsaved changes.", "Continue ?", DefaultAnswer::No);
}

// Chooses a level from the list, keeping the file of the level being edited
// (saving copies the node builder's lumps from it). False when none was chosen.
bool ChooseOtherLevel(int16_t& episode, int16_t& map) {
    episode = config.lastEpisode;
    map = config.lastMap;
    int row = master.currentLevelRow;
    SelectLevel(episode, map, LevelChoice::FromList);
    master.currentLevelRow = row;
    editor.redrawAll = true;
    return episode >= 1 && map >= 1;
}

int KeyChangeLevel(int key) {
    if (!UnsavedChangesAccepted())
        return 0;
    int16_t episode, map;
    if (!ChooseOtherLevel(episode, map))
        return 0;
    config.lastEpisode = episode;
    config.lastMap = map;
    if (key == ShiftFKey(3))
        return kEditorNewLevel;
    return key == ShiftFKey(4) ? kEditorIwadOnly : kEditorOtherLevel;
}

int KeyReadPwad(int) {
    if (!UnsavedChangesAccepted())
        return 0;
    char name[kFileNameField] = {};
    editor.redrawAll = true;
    if (!PathEntry(kCentred, kCentred, "Read PWAD Name", kReadPwadLength, name))
        return 0;
    editor.pwadToRead = name;
    return kEditorReadPwad;
}

// Says for a while, over the map, that the level is saved and where.
void SaidSaved(const std::string& file) {
    constexpr int kSavedNoticeMs = 1200;
    PostNotice(std::string(level.name) + " saved to " + file.substr(file.rfind('/') + 1), kSavedNoticeMs);
}

int KeySave(int key) {
    SaveLevelFromEditor(key);
    return 0;
}

// F3, Alt-F3: under another level name; the shell then reads the files again.
// A save that does not happen leaves the level under its old name.
int KeySaveAs(int key) {
    int16_t episode, map;
    if (!ChooseOtherLevel(episode, map) || !editorActions.checkExits())
        return 0;
    int16_t oldEpisode = config.lastEpisode, oldMap = config.lastMap;
    char* file = ChooseSaveFile(episode, map);
    if (file && SaveLevel(file, key))
        return kEditorSavedAs;
    config.lastEpisode = oldEpisode;
    config.lastMap = oldMap;
    SetLevelName(oldEpisode, oldMap);
    return 0;
}

// --- Objects: insert, delete, drag and copy -------------------------------------

int KeyInsert(int) {
    InsertCommand();
    return 0;
}

int KeyDelete(int) {
    DeleteObjectsCommand();
    return 0;
}

int KeyMove(int) {
    MoveObjectsCommand();
    return 0;
}

int KeyCopy(int) {
    CopyObjectsCommand();
    return 0;
}

// --- Help, dialogs and the operations of other modules -------------------------

// F5, F6, Alt-F5, Alt-F6, Alt-F7; a dialog may have changed anything.
int KeySettings(int key) {
    if (key == FKey(5))
        DefaultsDialog(kCentred, kCentred);
    else if (key == FKey(6))
        ZoomMouseMapDialog(kCentred, kCentred);
    else if (key == AltFKey(5))
        OptionsDialog(kCentred, kCentred);
    else if (key == AltFKey(6))
        ColorsDialog(kCentred, kCentred);
    else
        PaletteColorsDialog(kCentred, kCentred);
    editor.redrawAll = true;
    return 0;
}

int KeyTestPlay(int) {
    editorActions.testPlay();
    editor.redrawAll = true;
    return 0;
}

int KeyHelp(int key) {
    if (key == CtrlFKey(1))
        ShowHelp("MAIN", HelpRange::ToEnd);
    else if (key == CtrlFKey(2))
        ShowHelp("MAIN", HelpRange::SearchToEnd);
    else if (key == kKeyQuickStart)
        ShowHelp("HOWTO", HelpRange::TopicOnly);
    else
        ShowHelp("F1EDIT", HelpRange::TopicOnly);
    return 0;
}

int KeyScreenSaver(int) {
    SpriteShow(SpriteShowStyle::ScreenSaver);
    editor.redrawAll = true;
    return 0;
}

int KeyPrint(int) {
    SimpleMenu(kCentred, kCentred, MenuStyle::Plain, 1, nullptr, WindowSave::UnlessNested,
               "Select Print Device", {"Print to Printer", "Print to File"});
    return 0;
}

int KeyAbout(int) {
    char title[40], objects[80];
    std::snprintf(title, sizeof title, "About %s", Names().product);
    std::snprintf(objects, sizeof objects, "%s: %d Things, %d LineDefs, %d Sectors", level.name,
                  static_cast<int>(level.things.count), static_cast<int>(level.lineDefs.count),
                  static_cast<int>(level.sectors.count));
    // The controls as a table of equally long lines, so that centring keeps
    // its columns.
    size_t nameWidth = 0, doesWidth = 0;
    for (const EditorControl& c : AboutControls()) {
        nameWidth = std::max(nameWidth, std::strlen(c.name));
        doesWidth = std::max(doesWidth, std::strlen(c.does));
    }
    std::vector<std::string> table;
    for (const EditorControl& c : AboutControls())
        table.push_back(Format("%-*s %-*s", int(nameWidth), c.name, int(doesWidth), c.does));
    std::vector<const char*> lines = {Names().longProduct, "", "A map editor for the levels of",
                                      "HERETIC and DOOM / DOOM II.", "", objects, ""};
    for (const std::string& line : table)
        lines.push_back(line.c_str());
    lines.insert(lines.end(), {"", "F1 shows all of the editor's keys."});
    MessageBox(kCentred, kCentred, LineAlign::Centred, "Ok!", kAnyKey, nullptr, 0, title, lines);
    return 0;
}

int KeyPreview(int) {
    editorActions.preview3d(ShiftHeld() ? PreviewStart::Pointer : PreviewStart::PlayerStart);
    editor.redrawAll = true;
    return 0;
}

int KeyFind(int key) {
    editorActions.findChange(kCentred, kCentred,
                             key == 'F' ? FindStart::RepeatLast : FindStart::Ask);
    editor.redrawMap = true;
    return 0;
}

// Shift-F8 (and , . < > outside Things mode) turn and scale the selection at
// once; F8, F9 and F10 open the Misc, Object and Check menus, from which Left
// and Right go on through the menu bar.
int KeyOperationMenu(int key) {
    if (key == ShiftFKey(8)) {
        editorActions.miscMenu(MenuTitleX(kMenuMisc), 0, MiscStart::RotateAndScale);
        editor.redrawMap = true;
        return 0;
    }
    int menu = key == FKey(8) ? kMenuMisc : key == FKey(9) ? kMenuObject : kMenuCheck;
    int chosen = RunMenuBar(menu);
    return chosen == 0 ? 0 : EditorKey(chosen);
}

int KeyFitMap(int) {
    ZoomToFit();
    return 0;
}

int KeyCentreMap(int) {
    ComputeMapBounds();
    CentreMapAt(static_cast<int16_t>((view.mapMinX + view.mapMaxX) / 2),
                static_cast<int16_t>((view.mapMinY + view.mapMaxY) / 2));
    return 0;
}

// --- Objects: selection, next, previous, jump --------------------------------

// Ctrl-A, Ctrl-E and Ctrl-F; not while objects are moved or lines drawn.
int KeyWholeSelection(int key) {
    if (editor.dragging || editor.lineDrawing)
        return 0;
    if (key == kKeySelectAll) {
        SelectAll();
    } else if (key == kKeyInvertSelection) {
        InvertSelection();
    } else {
        int minX, minY, maxX, maxY;
        if (!SelectionBounds(minX, minY, maxX, maxY)) {
            ErrorBeep();
            return 0;
        }
        constexpr int kMargin = 32;   // map units around the selection
        ZoomToBox(minX - kMargin, minY - kMargin, maxX + kMargin, maxY + kMargin);
    }
    return 0;
}

int KeySelect(int) {
    if (selection.box.active) {
        EndSelectionBox();
        return 0;
    }
    if (editor.panelHover && PanelHit(PanelAction::Select))
        return 0;
    if (ShiftHeld() || editor.buttonHeld) {
        StartSelectionBox();
        return 0;
    }
    ToggleCurrentSelected();
    return 0;
}

// The edit dialog on the selection, or on the highlighted object.
int KeyEdit(int) {
    if (!PanelHit(PanelAction::Edit))
        ErrorBeep();
    return 0;
}

int KeyClear(int) {
    if (editor.dragging) {
        CancelDrag();
        return 0;
    }
    ClearSelection();
    return 0;
}

}  // namespace

int SaveLevelFromEditor(int key) {
    editor.redrawAll = true;
    if (!editorActions.checkExits())
        return kNotSaved;
    char* file = ChooseSaveFile(config.lastEpisode, config.lastMap);
    int saved = file ? SaveLevel(file, key) : kNotSaved;
    if (saved == kNotSaved)
        return saved;
    // A level the node builder changed was read back as it saved it.
    ForgetMissingObjects();
    ComputeMapBounds();
    const char* name = RowFileName(master.currentLevelRow);
    SaidSaved(name ? name : "");
    return saved;
}

// Makes n the highlighted object and brings it into view.
void GoToObject(int n) {
    int mode = config.editMode;
    GoToObject(mode, n, GoToMode::Centre);
    editor.highlightHeld = true;
    ReadMouse(&editor.heldX, &editor.heldY, nullptr);
    selection.current = n;
    selection.currentDrawn = false;
    RememberObject(mode, n);
    editor.redrawMap = true;
}

namespace {

int KeyNextPrevious(int key) {
    int mode = config.editMode;
    int n = key == 'N' ? NextObject(mode, selection.current) : PrevObject(mode, selection.current);
    if (n < 0) {
        ErrorBeep();
        return 0;
    }
    GoToObject(n);
    return 0;
}

// Asks for the number of an object of the type, starting at value; returns
// the number left in the entry.
int AskObjectNumber(int type, int value) {
    const char* name = ObjectTypeName(type);
    char title[40];
    std::snprintf(title, sizeof title, "Enter %s number", name);
    std::vector<FormField> fields = {{name, 0, GetMaxObjectNum(type), value}};
    NumberForm(kCentred, kCentred, WindowSave::Always, title, fields);
    return fields[0].value;
}

int KeyJump(int) {
    int mode = config.editMode;
    int max = GetMaxObjectNum(mode);
    if (max < 0) {
        ErrorBeep();
        return 0;
    }
    int n = AskObjectNumber(mode, std::clamp<int>(selection.current, 0, max));
    if (n >= 0 && n <= max)
        GoToObject(n);
    return 0;
}

// --- The Thing filter ------------------------------------------------------------

void DrawFilterText(int x, int y) {
    SetColor(0);
    for (int i = 0; i < 7; ++i)
        Screen().outtextxy(x, y + i * graphics.lineH, kThingFilterText[i]);
}

int KeyThingFilter(int) {
    const int cw = graphics.charW, row = graphics.lineH + 5;
    int w = 50 * cw, h = (kThingFilterCount + 5) * row;
    int x = (graphics.maxX - w) / 2, y = (graphics.maxY - h) / 2;
    std::vector<OptionItem> items;
    for (int i = 0; i < kThingFilterCount; ++i)
        items.push_back({kThingFilterLabels[i], 2 * cw, (i + 2) * row,
                         mapDraw.thingFilter[i] ? 1 : 0, OptionKind::CheckBox});
    int by = y + h - row - 6;
    ButtonDef ok = {"Ok", kFormButtonKey, x + 24 * cw, by, x + 30 * cw, by + row};
    ButtonDef cancel = {"Cancel", kKeyEsc, x + 34 * cw, by, x + 42 * cw, by + row};
    PointerRestore pointer;
    HidePointer();
    SavedArea area;
    SaveArea(x, y, x + w, y + h, area, WindowSave::Always);
    RaisedBox(x, y, x + w, y + h, config.colors[kColorMenu]);
    LabelBox(x + cw, y + graphics.charH, "Thing Filter Mask");
    DrawFilterText(x + 24 * cw, y + 2 * row);
    int current = 0, key = 0, result;
    while ((result = OptionForm(FormMode::UntilDecided, "THINGS", current, key, ok, cancel, x, y,
                                items)) >= 0)
        items[static_cast<size_t>(result)].value ^= 1;
    RestoreArea(area);
    if (result == kOptionOk) {
        for (int i = 0; i < kThingFilterCount; ++i)
            mapDraw.thingFilter[i] = items[static_cast<size_t>(i)].value == 1;
        editor.redrawMap = true;
    }
    return 0;
}

// --- The view ----------------------------------------------------------------

bool PointerOnMenuBar() { return input.pointerY < kMenuBarHeight; }

// When a zoom brings the highlighted object back to the view centre.
enum class Recentre {
    AsSet,    // with "Recentre after Zoom" on, unless the pointer is on the menu bar
    Always,
};

void FollowZoom(Recentre recentre) {
    bool wanted = recentre == Recentre::Always ||
                  (config.recentreAfterZoom && !PointerOnMenuBar());
    if (selection.current >= 0 && wanted)
        GoToObject(config.editMode, selection.current, GoToMode::Centre);
}

bool ZoomsIn(int key) { return key == '+' || key == '='; }
bool ZoomsOut(int key) { return key == '-' || key == '_'; }

// A held key zooms on while its repeats wait, with one redraw at the end.
int KeyZoom(int key) {
    bool in = ZoomsIn(key);
    for (;;) {
        if (in)
            ZoomIn();
        else
            ZoomOut();
        int next = 0;
        if (!ReadKey(&next))
            break;
        if (in ? !ZoomsIn(next) : !ZoomsOut(next)) {
            editor.pendingKey = next;
            break;
        }
    }
    FollowZoom(Recentre::AsSet);
    return 0;
}

int KeyZoomDigit(int key) {
    ZoomToDigit(key - '0');
    return 0;
}

int KeyZoomPreset(int) {
    ZoomTogglePreset();
    FollowZoom(Recentre::Always);
    return 0;
}

int KeyGrid(int) {
    config.gridSize =
        NextGridSize(config.gridSize, ShiftHeld() ? GridStep::Coarser : GridStep::Finer);
    editor.redrawMap = true;
    return 0;
}

int KeyGridShown(int) {
    if (ShiftHeld())
        config.gridSize = 0;
    else
        config.gridShown = !config.gridShown;
    editor.redrawMap = editor.redrawMenuBar = true;
    return 0;
}

int KeyGridSnap(int) {
    config.gridSnap = !config.gridSnap;
    editor.redrawMenuBar = true;
    return 0;
}

int KeyRotate(int key) {
    if (config.editMode == kObjThing) {
        edits::TurnWay way = key == '.' || key == '>' ? edits::TurnWay::Clockwise
                                                      : edits::TurnWay::Anticlockwise;
        edits::TurnThings(level, selection.list, way);
        editor.redrawMap = true;
    } else
        KeyOperationMenu(ShiftFKey(8));
    return 0;
}

int KeyAutoCloseDelay(int key) {
    int step = key == '[' || key == '{' ? -kAutoCloseStep : kAutoCloseStep;
    config.autoCloseDelay =
        static_cast<int16_t>(std::clamp(config.autoCloseDelay + step, 0, kMaxAutoCloseDelay));
    return 0;
}

int KeyCursorStep(int) {
    editor.cursorStep = editor.cursorStep == 1 ? std::max<int>(1, config.scrollSpeed) : 1;
    return 0;
}

int KeyRuler(int) {
    if (graphics.ruler.on) {
        DrawRuler(RulerAction::Remove);
        graphics.ruler.on = false;
    } else {
        graphics.ruler.on = true;
        graphics.ruler.drawn = false;
        DrawRuler(RulerAction::Show);
    }
    return 0;
}

int KeySwitch(int key) {
    int16_t& setting = key == 'A' ? config.highlightFollows : config.recentreAfterZoom;
    setting = !setting;
    return 0;
}

// Both panels, text only, none, and round again.
int KeyInfoPanels(int) {
    if (config.infoObjects && config.infoPicture)
        config.infoPicture = 0;
    else if (config.infoObjects)
        config.infoObjects = 0;
    else
        config.infoObjects = config.infoPicture = 1;
    editor.redrawMap = true;
    return 0;
}

int KeyCoordinates(int) {
    mapDraw.mapCoordinates = !mapDraw.mapCoordinates;
    ShowPointerField(Refresh::All);
    return 0;
}

// --- The tables ----------------------------------------------------------------

struct ScanKey {
    int key;
    KeyHandler handler;
};

// Keys without a character, by code.
const ScanKey kScanKeys[] = {
    {kKeyEsc, KeyQuit},
    {kKeyAltF4, KeyQuit},
    {kKeyTab, KeyNextMode},
    {kKeyShiftTab, KeyNextMode},
    {kKeyUp, KeyCursor},
    {kKeyDown, KeyCursor},
    {kKeyLeft, KeyCursor},
    {kKeyRight, KeyCursor},
    {kKeyEnter, KeyEdit},
    {kKeyDel, KeyDelete},
    {kKeyIns, KeyInsert},
    {FKey(1), KeyHelp},
    {CtrlFKey(1), KeyHelp},
    {CtrlFKey(2), KeyHelp},
    {kKeyQuickStart, KeyHelp},
    {AltFKey(1), KeyScreenSaver},
    {FKey(2), KeySave},
    {AltFKey(2), KeySave},
    {AltFKey(8), KeySave},
    {FKey(3), KeySaveAs},
    {AltFKey(3), KeySaveAs},
    {FKey(4), KeyFind},
    {FKey(5), KeySettings},
    {FKey(6), KeySettings},
    {AltFKey(5), KeySettings},
    {AltFKey(6), KeySettings},
    {AltFKey(7), KeySettings},
    {FKey(8), KeyOperationMenu},
    {ShiftFKey(8), KeyOperationMenu},
    {FKey(9), KeyOperationMenu},
    {FKey(10), KeyOperationMenu},
    {ShiftFKey(1), KeyTestPlay},
    {ShiftFKey(2), KeyChangeLevel},
    {ShiftFKey(3), KeyChangeLevel},
    {ShiftFKey(4), KeyChangeLevel},
    {ShiftFKey(5), KeyReadPwad},
    {kAltZ, KeyFitMap},
    {kAltX, KeyCentreMap},
    {kKeyPrint, KeyPrint},
    {kKeyCtrlZ, KeyUndo},
    {kKeyCtrlY, KeyUndo},
    {kKeySelectAll, KeyWholeSelection},
    {kKeyInvertSelection, KeyWholeSelection},
    {kKeyZoomToSelection, KeyWholeSelection},
};

struct CharKey {
    const char* keys;
    KeyHandler handler;
};

// Keys with a character (upper case), by the characters each entry takes.
const CharKey kCharKeys[] = {
    {"TLVS", KeyMode},
    {"M", KeySelect},
    {"C", KeyClear},
    {"D", KeyMove},
    {"O", KeyCopy},
    {"NP", KeyNextPrevious},
    {"J", KeyJump},
    {"F", KeyFind},
    {"K", KeyThingFilter},
    {"G", KeyGrid},
    {"H", KeyGridShown},
    {"+=-_", KeyZoom},
    {"0123456789", KeyZoomDigit},
    {"Z", KeyZoomPreset},
    {",.<>", KeyRotate},
    {"[{]}", KeyAutoCloseDelay},
    {" ", KeyCursorStep},
    {"R", KeyRuler},
    {"A\\", KeySwitch},
    {"/", KeyGridSnap},
    {"I", KeyInfoPanels},
    {"@", KeyCoordinates},
    {"?", KeyAbout},
    {"W", KeyPreview},
};

// Character keys that line drawing or a drag leave alone.
constexpr const char* kIgnoredWhileBusy = ",.<>?FJKLMNOPSTVW";

bool IsAltKey(int key) {
    int scan = key >> 8;
    return (key & 0xFF) == 0 && ((scan >= 0x10 && scan <= 0x35) || (scan >= 0x78 && scan <= 0x83));
}

bool IsCharacter(int key) { return key >= kKeySpace && key < 127; }

void LineDrawingHelp() {
    MessageBox(kCentred, kCentred, LineAlign::Centred, "OK!", kAnyKey, nullptr, 0, "Line Drawing",
               {"Press Ins to end a LineDef", "retrace for Door CreationONLY.", "",
                "Draw in a clockwise direction", "for ROOMs and counterclockwise",
                "to create OBJECTs in rooms.", "You can also make ROOMs within",
                "ROOMs. Drawing clockwise in an", "existing ROOM makes 2-sided", "LineDefs"});
}

// Line drawing takes Enter, Ins, Esc and End as its commands; the arrows keep
// their meaning and Alt-F4 still leaves; other keys without a character do
// nothing. True when the key was dealt with.
bool LineDrawingKey(int key) {
    switch (key) {
    case kKeyEnter: LineDrawingEvent(LineDrawingCommand::Point); return true;
    case kKeyIns: LineDrawingEvent(LineDrawingCommand::Insert); return true;
    case kKeyEsc: LineDrawingEvent(LineDrawingCommand::Escape); return true;
    case kKeyEnd: LineDrawingEvent(LineDrawingCommand::Quit); return true;
    case kKeyUp:
    case kKeyDown:
    case kKeyLeft:
    case kKeyRight:
    case kKeyAltF4: return false;
    default: return true;
    }
}

int CharacterKey(int key) {
    bool busy = editor.lineDrawing || editor.dragging;
    if ((busy && std::strchr(kIgnoredWhileBusy, key)) || (editor.lineDrawing && key == 'D'))
        return 0;
    for (const CharKey& entry : kCharKeys)
        if (std::strchr(entry.keys, key))
            return entry.handler(key);
    return -1;
}

int ScanCodeKey(int key) {
    for (const ScanKey& entry : kScanKeys)
        if (entry.key == key)
            return entry.handler(key);
    return -1;
}

}  // namespace

int EditorKey(int key) {
    if (editor.lineDrawing && key == FKey(1)) {
        LineDrawingHelp();
        return 0;
    }
    if (IsAltKey(key)) {
        int menu = MenuOfAltKey(key);
        if (menu >= 0) {
            key = RunMenuBar(menu);
            if (key == 0)
                return 0;
        } else if (key == kAltZ || key == kAltX) {
            editor.redrawAll = true;
        } else {
            ErrorBeep();
            return 0;
        }
    } else if (key == AltFKey(1)) {
        editor.redrawAll = true;
    }
    int result;
    if (IsCharacter(key)) {
        result = CharacterKey(std::toupper(key));
    } else {
        if (editor.lineDrawing && LineDrawingKey(key))
            return 0;
        result = ScanCodeKey(key);
    }
    if (result >= 0)
        return result;
    if (!ScrollMapByKey(key))
        ErrorBeep();
    return 0;
}

const std::vector<EditorControl>& AboutControls() {
    static const std::vector<EditorControl> controls = {
        {"wheel", "zoom in / out at the pointer"},
        {"Shift-wheel", "scroll left / right"},
        {"middle hold", "drag the map along"},
        {"Ctrl-A", "select every object"},
        {"Ctrl-E", "invert the selection"},
        {"Ctrl-F", "zoom to the selection"},
        {"Ctrl-Z", "undo the last change"},
        {"Ctrl-Y", "redo it (Ctrl-Shift-Z too)"},
    };
    return controls;
}
