// Selection lists, their counter, the conversion of a selection between
// modes, and selecting with the pointer and the selection box.
#include <cstring>

#include "editor_fixture.h"
#include "platform/video.h"
#include "shell/fatal.h"
#include "support/headless_kit.h"
#include "ui/graphics.h"

using mapkit::AddThing;

namespace {

using SelectionTest = EditorTest;

SelectionList ListOf(std::initializer_list<int> oldestFirst) {
    SelectionList list;
    for (int n : oldestFirst)
        SelectObject(list, n);
    return list;
}

// Makes the list the current selection, forgetting the old one.
void Select(SelectionList list) {
    ForgetSelection(selection.list);
    selection.list = std::move(list);
}

TEST_F(SelectionTest, ListsKeepNewestFirstAndCountEverySelectedObject) {
    SelectionList a = ListOf({3, 1, 4});
    SelectionList b = ListOf({9});
    EXPECT_EQ(Numbers(a), (std::vector<int>{4, 1, 3}));
    EXPECT_EQ(a.head(), 4);
    EXPECT_EQ(a.last(), 3);
    EXPECT_TRUE(IsSelected(a, 1));
    EXPECT_FALSE(IsSelected(a, 9));
    EXPECT_EQ(selection.selectedCount, 4);
    UnSelectObject(a, 1);
    UnSelectObject(a, 7);
    EXPECT_EQ(Numbers(a), (std::vector<int>{4, 3}));
    EXPECT_EQ(selection.selectedCount, 3);
    ForgetSelection(a);
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(selection.selectedCount, 1);
    for (int16_t& n : b)
        --n;   // renumbering in place
    EXPECT_EQ(b.head(), 8);
    try {
        UnSelectObject(b, -2);
        FAIL() << "no fatal error";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code(), kExitFatal);
        EXPECT_STREQ(e.what(), "UnSelectObject -2");
    }
}

TEST_F(SelectionTest, ConvertBetweenModes) {
    TwoRooms();
    Select(ListOf({inner}));
    ConvertSelection(kObjSector, kObjLineDef);
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{7, 6, 5, 4}));

    Select(ListOf({outer}));
    ConvertSelection(kObjSector, kObjLineDef);   // first or second side
    EXPECT_EQ(selection.list.size(), 8);

    Select(ListOf({4, 5}));
    ConvertSelection(kObjLineDef, kObjVertex);   // newest first, each Vertex once
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{4, 6, 5}));

    ConvertSelection(kObjVertex, kObjLineDef);   // both ends selected
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{5, 4}));

    Select(ListOf({4, 5, 6, 7}));
    ConvertSelection(kObjLineDef, kObjSector);   // only Sectors with every LineDef selected
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{inner}));
    Select(ListOf({0, 1, 2, 3, 4, 5, 6, 7}));
    ConvertSelection(kObjLineDef, kObjSector);
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{inner, outer}));

    ConvertSelection(kObjSector, kObjThing);
    EXPECT_TRUE(selection.list.empty());
    EXPECT_EQ(selection.selectedCount, 0);   // nothing left behind uncounted
}

TEST_F(SelectionTest, ConvertKeepsTheSelectionOfTheSameModeAndIgnoresMissingObjects) {
    TwoRooms();
    Select(ListOf({2, 3}));
    ConvertSelection(kObjLineDef, kObjLineDef);
    EXPECT_EQ(selection.list.size(), 2);
    // A LineDef whose Vertex is missing gives only the Vertex that exists.
    level.lineDefs[3].start = 400;
    ConvertSelection(kObjLineDef, kObjVertex);
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{3, 2, 0}));
    ForgetSelection(selection.list);
    level.sideDefs[0].sector = -7;
    Select(ListOf({outer}));
    ConvertSelection(kObjSector, kObjLineDef);
    EXPECT_FALSE(IsSelected(selection.list, 0));
}

TEST_F(SelectionTest, ModeChangeRestoresEachModesObject) {
    TwoRooms();
    config.selectObject0 = 1;
    selection.current = 5;
    ConvertSelection(kObjLineDef, kObjSector);
    EXPECT_EQ(selection.current, 0);   // nothing remembered: object 0
    selection.current = 1;
    ConvertSelection(kObjSector, kObjLineDef);
    EXPECT_EQ(selection.current, 5);
    ConvertSelection(kObjLineDef, kObjSector);
    EXPECT_EQ(selection.current, 1);
    config.selectObject0 = 0;
    ConvertSelection(kObjSector, kObjThing);
    EXPECT_EQ(selection.current, -1);
    config.selectObject0 = 1;
    ConvertSelection(kObjThing, kObjVertex);
    EXPECT_EQ(selection.current, 0);
    ConvertSelection(kObjVertex, kObjThing);   // a level without Things
    EXPECT_EQ(selection.current, -1);
}

TEST_F(SelectionTest, NextAndPreviousWrap) {
    TwoRooms();
    EXPECT_EQ(NextObject(kObjLineDef, 6), 7);
    EXPECT_EQ(NextObject(kObjLineDef, 7), 0);
    EXPECT_EQ(NextObject(kObjLineDef, -1), 0);
    EXPECT_EQ(PrevObject(kObjLineDef, 0), 7);
    EXPECT_EQ(PrevObject(kObjLineDef, -1), 7);
    EXPECT_EQ(PrevObject(kObjSector, 1), 0);
    EXPECT_EQ(NextObject(kObjThing, 3), -1);
    EXPECT_EQ(PrevObject(kObjThing, 3), -1);
}

// Selecting with the pointer draws, so it runs on the headless screen.
class PointerSelectionTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        InitGraphics(0);
        InitView();
        SetScale(1.0f);
        view.OrigX = 0, view.OrigY = 0;
        config.editMode = kObjThing;
        config.selectRange = 4;
    }
    void PointAt(int x, int y) {
        view.PointerX = static_cast<int16_t>(MapToScreenX(x));
        view.PointerY = static_cast<int16_t>(MapToScreenY(y));
    }
    std::vector<uint8_t> ScreenPixels() {
        const Canvas& s = Screen();
        return std::vector<uint8_t>(s.pixels(), s.pixels() + s.width() * s.height());
    }

    testkit::HeadlessSession session;
};

TEST_F(PointerSelectionTest, ClickTogglesTheObjectUnderThePointer) {
    AddThing(0, 0);
    AddThing(100, 0);
    DrawMap(false);
    std::vector<uint8_t> clean = ScreenPixels();
    PointAt(100, 2);
    EXPECT_TRUE(ToggleCurrentSelected());
    EXPECT_EQ(selection.current, 1);
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{1}));
    PointAt(0, 0);
    EXPECT_TRUE(ToggleCurrentSelected());
    PointAt(100, 0);
    EXPECT_TRUE(ToggleCurrentSelected());
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{0}));
    PointAt(50, 50);
    EXPECT_FALSE(ToggleCurrentSelected());
    EXPECT_EQ(selection.current, 1);
    // Removing every highlight leaves the map as it was drawn.
    ClearSelection();
    SetCurrentObject(-1);
    EXPECT_TRUE(ScreenPixels() == clean);
    EXPECT_EQ(selection.selectedCount, 0);
}

TEST_F(PointerSelectionTest, HighlightFollowsThePointerAndLeadsTheSelection) {
    AddThing(0, 0);
    AddThing(100, 0);
    Select(ListOf({0, 1}));
    PointAt(0, 0);
    EXPECT_TRUE(FollowPointer(false));
    EXPECT_EQ(selection.current, 0);
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{0, 1}));
    PointAt(50, 50);   // nothing there: the highlight stays
    EXPECT_FALSE(FollowPointer(false));
    EXPECT_EQ(selection.current, 0);
    PointAt(100, 0);
    EXPECT_FALSE(FollowPointer(true));   // over an info panel
    config.highlightFollows = 0;
    EXPECT_FALSE(FollowPointer(false));
    EXPECT_EQ(selection.current, 0);
}

TEST_F(PointerSelectionTest, BoxSelectsReplacingOrAddingAndLeavesNoOutline) {
    for (int i = 0; i < 4; ++i)
        AddThing(i * 100, 0);
    DrawMap(false);
    std::vector<uint8_t> clean = ScreenPixels();
    PointAt(-10, -10);
    StartSelectionBox();
    PointAt(150, 10);
    MoveSelectionBox();
    EXPECT_FALSE(ScreenPixels() == clean);
    CancelSelectionBox();
    EXPECT_TRUE(ScreenPixels() == clean);

    std::vector<std::string> messages;
    static std::vector<std::string>* said;
    said = &messages;
    selection.message = [](const char* text) { said->push_back(text); };
    PointAt(150, 10);
    StartSelectionBox();
    PointAt(-10, -10);
    EXPECT_EQ(EndSelectionBox(), 2);
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{1, 0}));
    EXPECT_EQ(selection.current, 1);
    EXPECT_EQ(messages, (std::vector<std::string>{"Selecting Objects",
                                                  "Use Button 2 to Move or O to Copy"}));

    PointAt(90, -10);
    StartSelectionBox();
    PointAt(310, 10);
    EXPECT_EQ(EndSelectionBox(), 3);   // replaces the selection
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{3, 2, 1}));

    config.additiveSelect = 1;
    PointAt(-10, -10);
    StartSelectionBox();
    PointAt(110, 10);
    EXPECT_EQ(EndSelectionBox(), 4);   // adds the old ones not found again
    EXPECT_EQ(Numbers(selection.list), (std::vector<int>{2, 3, 1, 0}));
    EXPECT_EQ(selection.current, 2);
    EXPECT_EQ(selection.selectedCount, 4);

    config.additiveSelect = 0;
    PointAt(500, 500);
    StartSelectionBox();
    EXPECT_EQ(EndSelectionBox(), 0);
    EXPECT_EQ(selection.current, -1);
    SetCurrentObject(-1);
    EXPECT_TRUE(ScreenPixels() == clean);
    selection.message = nullptr;
}

TEST_F(PointerSelectionTest, CheckSelectionCountsAndComplains) {
    SelectionList three = ListOf({5, 6, 7});
    int16_t count = 0, first = -1, last = -1;
    EXPECT_TRUE(CheckSelection(false, 2, kObjLineDef, three, &count, &first, &last));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(first, 7);
    EXPECT_EQ(last, 5);
    EXPECT_TRUE(CheckSelection(true, 3, kObjLineDef, three, nullptr, nullptr, nullptr));
    // The complaint waits for the user: a key closes it.
    session.Script("key Enter");
    EXPECT_FALSE(CheckSelection(true, 2, kObjLineDef, three, &count, nullptr, nullptr));
    session.Script("key Enter");
    EXPECT_FALSE(CheckSelection(false, 4, kObjThing, three, nullptr, nullptr, nullptr));
}

}  // namespace
