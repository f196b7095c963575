// What the tests of the model's edits share: a fresh program state with the
// settings the edits read, small levels from tests/support/map_kit.h, and
// the name of the undo step an edit made.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/config.h"
#include "edits/object_list.h"
#include "level/history.h"
#include "level/level.h"
#include "support/map_kit.h"
#include "support/program_state.h"
#include "support/level_validity.h"

using namespace mapkit;
using testkit::ReferencesSound;

// A name field of a SideDef or Sector, without its padding.
inline std::string Name(const char (&field)[8]) { return std::string(field, strnlen(field, 8)); }

class EditsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testkit::ResetProgramState(Flavour::Doom);
        config.overlapTolerance = 3;
        ResetHistory();
    }
    void TearDown() override { testkit::ResetProgramState(); }

    // Sector 0: the room (0,0)-(200,200); Vertexes 0 (0,0), 1 (0,200),
    // 2 (200,200), 3 (200,0); LineDefs 0..3 west, north, east, south.
    void Room() {
        mapkit::ClearMap();
        AddRoom(0, 0, 200, 200, AddSector(0, 0, 8, 136));
    }

    // Starts the history afresh; returns the level's bytes as they stand, to
    // compare with after a refusal or an undo.
    static std::string Checkpoint() {
        ResetHistory();
        return LevelArrayBytes();
    }

    // The name of the undo step the edit made, "" when it changed nothing.
    static std::string Step() { return RecordStep() ? UndoLabel() : ""; }

    // A list selected in the order given: the last number is its head.
    static SelectionList ListOf(std::initializer_list<int> oldestFirst) {
        SelectionList list;
        for (int n : oldestFirst)
            SelectObject(list, n);
        return list;
    }

    static int SectorOf(uint16_t side) { return level.sideDefs[side].sector; }
};
