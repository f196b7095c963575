// Replacing files whole, backups, and the leftovers of killed writers.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/files.h"
#include "support/fault_kit.h"
#include "support/testkit.h"

namespace {

namespace fs = std::filesystem;
using testkit::Bytes;
using testkit::ReadFileBytes;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The names in dir, sorted, temporary files shown as "<temporary>".
std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
        std::string name = e.path().filename().string();
        names.push_back(IsTemporaryFileName(name) ? "<temporary>" : name);
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

ino_t Inode(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_ino;
}

pid_t EndedProcess() {
    pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

TEST(Replacement, OldFileBecomesTheBackupOnlyWhenTheNewOneIsInPlace) {
    struct Case {
        const char* what;
        bool targetExists, oldBackup, throughLink;
    } cases[] = {{"first backup", true, false, false},
                 {"backup replaced", true, true, false},
                 {"new file, old backup kept", false, true, false},
                 {"linked file", true, false, true}};
    for (const Case& c : cases) {
        testkit::ScratchDir dir;
        std::string real = dir.file("real.wad"), backup = dir.file("real.BAK");
        if (c.targetExists) {
            testkit::WriteFileBytes(real, Text("old"));
            chmod(real.c_str(), 0604);   // kept by the new file
        }
        if (c.oldBackup)
            testkit::WriteFileBytes(backup, Text("older"));
        if (c.throughLink)
            fs::create_symlink("real.wad", dir.file("link.wad"));
        ReplacementFile file;
        ASSERT_TRUE(BeginReplacement(c.throughLink ? dir.file("link.wad") : real, file)) << c.what;
        file.backup = backup;
        std::fputs("new", file.stream);
        // Until the commit, both names hold what they held.
        EXPECT_EQ(ReadFileBytes(real), c.targetExists ? Text("old") : Bytes()) << c.what;
        EXPECT_EQ(ReadFileBytes(backup), c.oldBackup ? Text("older") : Bytes()) << c.what;
        ASSERT_TRUE(CommitReplacement(file)) << c.what;
        EXPECT_EQ(ReadFileBytes(real), Text("new")) << c.what;
        EXPECT_EQ(ReadFileBytes(backup), c.targetExists ? Text("old") : c.oldBackup ? Text("older") : Bytes())
            << c.what;
        EXPECT_EQ(fs::status(real).permissions() == fs::perms(0604), c.targetExists) << c.what;
        EXPECT_EQ(fs::is_symlink(dir.file("link.wad")), c.throughLink) << c.what;
        for (const std::string& name : Names(dir.path()))
            EXPECT_NE(name, "<temporary>") << c.what;
    }
}

TEST(Replacement, BackupsAreCompleteAndLinkedOnlyWhenThatIsSafe) {
    testkit::ScratchDir dir;
    std::string original = dir.file("map.wad");
    testkit::WriteFileBytes(original, Bytes(100000, 7));
    testkit::WriteFileBytes(dir.file("old.bak"), Text("older"));
    int error = 0;
    ASSERT_TRUE(MakeBackupFile(original, dir.file("linked.bak"), BackupMethod::LinkOrCopy, error));
    EXPECT_EQ(Inode(dir.file("linked.bak")), Inode(original));
    // A copy survives the original being rewritten in place.
    ASSERT_TRUE(MakeBackupFile(original, dir.file("OLD.BAK"), BackupMethod::Copy, error));
    testkit::WriteFileBytes(original, Text("rewritten"));
    EXPECT_EQ(ReadFileBytes(dir.file("old.bak")), Bytes(100000, 7));   // an existing name keeps its case
    EXPECT_FALSE(fs::exists(dir.file("OLD.BAK")));
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
        std::vector<std::string> expected = {"map.BAK", "map.wad"};
        if (!c.finishes)
            expected.insert(expected.begin(), "<temporary>");
        EXPECT_EQ(Names(dir.path()), expected);
        RemoveLeftoverTemporaryFiles(dir.path());
        EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"map.BAK", "map.wad"}));
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

TEST(Replacement, LeftoversOfEndedProcessesAreRemovedAndNothingElse) {
    testkit::ScratchDir dir;
    std::string ended = std::to_string(EndedProcess());
    std::string running = std::to_string(getppid()), own = std::to_string(getpid());
    const std::vector<std::string> kept = {".a.wad.zarn-partial-" + running + "-Ab12Cd",
                                           ".b.wad.zarn-partial-" + own + "-Ab12Cd",
                                           "c.wad.zarn-partial-" + ended + "-Ab12Cd",
                                           ".d.wad.zarn-partial-" + ended + "-Ab12",
                                           ".e.wad.zarn-partial--Ab12Cd",
                                           ".f.wad.zarn-partial-" + ended + "-Ab1_Cd",
                                           "~Zarn.WAD"};
    for (const std::string& name : kept)
        testkit::WriteFileBytes(dir.file(name), Text("keep"));
    testkit::WriteFileBytes(dir.file(".g.wad.zarn-partial-" + ended + "-Ab12Cd"), Text("leftover"));
    testkit::WriteFileBytes(dir.file(".h.cfg.zarn-partial-" + ended + "-000000"), Text("leftover"));
    fs::create_directory(dir.file(".i.zarn-partial-" + ended + "-Ab12Cd"));
    RemoveLeftoverTemporaryFiles(dir.path());
    std::vector<std::string> left;
    for (const fs::directory_entry& e : fs::directory_iterator(dir.path()))
        left.push_back(e.path().filename().string());
    std::vector<std::string> expected = kept;
    expected.push_back(".i.zarn-partial-" + ended + "-Ab12Cd");
    std::sort(left.begin(), left.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
}

// The data directory of a first start is made with the parents it lacks,
// for its owner alone; a file in the way is a failure with the reason.
TEST(Directories, MadeWithTheirParentsOrRefusedWithTheReason) {
    testkit::ScratchDir dir;
    testkit::WriteFileBytes(dir.file("file"), Text("x"));
    const struct {
        std::string path;
        bool made;
        int error;
    } cases[] = {
        {dir.file("share/brel/"), true, 0},
        {dir.file("share/brel"), true, 0},   // already there
        {dir.file("file"), false, ENOTDIR},
        {dir.file("file/brel"), false, ENOTDIR},
    };
    for (const auto& c : cases) {
        int error = 0;
        EXPECT_EQ(MakeDirectories(c.path, error), c.made) << c.path;
        EXPECT_EQ(error, c.error) << c.path;
    }
    struct stat st {};
    ASSERT_EQ(stat(dir.file("share").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

}  // namespace
