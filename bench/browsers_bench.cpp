// Texture browser speed on Freedoom 2: a whole page of composed textures at
// half size (the first page, 40 textures at 640 x 480) and at full size, on
// the headless screen; each run draws the page and reads one Esc. Prints the
// processor time per page.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "base/config.h"
#include "base/flavour.h"
#include "base/work_dir.h"
#include "pictures/namelists.h"
#include "platform/console.h"
#include "platform/video.h"
#include "ui/browsers.h"
#include "ui/graphics.h"
#include "wad/master.h"

namespace {

double CpuMilliseconds() { return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Milliseconds of processor time per page, over a second of pages.
double PerPage(const char* start) {
    int pages = 0;
    double begin = CpuMilliseconds(), now = begin;
    std::string error;
    while (now - begin < 1000.0) {
        HeadlessLoadScript("key Esc", error);
        char chosen[kChosenNameSize];
        BrowseTextures(start, chosen);
        ++pages;
        now = CpuMilliseconds();
    }
    return (now - begin) / pages;
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
    SetMenuBarMode(MenuBarMode::Shown);
    BuildTextureNames();

    std::printf("texture browser page at half size: %7.3f ms (target 20 ms)\n", PerPage("STONE"));
    browsers.textureStep = 1;
    std::printf("texture browser page at full size: %7.3f ms (target 20 ms)\n", PerPage("STONE"));
    CloseGraphics();
    return 0;
}
