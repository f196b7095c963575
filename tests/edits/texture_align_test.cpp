// The X alignment of textures asked of the model directly, on a chain of
// walls: where the offsets run on, restart and stop, on either side.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "edits/texture_align.h"
#include "edits_fixture.h"
#include "support/builder_scenes.h"

namespace {

using namespace edits;

// A chain of LineDefs 64, 64, 32 and 64 long, running north then east, in
// a Sector; the first three show the 128-wide "WALL", the last the 64-wide
// "BRICK". Every X offset starts at 7.
class TextureAlignTest : public EditsTest {
protected:
    void SetUp() override {
        EditsTest::SetUp();
        mapkit::ClearMap();
        AddAlignmentChain();
        ResetHistory();
    }
    static int Width(const std::string& name) { return name == "WALL" ? 128 : name == "BRICK" ? 64 : -1; }
    static std::vector<int> Offsets() {
        std::vector<int> out;
        for (const SideDef& sd : level.sideDefs)
            out.push_back(sd.xOffset);
        return out;
    }
    // Second sides on the first three LineDefs (SideDefs 4, 5, 6), "WALL" too.
    static void Backs() {
        for (int l = 0; l < 3; ++l) {
            int sd = AddSideDef(0);
            std::strncpy(level.sideDefs[sd].middle, "WALL", 8);
            level.sideDefs[sd].xOffset = 7;
            level.lineDefs[l].sideDef2 = static_cast<uint16_t>(sd);
        }
    }
};

TEST_F(TextureAlignTest, XOffsetsRunOnAlongTheChain) {
    const AlignXChoice identical, unchecked{AlignSide::First, false, 0, false};
    const AlignXChoice restarting{AlignSide::First, false, 0, true}, from10{AlignSide::First, true, 10, false};
    const AlignXChoice side2{AlignSide::Second, true, 0, false};
    struct Case {
        const char* name;
        std::initializer_list<int> oldestFirst;
        AlignXChoice choice;
        std::function<void()> spoil;
        std::vector<int> expected;
        AlignStop stop;
        std::string problem;
    } cases[] = {
        {"a different texture", {0, 1, 2, 3}, identical, [] {}, {0, 64, 0, 7}, AlignStop::DifferentTexture,
         "Texture Different for SideDef 3."},
        {"restarting", {0, 1, 2, 3}, restarting, [] {}, {0, 64, 0, 0}, AlignStop::None, ""},
        {"backwards", {0, 1, 2}, identical, [] { std::swap(level.lineDefs[1].start, level.lineDefs[1].end); },
         {0, 7, 7, 7}, AlignStop::WrongDirection, "LineDef 1 not same direction"},
        {"unknown texture", {0, 1, 2}, unchecked, [] { std::strncpy(level.sideDefs[1].middle, "NOSUCH", 8); },
         {0, 7, 7, 7}, AlignStop::UnknownTexture, "Texture NOSUCH not found?"},
        // The initial offset is used up by the first texture.
        {"from 10, running on", {0, 1, 2, 3}, {AlignSide::First, false, 10, false}, [] {}, {10, 74, 10, 42},
         AlignStop::None, ""},
        // Side 2 runs the other way: from the LineDef selected last.
        {"side 2", {0, 1, 2}, side2, Backs, {7, 7, 7, 7, 96, 32, 0}, AlignStop::None, ""},
        {"side 2 backwards", {0, 1, 2}, side2,
         [] {
             Backs();
             std::swap(level.lineDefs[1].start, level.lineDefs[1].end);
         },
         {7, 7, 7, 7, 7, 7, 0}, AlignStop::WrongDirection, "LineDef 1 not same direction"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.spoil();
        RecordStep();
        AlignedX result = AlignTexturesX(level, ListOf(c.oldestFirst), c.choice, Width);
        EXPECT_EQ(Offsets(), c.expected);
        EXPECT_EQ(result.stop, c.stop);
        EXPECT_EQ(result.problem, c.problem);
        // What was aligned before a stop stays, as one step.
        EXPECT_EQ(Step(), result.aligned > 0 ? "align textures X" : "");
    }
}

}  // namespace
