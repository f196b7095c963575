// Picture drawing speed on Freedoom 2: 256 x 128 composed textures (the
// browsers and the texture chooser's preview), a sprite, a flat, and a whole
// page of the texture browser (target: under 20 ms), on the headless screen.
// Prints the processor time per draw.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "platform/console.h"
#include "platform/video.h"
#include "base/config.h"
#include "base/flavour.h"
#include "base/work_dir.h"
#include "pictures/namelists.h"
#include "ui/browsers.h"
#include "ui/graphics.h"
#include "ui/picture_views.h"
#include "wad/master.h"

namespace {

double CpuMilliseconds() { return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Runs draw until a second of processor time has passed; ms per call.
template <typename Draw>
double PerDraw(Draw draw) {
    int calls = 0;
    double start = CpuMilliseconds(), now = start;
    while (now - start < 1000.0) {
        for (int i = 0; i < 20; ++i, ++calls)
            draw();
        now = CpuMilliseconds();
    }
    return (now - start) / calls;
}

void ReportTexture(const char* name) {
    TextureInfo info;
    if (!FindTexture(name, &info)) {
        std::printf("%-10s missing\n", name);
        return;
    }
    double ms = PerDraw([&] { DrawTexture(100, 100, 355, 227, name, "+"); });
    std::printf("texture %-8s %3dx%-3d %2d patches: %7.3f ms per draw\n", name, info.width,
                info.height, info.patchCount, ms);
}

// The texture browser's first page from STONE, drawn and left with Esc.
void BrowsePage() {
    std::string error;
    HeadlessLoadScript("key Esc", error);
    char chosen[kChosenNameSize];
    BrowseTextures("STONE", chosen);
}

}  // namespace

int main() {
    const std::string doom2 = "/usr/share/games/doom/freedoom2.wad";
    if (!std::filesystem::exists(doom2)) {
        std::printf("Freedoom is not installed: nothing to measure\n");
        return 0;
    }
    setenv("ZARN_VIDEO", "headless", 1);
    FILE* nowhere = std::fopen("/dev/null", "w+");
    ConsoleUsePlainStreams(nowhere, nowhere);
    SetFlavour(Flavour::Doom);
    ResetConfig();
    SetWorkDir(std::filesystem::temp_directory_path().string() + "/");
    SetField(config.iwadName, doom2.c_str());
    OpenIwad(config.iwadName);
    InitGraphics(GraphicsPalette::Game);
    SetMenuBarMode(MenuBarMode::Hidden);

    for (const char* name : {"STONE", "GRAY7", "COMPTALL", "GSTONE1", "PIPE1"})
        ReportTexture(name);
    pictures.pictureMag = 0;
    std::printf("texture STONE at half size:           %7.3f ms per draw\n",
                PerDraw([] { DrawTexture(100, 100, 355, 227, "STONE", "+"); }));
    pictures.pictureMag = 1;
    std::printf("sprite CYBRA1 at double size:         %7.3f ms per draw\n", PerDraw([] {
                    DrawPicture(100, 100, -1, -1, nullptr, "CYBRA1", 0, 0, 2, 8,
                                PictureAnchor::Corner);
                }));
    std::printf("flat FLOOR0_1 at double size:         %7.3f ms per draw\n",
                PerDraw([] { DrawFlat(100, 100, 227, 227, "FLOOR0_1", 2); }));
    SetMenuBarMode(MenuBarMode::Shown);
    BuildTextureNames();
    std::printf("texture browser page at half size:    %7.3f ms per page\n", PerDraw(BrowsePage));
    browsers.textureStep = 1;
    std::printf("texture browser page at full size:    %7.3f ms per page\n", PerDraw(BrowsePage));
    CloseGraphics();
    return 0;
}
