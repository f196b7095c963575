// The level statistics: how many objects of each kind the level has and the
// room they take, then how many Things of each enemy, equipment, weapon and
// ammunition type appear at each skill level, in deaf mode and in network
// play.
#pragma once

#include <string>
#include <vector>

// One box of the statistics: its title and its lines, as shown.
struct StatisticsBox {
    std::string title;
    std::vector<std::string> lines;
};

// The boxes in the order shown: the object counts, one table per Thing
// category that has types (Enemies, Equipment, Weapons, Ammunition), the
// summary.
std::vector<StatisticsBox> LevelStatistics();

// Shows the boxes one after another, each until a key or a click.
void ShowStatistics();
