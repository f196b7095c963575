#include "ui/name_choosers.h"

#include <cstring>
#include <string>

#include "base/config.h"
#include "base/fatal.h"
#include "ui/graphics.h"
#include "ui/list_select.h"
#include "ui/message_panel.h"
#include "ui/picture_views.h"

ChooserState choosers;

namespace {

constexpr int kChooserRows = 10;

// A chooser's own picture magnification, in force while it is open; a
// browser opened from it may change it.
class ChooserMagnification {
public:
    explicit ChooserMagnification(int16_t& mag) : mag_(mag), saved_(pictures.PictureMag) {
        pictures.PictureMag = mag;
    }
    ~ChooserMagnification() {
        mag_ = pictures.PictureMag;
        pictures.PictureMag = saved_;
    }
    ChooserMagnification(const ChooserMagnification&) = delete;
    ChooserMagnification& operator=(const ChooserMagnification&) = delete;

private:
    int16_t& mag_;
    int16_t saved_;
};

AltChooser BrowserChoice(NameBrowser browser) {
    if (!browser)
        return nullptr;
    return [browser](int, int, int, int, char* text) { return browser(text); };
}

int Choose(int x, int y, int force, const char* prompt, int count, const char* const* names,
           char* text, int picW, int picH, const PreviewHook& preview, NameBrowser browser) {
    std::string title = std::string(prompt ? prompt : "") + "   F1=Browse";
    return ListSelect(x, y, force, 0, title.c_str(), count, names, kChooserRows, text, kNameLength,
                      picW, picH, preview, BrowserChoice(browser));
}

}  // namespace

int ChooseTexture(int x, int y, int force, const char* prompt, int count,
                  const char* const* names, char* text) {
    ChooserMagnification mag(choosers.textureMag);
    // The preview fills the chooser's picture area: no size text below it.
    PreviewHook preview = [](int x1, int y1, int x2, int y2, const char* name) {
        DrawTexture(x1, y1, x2, y2, name, "+");
    };
    return Choose(x, y, force, prompt, count, names, text, 256, 128, preview,
                  choosers.textureBrowser);
}

int ChooseFlat(int x, int y, int force, const char* prompt, int count, const char* const* names,
               char* text) {
    ChooserMagnification mag(choosers.flatMag);
    PreviewHook preview = [](int x1, int y1, int x2, int y2, const char* name) {
        DrawFlat(x1, y1, x2, y2, name, pictures.PictureMag);
    };
    return Choose(x, y, force, prompt, count, names, text, 128, 128, preview, choosers.flatBrowser);
}

void PictureNamesProgress::Start(int total) {
    shown_ = GraphicsScreenUp();
    if (!shown_)
        return;
    int y = graphics.CenterY - 6 * graphics.CharH;
    FlashMessage(-1, y, "Loading %4hd names", static_cast<short>(total));
    x1_ = graphics.CenterX - 10 * graphics.CharW;
    x2_ = graphics.CenterX + 10 * graphics.CharW;
    y1_ = graphics.CenterY - graphics.CharH;
    y2_ = graphics.CenterY + 2 * graphics.CharH;
    RaisedBox(x1_, y1_, x2_, y2_, config.colors[kColorMenu]);
}

void PictureNamesProgress::Step(const char* name, int found) {
    if (!shown_)
        return;
    char text[kNameLength + 1] = {};
    std::memcpy(text, name, kNameLength);
    FillBox(x1_ + 4, y1_ + 4, x2_ - 4, y2_ - 4, 7);
    SetColor(0);
    TextAt(x1_ + graphics.CharW, y1_ + graphics.CharH, " %8s %hd", text, static_cast<short>(found));
}
