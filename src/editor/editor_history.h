// The editor's side of undo, redo and crash recovery: a step of the level's
// history after every command, the undo and redo keys, the recovery file kept
// while there are unsaved changes, and the offer to restore one that a run
// which died left behind.
#pragma once

#include <cstdint>
#include <string>

#include "level/recovery.h"

// Editing time between two writes of the recovery file.
constexpr int kRecoveryPeriodMs = 30000;

// What the history keeps of the editing session.
struct EditorHistoryState {
    int64_t lastRecoveryWrite = -1;   // clock time of the last write; -1 none yet
    bool recoveryWritten = false;     // this session wrote the recovery file
    bool unwritten = false;           // steps recorded since the last write
    bool restoring = false;           // the user took the offer: restore on load
    RecoveryInfo offered;             // the recovery file last offered
    std::string message;              // the status message of the last undo or redo
};

extern EditorHistoryState editorHistory;

// After each command and each pass of the main loop that found no key (not
// while a drag goes on): records the level's changes as one undo step. Then
// keeps the recovery file: written when steps were recorded since its last
// write and that write is a recovery period old, removed once the level is as
// saved again. Cheap when nothing changed.
void EndOfCommand();

// Writes the recovery file when it is due, whatever waits for the user: the
// editor's background work while it runs (a failure is told from the map).
void WriteRecoveryWhenDue();

// Milliseconds until the recovery file is due to be written (0 when it is
// due now), or -1 when no change waits to be written: the idle editor wakes
// for it.
int64_t RecoveryWriteDueMs();

// Ctrl-Z undoes the last step; Ctrl-Y and Ctrl-Shift-Z redo. Beeps when
// there is nothing to undo or redo, or while a drag goes on.
int KeyUndo(int key);
constexpr int kKeyCtrlY = 0x19;
constexpr int kKeyCtrlZ = 0x1A;

// The Edit menu's texts for the two entries: "Undo delete 3 LineDefs".
std::string UndoMenuText();
std::string RedoMenuText();

// Before a level is chosen: tells of damaged recovery files set aside, and
// when a session that died left unsaved changes for this IWAD (those of the
// level asked for first, else the newest), asks "Restore unsaved changes of
// MAP12 from 20:14?". True, with that level's episode and map, when the user
// wants them back (StartHistory then restores them); no removes the file and
// leaves the level asked for as it was.
bool OfferRecovery(int16_t& episode, int16_t& map);

// The loaded level becomes the start of the history, unchanged; when the user
// took the offer, the recovered changes are laid over it as the first step
// (the change flags then say how they differ), or the user is told why not.
void StartHistory();

// Leaving the editor normally: the recovery file goes.
void EndHistory();
