#include "editor/editor_history.h"

#include <algorithm>
#include <cstdio>

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

// Whether a write that fails is told on the status line (not while a menu or
// dialog may cover it: the next write from the map tells then).
enum class Failure { Tell, Quiet };

void WriteRecovery(Failure failure) {
    std::string error;
    bool written = WriteRecoveryFile(error);
    if (!written && failure == Failure::Tell) {
        editorHistory.message = "Unsaved changes not kept: " + error;
        ShowEditorMessage(editorHistory.message.c_str());
    }
    editorHistory.recoveryWritten = true;
    editorHistory.unwritten = !written;
    editorHistory.lastRecoveryWrite = PlatformMilliseconds();
}

std::string MenuText(const char* verb, const std::string& label, const char* key) {
    std::string text = std::string(verb) + (label.empty() ? "" : " " + label);
    if (text.size() < 17)
        text.resize(17, ' ');
    return text + " " + key;
}

void TellUser(const std::string& title, const std::vector<std::string>& lines) {
    std::vector<const char*> texts;
    for (const std::string& line : lines)
        texts.push_back(line.c_str());
    MessageBox(kCentred, kCentred, LineAlign::Centred, "OK", kAnyKey, nullptr, 0, title.c_str(), texts);
}

// The file to offer: the newest of the level asked for, else the newest.
const RecoveryInfo* ChooseOffer(const RecoveryScan& scan, int16_t episode, int16_t map) {
    std::string asked = LevelNameFor(episode, map);
    for (const RecoveryInfo& info : scan.ours)
        if (SameEntryName(info.levelName.c_str(), asked.c_str()))
            return &info;
    return scan.ours.empty() ? nullptr : &scan.ours.front();
}

void KeepRecoveryFile() {
    if (!level.levelChanged) {
        if (editorHistory.recoveryWritten)
            RemoveRecoveryFile();
        editorHistory.recoveryWritten = editorHistory.unwritten = false;
        return;
    }
    if (RecoveryWriteDueMs() == 0)
        WriteRecovery(Failure::Tell);
}

}  // namespace

int64_t RecoveryWriteDueMs() {
    if (!level.levelChanged || !editorHistory.unwritten)
        return -1;
    if (editorHistory.lastRecoveryWrite < 0)
        return 0;
    return std::max<int64_t>(0, editorHistory.lastRecoveryWrite + kRecoveryPeriodMs - PlatformMilliseconds());
}

void WriteRecoveryWhenDue() {
    if (RecoveryWriteDueMs() == 0)
        WriteRecovery(Failure::Quiet);
}

void EndOfCommand() {
    if (editor.dragging)
        return;
    bool refused = EditRefused();
    if (RecordStep())
        editorHistory.unwritten = true;
    if (refused) {   // the level is back as before the edit
        ForgetMissingObjects();
        ComputeMapBounds();
        editor.redrawMap = editor.redrawStatus = true;
    }
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
    editorHistory.restoring = false;
    RecoveryScan scan = FindRecoveryFiles();
    if (!scan.setAside.empty())
        TellUser("Damaged recovery file", scan.setAside);
    const RecoveryInfo* offer = ChooseOffer(scan, episode, map);
    int16_t offerEpisode = 0, offerMap = 0;
    if (!offer || !LevelNumbersOf(offer->levelName, offerEpisode, offerMap))
        return false;
    std::string question =
        "Restore unsaved changes of " + offer->levelName + " from " + WrittenAtText(offer->writtenAt) + "?";
    editorHistory.offered = *offer;
    if (!ConfirmYes(kCentred, kCentred, question.c_str(), "(No discards them)")) {
        DiscardRecoveryFile(*offer);
        return false;
    }
    editorHistory.restoring = true;
    episode = offerEpisode;
    map = offerMap;
    return true;
}

void StartHistory() {
    editorHistory.lastRecoveryWrite = -1;
    editorHistory.recoveryWritten = editorHistory.unwritten = false;
    level.levelChanged = level.mapChanged = false;
    ResetHistory();
    if (!editorHistory.restoring)
        return;
    editorHistory.restoring = false;
    std::vector<std::string> refusal;
    if (!RestoreRecoveryFile(editorHistory.offered, refusal)) {
        TellUser("Unsaved changes of " + editorHistory.offered.levelName + " not restored", refusal);
        return;
    }
    editorHistory.recoveryWritten = true;
    editorHistory.lastRecoveryWrite = PlatformMilliseconds();
}

void EndHistory() {
    if (editorHistory.recoveryWritten)
        RemoveRecoveryFile();
    editorHistory.recoveryWritten = false;
}
