// Running the launcher, the adapters and hand-off scripts from the tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "base/fatal.h"
#include "support/testkit.h"
#include "source_paths.h"

namespace testplay {

inline std::string ReadText(const std::string& path) {
    testkit::Bytes bytes = testkit::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

inline void WriteScript(const std::string& path, const std::string& text) {
    testkit::WriteFileBytes(path, testkit::Bytes(text.begin(), text.end()));
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
}

struct Ended {
    int code;              // exit code (-1: did not end)
    std::string output;    // the shell's output, or the program's exit message
};

// Runs a shell command in dir, collecting both of its outputs.
inline Ended Shell(const testkit::ScratchDir& dir, const std::string& command) {
    std::string out = dir.file("run.out");
    int raw = std::system(("cd '" + dir.path() + "' && { " + command + "; } > '" + out + "' 2>&1").c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(out)};
}

inline Ended ExitOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const ProgramExit& e) {
        return {e.code(), e.what()};
    }
    return {-1, ""};
}

inline bool HaveZdbsp() { return std::system("PATH=\"$PATH:/usr/games\" command -v zdbsp > /dev/null") == 0; }

}  // namespace testplay
