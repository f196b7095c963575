// The real program started from a shell, as users and scripts start it.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/testkit.h"
#include "source_paths.h"

namespace shelltest {

inline std::string ReadText(const std::string& path) {
    testkit::Bytes bytes = testkit::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

inline void WriteText(const std::string& path, const std::string& text) {
    testkit::WriteFileBytes(path, testkit::Bytes(text.begin(), text.end()));
}

struct Ended {
    int code;   // the exit code (-1: killed)
    std::string out, err;
};

// Runs brel in dir with the options, the shell input and the environment
// settings given, without a display; with a script of events it runs
// headless on that script.
inline Ended RunBrel(const testkit::ScratchDir& dir, const std::string& options, const std::string& input,
                     const std::string& script = "", const std::string& environment = "") {
    WriteText(dir.file("input"), input);
    WriteText(dir.file("script"), script);
    std::string command = "cd '" + dir.path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                          "-u ZARN_VIDEO -u ZARN_SCRIPT " +
                          (script.empty() ? "" : "ZARN_VIDEO=headless ZARN_SCRIPT='" + dir.file("script") + "' ") + environment +
                          " " ZARN_BINARY_DIR "/brel " + options + " < input > out 2> err";
    int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(dir.file("out")), ReadText(dir.file("err"))};
}

}  // namespace shelltest
