#include "ui/browsers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/config.h"
#include "pictures/namelists.h"
#include "pictures/picture.h"
#include "platform/keys.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/list_select.h"
#include "ui/message_panel.h"
#include "ui/picture_views.h"
#include "ui/saved_area.h"

BrowserState browsers;

namespace {

constexpr const char* kBrowserTitle = "+/- = Size, AnyChar = name begins list, Pg/Home/End, Cursor";
constexpr int kWhite = 15;
constexpr int kBlack = 0;
constexpr int kChooserRows = 10;
constexpr int kTexturePreviewW = 256, kTexturePreviewH = 128;
constexpr int kFlatPreviewSide = 128;
constexpr int kTextureChooserMag = 1;
constexpr int kFlatChooserMag = 2;
constexpr int kFlatSide = 64;

// Where the cells of a page lie and how one is drawn.
struct PageLayout {
    int cell;             // side of a cell's picture
    int x0, y0;           // the first cell's corner
    int stepX, stepY;     // from one cell to the next
    int columns, rows;
    int size() const { return columns * rows; }
};

// Draws name into the cell whose corner is (x, y).
using CellPainter = void (*)(int x, int y, int side, const char* name);

PageLayout TextureLayout() {
    PageLayout l;
    l.cell = browsers.textureStep == 1 ? 128 : 64;
    l.x0 = 32, l.y0 = 16;
    l.stepX = l.cell + 8, l.stepY = l.cell + 11;
    l.columns = std::max(1, (graphics.maxX - 32) / l.stepX);
    l.rows = std::max(1, (graphics.maxY + 1 - l.y0) / l.stepY);
    return l;
}

PageLayout FlatLayout() {
    PageLayout l;
    l.cell = kFlatSide * browsers.flatStep;
    l.x0 = 12, l.y0 = 16;
    l.stepX = l.cell + 2, l.stepY = l.cell + 8;
    l.columns = std::max(1, (graphics.maxX - 24) / l.stepX);
    l.rows = std::max(1, (graphics.maxY + 1 - l.y0) / l.stepY);
    return l;
}

void PaintTexture(int x, int y, int side, const char* name) {
    pictures.pictureMag = static_cast<int16_t>(browsers.textureStep);
    DrawTexture(x, y, x + side - 1, y + side - 1, name, "+");
}

void PaintFlat(int x, int y, int side, const char* name) {
    DrawFlat(x, y, x + side - 1, y + side - 1, name, browsers.flatStep);
}

// The first name whose first character is c, else the last one whose first
// character is lower (the first name when there is none).
int NameBeginningWith(const NameList& names, int c) {
    int found = 0;
    for (int i = 0; i < names.count(); ++i) {
        int first = std::toupper(static_cast<unsigned char>(names[i][0]));
        if (first == c)
            return i;
        if (first < c)
            found = i;
    }
    return found;
}

// One browser run: a page of names, the current one framed.
class Browser {
public:
    Browser(const NameList& names, PageLayout (*layout)(), CellPainter paint)
        : names_(names), layout_(layout), paint_(paint) {}

    void Start(const char* start) {
        int at = start ? names_.Find(start) : -1;
        current_ = at < 0 ? 0 : at;
        top_ = current_;
    }

    // Returns 1 with the chosen name, 0 when left without one.
    int Run(char (&chosen)[kChosenNameSize]) {
        if (names_.count() == 0)
            return 0;
        bool page = true;
        for (;;) {
            if (page)
                DrawPage();
            page = false;
            FlushKeys(0);
            int buttons = 0;
            int key = GetInput(&buttons, InputWait::Wait);
            if (key == kMouseClick) {
                if (buttons & kButtonRight)
                    return 0;
                int cell = CellUnderPointer();
                if (cell >= 0)
                    return Choose(cell, chosen);
                continue;
            }
            if (key == kKeyEsc)
                return 0;
            if (key == kKeyEnter)
                return Choose(current_, chosen);
            int old = current_;
            page = HandleKey(key) || !pageComplete_;
            if (!page && current_ != old) {
                if (OnPage(current_)) {
                    Frame(old, kBlack);
                    Frame(current_, kWhite);
                } else {
                    page = true;
                }
            }
        }
    }

private:
    // Moves the current name or changes the size; true when the whole page
    // is to be drawn again.
    bool HandleKey(int key) {
        PageLayout l = layout_();
        int last = names_.count() - 1;
        switch (key) {
        case kKeyLeft: current_ = std::max(0, current_ - 1); return false;
        case kKeyRight: current_ = std::min(last, current_ + 1); return false;
        case kKeyUp: current_ = std::max(0, current_ - l.columns); return false;
        case kKeyDown: current_ = std::min(last, current_ + l.columns); return false;
        case kKeyPgUp: current_ = std::max(0, current_ - l.size()); return false;
        case kKeyPgDn: current_ = std::min(last, current_ + l.size()); return false;
        case kKeyHome: current_ = 0; return false;
        case kKeyEnd: current_ = last; return false;
        default: break;
        }
        if (key == '+' || key == '-') {
            SetStep(key == '+');
            return true;
        }
        if (key > kKeySpace && key < 127) {
            current_ = NameBeginningWith(names_, std::toupper(key));
            top_ = current_;
            return true;
        }
        return false;
    }

    void SetStep(bool larger) {
        if (paint_ == PaintTexture)
            browsers.textureStep = larger ? 1 : 0;
        else
            browsers.flatStep = larger ? 2 : 1;
    }

    bool OnPage(int i) const { return i >= top_ && i < top_ + layout_().size(); }

    // Keeps the current name on the page, moving the page by whole pages.
    void FollowCurrent() {
        int size = layout_().size();
        while (current_ < top_)
            top_ = std::max(0, top_ - size);
        while (current_ >= top_ + size)
            top_ += size;
    }

    void CellCorner(int i, int& x, int& y) const {
        PageLayout l = layout_();
        int k = i - top_;
        x = l.x0 + (k % l.columns) * l.stepX;
        y = l.y0 + (k / l.columns) * l.stepY;
    }

    void Frame(int i, int colour) {
        PointerGuard guard;
        int x, y;
        CellCorner(i, x, y);
        int side = layout_().cell;
        SetColor(colour);
        Screen().rectangle(x - 1, y - 1, x + side, y + side);
    }

    void DrawPage() {
        FollowCurrent();
        PageLayout l = layout_();
        PointerGuard guard;
        ClearMapArea();
        int end = std::min(names_.count(), top_ + l.size());
        TitleBar(kBrowserTitle);
        if (end == names_.count())
            ShowEndOfList();
        for (int i = top_; i < end; ++i) {
            int x, y;
            CellCorner(i, x, y);
            paint_(x, y, l.cell, names_[i]);
            FillBox(x, y + l.cell + 1, x + l.cell - 1, y + l.cell + graphics.charH + 1, kBlack);
            SetColor(kWhite);
            TextAt(x, y + l.cell + 2, "%s", names_[i]);
        }
        Frame(current_, kWhite);
        pageComplete_ = !KeyWaiting();
    }

    void ShowEndOfList() {
        SetMenuBarMode(MenuBarMode::Hidden);
        LabelBox(graphics.maxX - 14 * graphics.charW, 4, "End of List");
        SetMenuBarMode(MenuBarMode::Shown);
    }

    // The cell under the pointer, or -1.
    int CellUnderPointer() const {
        PageLayout l = layout_();
        int x = input.pointerX - l.x0;
        int y = input.pointerY - (graphics.menuBarShown ? kMenuBarHeight : 0) - l.y0;
        if (x < 0 || y < 0 || x % l.stepX >= l.cell || y % l.stepY >= l.cell)
            return -1;
        int column = x / l.stepX, row = y / l.stepY;
        int i = top_ + row * l.columns + column;
        if (column >= l.columns || row >= l.rows || i >= names_.count())
            return -1;
        return i;
    }

    int Choose(int i, char (&chosen)[kChosenNameSize]) {
        std::snprintf(chosen, sizeof chosen, "%.8s", names_[i]);
        return 1;
    }

    const NameList& names_;
    PageLayout (*layout_)();
    CellPainter paint_;
    int current_ = 0;
    int top_ = 0;
    bool pageComplete_ = true;
};

// Runs a browser on the whole screen and gives the screen back as it was.
int Browse(const NameList& names, PageLayout (*layout)(), CellPainter paint, const char* start,
           char (&chosen)[kChosenNameSize]) {
    bool menuBar = graphics.menuBarShown;
    int16_t mag = pictures.pictureMag;
    PointerRestore pointer;
    HidePointer();
    SetMenuBarMode(MenuBarMode::Hidden);
    SavedArea screen;
    SaveArea(0, 0, graphics.maxX, graphics.maxY, screen, WindowSave::Always);
    SetMenuBarMode(MenuBarMode::Shown);
    ShowPointer();
    Browser browser(names, layout, paint);
    browser.Start(start);
    int result = browser.Run(chosen);
    HidePointer();
    RestoreArea(screen);
    SetMenuBarMode(menuBar ? MenuBarMode::Shown : MenuBarMode::Hidden);
    pictures.pictureMag = mag;
    return result;
}

// A list chooser with a preview; F1 opens a browser on the current name.
int ChooseWithPreview(int x, int y, WindowSave save, const char* prompt, int count,
                      const char* const* names, char* text, int picW, int picH, int mag,
                      PreviewHook preview,
                      int (*browse)(const char*, char (&)[kChosenNameSize])) {
    std::string title = std::string(prompt ? prompt : "") + "   F1=Browse";
    int16_t oldMag = pictures.pictureMag;
    pictures.pictureMag = static_cast<int16_t>(mag);
    ListSelectOptions options;
    options.save = save;
    options.picW = picW;
    options.picH = picH;
    options.preview = std::move(preview);
    options.altChooser = [browse](int, int, int, int, char* name) {
        char chosen[kChosenNameSize] = {};
        if (!browse(name, chosen))
            return 0;
        std::memcpy(name, chosen, sizeof chosen);
        return 1;
    };
    int result = ListSelect(x, y, title.c_str(), count, names, kChooserRows, text, kNameLength,
                            options);
    pictures.pictureMag = oldMag;
    return result;
}

}  // namespace

int BrowseTextures(const char* start, char (&chosen)[kChosenNameSize]) {
    return Browse(nameLists.TextureNames, TextureLayout, PaintTexture, start, chosen);
}

int BrowseFlats(const char* start, char (&chosen)[kChosenNameSize]) {
    return Browse(nameLists.FlatNames, FlatLayout, PaintFlat, start, chosen);
}

int ChooseTexture(int x, int y, WindowSave save, const char* prompt, int count,
                  const char* const* names, char* text) {
    auto preview = [](int x1, int y1, int x2, int y2, const char* name) {
        if (DrawTexture(x1, y1, x2, y2, name, "+") == kNotDrawn && !KeyWaiting())
            FillBox(x1, y1, x2, y2, 8);
    };
    return ChooseWithPreview(x, y, save, prompt, count, names, text, kTexturePreviewW,
                             kTexturePreviewH, kTextureChooserMag, preview, BrowseTextures);
}

int ChooseFlat(int x, int y, WindowSave save, const char* prompt, int count,
               const char* const* names, char* text) {
    auto preview = [](int x1, int y1, int x2, int y2, const char* name) {
        FillBox(x1, y1, x2, y2, 8);
        DrawFlat(x1, y1, x2, y2, name, pictures.pictureMag);
    };
    return ChooseWithPreview(x, y, save, prompt, count, names, text, kFlatPreviewSide,
                             kFlatPreviewSide, kFlatChooserMag, preview, BrowseFlats);
}

int ChooseTextureName(int x, int y, WindowSave save, const char* prompt, char* text) {
    const NameList& names = nameLists.TextureNames;
    return ChooseTexture(x, y, save, prompt, names.count(), names.names(), text);
}

int ChooseFlatName(int x, int y, WindowSave save, const char* prompt, char* text) {
    const NameList& names = nameLists.FlatNames;
    return ChooseFlat(x, y, save, prompt, names.count(), names.names(), text);
}
