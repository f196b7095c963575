#include "view3d/preview3d.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "base/config.h"
#include "editor/editor.h"
#include "editor/view.h"
#include "level/level.h"
#include "view3d/preview3d_motion.h"
#include "view3d/preview3d_things.h"
#include "pictures/palette.h"
#include "platform/video.h"
#include "ui/graphics.h"
#include "ui/help_viewer.h"
#include "ui/input.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kWalkStep = 16;
constexpr double kTurnStep = kPi / 32;
constexpr double kRaiseStep = 8;
constexpr double kRadiansPerPixel = kPi / 640;
constexpr int kPlayer1Start = 1;
constexpr int kHelpColour = 15;
constexpr int kShadowColour = 0;
const char* const kHelpLine = "3D view: arrows/WASD walk, Q/E eye, N noclip, T Things, F1 help, Esc back";

// The colours the view is shown in: the game's first palette as the game
// shows it, without the brightness the editor adds (so that the darkest
// COLORMAP rows are black); the editor's own are put back for the help and
// on leaving.
class ViewColours {
public:
    ViewColours() {
        VideoGetPalette(editor_);
        UseGame();
    }
    ~ViewColours() { UseEditor(); }
    ViewColours(const ViewColours&) = delete;
    ViewColours& operator=(const ViewColours&) = delete;
    void UseGame() { LoadPalette(0, 0); }
    void UseEditor() { VideoSetPalette(editor_); }

private:
    uint8_t editor_[768];
};

// What a frame was drawn for: the view is drawn again only when one of
// these changed, not at every wake (a key's release, the pointer's warp).
struct DrawnFor {
    PreviewCamera camera;
    PreviewThings things;
    bool noclip;
    int width, height;

    bool operator==(const DrawnFor& o) const {
        return camera.x == o.camera.x && camera.y == o.camera.y && camera.z == o.camera.z &&
               camera.angle == o.camera.angle && things.set == o.things.set && things.skill == o.things.skill &&
               noclip == o.noclip && width == o.width && height == o.height;
    }
};

// What the view shows and where from.
struct View {
    PreviewScene scene;
    PreviewWalker walker;
    PreviewThings things;
    std::string note;                // a third line under the two, when not empty
    std::optional<DrawnFor> drawn;   // none: the screen shows something else

    DrawnFor Now() const { return {walker.camera, things, walker.noclip, Screen().width(), Screen().height()}; }
};

// Player 1's start, or nullptr.
const Thing* PlayerStart() {
    for (const Thing& thing : level.things)
        if (thing.type == kPlayer1Start)
            return &thing;
    return nullptr;
}

PreviewWalker StartingWalker(const PreviewScene& scene, PreviewStart start) {
    const Thing* player = start == PreviewStart::PlayerStart ? PlayerStart() : nullptr;
    if (player)
        return WalkerAt(scene, player->x, player->y, player->angle);
    return WalkerAt(scene, ScreenToMapX(view.pointerX), ScreenToMapY(view.pointerY), 90);
}

// The second line: which Things are drawn, and noclip when it is on.
std::string StateLine(const View& shown) {
    std::string line = shown.things.set == PreviewThingSet::All
                           ? "Things: all"
                           : "Things: one player, skill " + std::to_string(shown.things.skill);
    return shown.walker.noclip ? line + ", noclip" : line;
}

void DrawView(PreviewRenderer& renderer, const PreviewAssets& assets, View& shown) {
    if (shown.drawn == shown.Now())
        return;
    shown.drawn = shown.Now();
    Canvas& canvas = Screen();
    renderer.Draw(shown.scene, assets, shown.walker.camera, canvas.pixels(), canvas.width(), canvas.height());
    Viewport old = canvas.getviewport();
    canvas.setviewport(0, 0, canvas.getmaxx(), canvas.getmaxy(), true);
    // Each line over its shadow, to be read on any wall.
    auto text = [&](int row, const char* line) {
        int y = 4 + row * (canvas.textheight("N") + 2);
        SetColor(kShadowColour);
        canvas.outtextxy(5, y + 1, line);
        SetColor(kHelpColour);
        canvas.outtextxy(4, y, line);
    };
    text(0, kHelpLine);
    text(1, StateLine(shown).c_str());
    if (!shown.note.empty())
        text(2, shown.note.c_str());
    canvas.setviewport(old.left, old.top, old.right, old.bottom, old.clip);
}

void ChooseThings(View& shown, PreviewThings things) {
    shown.things = things;
    ChoosePreviewThings(shown.scene, things);
}

// One key's effect; false for Esc, which leaves.
bool HandleKey(View& shown, ViewColours& colours, int key) {
    const PreviewScene& scene = shown.scene;
    PreviewWalker& walker = shown.walker;
    switch (key) {
    case kKeyEsc: return false;
    case kKeyF1:
        colours.UseEditor();
        ShowHelp("VIEW3D", HelpRange::TopicOnly);
        colours.UseGame();
        shown.drawn.reset();
        break;
    case kKeyUp: case 'w': case 'W': WalkerMove(scene, walker, kWalkStep, 0); break;
    case kKeyDown: case 's': case 'S': WalkerMove(scene, walker, -kWalkStep, 0); break;
    case 'a': case 'A': WalkerMove(scene, walker, 0, -kWalkStep); break;
    case 'd': case 'D': WalkerMove(scene, walker, 0, kWalkStep); break;
    case kKeyLeft: WalkerTurn(walker, kTurnStep); break;
    case kKeyRight: WalkerTurn(walker, -kTurnStep); break;
    case kKeyPgUp: case 'q': case 'Q': WalkerRaise(scene, walker, kRaiseStep); break;
    case kKeyPgDn: case 'e': case 'E': WalkerRaise(scene, walker, -kRaiseStep); break;
    case 'n': case 'N':
        walker.noclip = !walker.noclip;
        WalkerSettle(scene, walker);
        break;
    case 't': case 'T': {
        bool all = shown.things.set == PreviewThingSet::All;
        ChooseThings(shown, {all ? PreviewThingSet::OnePlayer : PreviewThingSet::All, shown.things.skill});
        break;
    }
    case '1': case '2': case '3': case '4': case '5':
        ChooseThings(shown, {PreviewThingSet::OnePlayer, key - '0'});
        break;
    default: break;
    }
    return true;
}


void RunView(const PreviewAssets& assets, View& shown) {
    ChooseThings(shown, {PreviewThingSet::OnePlayer, TestPlaySkill(config.testOptions)});
    PreviewRenderer renderer;
    ViewColours colours;
    HidePointer();
    bool running = true;
    while (running) {
        FollowScreenSize();
        int centreX = Screen().width() / 2, centreY = Screen().height() / 2;
        if (!shown.drawn || shown.drawn->width != Screen().width() || shown.drawn->height != Screen().height())
            SetMousePos(centreX, centreY);
        DrawView(renderer, assets, shown);
        WaitForInput();
        int mouseX = centreX, mouseY = centreY;
        ReadMouse(&mouseX, &mouseY, nullptr);
        if (mouseX != centreX) {
            WalkerTurn(shown.walker, (centreX - mouseX) * kRadiansPerPixel);
            SetMousePos(centreX, centreY);
        }
        int key = 0;
        while (running && ReadKey(&key))
            running = HandleKey(shown, colours, key);
    }
    HidePointer();
    auto mapUnit = [](double v) { return static_cast<int16_t>(std::clamp(std::lround(v), -32768L, 32767L)); };
    CentreMapAt(mapUnit(shown.walker.camera.x), mapUnit(shown.walker.camera.y));
    editor.redrawAll = true;
}

}  // namespace

void Preview3d(PreviewStart start) {
    PreviewAssets assets = LoadPreviewAssets(level);
    View shown{BuildPreviewScene(level, assets), {}, {}, "", std::nullopt};
    shown.walker = StartingWalker(shown.scene, start);
    RunView(assets, shown);
}

void Preview3dAt(double x, double y, double heading, const std::string& note) {
    PreviewAssets assets = LoadPreviewAssets(level);
    View shown{BuildPreviewScene(level, assets), {}, {}, note, std::nullopt};
    shown.walker = WalkerAt(shown.scene, x, y, heading);
    RunView(assets, shown);
}

void InstallPreview3d() { editorActions.preview3d = Preview3d; }
