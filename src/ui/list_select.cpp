#include "ui/list_select.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "platform/keys.h"
#include "platform/video.h"
#include "base/config.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/line_editor.h"
#include "ui/list_mouse.h"
#include "ui/saved_area.h"
#include "ui/toolkit.h"

namespace {

constexpr int kMaxMagnify = 10;
constexpr int kAltNameBuffer = 64;

// The chooser's small-print metrics, in force while it is open; the editor's
// come back when it closes or hands the screen to another chooser.
class ChooserMetrics {
public:
    ChooserMetrics() : saved_(graphics) { Apply(); }
    ~ChooserMetrics() { Restore(); }
    ChooserMetrics(const ChooserMetrics&) = delete;
    ChooserMetrics& operator=(const ChooserMetrics&) = delete;
    void Apply() {
        graphics.charH = 9;
        graphics.lineH = 11;
        graphics.bandH = 14;
    }
    void Restore() {
        graphics.charH = saved_.charH;
        graphics.lineH = saved_.lineH;
        graphics.bandH = saved_.bandH;
    }

private:
    GraphicsState saved_;
};

// Names compared over width characters, ignoring case.
int CompareName(const char* a, const char* b, int width) {
    for (int i = 0; i < width; ++i) {
        int ca = std::toupper(static_cast<unsigned char>(a[i]));
        int cb = std::toupper(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
    return 0;
}

class Chooser {
public:
    Chooser(int count, const char* const* names, int rows, int width)
        : count_(count), names_(names), rows_(std::max(1, rows)), width_(std::max(1, width)) {}

    void LayOut(int x, int y, const char* title, int picW, int picH) {
        const int cw = graphics.charW, bw = graphics.bandW, bh = graphics.bandH;
        int w = (width_ + 2) * cw + 2 * bw;
        if (picW > 0)
            w += bw + picW + 4;
        int titleW = static_cast<int>(std::strlen(title ? title : "")) * cw + 2 * bw + width_ * cw;
        w = std::max(w, titleW);
        int h = std::max(2 * bh + picH + 2, rows_ * graphics.lineH + 3 * bh + 4);
        x_ = x < 0 ? std::max(0, (graphics.maxX - w) / 2) : x;
        y_ = y < 0 ? std::max(0, (graphics.maxY - h) / 2) : y;
        x2_ = x_ + w;
        y2_ = y_ + h;
        textX2_ = x_ + bw + (std::max(width_, 8) + 2) * cw + 2;
        listX1_ = x_ + bw;
        listY1_ = y_ + 2 * bh + 6;
        listX2_ = listX1_ + width_ * cw + 5;
        listY2_ = listY1_ + rows_ * graphics.lineH + 3;
        hasPreview_ = picW > 0;
        picW_ = picW, picH_ = picH;
        px_ = x_ + (width_ + 2) * cw + 2 * bw + 4;
        py_ = y_ + bh;
        px_ = std::max(2, std::min(px_, graphics.maxX - picW - 2));
        py_ = std::max(2, std::min(py_, graphics.maxY - picH - 2));
        mouse_.x1 = listX1_ + 1;
        mouse_.x2 = listX2_ - 1;
        mouse_.y1 = listY1_ + 2;
        mouse_.y2 = mouse_.y1 + rows_ * graphics.lineH - 1;
        mouse_.wx1 = x_, mouse_.wy1 = y_, mouse_.wx2 = x2_, mouse_.wy2 = y2_;
        mouse_.barX = listX2_ + 2;
        mouse_.barY1 = listY1_;
        mouse_.barY2 = listY2_;
        mouse_.length = count_;
        mouse_.page = rows_;
    }

    int x1() const { return x_; }
    int y1() const { return y_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }

    void SetTyped(const std::string& text) {
        typed_.clear();
        for (char c : text.substr(0, static_cast<size_t>(width_)))
            typed_ += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        FindCurrent();
    }
    const std::string& typed() const { return typed_; }

    // The first name not less than the typed text (the last when all are).
    void FindCurrent() {
        const char* const* end = names_ + count_;
        const char* const* at = std::lower_bound(names_, end, typed_, [this](const char* name, const std::string& t) {
            return CompareName(name, t.c_str(), width_) < 0;
        });
        current_ = count_ == 0 ? 0 : std::min(static_cast<int>(at - names_), count_ - 1);
    }

    bool TypedMatches() const {
        return count_ > 0 && CompareName(names_[current_], typed_.c_str(), width_) == 0;
    }

    void TakeName(int i) {
        if (count_ == 0)
            return;
        current_ = std::clamp(i, 0, count_ - 1);
        SetTyped(names_[current_]);
        current_ = std::clamp(i, 0, count_ - 1);   // a duplicate name stays where it was taken
    }

    void DrawWindow(const char* title) {
        int menuColor = config.colors[kColorMenu];
        RaisedBox(x_, y_, x2_, y2_, menuColor);
        SetColor(0);
        Screen().outtextxy(x_ + graphics.bandW, y_ + 2, title ? title : "");
        SunkenBox(listX1_, listY1_, listX2_, listY2_, 15);
        if (hasPreview_)
            SunkenBox(px_ - 2, py_ - 2, px_ + picW_ + 1, py_ + picH_ + 1, -1);
    }

    enum class Cursor { Hidden, Shown };

    void DrawText(Cursor cursor) {
        PointerGuard guard;
        SunkenBox(x_ + graphics.bandW, y_ + graphics.bandH, textX2_, y_ + 2 * graphics.bandH + 2,
                  config.colors[kColorMenu]);
        SetColor(0);
        int tx = x_ + graphics.bandW + 3, ty = y_ + graphics.bandH + 4;
        Screen().outtextxy(tx, ty, typed_.c_str());
        if (cursor == Cursor::Shown)
            Screen().outtextxy(tx + static_cast<int>(typed_.size()) * graphics.charW, ty + 1, "_");
    }

    void DrawList() {
        PointerGuard guard;
        if (current_ < top_)
            top_ = current_;
        if (current_ >= top_ + rows_)
            top_ = current_ - rows_ + 1;
        top_ = std::max(0, std::min(top_, count_ - rows_));
        char name[kAltNameBuffer];
        for (int r = 0; r < rows_; ++r) {
            int i = top_ + r;
            int ry = listY1_ + 2 + r * graphics.lineH;
            bool highlighted = i == current_ && i < count_;
            FillBox(listX1_ + 1, ry, listX2_ - 2, ry + graphics.lineH - 1, highlighted ? 1 : 15);
            if (i >= count_)
                continue;
            std::snprintf(name, sizeof name, "%.*s", width_, names_[i]);
            SetColor(highlighted ? 15 : 0);
            Screen().outtextxy(listX1_ + 3, ry + 1, name);
        }
        SetColor(0);
        DrawScrollBar(mouse_, current_);
    }

    void DrawPreview(const PreviewHook& hook) {
        if (hasPreview_ && hook && count_ > 0)
            hook(px_, py_, px_ + picW_ - 1, py_ + picH_ - 1, names_[current_]);
    }

    // A left press on a row (kept in row), a scroll, a cancel, or nothing.
    int Mouse(int& row) {
        int position = current_;
        int r = ListMouse(mouse_, position);
        if (r == kListScrolled)
            TakeName(position);
        if (r >= 0 && top_ + r < count_)
            row = top_ + r;
        return r;
    }

    int current() const { return current_; }
    int count() const { return count_; }
    int rows() const { return rows_; }

private:
    int count_;
    const char* const* names_;
    int rows_, width_;
    int x_ = 0, y_ = 0, x2_ = 0, y2_ = 0;
    int textX2_ = 0;
    int listX1_ = 0, listY1_ = 0, listX2_ = 0, listY2_ = 0;
    bool hasPreview_ = false;
    int px_ = 0, py_ = 0, picW_ = 0, picH_ = 0;
    ListMouseArea mouse_;
    std::string typed_;
    int current_ = 0;
    int top_ = 0;
};

enum class Outcome { Going, Chosen, Cancelled };

// A moving key takes the name it lands on; false for other keys.
bool MoveKey(Chooser& c, int key) {
    int last = c.count() - 1;
    switch (key) {
    case kKeyUp:
    case kKeyShiftTab: c.TakeName(std::max(0, c.current() - 1)); return true;
    case kKeyDown:
    case kKeyTab: c.TakeName(std::min(last, c.current() + 1)); return true;
    case kKeyPgUp: c.TakeName(std::max(0, c.current() - c.rows())); return true;
    case kKeyPgDn: c.TakeName(std::min(last, c.current() + c.rows())); return true;
    case kKeyHome: c.TakeName(0); return true;
    case kKeyEnd: c.TakeName(last); return true;
    default: return false;
    }
}

bool Printable(int key) { return key > kKeySpace && key < 127; }

// The typed text becomes a name taken from the list: kept for editing.
void KeepForEditing(LineEditor& entry, const std::string& name) {
    entry.text = name;
    entry.cursor = name.size();
    entry.proposal = false;
}

}  // namespace

int ListSelect(int x, int y, const char* title, int count, const char* const* names, int rows,
               char* text, int width, const ListSelectOptions& options) {
    ChooserMetrics metrics;
    Chooser c(std::max(0, count), names, rows, width);
    c.LayOut(x, y, title, options.picW, options.picH);
    c.SetTyped(text);
    // The name proposed goes at the first character typed.
    LineEditor entry;
    entry.limit = static_cast<size_t>(std::max(width, 0));
    entry.text = c.typed();
    entry.cursor = entry.text.size();
    PointerRestore pointer;
    HidePointer();
    SavedArea area;
    SaveArea(c.x1(), c.y1(), c.x2(), c.y2(), area, options.save);
    c.DrawWindow(title);
    int px = 0, py = 0;
    SnapPointer(Snap::ToButton, &px, &py, c.x1() + graphics.bandW, c.y1() + graphics.bandH);
    ShowPointer();
    ResetListMouse();
    Outcome outcome = Outcome::Going;
    int shown = -1;
    bool redraw = true;
    while (outcome == Outcome::Going) {
        if (redraw) {
            c.DrawText(Chooser::Cursor::Shown);
            c.DrawList();
            if (c.current() != shown || shown < 0)
                c.DrawPreview(options.preview);
            shown = c.current();
            redraw = false;
        }
        int row = -1;
        int clicked = c.Mouse(row);
        int key = 0;
        if (clicked == kListScrolled) {
            KeepForEditing(entry, c.typed());
            redraw = true;
        } else if (row >= 0) {
            if (row == c.current() && c.TypedMatches())
                outcome = Outcome::Chosen;
            c.TakeName(row);
            KeepForEditing(entry, c.typed());
            redraw = true;
        } else if (clicked == kListCancel || clicked == kListMenuBar) {
            outcome = Outcome::Cancelled;
        } else if (!ReadKey(&key)) {
            WaitForInput();
        } else if (key == kKeyEsc) {
            outcome = Outcome::Cancelled;
        } else if (key == kKeyEnter) {
            if (c.TypedMatches())
                outcome = Outcome::Chosen;
            else
                ErrorBeep();
        } else if (key == kKeyBackspace || key == kKeyLeft) {
            entry.Apply(kKeyBackspace);
            c.SetTyped(entry.text);
            redraw = true;
        } else if (options.sizeable && (key == '+' || key == '-')) {
            int step = key == '+' ? 1 : -1;
            toolkit.magnify = std::clamp(toolkit.magnify + step, 1, kMaxMagnify);
            shown = -1;
            redraw = true;
        } else if (key == kKeyF1 && options.altChooser) {
            char chosen[kAltNameBuffer] = {};
            std::snprintf(chosen, sizeof chosen, "%s", c.typed().c_str());
            metrics.Restore();
            int taken = options.altChooser(c.x1(), c.y1(), c.x2(), c.y2(), chosen);
            metrics.Apply();
            if (taken)
                c.SetTyped(chosen);
            KeepForEditing(entry, c.typed());
            c.DrawWindow(title);
            shown = -1;
            redraw = true;
        } else if (MoveKey(c, key)) {
            KeepForEditing(entry, c.typed());
            redraw = true;
        } else if (Printable(key)) {
            entry.Apply(key);
            c.SetTyped(entry.text);
            redraw = true;
        }
    }
    std::string result = outcome == Outcome::Chosen ? c.typed() : std::string();
    c.SetTyped(result);
    c.DrawText(Chooser::Cursor::Hidden);
    RestoreArea(area);
    SnapPointer(Snap::Back, &px, &py, 0, 0);
    std::memcpy(text, result.c_str(), result.size() + 1);
    return outcome == Outcome::Chosen ? 1 : 0;
}
