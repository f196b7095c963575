// Lists of object numbers: what the user selected, and what an edit works
// on. Every edit of the model takes its objects in such a list.
#pragma once

#include <iterator>
#include <vector>

// Object numbers (0..65534 and beyond for Things, so never 16-bit), each at
// most once, newest first: the head is the object selected last, the last
// entry the one selected first. Iterating visits the numbers newest first;
// numbers may be changed in place (renumbering).
class SelectionList {
public:
    using iterator = std::vector<int>::reverse_iterator;
    using const_iterator = std::vector<int>::const_reverse_iterator;

    bool empty() const { return items_.empty(); }
    int size() const { return static_cast<int>(items_.size()); }
    // The newest number; the list must not be empty.
    int head() const { return items_.back(); }
    // The oldest number; the list must not be empty.
    int last() const { return items_.front(); }
    iterator begin() { return items_.rbegin(); }
    iterator end() { return items_.rend(); }
    const_iterator begin() const { return items_.rbegin(); }
    const_iterator end() const { return items_.rend(); }

private:
    friend void SelectObject(SelectionList& list, int n);
    friend void UnSelectObject(SelectionList& list, int n);
    friend void ForgetSelection(SelectionList& list);
    std::vector<int> items_;   // oldest first
};

bool IsSelected(const SelectionList& list, int n);
// Puts n at the head; counts one more listed object.
void SelectObject(SelectionList& list, int n);
// Removes n; counts one less per entry removed. A negative number is a
// program error that ends the program.
void UnSelectObject(SelectionList& list, int n);
// Empties the list; counts one less per entry.
void ForgetSelection(SelectionList& list);

// The entries of every list together, as counted by the functions above (the
// map shows it beside the pointer's coordinates); the editor sets it back to
// 0 when it starts afresh and drops its lists without forgetting them.
int ListedObjectCount();
void ResetListedObjectCount();
