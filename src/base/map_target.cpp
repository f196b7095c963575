#include "base/map_target.h"

#include <array>
#include <cctype>

namespace {

struct TargetText {
    const char* name;
    const char* keyword;
};

constexpr std::array<TargetText, kMapTargetCount> kTargets = {{
    {"DOOM/DOOM II", ""},
    {"Limit-removing", "vanilla"},
    {"Boom", "boom"},
    {"MBF21", "mbf21"},
}};

bool SameWord(const std::string& text, const char* word) {
    size_t i = 0;
    for (; word[i] != '\0'; ++i) {
        if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
    }
    return i == text.size();
}

}  // namespace

const char* MapTargetName(MapTarget target) { return kTargets[static_cast<int>(target)].name; }

const char* CompLevelKeyword(MapTarget target) { return kTargets[static_cast<int>(target)].keyword; }

std::optional<MapTarget> TargetOfCompLevel(const std::string& lumpText) {
    if (lumpText.empty()) return std::nullopt;
    for (int i = 1; i < kMapTargetCount; ++i) {
        if (SameWord(lumpText, kTargets[i].keyword)) return static_cast<MapTarget>(i);
    }
    if (SameWord(lumpText, "mbf")) return MapTarget::Boom;
    return std::nullopt;
}
