// The edit dialogs: every field of the selected Things, Vertexes, LineDefs
// with their SideDefs, and Sectors, changed for the whole selection from the
// values of its first object; and the entry of a reference to another object
// (the object number entry of J is the editor's own).
//
// The dialogs change the level in place; the editor records each opening as
// one undo step (named here).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/selection.h"

// Connects the edit dialog to the editor's table.
void InstallEditDialogs();

// The dialog of the current EditMode on the objects; the head of the list is
// the object whose values are shown. directItem 0 shows the menu; d > 0
// performs item d + 1 of the LineDef or Sector menu once (1: the first
// SideDef or the ceiling flat, 2: the second SideDef or the floor flat). An
// empty list does nothing.
void EditObjects(int x, int y, SelectionList& objects, int directItem);

// A number of an object of the kind, with the warning that a wrong number may
// crash the game: -1 (only with allowDelete) or 0 up to the highest number of
// the kind. Returns the value left in the entry (value itself when the entry
// was left with Esc); confirmed, when given, tells whether it was left with
// Enter. x or y below 0 centres the box on that axis.
int CrossReferenceEntry(int x, int y, int kind, bool allowDelete, int value,
                        bool* confirmed = nullptr);

// The tag last confirmed in the LineDef or Sector tag entry, -1 at first.
// It lasts for the run.
extern int lastTag;

// The dialogs of each mode (EditObjects chooses).
void EditThings(int x, int y, SelectionList& things);
void EditVertexes(SelectionList& vertexes);
void EditLineDefs(int x, int y, SelectionList& lineDefs, int directItem);
void EditSectors(SelectionList& sectors, int directItem);

// The tag entry of both menus: titled title (with the last tag), labelled
// with the first free tag; 0 to 999 from value. True, with the value in tag
// and lastTag, when confirmed.
bool TagEntry(const char* title, int value, int& tag);

// The LineDef, SideDef and Sector menus: with directItem d > 0, item d + 1
// is performed once; otherwise the menu (its title and items made afresh
// each time, the last item chosen preselected) is shown, and shown again
// after each item while "Menu Nesting" is on, until it is left with Esc or
// an item outside its range, or perform returns false.
struct EditMenu {
    int x;
    const char* helpTopic;
    std::function<std::string()> title;
    std::function<std::vector<std::string>()> items;
    std::function<bool(int item)> perform;
};
void RunEditMenu(const EditMenu& menu, int y, int directItem);
