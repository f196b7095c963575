// The recovery file: what is written comes back exactly, and a file that is
// not a whole recovery file of the loaded level is never taken.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <string>

#include "level/recovery.h"
#include "level_fixture.h"
#include "support/map_kit.h"

namespace {

class RecoveryTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        mapkit::ClearMap();
        SetField(level.name, "MAP07");
        int sector = mapkit::AddSector(3, 9, 8, 200);
        mapkit::AddRoom(0, 0, 192, 128, sector);
        mapkit::AddThing(40, 40, 3004, 90, 7);
    }
};

TEST_F(RecoveryTest, WhatIsWrittenComesBackExactly) {
    std::string error;
    int64_t before = std::time(nullptr);
    ASSERT_TRUE(WriteRecoveryFile(error)) << error;
    std::string written = mapkit::LevelArrayBytes();
    RecoveryInfo info;
    ASSERT_TRUE(FindRecoveryFile(info));
    EXPECT_EQ(info.levelName, "MAP07");
    EXPECT_GE(info.writtenAt, before);
    EXPECT_LE(info.writtenAt, std::time(nullptr));
    mapkit::ClearMap();
    SetField(level.name, "MAP07");
    ASSERT_TRUE(RestoreRecoveryFile());
    EXPECT_EQ(mapkit::LevelArrayBytes(), written);
    EXPECT_TRUE(level.levelChanged);
    EXPECT_TRUE(level.mapChanged);
    RemoveRecoveryFile();
    EXPECT_FALSE(FindRecoveryFile(info));
    EXPECT_FALSE(RestoreRecoveryFile());
}

TEST_F(RecoveryTest, AFileThatIsNotAWholeRecoveryOfThisLevelIsNotTaken) {
    std::string error;
    ASSERT_TRUE(WriteRecoveryFile(error));
    Bytes good = testkit::ReadFileBytes(RecoveryFilePath());
    const std::string path = RecoveryFilePath();
    struct Damage {
        const char* what;
        std::function<void(Bytes&)> apply;
    } damages[] = {
        {"cut short", [](Bytes& b) { b.resize(b.size() - 20); }},
        {"not a PWAD", [](Bytes& b) { b[0] = 'I'; }},
        {"a directory past the end", [](Bytes& b) { b[9] = 0x7f; }},
        {"a lump of part of a record", [](Bytes& b) {
             // THINGS (the third entry) one byte shorter
             size_t dir = size_t(b[8]) | size_t(b[9]) << 8 | size_t(b[10]) << 16;
             --b[dir + 2 * 16 + 4];
         }},
        {"empty", [](Bytes& b) { b.clear(); }},
    };
    std::string kept = mapkit::LevelArrayBytes();
    for (const Damage& d : damages) {
        Bytes bytes = good;
        d.apply(bytes);
        testkit::WriteFileBytes(path, bytes);
        RecoveryInfo info;
        EXPECT_FALSE(FindRecoveryFile(info)) << d.what;
        EXPECT_FALSE(RestoreRecoveryFile()) << d.what;
        EXPECT_EQ(mapkit::LevelArrayBytes(), kept) << d.what;
    }
    // A whole file of another level is found but not laid over this one.
    testkit::WriteFileBytes(path, good);
    SetField(level.name, "MAP08");
    EXPECT_FALSE(RestoreRecoveryFile());
    EXPECT_EQ(mapkit::LevelArrayBytes(), kept);
}

}  // namespace
