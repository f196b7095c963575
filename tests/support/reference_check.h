// The soundness check that every editing test runs on the level after each
// operation: nothing refers to an object that is not there. (Made beside
// the fuller check of level_validity.h, which starts with it.)
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testkit {

// Every reference of the level that names no object, one line each
// ("LineDef 4: end Vertex 12 of 10"): a LineDef's start and end Vertex must
// exist; its SideDefs and a SideDef's Sector must exist or be none
// (kNoReference). Empty when the level is sound.
std::vector<std::string> DanglingReferences();

// For EXPECT_TRUE: fails with the first dangling references found.
::testing::AssertionResult ReferencesSound();

}  // namespace testkit
