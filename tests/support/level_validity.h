// What the game needs from a level, checked on the level model, and what the
// editor promises beyond it. Every operation test and the editing property
// test and fuzz target run it: an operation that starts from a valid level
// and is not asked to break it must end with one.
//
// The geometry is found here on its own terms (a point just beside each
// LineDef and the first LineDef that a ray from it meets), not with the
// editor's picking, so that a fault there does not hide a fault of the level.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testkit {

// How much is asked of the level.
enum class Validity {
    Game,     // what the game needs to load and play it
    Editor,   // and what the editor's builders promise: no SideDef and no
              // Sector left that nothing uses
};

// One fault: a short kind ("void side", "open Sector") and a line naming the
// objects ("LineDef 4 (0,0)-(64,0): first side faces Sector 2, lies in 1").
struct LevelFault {
    std::string kind;
    std::string text;
};

// The faults of the level:
//   - a reference that names no object (DanglingReferences below);
//   - a LineDef without a first SideDef, with the two-sided flag but no
//     second SideDef, of length 0, or on the same two points as another;
//   - two LineDefs that cross at a point inside both;
//   - a SideDef facing a Sector other than the one that lies on its side of
//     its LineDef, or facing one where nothing lies (the void);
//   - a Sector whose sides do not close: at some Vertex more of them start
//     than end, or the other way round;
//   - with Validity::Editor, a SideDef that no LineDef uses and a Sector that
//     no SideDef faces.
std::vector<LevelFault> LevelFaults(Validity validity = Validity::Game);

// The SideDefs that no LineDef uses and the Sectors that no SideDef faces.
std::vector<LevelFault> UnusedObjects();

// Every wall that the heights make visible without a texture: a one-sided
// LineDef without a middle texture, a two-sided one whose side looks at a
// higher floor or a lower ceiling (unless both are sky) without a lower or
// upper texture. What builders must set.
std::vector<LevelFault> MissingVisibleTextures();

// For EXPECT_TRUE: fails with the first faults found.
::testing::AssertionResult LevelValid(Validity validity = Validity::Editor);

// The faults as lines, the first few of them.
std::string FaultLines(const std::vector<LevelFault>& faults);

// The soundness check that every editing test runs on the level after each
// operation, and the first of LevelFaults: every reference of the level that
// names no object, one line each ("LineDef 4: end Vertex 12 of 10"). A
// LineDef's start and end Vertex must exist; its SideDefs and a SideDef's
// Sector must exist or be none (kNoReference). Empty when the level is sound.
std::vector<std::string> DanglingReferences();

// For EXPECT_TRUE: fails with the first dangling references found.
::testing::AssertionResult ReferencesSound();

}  // namespace testkit
