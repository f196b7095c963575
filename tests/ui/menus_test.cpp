// Menus on the headless screen: hot letters, arrows and the mouse, hooks and
// the screen under them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "support/program_state.h"
#include "support/testkit.h"
#include "toolkit_fixture.h"
#include "ui/menus.h"
#include "wad/master.h"

namespace {

using MenuTest = toolkit_test::ToolkitTest;

// A numbered menu of 12 items, the first at the given one: from the tenth on
// the items are letters. Centred on 640 x 480, its rows of text start at y 189 + 10 i.
TEST_F(MenuTest, ChosenByHotLetterArrowsAndMouse) {
    const struct {
        const char* script;
        int current, chosen;
    } cases[] = {
        {"key B", 1, 11},                       {"key 9", 1, 9},
        {"key D\nkey 0", 1, kMenuCancel},       // no 13th item; 0 cancels
        {"key Up\nkey Enter", 1, 12},           {"key Down\nkey Enter", 12, 1},
        {"key PgDn\nkey Enter", 10, 12},        {"key PgUp\nkey PgUp\nkey Enter", 8, 1},
        {"key End\nkey Up\nkey Home\nkey Down\nkey Enter", 5, 2},
        {"click left 300 242", 1, 6},           {"click left 300 175\nclick left 300 212", 1, 3},
        {"click right 300 239", 1, kMenuCancel}, {"click left 50 30", 1, kMenuCancel},
        {"click left 50 5", 1, kMenuBarClick},
    };
    static const char* const kNames[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta",
                                         "Eta",   "Theta", "Iota", "Kappa", "Lambda",  "Mu"};
    for (const auto& c : cases) {
        session.Script(c.script);
        EXPECT_EQ(SimpleMenu(kCentred, kCentred, MenuStyle::Numbered, c.current, "TOPIC",
                             WindowSave::UnlessNested, "Title",
                             std::vector<const char*>(kNames, kNames + 12)),
                  c.chosen)
            << c.script;
        ExpectRestored();
    }
}

TEST_F(MenuTest, PullDownMenuTakesItsKeysAndNeighbourMoves) {
    std::vector<PullDownItem> items = {
        {"Open", 10, 'O', 1}, {"Save", 20, 'S', 1}, {"Quit", 30, 'Q', 1}, {nullptr, 0, 0, 0}};
    const std::pair<const char*, int> cases[] = {
        {"key S", 20},        {"key X\nkey Down\nkey Down\nkey Enter", 30},
        {"key Tab", kMenuNext}, {"key Shift-Tab", kMenuPrevious}, {"key Esc", kMenuCancel},
    };
    for (const auto& [script, result] : cases) {
        session.Script(script);
        EXPECT_EQ(PullDownMenu(0, 0, 1, "FILE", nullptr, items), result) << script;
        ExpectRestored();
    }
}

TEST_F(MenuTest, HookFollowsTheHighlightAndF1AsksForHelp) {
    SetMenuBarMode(MenuBarMode::Shown);   // rows are hit in screen pixels under the bar
    before = toolkit_test::Copy();
    std::vector<std::pair<MenuHookPhase, int>> calls;
    MenuExtras extras;
    extras.hook = [&](int, int, MenuHookPhase phase, int index) {
        calls.push_back({phase, index});
    };
    const char* const items[] = {"A", "B", "C"};
    session.Script("key Down\nkey F1\nclick left 300 250");
    EXPECT_EQ(DisplayMenu(kCentred, kCentred, MenuStyle::Plain, 1, "COLORS",
                          WindowSave::UnlessNested, "Pick", 3, items, extras),
              2);
    EXPECT_EQ(calls, (std::vector<std::pair<MenuHookPhase, int>>{{MenuHookPhase::Drawn, 0},
                                                                 {MenuHookPhase::Moved, 1}}));
    EXPECT_EQ(toolkit_test::HelpAsked(), std::vector<std::string>{"COLORS"});
    ExpectRestored();
}

}  // namespace
