// The colour dialogs: the logical colour of each drawing role, and the
// palette entry of each logical colour with the gamma.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "pictures/palette.h"
#include "platform/keys.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/list_mouse.h"
#include "ui/menus.h"
#include "ui/message_panel.h"
#include "ui/saved_area.h"
#include "ui/settings_dialogs.h"

namespace {

constexpr int kPaletteSize = 256;
constexpr int kPaletteRow = 16;
constexpr int kMaxGamma = 30;

struct ColourRole {
    const char* name;
    int16_t* setting;
};

std::vector<ColourRole> ColourRoles() {
    int16_t* c = config.colors;
    return {{"Mouse", &c[kColorMouse]},
            {"MouseEdge", &c[kColorMouseEdge]},
            {"MenuColor ", &c[kColorMenu]},
            {"MenuHilite", &c[kColorMenuHilite]},
            {"ButtonColor", &config.colorButton},
            {"ButtonActive", &config.colorButtonActive},
            {"Dragging", &c[kColorDragging]},
            {"Select Box", &c[kColorSelectBox]},
            {"HiLight", &c[kColorHiLight]},
            {"InsertVertex", &c[kColorInsertVertex]},
            {"Vertex Square", &c[kColorVertexSquare]},
            {"Grid", &c[kColorGrid]},
            {"Ruler", &config.colorRuler},
            {"2-Sided LineDef", &c[kColorTwoSided]},
            {"1-Sided LineDef", &c[kColorOneSided]},
            {"BackGround", &c[kColorBackGround]},
            {"BackGroundThings", &c[kColorBackGroundThings]},
            {"BackGroundThingLines", &c[kColorBackGroundThingLines]},
            {"Secret", &c[kColorSecret]},
            {"Invisible", &c[kColorInvisible]},
            {"Monster Block", &c[kColorMonsterBlock]},
            {"Sound Block", &c[kColorSoundBlock]},
            {"Tagged Line/Sector", &c[kColorTagged]},
            {"Not Normal Line", &c[kColorNotNormalLine]},
            {"Bad Tag", &c[kColorBadTag]},
            {"Not Normal Sector", &c[kColorNotNormalSector]}};
}

// Saves the whole screen, whatever the viewport, and gives it back.
class WholeScreen {
public:
    WholeScreen() : menuBar_(graphics.menuBarShown) {
        SetMenuBarMode(MenuBarMode::Hidden);
        SaveArea(0, 0, graphics.maxX, graphics.maxY, area_, WindowSave::Always);
        SetMenuBarMode(menuBar_ ? MenuBarMode::Shown : MenuBarMode::Hidden);
    }
    ~WholeScreen() {
        RestoreArea(area_);
        SetMenuBarMode(menuBar_ ? MenuBarMode::Shown : MenuBarMode::Hidden);
    }
    WholeScreen(const WholeScreen&) = delete;
    WholeScreen& operator=(const WholeScreen&) = delete;

private:
    bool menuBar_;
    SavedArea area_;
};

// The swatches of the 25 logical colours beside the role menu, "current" on
// the role's colour.
void DrawColourPanel(int x, int y, int colour) {
    const GraphicsState& g = graphics;
    HidePointer();
    RaisedBox(x + 22 * g.charW + 4, y - 1, x + 35 * g.charW + 2, y + 29 * g.lineH - 1, config.colors[kColorMenu]);
    LabelBox(x + 24 * g.charW + 4, y + g.lineH - 1, "Colors");
    for (int i = 0; i < kColorCount; ++i) {
        int top = y + (i + 2) * g.lineH + g.charH - 1;
        SunkenBox(x + 23 * g.charW + 7, top, x + 34 * g.charW + 2, top + g.lineH, i);
        if (i == colour) {
            SetColor(colour == 0 ? 15 : 0);
            TextAt(x + 24 * g.charW + 3, top + 2, "current");
        }
    }
    ShowPointer();
}

void ChooseRoleColour(int x, int y, int16_t& setting) {
    std::vector<const char*> empty(kColorCount, "");
    int chosen = SimpleMenu(x + 19 * graphics.charW, y + 2 * graphics.lineH, MenuStyle::Numbered, setting + 1,
                            "COLORS", WindowSave::UnlessNested, nullptr, empty);
    if (chosen >= 1 && chosen <= kColorCount)
        setting = static_cast<int16_t>(chosen - 1);
}

// Raw palette entry index as a solid bar; no pointer handling.
void FillRaw(int x1, int y1, int x2, int y2, int index) {
    Screen().setfillstyle(kSolidFill, index);
    Screen().bar(x1, y1, x2, y2);
}

// Where the swatch of a palette entry lies, right of the palette menu at
// (x, y).
struct SwatchBox {
    int x1, y1, x2, y2;
};

SwatchBox PaletteSwatchBox(int x, int y) {
    const GraphicsState& g = graphics;
    int x1 = x + 38 * g.charW, y1 = y + 3 * g.lineH;
    return {x1, y1, x1 + 17 * g.charW, y1 + 19 * g.charH};
}

// The swatch of a palette entry and its numbers.
void DrawPaletteSwatch(int x, int y, int index, bool interactive) {
    const GraphicsState& g = graphics;
    SwatchBox b = PaletteSwatchBox(x, y);
    HidePointer();
    SunkenBox(b.x1 - 2, b.y1 - 2, b.x2 + 2, b.y2 + 2, -1);
    FillRaw(b.x1, b.y1, b.x2, b.y2, index);
    FillBox(b.x1 - 2, b.y2 + 4, b.x2 + 2, b.y2 + 4 + 3 * g.lineH, config.colors[kColorMenu]);
    SetColor(0);
    TextAt(b.x1, b.y2 + 6, "Color %d", index);
    TextAt(b.x1, b.y2 + 6 + g.lineH, "Gamma %d", config.gamma);
    if (interactive)
        TextAt(b.x1, b.y2 + 6 + 2 * g.lineH, "F1=palette");
    ShowPointer();
}

// The mouse's side of the index chooser: a scale of the 256 entries beside
// the swatch (its arrows step one entry, its track sixteen); a click on the
// swatch takes the entry, one outside the swatch and scale cancels.
ListMouseArea PaletteScale(int x, int y) {
    SwatchBox b = PaletteSwatchBox(x, y);
    ListMouseArea a;
    a.x1 = b.x1, a.y1 = b.y1, a.x2 = b.x2, a.y2 = b.y2;
    a.barX = b.x2 + 6;
    a.barY1 = b.y1 - 2, a.barY2 = b.y2 + 2;
    a.wx1 = b.x1 - 2, a.wy1 = b.y1 - 2;
    a.wx2 = a.barX + kScrollBarWidth - 1, a.wy2 = b.y2 + 4 + 3 * graphics.lineH;
    a.length = kPaletteSize;
    a.page = kPaletteRow;
    return a;
}

// The step a key makes in the palette index chooser (0: not a step key).
int IndexStep(int key, int index) {
    switch (key) {
    case kKeyUp: case kKeyBackspace: case kKeyShiftTab: return -1;
    case kKeyDown: case kKeyTab: return 1;
    case kKeyPgUp: return -kPaletteRow;
    case kKeyPgDn: return kPaletteRow;
    case kKeyHome: return -index;
    case kKeyEnd: return kPaletteSize - 1 - index;
    default: return 0;
    }
}

void ChangeGamma(int step) {
    int gamma = std::clamp(config.gamma + step, 0, kMaxGamma);
    if (gamma == config.gamma)
        return;
    config.gamma = static_cast<int16_t>(gamma);
    LoadPalette(config.paletteNumber, config.gamma);
}

std::string ConfigNameUpper() {
    std::string name = Names().configFile;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    return name;
}

}  // namespace

void ColorsDialog(int x, int y) {
    WholeScreen screen;
    TitleBar("Restart to see all changes");
    if (x < 0)
        x = (graphics.maxX - 20 * graphics.charW) / 2;
    if (y < 0)
        y = std::max(0, (graphics.maxY - 34 * graphics.charH) / 2);
    std::vector<ColourRole> roles = ColourRoles();
    std::vector<const char*> names;
    for (const ColourRole& role : roles)
        names.push_back(role.name);
    static int lastRole = 1;   // the highlight starts on the role chosen last
    auto panel = [&roles](int mx, int my, MenuHookPhase, int index) {
        DrawColourPanel(mx, my, *roles[index].setting);
    };
    for (;;) {
        int chosen = HookMenu(x, y, MenuStyle::Plain, lastRole, panel, "COLORS", WindowSave::Always,
                              "Color Options", names);
        if (chosen >= 1)
            ChooseRoleColour(x, y, *roles[chosen - 1].setting);
        config.colorStatusText = config.colors[kColorMenu] == 7 ? 15 : 7;
        if (chosen < 1)
            break;
        lastRole = chosen;
    }
    SaveConfigOrSay();
}

int ChoosePaletteIndex(int x, int y, int colour) {
    int index = std::clamp<int>(config.colorMap[colour], 0, kPaletteSize - 1);
    PointerRestore pointer;
    ListMouseArea scale = PaletteScale(x, y);
    ResetListMouse();
    bool redraw = true;
    for (;;) {
        if (redraw) {
            DrawPaletteSwatch(x, y, index, true);
            DrawScrollBar(scale, index);
            redraw = false;
        }
        int clicked = ListMouse(scale, index);
        if (clicked >= 0)
            return index;
        if (clicked == kListCancel || clicked == kListMenuBar)
            return -1;
        if (clicked == kListScrolled) {
            redraw = true;
            continue;
        }
        int key = 0;
        if (!ReadKey(&key)) {
            WaitForInput();
            continue;
        }
        if (key == kKeyEnter)
            return index;
        if (key == kKeyEsc)
            return -1;
        if (key == '+' || key == '-')
            ChangeGamma(key == '+' ? 1 : -1);
        else if (key == kKeyF1)
            ShowPalette();
        else
            index = std::clamp(index + IndexStep(key, index), 0, kPaletteSize - 1);
        redraw = true;
    }
}

void PaletteColorsDialog(int x, int y) {
    WholeScreen screen;
    TitleBar(("Restart to see all changes. Delete " + ConfigNameUpper() + " if you get lost)").c_str());
    std::vector<const char*> names(kColorNames, kColorNames + kColorCount);
    if (x < 0)
        x = (graphics.maxX - 56 * graphics.charW) / 2;
    if (y < 0)
        y = std::max(0, (graphics.maxY - 30 * graphics.lineH) / 2);
    auto swatch = [](int mx, int my, MenuHookPhase, int index) {
        DrawPaletteSwatch(mx, my, config.colorMap[index], false);
    };
    int current = 1;
    for (;;) {
        int chosen = HookMenu(x, y, MenuStyle::Plain, current, swatch, "PALETTE", WindowSave::Always,
                              "Palette Colors (+/- Gamma Adjust)", names);
        if (chosen < 1)
            break;
        int index = ChoosePaletteIndex(x, y, chosen - 1);
        if (index >= 0)
            config.colorMap[chosen - 1] = static_cast<int16_t>(index);
        current = chosen;
    }
    SaveConfigOrSay();
}

void ShowPalette() {
    WholeScreen screen;
    TitleBar("Current Palette");
    SetMenuBarMode(MenuBarMode::Hidden);
    const GraphicsState& g = graphics;
    HidePointer();
    FillBox(0, 2 * g.charH + 1, g.maxX, g.maxY, 0);
    int w = (g.maxX - 48) / 16, h = (g.maxY - 161) / 16;
    int x0 = (g.maxX - (16 * w + 32)) / 2, y0 = (g.maxY - 17 - (16 * h + 128)) / 2 + 2 * g.charH + 2;
    for (int r = 0; r < 16; ++r)
        for (int k = 0; k < 16; ++k) {
            int x = x0 + k * (w + 2), y = y0 + r * (h + 8);
            FillRaw(x, y, x + w - 1, y + h - 1, 16 * r + k);
            FillBox(x, y + h, x + std::min(w, 8 * g.charW) - 1, y + h + g.charH - 1, 0);
            SetColor(7);
            TextAt(x, y + h, "%d", 16 * r + k);
        }
    ShowPointer();
    int buttons = 0;
    GetInput(&buttons, InputWait::Wait);
    HidePointer();
}
