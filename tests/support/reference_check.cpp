#include "support/reference_check.h"

#include "level/level.h"

namespace testkit {

namespace {

constexpr size_t kShownFaults = 8;

void Check(std::vector<std::string>& faults, const char* kind, int n, const char* field,
           uint16_t ref, const char* target, int32_t count, bool noneAllowed) {
    if (ref < count || (noneAllowed && ref == kNoReference))
        return;
    faults.push_back(std::string(kind) + " " + std::to_string(n) + ": " + field + " " + target +
                     " " + std::to_string(ref) + " of " + std::to_string(count));
}

}  // namespace

std::vector<std::string> DanglingReferences() {
    std::vector<std::string> faults;
    const int32_t vertexes = level.vertices.count, sides = level.sideDefs.count;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        Check(faults, "LineDef", l, "start", ld.start, "Vertex", vertexes, false);
        Check(faults, "LineDef", l, "end", ld.end, "Vertex", vertexes, false);
        Check(faults, "LineDef", l, "first", ld.sideDef1, "SideDef", sides, true);
        Check(faults, "LineDef", l, "second", ld.sideDef2, "SideDef", sides, true);
    }
    for (int s = 0; s < level.sideDefs.count; ++s)
        Check(faults, "SideDef", s, "its", level.sideDefs[s].sector, "Sector", level.sectors.count,
              true);
    return faults;
}

::testing::AssertionResult ReferencesSound() {
    std::vector<std::string> faults = DanglingReferences();
    if (faults.empty())
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    result << faults.size() << " dangling references:";
    for (size_t i = 0; i < faults.size() && i < kShownFaults; ++i)
        result << "\n  " << faults[i];
    return result;
}

}  // namespace testkit
