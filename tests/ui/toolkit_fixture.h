// A graphics screen for the dialog toolkit's tests: headless, 640 x 480, the
// whole screen as viewport, painted with a pattern so that anything a
// dialog leaves behind shows.
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

// The help topics F1 asked for.
inline std::vector<std::string>& HelpAsked() {
    static std::vector<std::string> topics;
    return topics;
}

inline void RecordHelp(const char* topic, int, int, int, int, int) { HelpAsked().push_back(topic); }

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitGraphics(0);
        SetMenuBarMode(0);
        toolkit = ToolkitState{};
        toolkit.helpHandler = RecordHelp;
        HelpAsked().clear();
        Canvas& s = Screen();
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                s.pixels()[y * s.width() + x] = static_cast<uint8_t>((x / 3 + y * 5) % 16);
        before = Copy();
    }
    // The screen as it was before the dialog, with no saved area left open;
    // a difference is reported by its bounding box.
    void ExpectRestored() {
        EXPECT_TRUE(input.PointerHidden);
        EXPECT_EQ(toolkit.savedAreas, 0);
        Pixels now = Copy();
        int width = Screen().width();
        int x1 = width, y1 = Screen().height(), x2 = -1, y2 = -1;
        for (size_t i = 0; i < now.size() && i < before.size(); ++i) {
            if (now[i] == before[i])
                continue;
            int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
            x1 = std::min(x1, x), y1 = std::min(y1, y);
            x2 = std::max(x2, x), y2 = std::max(y2, y);
        }
        EXPECT_LT(x2, 0) << "the screen was not restored in (" << x1 << ", " << y1 << ")-(" << x2
                         << ", " << y2 << ")";
    }
    testkit::HeadlessSession session;
    Pixels before;
};

}  // namespace toolkit_test
