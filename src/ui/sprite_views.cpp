#include "ui/sprite_views.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "base/config.h"
#include "base/flavour.h"
#include "pictures/namelists.h"
#include "pictures/picture.h"
#include "platform/video.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/list_select.h"
#include "ui/message_panel.h"
#include "ui/picture_views.h"
#include "ui/toolkit.h"
#include "wad/master.h"

SpriteViewState spriteViews;

namespace {

constexpr int kBoxBackground = 8;   // logical colour around a sprite
constexpr int kViewerRows = 34;
constexpr int kViewerPreviewW = 540, kViewerPreviewH = 400;
constexpr int kAnimationMag = 2;
constexpr int kFirstFrameMs = 5000;
constexpr int kFrameMs = 350;
constexpr int kPollMs = 20;          // between the polls of an animation
constexpr int kSaverFrameMs = 60;
constexpr int kEntryHoldMs = 2000;
constexpr int kShowCycle = 15;

// True when a key waits or a mouse button was pressed (neither is taken).
bool UserActed() {
    if (KeyWaiting())
        return true;
    int buttons = 0;
    ReadButtons(&buttons);
    return buttons != 0 || input.latchedButtons != 0;
}

// Waits ms or until the user acts: true when the user acted.
bool WaitOrAct(int ms) {
    int64_t end = PlatformMilliseconds() + ms;
    while (PlatformMilliseconds() < end) {
        if (UserActed())
            return true;
        Delay(kPollMs);
    }
    return UserActed();
}

// The largest magnification (1 or a shrinking one) at which a picture of the
// size fits into a box of the size.
int FittingMag(int width, int height, int boxW, int boxH) {
    int mag = 1;
    while (mag > -30 && (ScaledSize(width, mag) > boxW || ScaledSize(height, mag) > boxH))
        --mag;
    return mag;
}

// A picture lump's size from its header; false when there is no such lump.
bool PictureSize(const char* name, int& width, int& height) {
    Picture picture;
    if (!ReadPicture(name, picture))
        return false;
    width = picture.width;
    height = picture.height;
    return true;
}

// The viewers' preview: the picture at its corner with its size below.
void PreviewPicture(int x1, int y1, int x2, int y2, const char* name) {
    int width = 0, height = 0;
    if (KeyWaiting())
        return;
    FillBox(x1, y1, x2, y2, kBoxBackground);
    if (!PictureSize(name, width, height))
        return;
    DrawPicture(x1, y1, x2, y2, nullptr, name, 0, 0, toolkit.magnify, kBoxBackground,
                PictureAnchor::Corner);
    DrawSizeText(x1, y2 + 3, width, height);
}

// Tells the user how far the picture list has got.
class PictureListProgress : public NameListProgress {
public:
    void Start(int total) override {
        x_ = graphics.maxX / 2 - 12 * graphics.charW;
        y_ = graphics.maxY / 2 - 4 * graphics.lineH;
        FlashMessage(kCentred, y_ - 4 * graphics.charH, "Loading %4hd names", static_cast<short>(total));
        RaisedBox(x_, y_, x_ + 24 * graphics.charW, y_ + 2 * graphics.charH + 4, config.colors[kColorMenu]);
    }
    void Step(const char* name, int found) override {
        FillBox(x_ + 4, y_ + 4, x_ + 24 * graphics.charW - 4, y_ + 2 * graphics.charH, 7);
        SetColor(0);
        TextAt(x_ + 4, y_ + 6, " %8.8s %hd", name, static_cast<short>(found));
    }

private:
    int x_ = 0, y_ = 0;
};

// A viewer: the list chooser over names on a cleared whole screen.
void RunViewer(int x, int y, const char* title, const char* start, const NameList& names, int& mag) {
    char text[kNameLength + 1] = {};
    std::snprintf(text, sizeof text, "%.8s", start && start[0] ? start : names.count() ? names[0] : "");
    ListSelectOptions options;
    options.save = WindowSave::Always;
    options.sizeable = true;
    options.picW = kViewerPreviewW;
    options.picH = kViewerPreviewH;
    options.preview = PreviewPicture;
    int oldMag = toolkit.magnify;
    toolkit.magnify = mag;
    ListSelect(x, y, title, names.count(), names.names(), kViewerRows, text, kNameLength, options);
    mag = toolkit.magnify;
    toolkit.magnify = oldMag;
}

void StartViewer() {
    SetMenuBarMode(MenuBarMode::Hidden);
    ClearScreen();
}

// The frames of the level chooser's animation; a frame the WAD files lack
// is looked up as another rotation of it, or skipped.
std::vector<std::string> AnimationFrames() {
    struct Run {
        const char* sprite;
        const char* frames;
    };
    static const Run kHeretic[] = {
        {"IMPX", "ABCABCDEFGH"}, {"MUMM", "ABCDABCDEFGH"}, {"KNIG", "ABCDABCDEFGH"},
        {"WZRD", "ABABCDEFGH"}, {"CHKN", "ABABCDEFGHIJ"}, {"SRCR", "ABCDEFGHIJ"},
        {"BEAS", "ABCDEFGHIJK"}, {"SNKE", "ABCDEFGHIJ"}, {"CLNK", "ABCDEFGHIJ"},
        {"HEAD", "ABCDEFGH"}};
    static const Run kDoom[] = {
        {"TROO", "ABCDEFGHIJKLM"}, {"POSS", "ABCDEFGHIJKL"}, {"SARG", "ABCDEFGHIJKLMN"},
        {"HEAD", "ABCDEFGHIJKL"}, {"SKUL", "ABCDEFGHIJK"}, {"BOSS", "ABCDEFGHIJKLMNO"},
        {"SPOS", "ABCDEFGHIJKLMNO"}, {"CPOS", "ABCDEFGHIJKLMNOPQRST"}};
    std::vector<std::string> frames;
    auto add = [&frames](const Run* begin, const Run* end) {
        for (const Run* run = begin; run != end; ++run)
            for (const char* f = run->frames; *f; ++f)
                frames.push_back(std::string(run->sprite) + *f + '1');
    };
    if (IsHeretic())
        add(std::begin(kHeretic), std::end(kHeretic));
    else
        add(std::begin(kDoom), std::end(kDoom));
    return frames;
}

// Draws sprite frame name with its offsets around the anchor point (ax, ay)
// of the box (its feet there), clipped to the box.
void DrawFrame(int x1, int y1, int x2, int y2, const char* name, int mag, int ax, int ay) {
    char lump[9];
    if (!FindSpriteLump(name, lump))
        return;
    Picture picture;
    if (!ReadPicture(lump, picture) || picture.bytes.size() < 8)
        return;
    int left = static_cast<int16_t>(picture.bytes[4] | picture.bytes[5] << 8);
    int top = static_cast<int16_t>(picture.bytes[6] | picture.bytes[7] << 8);
    Image image = FilledImage(x2 - x1 + 1, y2 - y1 + 1, static_cast<uint8_t>(MapColor(kBoxBackground)));
    // The picture's corner in picture pixels of the box.
    int dx = ax / std::max(mag, 1) - left;
    int dy = ay / std::max(mag, 1) - top;
    DrawPictureColumns(picture, image, dx, dy, mag);
    PointerGuard guard;
    Screen().putimage(x1, y1, image, kCopyPut);
}

// --- The sprite show ----------------------------------------------------------

struct ShowEntry {
    const char* name;
    int x, y;   // on a 640 x 480 design grid
    int mag;
};

const ShowEntry kHereticShow[24] = {
    {"IMPXA1", 40, 300, 1},  {"MUMMA1", 260, 300, 1}, {"KNIGA1", 480, 290, 1},
    {"WZRDA1", 40, 290, 1},  {"CHKNA1", 280, 330, 1}, {"SRCRA1", 460, 240, 1},
    {"BEASA1", 40, 280, 1},  {"SNKEA1", 270, 290, 1}, {"CLNKA1", 470, 290, 1},
    {"HEADA1", 30, 260, 1},  {"MNTRA1", 250, 240, 1}, {"IMPXF1", 480, 300, 1},
    {"KNIGE1", 40, 290, 1},  {"MUMMF1", 260, 300, 1}, {"M_HTIC", 180, 20, 1},
    {"TRCHA0", 20, 40, 1},   {"TRCHA0", 590, 40, 1},  {"WTRHA0", 90, 150, 1},
    {"WTRHA0", 530, 150, 1}, {"CHDLA0", 300, 180, 1}, {"SKH1A0", 10, 420, 1},
    {"SKH1A0", 600, 420, 1}, {"EGGCA0", 200, 430, 1}, {"AMG1A0", 420, 430, 1}};

const ShowEntry kDoomShow[24] = {
    {"TROOA1", 40, 300, 1},  {"POSSA1", 260, 300, 1}, {"SARGA1", 480, 290, 1},
    {"HEADA1", 40, 260, 1},  {"SKULA1", 280, 330, 1}, {"BOSSA1", 460, 240, 1},
    {"SPOSA1", 40, 300, 1},  {"CPOSA1", 270, 290, 1}, {"PAINA1", 470, 260, 1},
    {"FATTA1", 30, 260, 1},  {"SKELA1", 250, 240, 1}, {"BSPIA1", 480, 280, 1},
    {"VILEA1", 40, 240, 1},  {"BOS2A1", 260, 260, 1}, {"M_DOOM", 220, 20, 1},
    {"TREDA0", 20, 40, 1},   {"TREDA0", 590, 40, 1},  {"CANDA0", 150, 190, 1},
    {"CANDA0", 480, 190, 1}, {"COLUA0", 310, 170, 1}, {"BON1A0", 10, 430, 1},
    {"BON1A0", 600, 430, 1}, {"SOULA0", 200, 420, 1}, {"MEGAA0", 420, 420, 1}};

void DrawShowEntry(Image& image, const ShowEntry& entry, int mag) {
    char lump[9];
    if (!FindSpriteLump(entry.name, lump))
        return;
    int x = entry.x * image.width / 640, y = entry.y * image.height / 480;
    DrawPicture(0, 0, image.width - 1, image.height - 1, &image, lump, x / mag, y / mag, mag,
                kColorBackGround, PictureAnchor::Corner);
}

// One moving sprite of the screen saver.
struct Mover {
    double x, y, vx, vy;
};

void ScreenSaver() {
    PointerGuard guard;
    SetMenuBarMode(MenuBarMode::Hidden);
    ClearScreen();
    std::mt19937 random(static_cast<unsigned>(std::time(nullptr)));
    std::uniform_real_distribution<double> speed(2.0, 7.0);
    const int w = graphics.maxX + 1, h = graphics.maxY + 1;
    const bool heretic = IsHeretic();
    const char* monster = heretic ? (master.gameStyle == kStyleEpisodes ? "SRCR" : "HEAD") : "HEAD";
    const char* shot = heretic ? "EGGMA0" : "BAL1A0";
    const char* walker = heretic ? "CHKN" : "SKUL";
    Mover egg{0, h * 0.3, speed(random), 0};
    Mover chicken{w * 0.5, h * 0.7, speed(random), -speed(random)};
    const int side = 160;
    for (int pass = 0; !WaitOrAct(kSaverFrameMs); ++pass) {
        char name[8];
        std::snprintf(name, sizeof name, "%s%c%d", monster, 'A' + pass / 8 % 2, pass % 8 + 1);
        DrawFrame(w / 2 - side / 2, h / 4 - side / 2, w / 2 + side / 2, h / 4 + side / 2, name, 1,
                  side / 2, side - 10);
        egg.x += egg.vx;
        if (egg.x > w)
            egg = {0, static_cast<double>(random() % std::max(1, h - 40)), speed(random), 0};
        DrawFrame(static_cast<int>(egg.x), static_cast<int>(egg.y), static_cast<int>(egg.x) + 39,
                  static_cast<int>(egg.y) + 39, shot, 1, 20, 30);
        chicken.x += chicken.vx;
        chicken.y += chicken.vy;
        chicken.vy += 0.5;
        if (chicken.y > h - 60) {
            chicken.y = h - 60;
            chicken.vy = -speed(random) * 2;
        }
        if (chicken.x < 0 || chicken.x > w - 60)
            chicken.vx = chicken.x < 0 ? speed(random) : -speed(random);
        std::snprintf(name, sizeof name, "%s%c1", walker, 'A' + pass % 2);
        DrawFrame(static_cast<int>(chicken.x), static_cast<int>(chicken.y), static_cast<int>(chicken.x) + 59,
                  static_cast<int>(chicken.y) + 59, name, 1, 30, 55);
    }
    ClearScreen();
}

void EntryScene() {
    int& i = spriteViews.showIndex;
    int limit;
    if (master.gameStyle == kStyleEpisodes) {
        if (i > 6)
            i = 0;
        limit = 6;
    } else {
        if (i == 6)
            i = 9;
        limit = 12;
    }
    const ShowEntry* table = IsHeretic() ? kHereticShow : kDoomShow;
    int larger = std::clamp<int>(config.videoMode, 1, 4) - 1;
    Image image = FilledImage(graphics.screenMaxX + 1, graphics.screenMaxY + 1,
                              static_cast<uint8_t>(MapColor(config.colors[kColorBackGround])));
    for (int k : {i, i + 1, i + 2})
        DrawShowEntry(image, table[k], table[k].mag + larger);
    for (int k = 14; k < 24; ++k)
        DrawShowEntry(image, table[k], table[k].mag + larger);
    PointerGuard guard;
    SetMenuBarMode(MenuBarMode::Hidden);
    Screen().putimage(0, 0, image, kCopyPut);
    if (i != limit)
        return;
    Delay(kEntryHoldMs);
    ScreenSaver();
}

}  // namespace

int DrawSpriteBox(int x1, int y1, int x2, int y2, const char* name) {
    PointerGuard guard;
    FillBox(x1, y1, x2, y2, kBoxBackground);
    char lump[9];
    int width = 0, height = 0;
    if (!FindSpriteLump(name, lump) || !PictureSize(lump, width, height))
        return kNotDrawn;
    int mag = FittingMag(width, height, x2 - x1 + 1, y2 - y1 + 1);
    return DrawPicture((x1 + x2 + 1) / 2, (y1 + y2 + 1) / 2, -1, -1, nullptr, lump, 0, 0, mag,
                       kBoxBackground, PictureAnchor::Centre);
}

void SpriteViewer(int x, int y, const char* title, const char* start) {
    NameList names;
    BuildSpriteNames(names);
    StartViewer();
    RunViewer(x, y, title, start, names, spriteViews.spriteMag);
    SetMenuBarMode(MenuBarMode::Shown);
}

void PictureViewer(int x, int y, const char* title, const char* start) {
    NameList names;
    StartViewer();
    PictureListProgress progress;
    BuildPictureNames(names, &progress);
    ClearScreen();
    RunViewer(x, y, title, start, names, spriteViews.pictureMag);
    SetMenuBarMode(MenuBarMode::Shown);
}

void MissionAnimation(int x1, int y1, int x2, int y2, const char* name) {
    if (!name || !name[0])
        return;
    std::vector<std::string> frames = AnimationFrames();
    int ms = kFirstFrameMs;
    int ax = (x2 - x1 + 1) / 2, ay = (y2 - y1 + 1) * 7 / 8;
    for (;;) {
        int& at = spriteViews.missionFrame;
        if (at >= static_cast<int>(frames.size()))
            at = 0;
        DrawFrame(x1, y1, x2, y2, frames[static_cast<size_t>(at)].c_str(), kAnimationMag, ax, ay);
        if (WaitOrAct(ms))
            return;
        ++at;
        ms = kFrameMs;
    }
}

void SpriteShow(SpriteShowStyle style) {
    bool menuBar = graphics.menuBarShown;
    if (style == SpriteShowStyle::EntryScene)
        EntryScene();
    else
        ScreenSaver();
    SetMenuBarMode(menuBar ? MenuBarMode::Shown : MenuBarMode::Hidden);
    FlushKeys(0);
    spriteViews.showIndex = (spriteViews.showIndex + 3) % kShowCycle;
}
