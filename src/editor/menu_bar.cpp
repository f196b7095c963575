#include "editor/menu_bar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/editor_history.h"
#include "editor/map_draw.h"
#include "editor/view.h"
#include "level/level.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "platform/video.h"
#include "base/config.h"
#include "base/flavour.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "wad/master.h"

MenuBarState menuBar;

namespace {

constexpr const char* kBarTitles = "File Edit Search Modes Misc Object Check";
constexpr const char* kBarUnderline = "_    _    _      _      _   _      _    ";
// First column of each title, and the column after the last one.
constexpr int kTitleColumn[] = {0, 5, 10, 17, 23, 28, 35, 41};
constexpr int kAltMenuKeys[kBarMenuCount] = {0x2100, 0x1200, 0x1F00, 0x3200,
                                             0x1700, 0x1800, 0x2E00, 0x2300};

// The push buttons after the titles, two columns each.
struct BarButton {
    const char* text;
    int key;
};
constexpr BarButton kButtons[] = {{"+", '+'}, {"-", '-'}, {"c", 'C'},
                                  {"#", 'G'}, {"h", 'H'}, {"s", '/'}};
constexpr int kButtonCount = 6;
constexpr int kFirstButtonColumn = 41;
constexpr int kPointerFieldColumn = 53;
constexpr int kHelpColumns = 5;
constexpr int kTextY = 5;

constexpr int kAltH = 0x2300;
constexpr int kLightRed = 12;
constexpr int kRed = 4;
constexpr int64_t kLowMemory = 50000;
constexpr int64_t kShortMemory = 100000;
constexpr int64_t kFreeMemoryPeriodMs = 1000;

// Draws in the whole screen (the bars lie outside the map's viewport) and
// puts the viewport back afterwards.
class WholeScreen {
public:
    WholeScreen() : old_(Screen().getviewport()) {
        Screen().setviewport(0, 0, Screen().getmaxx(), Screen().getmaxy(), true);
    }
    ~WholeScreen() { Screen().setviewport(old_.left, old_.top, old_.right, old_.bottom, old_.clip); }
    WholeScreen(const WholeScreen&) = delete;
    WholeScreen& operator=(const WholeScreen&) = delete;

private:
    Viewport old_;
};

int BarX(int column) { return graphics.charW + column * graphics.charW; }

// Columns of the bar from its left text margin to the right end.
int BarColumns() { return (graphics.screenMaxX + 1) / graphics.charW - 1; }
int HelpColumn() { return BarColumns() - kHelpColumns; }

void BarText(int column, const char* text, int colour) {
    SetColor(colour);
    Screen().outtextxy(BarX(column), kTextY, text);
}

void DrawButtonAt(int i, ButtonLook look) {
    int x1 = BarX(kFirstButtonColumn + 2 * i), y1 = 1;
    DrawButton(look, kButtons[i].text, -1, ButtonFocus::None, x1, y1, x1 + graphics.charW + 6, y1 + graphics.charH + 6);
}

bool ButtonPressed(int i) {
    if (kButtons[i].key == 'H')
        return config.gridShown != 0;
    if (kButtons[i].key == '/')
        return config.gridSnap != 0;
    return i == menuBar.pressedButton;
}

// --- The pull-down menus -----------------------------------------------------

const std::vector<PullDownItem>& FileItems() {
    static const std::vector<PullDownItem> items = {
        {"New  Level     shiftF3", ShiftFKey(3), 'N', 1},
        {"Read PWAD      shiftF5", ShiftFKey(5), 'R', 1},
        {"Save                F2", FKey(2), 'S', 1},
        {"Save As ExMx        F3", FKey(3), 'A', 6},
        {"Edit Level     shiftF2", ShiftFKey(2), 'E', 1},
        {"ResetLevel     shiftF4", ShiftFKey(4), 'L', 6},
        {"BuildNode        altF2", AltFKey(2), 'B', 1},
        {"BuilDnodeAs      altF3", AltFKey(3), 'D', 5},
        {"Save RejectMask  altF8", AltFKey(8), 'M', 12},
        {"Test Level     shiftF1", ShiftFKey(1), 'T', 1},
        {"Print", kKeyPrint, 'P', 1},
        {"eXit             altF4", kKeyAltF4, 'X', 2},
    };
    return items;
}

// The last two entries say what they would undo and redo.
std::vector<PullDownItem> EditItems() {
    static std::string undo, redo;
    undo = UndoMenuText();
    redo = RedoMenuText();
    std::vector<PullDownItem> items = {
        {"Copy                 O", 'O', 'O', 2},
        {"Add object         Ins", kKeyIns, 'A', 1},
        {"Delete object(s)   Del", kKeyDel, 'D', 1},
        {"Thing Filter MasK    K", 'K', 'K', 17},
        {"Clear Selection      C", 'C', 'C', 1},
        {"Texture Defaults    F5", FKey(5), 'T', 1},
        {"Load Options/Etc altF5", AltFKey(5), 'L', 1},
        {"Zoom/Mouse/Map Opt  F6", FKey(6), 'Z', 1},
        {"Mouse/LineColors altF6", AltFKey(6), 'M', 1},
        {"Palette Colors   altF7", AltFKey(7), 'P', 1},
        {"Select All       ctl+A", kKeySelectAll, 'S', 1},
        {"Invert Selection ctl+E", kKeyInvertSelection, 'I', 1},
        {"3D View              W", 'W', 'V', 4},
        {undo.c_str(), kKeyCtrlZ, 'U', 1},
        {redo.c_str(), kKeyCtrlY, 'R', 1},
    };
    return items;
}

const std::vector<PullDownItem>& SearchItems() {
    static const std::vector<PullDownItem> items = {
        {"Find/Change      F4", FKey(4), 'F', 1},
        {"Repeat last find F", 'F', 'F', 1},
        {"Next object      N", 'N', 'N', 1},
        {"Prev object      P", 'P', 'P', 1},
        {"Jump to object.. J", 'J', 'J', 1},
        {"Search Help ctl+F2", CtrlFKey(2), 'S', 1},
        {"Zoom to Sel.  ctl+F", kKeyZoomToSelection, 'Z', 1},
    };
    return items;
}

const std::vector<PullDownItem>& ModeItems() {
    static const std::vector<PullDownItem> items = {
        {"Things              T", 'T', 'T', 1},
        {"Linedefs+Sidedefs   L", 'L', 'L', 1},
        {"Vertexes            V", 'V', 'V', 1},
        {"Sectors             S", 'S', 'S', 1},
        {"Next mode         Tab", kKeyTab, 'N', 1},
        {"Last mode   Shift+Tab", kKeyShiftTab, 'L', 1},
    };
    return items;
}

// The about entry names the product; its hot letter is the product's first.
std::vector<PullDownItem> HelpItems() {
    static std::string about;
    about = std::string("About ") + Names().product + " ...";
    return {
        {"Help (basics)     F1", FKey(1), 'H', 1},
        {"All Help      ctl+F1", CtrlFKey(1), 'A', 1},
        {about.c_str(), '?', Names().product[0], 7},
        {"Screen Saver .alt+F1", AltFKey(1), 'S', 1},
        {"Quick Start", kKeyQuickStart, 'Q', 1},
    };
}

int ModeItem(int mode) {
    switch (mode) {
    case kObjLineDef: return 2;
    case kObjVertex: return 3;
    case kObjSector: return 4;
    default: return 1;
    }
}

int PullDown(int menu, int x, int y) {
    switch (menu) {
    case kMenuFile: return PullDownMenu(x, y, 1, "FILE", "FILE", FileItems());
    case kMenuEdit: return PullDownMenu(x, y, 1, "EDIT", "EDIT", EditItems());
    case kMenuSearch: return PullDownMenu(x, y, 1, "SEARCH", "SEARCH", SearchItems());
    case kMenuModes:
        return PullDownMenu(x, y, ModeItem(config.editMode), "MODE", "MODE", ModeItems());
    default: return PullDownMenu(x, y, 1, "HELP", "HELP", HelpItems());
    }
}

// The menus of the compound operations run their operations themselves.
int OperationMenu(int menu, int x, int y) {
    int result;
    if (menu == kMenuMisc)
        result = editorActions.miscMenu(x, y, MiscStart::Menu);
    else if (menu == kMenuObject)
        result = editorActions.objectMenu(x, y);
    else
        result = editorActions.checkMenu(x, y);
    if (result == kMenuNext || result == kMenuPrevious)
        return result;
    editor.redrawMap = true;
    if (menu == kMenuObject && config.editMode != kObjLineDef) {
        // The shapes are LineDefs: the mode follows them, and says so until
        // the next key (the status line shows the mode again then).
        SetEditMode(kObjLineDef);
        editor.redrawStatus = false;
        ShowStatusMessage("Now in LineDefs mode: the predefined shapes are LineDefs");
    }
    return 0;
}

int OpenMenu(int menu) {
    int x = MenuTitleX(menu), y = 0;
    if (menu == kMenuMisc || menu == kMenuObject || menu == kMenuCheck)
        return OperationMenu(menu, x, y);
    return PullDown(menu, x, y);
}

// --- The status line ----------------------------------------------------------

enum StatusField { kFieldLevel, kFieldMarks, kFieldFile, kFieldScale, kFieldFree };

struct FieldPlace {
    int column, width;
};
constexpr FieldPlace kFieldPlaces[kStatusFieldCount] = {
    {0, 13}, {14, 3}, {18, 25}, {44, 19}, {64, 16}};

int StatusTop() { return graphics.screenMaxY - kStatusHeight + 1; }
int StatusX(int column) { return column * graphics.charW; }

const char* LevelFileName() {
    const char* path = RowFileName(master.currentLevelRow);
    if (!path)
        return "";
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

std::string Marks() {
    std::string marks = "   ";
    if (level.mapChanged)
        marks[0] = 4;
    else if (level.levelChanged)
        marks[0] = 1;
    if (config.highlightFollows)
        marks[1] = 10;
    if (config.recentreAfterZoom)
        marks[2] = 15;
    return marks;
}

int64_t FreeMemory() {
    int64_t now = PlatformMilliseconds();
    if (!menuBar.freeSampled || now - menuBar.freeSampledAt >= kFreeMemoryPeriodMs) {
        menuBar.freeMemory = FreeMemoryBytes();
        menuBar.freeSampledAt = now;
        menuBar.freeSampled = true;
    }
    return menuBar.freeMemory;
}

// A DOOM level names the game it is made for in place of the delay, after
// the file name, which is cut so that both fit the field.
std::string FileAndTarget() {
    static const char* const kShortNames[kMapTargetCount] = {"DOOM", "Limit-rem", "Boom", "MBF21"};
    std::string target = kShortNames[static_cast<int>(level.target)];
    int room = std::max(0, kFieldPlaces[kFieldFile].width - 1 - static_cast<int>(target.size()));
    return std::string(LevelFileName()).substr(0, static_cast<size_t>(room)) + " " + target;
}

std::string StatusText(int field) {
    char text[80];
    switch (field) {
    case kFieldLevel:
        std::snprintf(text, sizeof text, "%-7s %-5s", EditModeName(config.editMode), level.name);
        return text;
    case kFieldMarks: return Marks();
    case kFieldFile:
        if (!IsHeretic())
            return FileAndTarget();
        std::snprintf(text, sizeof text, "%-12s #AC Delay %hd", LevelFileName(), config.autoCloseDelay);
        return text;
    case kFieldScale:
        std::snprintf(text, sizeof text, "Scale %4hd Grid %3hd",
                      static_cast<short>(std::lround(view.scale * 1000.0)), config.gridSize);
        return text;
    default:
        std::snprintf(text, sizeof text, "Free %lu", static_cast<unsigned long>(FreeMemory()));
        return text;
    }
}

int FieldBackground(int field) {
    if (field != kFieldFree)
        return editor.statusColour;
    if (menuBar.freeMemory < kLowMemory)
        return kLightRed;
    if (menuBar.freeMemory < kShortMemory)
        return kRed;
    return editor.statusColour;
}

void DrawStatusField(int field, const std::string& text) {
    const FieldPlace& place = kFieldPlaces[field];
    int x = StatusX(place.column), y = StatusTop() + 3;
    FillBox(x - 2, StatusTop() + 1, x + place.width * graphics.charW + 1, graphics.screenMaxY - 1,
            FieldBackground(field));
    SetColor(0);
    Screen().outtextxy(x, y, text.c_str());
}

}  // namespace

// --- The bar --------------------------------------------------------------------

void DrawMenuBar() {
    PointerGuard guard;
    WholeScreen whole;
    RaisedBox(0, 0, graphics.screenMaxX, kMenuBarHeight - 1, config.colors[kColorMenu]);
    BarText(0, kBarTitles, 0);
    int hilite = config.colors[kColorMenuHilite];
    SetColor(hilite);
    Screen().outtextxy(BarX(0), kTextY + 2, kBarUnderline);
    BarText(HelpColumn(), "Help", 0);
    SetColor(hilite);
    Screen().outtextxy(BarX(HelpColumn()), kTextY + 2, "_");
    for (int i = 0; i < kButtonCount; ++i)
        DrawButtonAt(i, ButtonPressed(i) ? ButtonLook::Pressed : ButtonLook::Raised);
    menuBar.pressedButton = -1;
    ShowPointerField(Refresh::All);
}

void PressMenuBarButton(int key) {
    for (int i = 0; i < 4; ++i) {
        if (kButtons[i].key != key)
            continue;
        PointerGuard guard;
        WholeScreen whole;
        menuBar.pressedButton = i;
        DrawButtonAt(i, ButtonLook::Pressed);
        editor.redrawMenuBar = true;
    }
}

int MenuBarKey(int x) {
    int column = x < graphics.charW ? 0 : (x - graphics.charW) / graphics.charW;
    if (column >= HelpColumn())
        return kAltH;
    if (column >= kFirstButtonColumn + 2 * (kButtonCount - 1))
        return '/';
    if (column >= kFirstButtonColumn)
        return kButtons[(column - kFirstButtonColumn) / 2].key;
    int menu = 0;
    while (column >= kTitleColumn[menu + 1])
        ++menu;
    return kAltMenuKeys[menu];
}

int MenuOfAltKey(int key) {
    for (int i = 0; i < kBarMenuCount; ++i)
        if (kAltMenuKeys[i] == key)
            return i;
    return -1;
}

int MenuTitleX(int menu) {
    if (menu == kMenuHelp)
        return BarX(HelpColumn() - 1);
    return BarX(kTitleColumn[menu]) - graphics.charW;
}

int RunMenuBar(int menu) {
    for (;;) {
        int result = OpenMenu(menu);
        if (result == kMenuNext) {
            menu = (menu + 1) % kBarMenuCount;
        } else if (result == kMenuPrevious) {
            menu = (menu + kBarMenuCount - 1) % kBarMenuCount;
        } else if (result == kMenuBarClick) {
            int x = 0;
            ReadMouse(&x, nullptr, nullptr);
            WaitRelease(nullptr);
            int key = MenuBarKey(x);
            int other = MenuOfAltKey(key);
            if (other < 0)
                return key;
            if (other == menu)
                return 0;
            menu = other;
        } else {
            return result > 0 ? result : 0;
        }
    }
}

int ShortModesMenu(int x, int y) {
    static const std::vector<PullDownItem> items = {
        {"Things ", 'T', 'T', 1}, {"Linedef", 'L', 'L', 1},
        {"Vertex ", 'V', 'V', 1}, {"Sectors", 'S', 'S', 1}};
    int result = PullDownMenu(x, y, ModeItem(config.editMode), "MODE", nullptr, items);
    return result > 0 ? result : 0;
}

void ShowPointerField(Refresh refresh) {
    ShowPointerCoordinates(BarX(kPointerFieldColumn), kTextY, editor.statusColour, 0, refresh);
}

// --- The status line ----------------------------------------------------------

void DrawStatusLine(Refresh refresh) {
    bool all = refresh == Refresh::All;
    if (menuBar.messageShown && !all)
        return;
    PointerGuard guard;
    WholeScreen whole;
    if (all || menuBar.messageShown) {
        FillBox(0, StatusTop(), graphics.screenMaxX, graphics.screenMaxY, config.colors[kColorMenu]);
        for (std::string& shown : menuBar.statusShown)
            shown.assign(1, '\xff');
        menuBar.messageShown = false;
    }
    for (int field = 0; field < kStatusFieldCount; ++field) {
        std::string text = StatusText(field);
        bool background = FieldBackground(field) != menuBar.statusBackground[field];
        if (text == menuBar.statusShown[field] && !background)
            continue;
        DrawStatusField(field, text);
        menuBar.statusShown[field] = text;
        menuBar.statusBackground[field] = FieldBackground(field);
    }
}

void ShowStatusMessage(const std::string& text) {
    if (graphics.graphicsMode == 0)
        return;
    PointerGuard guard;
    WholeScreen whole;
    FillBox(0, StatusTop(), graphics.screenMaxX, graphics.screenMaxY, editor.statusColour);
    SetColor(0);
    Screen().outtextxy(StatusX(0), StatusTop() + 3, text.c_str());
    menuBar.messageShown = true;
}

const char* EditModeName(int mode) {
    switch (mode) {
    case kObjThing: return "Things";
    case kObjLineDef: return "LineDef";
    case kObjVertex: return "Vertex";
    case kObjSector: return "Sectors";
    default: return "?";
    }
}
