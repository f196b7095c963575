#include "checker/check_dialogs.h"

#include <cstring>

#include "base/config.h"
#include "base/flavour.h"
#include "editor/editor.h"
#include "editor/object_commands.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "level/level.h"
#include "platform/keys.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/message_box.h"
#include "ui/message_panel.h"
#include "ui/toolkit.h"

namespace {

constexpr int kTitleBoxChars = 43;
constexpr int kBarChars = 41;
constexpr int kEsc = 27;
constexpr const char* kSeeTheObject = "Press Cancel to see the Object";

// Takes the editor to the object: its kind becomes the EditMode, the map is
// centred on it and it is highlighted. A SideDef is shown by the LineDef
// found at the pointer once the map is centred on the SideDef.
void ShowObject(int kind, int n) {
    int mode = kind == kObjSideDef ? kObjLineDef : kind;
    if (CurrentEditMode() != mode)
        SetEditMode(mode);
    if (kind == kObjSideDef) {
        GoToObject(kObjSideDef, n, GoToMode::Centre);
        n = GetObjectUnderPointer(kObjLineDef);
        if (n < 0)
            return;
    }
    GoToObject(n);
    editor.redrawAll = true;
}

std::vector<const char*> Pointers(const std::vector<std::string>& lines) {
    std::vector<const char*> result;
    for (const std::string& line : lines)
        result.push_back(line.c_str());
    return result;
}

class ScreenCheck : public CheckDialogs {
public:
    void Title(const std::string& text) override {
        PointerGuard guard;
        int cw = graphics.charW, lh = graphics.lineH;
        box_.x1 = (graphics.maxX - kTitleBoxChars * cw) / 2;
        box_.x2 = box_.x1 + kTitleBoxChars * cw;
        box_.y1 = graphics.maxY - 12 * lh;
        box_.y2 = box_.y1 + 4 * lh;
        RaisedBox(box_.x1, box_.y1, box_.x2, box_.y2, config.colors[kColorMenu]);
        SetColor(0);
        int textWidth = static_cast<int>(text.size()) * cw;
        TextAt(box_.x1 + (kTitleBoxChars * cw - textWidth) / 2, box_.y1 + lh / 2, "%s",
               text.c_str());
        barX1_ = box_.x1 + cw;
        barX2_ = barX1_ + kBarChars * cw;
        barY1_ = box_.y1 + 2 * lh;
        barY2_ = barY1_ + lh;
        SunkenBox(barX1_ - 1, barY1_ - 1, barX2_ + 1, barY2_ + 1, 15);
        lastPercent_ = -1;
    }

    void Progress(long done, long total) override {
        if (total <= 0)
            return;
        int percent = done >= total ? 100 : static_cast<int>(done * 100 / total);
        if (percent == lastPercent_ && done != total)
            return;
        lastPercent_ = percent;
        PointerGuard guard;
        ProgressBar(barX1_, barY1_, barX2_, barY2_, percent);
    }

    // Only Esc stops; other keys typed meanwhile wait for what comes next.
    bool StopAsked() override {
        int key = 0;
        std::vector<int> typed;
        bool stop = false;
        while (!stop && ReadKey(&key)) {
            if (key == kKeyEsc)
                stop = true;
            else
                typed.push_back(key);
        }
        for (int kept : typed)
            KeepKey(kept);
        return stop;
    }

    void Note(const std::string& line1, const std::string& line2) override {
        MessageBox(kCentred, kCentred, LineAlign::Centred, nullptr, kNoButtons, nullptr, 0, nullptr,
                   {line1.c_str(), line2.c_str()});
    }

    bool Verify(const std::string& first, const std::string& second, int kind, int n,
                Severity severity) override {
        std::string crash = std::string(Names().game) + " will crash if you play with this level.";
        std::vector<const char*> lines;
        if (severity != Severity::Found)
            lines.push_back("Verification failed:");
        lines.push_back(first.c_str());
        lines.push_back(second.c_str());
        if (severity == Severity::Crash)
            lines.push_back(crash.c_str());
        lines.push_back(kSeeTheObject);
        ErrorBeep();
        int key = MessageBox(kCentred, kCentred, LineAlign::Centred, "_Continue", 'Y', "C_ancel",
                             kEsc, nullptr, lines);
        if (key == 'Y') {
            FlashMessage(kCentred, kCentred, "Continuing Object Check");
            return true;
        }
        ShowObject(kind, n);
        return false;
    }

    bool Confirm(Question question, const std::string& title, const std::string& line) override {
        if (question == Question::Delete)
            return ConfirmDel(kCentred, kCentred, title.c_str(), line.c_str()) != 0;
        return ConfirmYes(kCentred, kCentred, title.c_str(), line.c_str()) != 0;
    }

    void Tell(const std::string& title, const std::string& line) override {
        PressAnyKey(kCentred, kCentred, title.c_str(), line.c_str());
    }

    void Status(const std::string& text) override {
        FlashMessage(kCentred, kCentred, "%s", text.c_str());
    }

    void Warn(const std::string& title, const std::vector<std::string>& lines) override {
        MessageBox(kCentred, kCentred, LineAlign::Centred, "OK", kAnyKey, nullptr, 0, title.c_str(),
                   Pointers(lines));
    }

    bool WarnContinue(const std::string& title, const std::vector<std::string>& lines) override {
        return MessageBox(kCentred, kCentred, LineAlign::Centred, "_Continue", 'Y', "C_ancel", kEsc,
                          title.c_str(), Pointers(lines)) == 'Y';
    }

    void Result(const std::string& title, const std::vector<std::string>& lines) override {
        MessageBox(kCentred, kCentred, LineAlign::Centred, "Ok!", kAnyKey, nullptr, 0,
                   title.c_str(), Pointers(lines));
    }

    bool VerifyList(const std::string& title, std::vector<std::string> lines, int kind, int n) override {
        lines.push_back(kSeeTheObject);
        ErrorBeep();
        if (WarnContinue(title, lines))
            return true;
        ShowObject(kind, n);
        return false;
    }

private:
    struct {
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    } box_;
    int barX1_ = 0, barY1_ = 0, barX2_ = 0, barY2_ = 0;
    int lastPercent_ = -1;
};

}  // namespace

bool CheckDialogs::VerifyList(const std::string& title, std::vector<std::string> lines, int, int) {
    lines.push_back(kSeeTheObject);
    return WarnContinue(title, lines);
}

CheckDialogs& ScreenDialogs() {
    static ScreenCheck screen;
    return screen;
}
