// The questions that loading and saving a level ask, as the editor's dialogs.
// While the graphics screen is down they are asked on the console, so the one
// object installed at start serves the shell and the editor alike.
#include <algorithm>
#include <cstring>
#include <vector>

#include "level/level_dialogs.h"
#include "platform/keys.h"
#include "base/config.h"
#include "ui/button_bar.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/input_box.h"
#include "ui/message_box.h"
#include "ui/saved_area.h"

namespace {

constexpr int kProgressChars = 40;

std::vector<const char*> Pointers(const std::vector<std::string>& lines) {
    std::vector<const char*> texts;
    for (const std::string& line : lines)
        texts.push_back(line.c_str());
    return texts;
}

bool GraphicsUp() { return graphics.graphicsMode != 0; }

class GraphicsLevelDialogs : public ConsoleLevelDialogs {
public:
    void ShowBox(const std::string& title, const std::vector<std::string>& lines) override {
        if (!GraphicsUp())
            return ConsoleLevelDialogs::ShowBox(title, lines);
        ::MessageBox(kCentred, kCentred, LineAlign::Centred, nullptr, kNoButtons, nullptr, 0,
                     title.c_str(), Pointers(lines));
    }

    void MessageBox(const std::string& title, const std::vector<std::string>& lines) override {
        if (!GraphicsUp())
            return ConsoleLevelDialogs::MessageBox(title, lines);
        ::MessageBox(kCentred, kCentred, LineAlign::Centred, "OK", kAnyKey, nullptr, 0,
                     title.c_str(), Pointers(lines));
    }

    int ConfirmYes(const std::string& title, const std::string& line) override {
        if (!GraphicsUp())
            return ConsoleLevelDialogs::ConfirmYes(title, line);
        return ::ConfirmYes(kCentred, kCentred, title.c_str(), line.c_str());
    }

    void PressAnyKey(const std::string& title, const std::string& line) override {
        if (!GraphicsUp())
            return ConsoleLevelDialogs::PressAnyKey(title, line);
        ::PressAnyKey(kCentred, kCentred, title.c_str(), line.c_str());
    }

    int PathEntry(const std::string& prompt, int maxLength, char* text) override {
        if (!GraphicsUp())
            return ConsoleLevelDialogs::PathEntry(prompt, maxLength, text);
        return ::PathEntry(kCentred, kCentred, prompt.c_str(), maxLength, text);
    }

    int NumberForm(const std::string& title, std::vector<struct NumberField>& fields) override {
        if (!GraphicsUp())
            return ConsoleLevelDialogs::NumberForm(title, fields);
        std::vector<FormField> form;
        for (const struct NumberField& f : fields)
            form.push_back({f.label, f.min, f.max, f.value});
        int accepted = ::NumberForm(kCentred, kCentred, WindowSave::Always, title.c_str(), form, FormEnter::Accepts);
        for (size_t i = 0; i < fields.size(); ++i)
            fields[i].value = form[i].value;
        return accepted;
    }

    void ProgressStart(const std::string& title, int32_t total) override {
        progressShown_ = GraphicsUp();
        if (!progressShown_)
            return ConsoleLevelDialogs::ProgressStart(title, total);
        PointerGuard guard;
        int chars = std::max(kProgressChars, static_cast<int>(title.size()) + 4);
        int w = chars * graphics.charW, h = 5 * graphics.lineH;
        int x = (graphics.maxX - w) / 2, y = (graphics.maxY - h) / 2;
        SaveArea(x, y, x + w, y + h, area_, WindowSave::Always);
        RaisedBox(x, y, x + w, y + h, config.colors[kColorMenu]);
        LabelBox(x + graphics.charW, y + graphics.charH, "%s", title.c_str());
        barX1_ = x + 2 * graphics.charW;
        barX2_ = x + w - 2 * graphics.charW;
        barY1_ = y + 3 * graphics.lineH;
        barY2_ = barY1_ + graphics.charH + 4;
        total_ = total;
        percent_ = 0;
        ProgressBar(barX1_, barY1_, barX2_, barY2_, 0);
    }

    void ProgressUpdate(int32_t done) override {
        if (!progressShown_)
            return ConsoleLevelDialogs::ProgressUpdate(done);
        int percent = total_ > 0 ? static_cast<int>(std::min<int64_t>(100, int64_t{done} * 100 / total_)) : 100;
        if (percent == percent_)
            return;
        percent_ = percent;
        PointerGuard guard;
        ProgressBar(barX1_, barY1_, barX2_, barY2_, percent);
    }

    void ProgressEnd() override {
        if (!progressShown_)
            return ConsoleLevelDialogs::ProgressEnd();
        RestoreArea(area_);
        progressShown_ = false;
    }

private:
    SavedArea area_;
    bool progressShown_ = false;
    int32_t total_ = 0;
    int percent_ = 0;
    int barX1_ = 0, barY1_ = 0, barX2_ = 0, barY2_ = 0;
};

GraphicsLevelDialogs graphicsDialogs;

}  // namespace

void InstallLevelDialogs() { SetLevelDialogs(&graphicsDialogs); }
