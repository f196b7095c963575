// What the editor tests share: a fresh configuration, level, view and
// selection, and the two-room map most geometry tests use.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "editor/map_draw.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "level/level.h"
#include "shell/config.h"
#include "shell/flavour.h"
#include "support/map_kit.h"
#include "ui/input.h"

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFlavour(Flavour::Doom);
        ResetConfig();
        mapkit::ClearMap();
        ResetSelection();
        view = ViewState{};
        mapDraw = MapDrawState{};
        input = InputState{};
    }
    void TearDown() override {
        ResetSelection();
        mapkit::ClearMap();
    }

    // Sector 0: the room (0,0)-(200,200), LineDefs 0..3 (west, north, east,
    // south), Vertexes 0..3. Sector 1: the room (50,50)-(150,150) inside it,
    // LineDefs 4..7 two-sided (first side inner, second outer), Vertexes 4..7.
    void TwoRooms() {
        outer = mapkit::AddSector();
        inner = mapkit::AddSector();
        mapkit::AddRoom(0, 0, 200, 200, outer);
        mapkit::AddInnerRoom(50, 50, 150, 150, inner, outer);
    }

    static std::vector<int> Numbers(const SelectionList& list) {
        return std::vector<int>(list.begin(), list.end());
    }

    int outer = -1, inner = -1;
};
