#include "base/work_dir.h"

namespace {
std::string workDir;

std::string WithSlash(std::string dir) { return dir.back() == '/' ? dir : dir + '/'; }

bool Absolute(const std::string& dir) { return !dir.empty() && dir[0] == '/'; }
}

const std::string& WorkDir() { return workDir; }

void SetWorkDir(const std::string& dir) { workDir = dir; }

std::string DesktopWorkDir(const std::string& xdgDataHome, const std::string& home,
                           const std::string& program) {
    if (Absolute(xdgDataHome))
        return WithSlash(xdgDataHome) + program + "/";
    if (Absolute(home))
        return WithSlash(home) + ".local/share/" + program + "/";
    return std::string();
}
