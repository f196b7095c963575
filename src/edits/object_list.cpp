#include "edits/object_list.h"

#include <algorithm>

#include "base/fatal.h"

namespace {

int listed = 0;

}  // namespace

bool IsSelected(const SelectionList& list, int n) {
    for (int m : list)
        if (m == n)
            return true;
    return false;
}

void SelectObject(SelectionList& list, int n) {
    list.items_.push_back(n);
    ++listed;
}

void UnSelectObject(SelectionList& list, int n) {
    if (n < 0)
        FatalError("UnSelectObject %d", n);
    auto& items = list.items_;
    auto kept = std::remove(items.begin(), items.end(), n);
    listed -= static_cast<int>(items.end() - kept);
    items.erase(kept, items.end());
}

void ForgetSelection(SelectionList& list) {
    listed -= list.size();
    list.items_.clear();
}

int ListedObjectCount() { return listed; }

void ResetListedObjectCount() { listed = 0; }
