// Writing the adapters and scripts of the tests, and reading what they left.
#pragma once

#include <filesystem>
#include <string>

#include "support/testkit.h"

namespace testplay {

inline std::string ReadText(const std::string& path) {
    testkit::Bytes bytes = testkit::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

inline void WriteScript(const std::string& path, const std::string& text) {
    testkit::WriteFileBytes(path, testkit::Bytes(text.begin(), text.end()));
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
}

}  // namespace testplay
