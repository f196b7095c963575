// Replacing files whole, backups, and the leftovers of killed writers.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"
#include "support/fault_kit.h"
#include "support/testkit.h"

namespace {

namespace fs = std::filesystem;
using testkit::Bytes;
using testkit::ReadFileBytes;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The names in dir, sorted, temporary files shown as "<temporary>" unless
// the names are asked for as they are.
std::vector<std::string> Names(const std::string& dir, bool asTheyAre = false) {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
        std::string name = e.path().filename().string();
        names.push_back(IsTemporaryFileName(name) && !asTheyAre ? "<temporary>" : name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Writes data to a replacement of target and commits it, keeping backup,
// whether the writes went well or not. Buffered, the data waits in the
// stream until the commit, which then meets any write error itself.
bool Replace(const std::string& target, const Bytes& data, const std::string& backup, ReplacementFile& file,
             bool buffered = true) {
    static char buffer[1 << 16];
    if (!BeginReplacement(target, file))
        return false;
    file.backup = backup;
    if (buffered)
        std::setvbuf(file.stream, buffer, _IOFBF, sizeof buffer);
    std::fwrite(data.data(), 1, data.size(), file.stream);
    return CommitReplacement(file);
}

// The old file becomes the backup only once the new one is in place; the new
// file keeps the old one's permissions, and a link stays a link.
TEST(Replacement, OldFileBecomesTheBackupOnlyWhenTheNewOneIsInPlace) {
    const struct {
        bool targetExists, oldBackup, throughLink;
    } cases[] = {{true, false, false}, {true, true, false}, {false, true, false}, {true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        testkit::ScratchDir dir;
        std::string real = dir.file("real.wad"), backup = dir.file("real.BAK");
        if (c.targetExists) {
            testkit::WriteFileBytes(real, Text("old"));
            chmod(real.c_str(), 0604);
        }
        if (c.oldBackup)
            testkit::WriteFileBytes(backup, Text("older"));
        if (c.throughLink)
            fs::create_symlink("real.wad", dir.file("link.wad"));
        const Bytes was = ReadFileBytes(real), backupWas = ReadFileBytes(backup);
        ReplacementFile file;
        ASSERT_TRUE(BeginReplacement(c.throughLink ? dir.file("link.wad") : real, file));
        file.backup = backup;
        std::fputs("new", file.stream);
        // Until the commit, both names hold what they held.
        EXPECT_EQ(ReadFileBytes(real), was);
        EXPECT_EQ(ReadFileBytes(backup), backupWas);
        ASSERT_TRUE(CommitReplacement(file));
        EXPECT_EQ(ReadFileBytes(real), Text("new"));
        EXPECT_EQ(ReadFileBytes(backup), c.targetExists ? was : backupWas);
        EXPECT_EQ(fs::status(real).permissions() == fs::perms(0604), c.targetExists);
        EXPECT_EQ(fs::is_symlink(dir.file("link.wad")), c.throughLink);
        EXPECT_EQ(Names(dir.path()), Names(dir.path(), true));   // no temporary file left
    }
}

TEST(Replacement, BackupsAreCompleteAndLinkedOnlyWhenThatIsSafe) {
    testkit::ScratchDir dir;
    std::string original = dir.file("map.wad");
    testkit::WriteFileBytes(original, Bytes(100000, 7));
    testkit::WriteFileBytes(dir.file("old.bak"), Text("older"));
    int error = 0;
    ASSERT_TRUE(MakeBackupFile(original, dir.file("linked.bak"), BackupMethod::LinkOrCopy, error));
    EXPECT_TRUE(fs::equivalent(dir.file("linked.bak"), original));
    // A copy survives the original being rewritten in place.
    ASSERT_TRUE(MakeBackupFile(original, dir.file("OLD.BAK"), BackupMethod::Copy, error));
    testkit::WriteFileBytes(original, Text("rewritten"));
    EXPECT_EQ(ReadFileBytes(dir.file("old.bak")), Bytes(100000, 7));   // an existing name keeps its case
    // Nothing to copy: the old backup stays.
    EXPECT_FALSE(MakeBackupFile(dir.file("none.wad"), dir.file("old.bak"), BackupMethod::Copy, error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_EQ(ReadFileBytes(dir.file("old.bak")), Bytes(100000, 7));
    EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"linked.bak", "map.wad", "old.bak"}));
}

TEST(Replacement, AWriterKilledPartWayLeavesBothNamesWholeAndALeftoverTheNextRunRemoves) {
    testkit::ScratchDir dir;
    std::string target = dir.file("map.wad"), backup = dir.file("map.BAK");
    const Bytes old(5000, 1), older(3000, 2), replacement(9000, 3);
    const std::vector<std::string> whole = {"map.BAK", "map.wad"};
    const std::vector<std::string> withLeftover = {"<temporary>", "map.BAK", "map.wad"};
    struct Case {
        size_t limit;
        bool copyBackup;   // killed while copying the backup instead
        bool finishes;
    } cases[] = {{4096, false, false}, {2500, true, false}, {100000, false, true}};
    for (const Case& c : cases) {
        testkit::WriteFileBytes(target, old);
        testkit::WriteFileBytes(backup, older);
        testkit::ChildOutcome killed = testkit::RunInChild([&] {
            testkit::LimitFileSize(c.limit);
            int error = 0;
            ReplacementFile file;
            bool done = c.copyBackup ? MakeBackupFile(target, backup, BackupMethod::Copy, error)
                                     : Replace(target, replacement, backup, file);
            return std::string(done ? "done" : "failed");
        });
        SCOPED_TRACE(c.limit);
        EXPECT_EQ(killed.signal, c.finishes ? 0 : SIGXFSZ) << killed.report;
        EXPECT_EQ(ReadFileBytes(target), c.finishes ? replacement : old);
        EXPECT_EQ(ReadFileBytes(backup), c.finishes ? old : older);
        EXPECT_EQ(Names(dir.path()), c.finishes ? whole : withLeftover);
        RemoveLeftoverTemporaryFiles(dir.path());
        EXPECT_EQ(Names(dir.path()), whole);
    }
}

TEST(Replacement, FullDiskOrReadOnlyDirectoryFailWithTheReasonAndChangeNothing) {
    testkit::ScratchDir dir;
    std::string disk = dir.file("disk/");
    fs::create_directory(disk);
    struct Case {
        bool readOnly, buffered;
        std::string reason;
    } cases[] = {{false, true, "No space left on device"},
                 {false, false, "Input/output error"},   // the writer met the error and went on
                 {true, true, "Read-only file system"}};
    for (const Case& c : cases) {
        testkit::ChildOutcome run = testkit::RunInChild([&] {
            if (!testkit::MountSmallDisk(disk, 3 * 4096))
                return std::string("no mount");
            testkit::WriteFileBytes(disk + "map.wad", Bytes(5000, 1));   // two of the three pages
            if (c.readOnly && !testkit::MakeDiskReadOnly(disk))
                return std::string("no mount");
            ReplacementFile file;
            bool replaced = Replace(disk + "map.wad", Bytes(10000, 2), disk + "map.BAK", file, c.buffered);
            int error = 0;
            bool backedUp = MakeBackupFile(disk + "map.wad", disk + "other.BAK", BackupMethod::Copy, error);
            std::string report = replaced ? "replaced" : SystemErrorText(file.error) + " on " + file.failedName;
            report += backedUp ? "; backed up" : "; backup: " + SystemErrorText(error);
            for (const std::string& name : Names(disk))
                report += "; " + name;
            return report + (ReadFileBytes(disk + "map.wad") == Bytes(5000, 1) ? "; whole" : "; damaged");
        });
        if (run.report == "no mount")
            GTEST_SKIP() << "this system allows no private file system";
        std::string backupReason = c.readOnly ? c.reason : "No space left on device";
        EXPECT_EQ(run.report, c.reason + " on " + disk + "map.wad; backup: " + backupReason + "; map.wad; whole");
    }
}

// Only regular files of the temporary form whose writer has ended go.
TEST(Replacement, LeftoversOfEndedProcessesAreRemovedAndNothingElse) {
    testkit::ScratchDir dir;
    const std::string ended = std::to_string(testkit::EndedProcessId()), suffix = ".zarn-partial-" + ended;
    const std::string running = std::to_string(getppid()), own = std::to_string(getpid());
    const std::vector<std::string> kept = {".a.wad.zarn-partial-" + running + "-Ab12Cd",
                                           ".b.wad.zarn-partial-" + own + "-Ab12Cd",
                                           "c.wad" + suffix + "-Ab12Cd", ".d.wad" + suffix + "-Ab12",
                                           ".e.wad.zarn-partial--Ab12Cd", ".f.wad" + suffix + "-Ab1_Cd",
                                           "~Zarn.WAD"};
    for (const std::string& name : kept)
        testkit::WriteFileBytes(dir.file(name), Text("keep"));
    fs::create_directory(dir.file(".i" + suffix + "-Ab12Cd"));   // not a file
    testkit::WriteFileBytes(dir.file(".g.wad" + suffix + "-Ab12Cd"), Text("leftover"));
    testkit::WriteFileBytes(dir.file(".h.cfg" + suffix + "-000000"), Text("leftover"));
    RemoveLeftoverTemporaryFiles(dir.path());
    std::vector<std::string> expected = kept;
    expected.push_back(".i" + suffix + "-Ab12Cd");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(dir.path(), true), expected);
}

// The data directory of a first start is made with the parents it lacks,
// for its owner alone; a file in the way is a failure with the reason.
TEST(Directories, MadeWithTheirParentsOrRefusedWithTheReason) {
    testkit::ScratchDir dir;
    testkit::WriteFileBytes(dir.file("file"), Text("x"));
    // New, already there, a file in the way and a directory below a file.
    const std::pair<const char*, int> cases[] = {
        {"share/brel/", 0}, {"share/brel", 0}, {"file", ENOTDIR}, {"file/brel", ENOTDIR}};
    for (const auto& [name, reason] : cases) {
        int error = 0;
        EXPECT_EQ(MakeDirectories(dir.file(name), error), reason == 0) << name;
        EXPECT_EQ(error, reason) << name;
    }
    EXPECT_EQ(fs::status(dir.file("share")).permissions(), fs::perms(0700));
}

}  // namespace
