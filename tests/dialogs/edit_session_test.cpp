// The edit dialogs through the editor's keys on Freedoom's MAP01: Enter on
// the highlighted object, the change seen in the level and in the saved
// PWAD.
#include "editor/editor_session.h"
#include "dialogs/edit_objects.h"

namespace editor_test {
namespace {

const std::string kClear = "key Backspace\nkey Backspace\nkey Backspace\nkey Backspace\n";

class EditSessionTest : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped())
            return;
        InstallEditDialogs();
        config.menuNesting = 1;
    }
};

TEST_F(EditSessionTest, EnterEditsTheHighlightedLineDefAndTheSaveKeepsIt) {
    // N highlights the next LineDef; its tag becomes 42 through the tag entry.
    ASSERT_EQ(Run("key L\nkey N\nkey Enter\nkey 4\n" + kClear +
                  "type 42\nkey Enter\nkey Esc\nkey F2\ntype EDITED\nkey Enter\nwait 0\n"),
              kScriptEnded);
    int n = selection.current;
    ASSERT_GE(n, 0);
    EXPECT_EQ(level.lineDefs[n].tag, 42);
    EXPECT_EQ(lastTag, 42);
    testkit::Bytes lineDefs = Saved("EDITED.WAD").data("LINEDEFS");
    ASSERT_GE(lineDefs.size(), (n + 1) * sizeof(LineDef));
    EXPECT_EQ(reinterpret_cast<const LineDef*>(lineDefs.data())[n].tag, 42);
}

}  // namespace
}  // namespace editor_test
