#include "editor/editor_history.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "editor/editor.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "level/history.h"
#include "level/level.h"
#include "level/recovery.h"
#include "platform/keys.h"
#include "platform/video.h"
#include "ui/input.h"
#include "ui/message_box.h"
#include "wad/master.h"

EditorHistoryState editorHistory;

namespace {

void WriteRecovery() {
    std::string error;
    if (!WriteRecoveryFile(error)) {
        editorHistory.message = "Unsaved changes not kept: " + error;
        ShowEditorMessage(editorHistory.message.c_str());
    }
    editorHistory.recoveryWritten = true;
    editorHistory.unwritten = false;
    editorHistory.lastRecoveryWrite = PlatformMilliseconds();
}

std::string MenuText(const char* verb, const std::string& label, const char* key) {
    std::string text = std::string(verb) + (label.empty() ? "" : " " + label);
    if (text.size() < 17)
        text.resize(17, ' ');
    return text + " " + key;
}

// "20:14" today, "3 Dec 20:14" on another day.
std::string WhenText(int64_t seconds) {
    std::time_t when = static_cast<std::time_t>(seconds), now = std::time(nullptr);
    std::tm then = *std::localtime(&when);
    std::tm today = *std::localtime(&now);
    bool sameDay = then.tm_year == today.tm_year && then.tm_yday == today.tm_yday;
    char text[32];
    std::strftime(text, sizeof text, sameDay ? "%H:%M" : "%d %b %H:%M", &then);
    return text;
}

bool LevelNumbers(const std::string& name, int16_t& episode, int16_t& map) {
    short e = 1, m = 0;
    bool ok = master.gameStyle == kStyleEpisodes
                  ? std::sscanf(name.c_str(), "E%hdM%hd", &e, &m) == 2
                  : std::sscanf(name.c_str(), "MAP%hd", &m) == 1;
    episode = e;
    map = m;
    return ok && e >= 1 && m >= 1;
}

void KeepRecoveryFile() {
    if (!level.levelChanged) {
        if (editorHistory.recoveryWritten)
            RemoveRecoveryFile();
        editorHistory.recoveryWritten = editorHistory.unwritten = false;
        return;
    }
    if (RecoveryWriteDueMs() == 0)
        WriteRecovery();
}

}  // namespace

int64_t RecoveryWriteDueMs() {
    if (!level.levelChanged || !editorHistory.unwritten)
        return -1;
    if (editorHistory.lastRecoveryWrite < 0)
        return 0;
    return std::max<int64_t>(0, editorHistory.lastRecoveryWrite + kRecoveryPeriodMs - PlatformMilliseconds());
}

void EndOfCommand() {
    if (editor.dragging)
        return;
    if (RecordStep())
        editorHistory.unwritten = true;
    KeepRecoveryFile();
}

int KeyUndo(int key) {
    bool redo = key == kKeyCtrlY || (editor.shiftState & (kShiftLeft | kShiftRight));
    if (editor.dragging || !(redo ? Redo() : Undo())) {
        ErrorBeep();
        return 0;
    }
    ForgetMissingObjects();
    ComputeMapBounds();
    editor.redrawMap = editor.redrawStatus = true;
    editorHistory.message = redo ? "Redone: " + UndoLabel() : "Undone: " + RedoLabel();
    ShowEditorMessage(editorHistory.message.c_str());
    editorHistory.unwritten = true;
    KeepRecoveryFile();
    return 0;
}

std::string UndoMenuText() { return MenuText("Undo", UndoLabel(), "ctl+Z"); }

std::string RedoMenuText() { return MenuText("Redo", RedoLabel(), "ctl+Y"); }

bool OfferRecovery(int16_t& episode, int16_t& map) {
    if (editorHistory.offered)
        return false;
    editorHistory.offered = true;
    RecoveryInfo info;
    if (!FindRecoveryFile(info) || !LevelNumbers(info.levelName, episode, map))
        return false;
    std::string question =
        "Restore unsaved changes of " + info.levelName + " from " + WhenText(info.writtenAt) + "?";
    editorHistory.restoring = ConfirmYes(kCentred, kCentred, question.c_str(), "(No discards them)");
    if (!editorHistory.restoring)
        RemoveRecoveryFile();
    return editorHistory.restoring;
}

void StartHistory() {
    editorHistory.lastRecoveryWrite = -1;
    editorHistory.recoveryWritten = editorHistory.unwritten = false;
    level.levelChanged = level.mapChanged = false;
    ResetHistory();
    bool restore = editorHistory.restoring;
    editorHistory.restoring = false;
    if (restore && RestoreRecoveryFile()) {
        NameStep("restore unsaved changes");
        RecordStep();
        editorHistory.recoveryWritten = true;
        editorHistory.lastRecoveryWrite = PlatformMilliseconds();
    }
}

void EndHistory() {
    if (editorHistory.recoveryWritten)
        RemoveRecoveryFile();
    editorHistory.recoveryWritten = false;
}
