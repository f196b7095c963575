#include "base/work_dir.h"

namespace {
std::string workDir;
}

const std::string& WorkDir() { return workDir; }

void SetWorkDir(const std::string& dir) { workDir = dir; }
