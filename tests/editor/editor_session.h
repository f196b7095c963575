// The editor driven end to end on Freedoom's MAP01: a headless screen, the
// shell's E command with the editor installed, and a script of events. A run
// ends where its script does (the program then stops with exit code 3; some
// idle events follow the script's own, so that its last event is handled in
// full), and a test looks at the screen and the editor's state as they were
// then.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/menu_bar.h"
#include "editor_fixture.h"
#include "base/fatal.h"
#include "shell/shell.h"
#include "ui/toolkit.h"
#include "wad/master.h"

namespace editor_test {

// The exit code of a run whose script ran out.
constexpr int kScriptEnded = 3;

// Idle events after a click, so that the editor's polls (counting the
// clicks) see it alone.
const std::string kIdle = "wait 0\nwait 0\nwait 0\nwait 0\nwait 0\nwait 0\n";

class EditorSession : public ::testing::Test {
protected:
    void SetUp() override {
        iwad = testkit::FreedoomIwad(2);
        if (iwad.empty())
            GTEST_SKIP() << "Freedoom is not installed";
        session = std::make_unique<testkit::Session>();
        testkit::ResetProgramState(Flavour::Doom);
        config.patchPath[0] = 0;
        config.lastMap = 1;
        testkit::OpenIwadAt(iwad);
        InstallToolkit();
        shell.editor = EditOnGraphicsScreen;
    }
    void TearDown() override { session.reset(); }   // the program's state put back

    // Runs the shell's command with the script; returns the program's exit
    // code (kScriptEnded when the script ran out), or 0 when the command
    // returned to the prompt. The pointer is taken off the screen afterwards.
    // Every run starts alike: Things mode, the whole map fitted in the view.
    int Run(const std::string& script, const std::string& command = "E 1") {
        HeadlessReset();
        session->Script(script);
        config.savedViewX = config.savedViewY = kNoSavedView;
        config.editMode = kObjThing;
        mapDraw = MapDrawState{};
        toolkit.savedAreas = 0;
        int code = 0;
        try {
            RunCommandLine(command);
        } catch (const ProgramExit& e) {
            code = e.code();
        }
        if (VideoActive()) {
            HidePointer();
            shown = ScreenPixels();
        }
        return code;
    }
    // The WAD a run saved under the name.
    testkit::WadContents Saved(const std::string& name) const {
        return testkit::ReadWad(session->Dir().file(name));
    }
    // A script's position of the middle of a LineDef.
    static std::string MiddleOf(int lineDef) {
        const LineDef& ld = level.lineDefs[lineDef];
        return At((level.vertices[ld.start].x + level.vertices[ld.end].x) / 2,
                  (level.vertices[ld.start].y + level.vertices[ld.end].y) / 2);
    }
    // A script's position on the row of the view's centre, dx pixels east of it.
    static std::string FromCentre(int dx) {
        return std::to_string(view.centerX + dx) + " " + std::to_string(view.centerY + kMenuBarHeight);
    }
    // A script's position of the map point (x, y) in the view the last run left.
    static std::string At(int x, int y) {
        return std::to_string(MapToScreenX(x)) + " " +
               std::to_string(MapToScreenY(y) + kMenuBarHeight);
    }

    std::string iwad;
    Pixels shown;   // the screen when the last run ended
    std::unique_ptr<testkit::Session> session;
};

}  // namespace editor_test
