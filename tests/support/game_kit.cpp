#include "support/game_kit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "level/level.h"
#include "level/level_files.h"
#include "platform/files.h"
#include "support/map_lumps.h"

namespace testkit {

const char* const kGameProgram = "/usr/games/chocolate-doom";
const char* const kCrispyProgram = "/usr/games/crispy-doom";
const char* const kNodeBuilder = "/usr/bin/zdbsp";

bool HaveGameAndNodeBuilder() { return FileExists(kGameProgram) && FileExists(kNodeBuilder); }

bool BuildNodes(const std::string& in, const std::string& out, const std::string& log) {
    std::string command = std::string(kNodeBuilder) + " -o '" + out + "' '" + in + "' > '" + log + "' 2>&1";
    return std::system(command.c_str()) == 0;
}

void WriteLevelPwad(const std::string& path) {
    MapData map = LevelMapData();
    map.reject = Bytes(static_cast<size_t>(RejectBytes(level.sectors.count)), 0);
    WadBuilder wad;
    AddLevel(wad, "MAP01", map);
    wad.write(path);
}

std::string GameOutput(const std::string& work, const std::string& iwad, const std::string& pwad,
                       const std::string& warp, const char* program) {
    std::string out = work + "game.out";
    std::string command = "cd '" + work + "' && HOME='" + work +
                          "' SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 5 stdbuf -oL -eL " +
                          program + " -iwad '" + iwad + "' -file '" + pwad + "' -warp " + warp +
                          " -nosound -nomusic > '" + out + "' 2>&1; echo status $? >> '" + out + "'";
    if (std::system(command.c_str()) != 0)
        return "the game could not be run: " + command;
    std::stringstream text;
    text << std::ifstream(out).rdbuf();
    return text.str();
}

void ExpectGameStarts(const std::string& work, const std::string& iwad, const std::string& pwad,
                      const std::string& warp) {
    std::string s = GameOutput(work, iwad, pwad, warp);
    EXPECT_TRUE(s.find("ST_Init") != s.npos && s.find("status 124") != s.npos && s.find("Error") == s.npos &&
                s.find("PadRejectArray") == s.npos)
        << s;
}

}  // namespace testkit
