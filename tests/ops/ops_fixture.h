// What the tests of the vertex and LineDef operations share: the editor's
// headless screen with the operations connected, scripted answers to the
// boxes and menus they open (each box photographed before it is answered),
// and a byte copy of the level to show that a failure changed nothing.
#pragma once

#include <string>
#include <vector>

#include "editor/editor_fixture.h"
#include "menus/misc_menu.h"
#include "support/screen_text.h"

class OpsTest : public EditorScreenTest {
protected:
    void SetUp() override {
        EditorScreenTest::SetUp();
        ResetEditorActions();
        InstallMiscOperations();
        editor = EditorState{};
        config.soundErrors = 0;
        config.overlapTolerance = 3;
        config.lineDefSplit = 0;
        config.expertMode = 0;
        ResetHistory();
    }

    // The keys that answer the boxes and menus to come, one each, in order;
    // no more may open.
    void Answers(const std::vector<std::string>& keys) {
        std::string script;
        for (size_t i = 0; i < keys.size(); ++i)
            script += "snapshot " + Shot(i) + "\nkey " + keys[i] + "\n";
        session.ExactScript(script);
        answers = keys.size();
    }
    // Whether box i (from 0) showed the text.
    bool Showed(size_t i, const std::string& text) const {
        return i < answers && testkit::SnapshotShowsText(Shot(i), text);
    }
    std::string Shot(size_t i) const {
        return session.Dir().file("box" + std::to_string(i) + ".png");
    }

    // Starts the history afresh; returns the level's bytes as they stand, to
    // compare with after a failure or an undo.
    static std::string Checkpoint() {
        ResetHistory();
        return LevelArrayBytes();
    }

    size_t answers = 0;
};
