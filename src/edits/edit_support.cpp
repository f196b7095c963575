#include "edits/edit_support.h"

#include <algorithm>
#include <cstring>

#include "base/config.h"
#include "edits/objects.h"

namespace {

constexpr int kMaxOverlapTolerance = 4;

// The new number of every object of an array of count objects after the
// marked ones are deleted; -1 for those.
std::vector<int> Renumbering(const std::vector<bool>& deleted) {
    std::vector<int> table(deleted.size(), -1);
    int kept = 0;
    for (size_t i = 0; i < deleted.size(); ++i)
        if (!deleted[i])
            table[i] = kept++;
    return table;
}

void Renumber(std::vector<int>* list, const std::vector<int>& table) {
    if (!list)
        return;
    for (int& n : *list)
        if (n >= 0 && static_cast<size_t>(n) < table.size())
            n = table[static_cast<size_t>(n)];
}

std::vector<bool> Marks(const std::vector<int>& numbers, int count) {
    std::vector<bool> marks(static_cast<size_t>(count), false);
    for (int n : numbers)
        if (n >= 0 && n < count)
            marks[static_cast<size_t>(n)] = true;
    return marks;
}

bool Marked(const std::vector<bool>& marks, uint16_t n) { return n < marks.size() && marks[n]; }

}  // namespace

std::string CountOf(int count, int type) {
    std::string text = std::to_string(count) + " " + ObjectTypeName(type);
    if (count != 1)
        text += type == kObjVertex ? "es" : "s";
    return text;
}

void SetTextureName(char (&field)[8], const char* name) { std::strncpy(field, name, sizeof field); }

int OverlapTolerance() { return std::clamp<int>(config.overlapTolerance, 0, kMaxOverlapTolerance); }

bool RoomFor(const LevelState& level, int lineDefs, int sideDefs, int vertexes, int sectors) {
    return level.lineDefs.count + lineDefs <= kMaxReferencedObjects &&
           level.sideDefs.count + sideDefs <= kMaxReferencedObjects &&
           level.vertices.count + vertexes <= kMaxReferencedObjects &&
           level.sectors.count + sectors <= kMaxReferencedObjects;
}

void DeleteTracked(LevelState& level, int type, const std::vector<int>& numbers, TrackedLists tracked) {
    std::vector<bool> lineDefsGone;
    SelectionList doomed;
    if (type == kObjVertex) {
        std::vector<bool> gone = Marks(numbers, level.vertices.count);
        lineDefsGone.assign(static_cast<size_t>(level.lineDefs.count), false);
        for (int l = 0; l < level.lineDefs.count; ++l)
            lineDefsGone[static_cast<size_t>(l)] =
                Marked(gone, level.lineDefs[l].start) || Marked(gone, level.lineDefs[l].end);
        Renumber(tracked.vertexes, Renumbering(gone));
        for (size_t v = 0; v < gone.size(); ++v)
            if (gone[v])
                SelectObject(doomed, static_cast<int>(v));
    } else {
        lineDefsGone = Marks(numbers, level.lineDefs.count);
        for (size_t l = 0; l < lineDefsGone.size(); ++l)
            if (lineDefsGone[l])
                SelectObject(doomed, static_cast<int>(l));
    }
    Renumber(tracked.lineDefs, Renumbering(lineDefsGone));
    DeleteObjects(level, type, doomed);
}

std::vector<int> NumbersOf(const SelectionList& list) { return std::vector<int>(list.begin(), list.end()); }

void ReplaceList(SelectionList& list, const std::vector<int>& newestFirst, int count) {
    ForgetSelection(list);
    std::vector<bool> taken(static_cast<size_t>(std::max(count, 0)), false);
    std::vector<int> kept;
    for (int n : newestFirst)
        if (n >= 0 && n < count && !taken[static_cast<size_t>(n)]) {
            taken[static_cast<size_t>(n)] = true;
            kept.push_back(n);
        }
    for (auto n = kept.rbegin(); n != kept.rend(); ++n)
        SelectObject(list, *n);
}
