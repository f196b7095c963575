// A graphics screen for the toolkit's tests: headless, 640 x 480, the whole
// screen as viewport, painted with a pattern so that anything a routine
// leaves behind shows.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/video.h"
#include "support/session_kit.h"
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

// The first pixel outside the box (left, top)-(right, bottom) at which two
// pictures of the screen differ, as "x,y"; "" where none does.
inline std::string ChangedOutside(const Pixels& a, const Pixels& b, int left = 0, int top = 0, int right = -1,
                                  int bottom = -1) {
    const int width = Screen().width();
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
        if (a[i] != b[i] && !(x >= left && x <= right && y >= top && y <= bottom))
            return std::to_string(x) + "," + std::to_string(y);
    }
    return "";
}

// The help topics F1 asked for.
inline std::vector<std::string>& HelpAsked() {
    static std::vector<std::string> topics;
    return topics;
}

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitGraphics(GraphicsPalette::Basic);
        SetMenuBarMode(MenuBarMode::Hidden);
        toolkit.helpHandler = [](const char* topic, HelpRange, int, int, int, int) { HelpAsked().push_back(topic); };
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
        EXPECT_EQ(ChangedOutside(before, Copy()), "") << "not restored";
    }
    testkit::Session session;   // the program's state fresh, and put back at the end
    Pixels before;
};

}  // namespace toolkit_test
