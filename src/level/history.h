// Undo and redo of every change to the level.
//
// The history keeps a copy of the level as it stood after the last recorded
// step. RecordStep compares the level with that copy and keeps, for each of
// the five arrays, the runs of records that differ and the record counts,
// and the level's target when it changed: a step costs memory in proportion
// to what it changed, and nothing has to announce its changes. The editor records a step after every command, so
// every operation (dialogs, builders, checker fixes, find and replace) is
// undoable without code of its own.
//
// A step holds the records of the state that the level does not show at the
// moment: the old records while it is done, the new ones once it is undone.
// Undo and Redo swap them with the level's.
//
// The change flags follow the level, not the commands: after each recorded
// step, Undo and Redo the level counts as changed exactly when its records
// or its target differ from the state last saved (or loaded), and the map when anything but
// its Things differs, or when the saved state's own nodes did not fit it. A
// command that changes nothing leaves them as they were, whatever it set.
//
// The history and every EditScope are of the one level being edited, the
// global `level` of level.h. The model's edits take the level they work on as
// a parameter, but a scope opened around an edit of another level keeps and
// puts back this one, not that.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

// Steps kept at most; the oldest go first. The memory cap below may drop
// more, but never the newest step.
constexpr int kHistorySteps = 1000;
constexpr size_t kHistoryBytes = size_t{128} << 20;

// Forgets every step and takes the level as it stands as the starting point,
// which counts as saved (after loading or creating a level); the map flag as
// it stands says whether that state's nodes fit.
void ResetHistory();

// Names the step being made ("delete 3 LineDefs"); RecordStep takes the name.
// The last name given before the step is recorded wins.
void NameStep(const std::string& label);

// One edit in the making, from the moment it is opened until it commits:
//
//     EditScope edit("split Sector");
//     ... change the level; return early when the edit cannot be made ...
//     edit.Commit();
//
// It keeps the level's five arrays, the change flags and the name of the
// step as they stood when it opened. Going out of scope without Commit (a
// refusal, an early return, an exception) puts them back exactly, so an edit
// that fails halfway leaves nothing of itself. Commit keeps the changes and names the step being made
// after the edit (as NameStep does); the label given to Commit, if any,
// replaces the one given when opened, for names that count what was done.
//
// Scopes nest: an edit made of smaller ones opens its own scope first. An
// inner scope that does not commit takes back only its own changes; the
// outer scope commits last, so its name is the step's. Recording a step is
// still the editor's, after the command: a scope only decides what stays.
class EditScope {
public:
    explicit EditScope(std::string label);
    ~EditScope();
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

    void Commit();
    void Commit(const std::string& label);
    // Puts the level back now, as leaving the scope would (before telling
    // the user why the edit failed, so that nothing shows it half made).
    // Commit and Cancel each end the scope: it does nothing more.
    void Cancel();

private:
    struct Kept;
    std::string label_;
    std::unique_ptr<Kept> kept_;   // the level as opened; gone once committed
};

// Records the changes since the last step as one step, named by NameStep or
// "change", and settles the change flags. False, and nothing recorded, when
// the level did not change. Steps undone before are dropped: they can no
// longer be redone.
bool RecordStep();

// Refuses the edit in the making: it would pass a limit of the format
// (PassedLimit's line is given). The user is told "Level too large to
// save" with the line, once an edit, and the next RecordStep (or Undo, or
// MarkSaved) puts the level back as it stood at the last step instead of
// recording what the edit changed so far: a refused edit changes nothing.
void RefuseEdit(const std::string& limitLine);
// Whether the edit in the making has been refused (until it is dropped).
bool EditRefused();

// What Undo would take back and Redo would do again; "" when nothing.
std::string UndoLabel();
std::string RedoLabel();

// Records pending changes, then takes back the last step. False when there is
// nothing to undo. The caller recomputes what it derives from the level (map
// bounds, selections). Both settle the change flags.
bool Undo();
// Does again the step last taken back. False when there is none.
bool Redo();

// The level as it stands is what its file holds now (after a save): it is
// unchanged, and the map keeps the flag the save leaves it (raised when the
// file's nodes do not fit).
void MarkSaved();

// Whether the state last saved (or loaded) has nodes that do not fit its map.
bool SavedMapChanged();

// The steps kept (done and undone) and the bytes they hold, the copy of the
// level not counted.
int HistorySteps();
size_t HistoryBytes();
