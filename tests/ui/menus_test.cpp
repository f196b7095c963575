// Menus on the headless screen: keys, hot letters, mouse, hooks and the
// screen under them.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "toolkit_fixture.h"
#include "ui/menus.h"

namespace {

using toolkit_test::HelpAsked;

class MenuTest : public toolkit_test::ToolkitTest {
protected:
    int Numbered(int count, int current) {
        static const char* const kNames[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon",
                                             "Zeta", "Eta", "Theta", "Iota", "Kappa",
                                             "Lambda", "Mu"};
        std::vector<const char*> items(kNames, kNames + count);
        return SimpleMenu(-1, -1, 1, current, "TOPIC", 0, "Title", items);
    }
    // The three-item menu "Alpha", "Beta", "Gamma" titled "Title", centred on
    // 640 x 480: 93 x 58 pixels at (273, 210), first row's text at y 234.
    int ThreeItems() { return Numbered(3, 1); }
    static int RowY(int i) { return 234 + i * 10 + 4; }
};

TEST_F(MenuTest, NumberedItemsFromTheTenthOnAreLetters) {
    session.Script("key B");
    EXPECT_EQ(Numbered(12, 1), 11);
    ExpectRestored();
    session.Script("key 9");
    EXPECT_EQ(Numbered(12, 1), 9);
    session.Script("key D\nkey 0");   // there is no 13th item; 0 cancels
    EXPECT_EQ(Numbered(12, 1), kMenuCancel);
    ExpectRestored();
}

TEST_F(MenuTest, ArrowKeysWrapAndPagesStopAtTheEnds) {
    session.Script("key Up\nkey Enter");
    EXPECT_EQ(Numbered(12, 1), 12);
    session.Script("key Down\nkey Enter");
    EXPECT_EQ(Numbered(12, 12), 1);
    session.Script("key PgDn\nkey Enter");
    EXPECT_EQ(Numbered(12, 10), 12);
    session.Script("key PgUp\nkey PgUp\nkey Enter");
    EXPECT_EQ(Numbered(12, 8), 1);
    session.Script("key End\nkey Up\nkey Home\nkey Down\nkey Enter");
    EXPECT_EQ(Numbered(12, 5), 2);
    ExpectRestored();
}

TEST_F(MenuTest, PullDownMenuTakesItsKeysAndNeighbourMoves) {
    std::vector<PullDownItem> items = {{"Open", 10, 'O', 1},
                                       {"Save", 20, 'S', 1},
                                       {"Quit", 30, 'Q', 1},
                                       {nullptr, 0, 0, 0}};
    auto run = [&](const char* script) {
        session.Script(script);
        return PullDownMenu(0, 0, 0, 1, "FILE", nullptr, items);
    };
    EXPECT_EQ(run("key S"), 20);
    EXPECT_EQ(run("key X\nkey Down\nkey Down\nkey Enter"), 30);   // X leaves the highlight
    EXPECT_EQ(run("key Right"), kMenuNext);
    EXPECT_EQ(run("key Tab"), kMenuNext);
    EXPECT_EQ(run("key Left"), kMenuPrevious);
    EXPECT_EQ(run("key Shift-Tab"), kMenuPrevious);
    EXPECT_EQ(run("key Esc"), kMenuCancel);
    ExpectRestored();
}

TEST_F(MenuTest, MouseChoosesRowsAndCancelsOutside) {
    session.Script("click left 300 " + std::to_string(RowY(1)));
    EXPECT_EQ(ThreeItems(), 2);
    ExpectRestored();
    session.Script("click left 290 220\nclick left 300 " + std::to_string(RowY(2)));
    EXPECT_EQ(ThreeItems(), 3);   // a click on the title does nothing
    session.Script("click right 300 " + std::to_string(RowY(0)));
    EXPECT_EQ(ThreeItems(), kMenuCancel);
    session.Script("click left 50 300");
    EXPECT_EQ(ThreeItems(), kMenuCancel);
    session.Script("click left 50 5");
    EXPECT_EQ(ThreeItems(), kMenuBarClick);
    ExpectRestored();
}

TEST_F(MenuTest, RowsUnderTheMenuBarAreHitInScreenPixels) {
    SetMenuBarMode(1);
    before = toolkit_test::Copy();
    // In the menu-bar viewport (467 rows high) the menu sits at y 204: its
    // second row's text is at viewport y 238, screen y 255.
    session.Script("click left 300 259");
    EXPECT_EQ(ThreeItems(), 2);
    ExpectRestored();
}

TEST_F(MenuTest, HookFollowsTheHighlightAndF1AsksForHelp) {
    std::vector<std::pair<int, int>> calls;
    MenuHook hook = [&](int, int, int phase, int index) { calls.push_back({phase, index}); };
    session.Script("key Down\nkey F1\nkey Down\nkey Enter");
    EXPECT_EQ(HookMenu(-1, -1, 0, 1, hook, "COLORS", 0, "Pick", {"A", "B", "C"}), 3);
    std::vector<std::pair<int, int>> expected = {{0, 0}, {1, 1}, {1, 2}};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(HelpAsked(), std::vector<std::string>{"COLORS"});
    ExpectRestored();
}

}  // namespace
