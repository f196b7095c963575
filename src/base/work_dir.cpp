#include "base/work_dir.h"

namespace {
std::string work_dir;
}

const std::string& WorkDir() { return work_dir; }

void SetWorkDir(const std::string& dir) { work_dir = dir; }
