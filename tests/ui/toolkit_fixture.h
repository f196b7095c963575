// A graphics screen for the toolkit's tests: headless, 640 x 480, the whole
// screen as viewport, painted with a pattern so that anything a routine
// leaves behind shows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/video.h"
#include "support/headless_kit.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/toolkit.h"

namespace toolkit_test {

using Pixels = std::vector<uint8_t>;

inline Pixels Copy() {
    const Canvas& s = Screen();
    return Pixels(s.pixels(), s.pixels() + s.width() * s.height());
}

// A pixel of the screen, whatever the viewport.
inline int At(int x, int y) { return Screen().pixels()[y * Screen().width() + x]; }

// The bounding box of the pixels that differ between two pictures of the screen.
struct Box {
    int x1 = 1 << 20, y1 = 1 << 20, x2 = -1, y2 = -1;
    bool empty() const { return x2 < 0; }
    bool within(int left, int top, int right, int bottom) const {
        return x1 >= left && y1 >= top && x2 <= right && y2 <= bottom;
    }
};
inline Box Difference(const Pixels& a, const Pixels& b) {
    Box box;
    int width = Screen().width();
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] == b[i])
            continue;
        int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
        box.x1 = std::min(box.x1, x), box.y1 = std::min(box.y1, y);
        box.x2 = std::max(box.x2, x), box.y2 = std::max(box.y2, y);
    }
    return box;
}

// The help topics F1 asked for.
inline std::vector<std::string>& HelpAsked() {
    static std::vector<std::string> topics;
    return topics;
}

inline void RecordHelp(const char* topic, HelpRange, int, int, int, int) {
    HelpAsked().push_back(topic);
}

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitGraphics(GraphicsPalette::Basic);
        SetMenuBarMode(MenuBarMode::Hidden);
        toolkit.helpHandler = RecordHelp;
        HelpAsked().clear();
        session.Script("");
        Canvas& s = Screen();
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                s.pixels()[y * s.width() + x] = static_cast<uint8_t>((x / 3 + y * 5) % 16);
        before = Copy();
    }
    // The screen as it was before the dialog, with no saved area left open.
    void ExpectRestored() {
        EXPECT_TRUE(input.pointerHidden);
        EXPECT_EQ(toolkit.savedAreas, 0);
        Box changed = Difference(before, Copy());
        EXPECT_TRUE(changed.empty()) << "not restored from " << changed.x1 << "," << changed.y1;
    }
    testkit::HeadlessSession session;   // the program's state fresh, and put back at the end
    Pixels before;
};

}  // namespace toolkit_test
