// The working directory: the directory the program was started in, with "/"
// appended. The configuration file and the hand-off script live there, and
// file names given without a directory are completed with it.
#pragma once

#include <string>

const std::string& WorkDir();
void SetWorkDir(const std::string& dir);

// The working directory of a start from the desktop's menu, where no one
// chose a directory: the program's own folder of the user's data directory,
// named as the program ("brel", "zarn"), with "/" appended. The data
// directory is XDG_DATA_HOME when it holds an absolute path (a relative one
// is ignored, as the XDG rules say), else ".local/share" in HOME. "" when
// neither gives an absolute path.
std::string DesktopWorkDir(const std::string& xdgDataHome, const std::string& home,
                           const std::string& program);
