// Replacing a file as a player's folder meets it: the old file's mode and
// owner, read-only files, stale temporary files (links among them), a failure
// that leaves nothing behind, two savers at once. Links planted under the
// save's names are tried on the whole program (tests/app).
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "platform/files.h"
#include "support/files.h"
#include "platform/text_encoding.h"

namespace {

namespace fs = std::filesystem;
using plat::OldEntry;

using test_files::entriesOf;
using test_files::readFile;
using test_files::takeEveryBackupName;
using test_files::writeFile;

// An hour before now, for the entry itself (a link is not followed).
void makeOld(const fs::path& p) {
    const timespec anHourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), anHourAgo, AT_SYMLINK_NOFOLLOW), 0) << p;
}

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_mode & 07777;
}

// root/game holds the file; root/else holds "precious", which planted links
// point to, and the name "nothing", which no file has.
class FileReplace : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        root = fs::temp_directory_path() / ("fingulp_replace_" + std::to_string(::getpid()) + "_" +
                                            std::to_string(counter++));
        fs::remove_all(root);
        fs::create_directories(root / "game");
        fs::create_directories(root / "else");
        writeFile(root / "else" / "precious", "precious");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    fs::path game() const { return root / "game"; }
    fs::path config() const { return game() / "config.ini"; }
    bool replace(const std::string& text, OldEntry old = OldEntry::Drop) const {
        return plat::replaceFileAtomically(plat::fromUtf8(config().string()).c_str(), text.data(), text.size(), old);
    }
    void expectElsewhereUntouched() const {
        EXPECT_EQ(entriesOf(root / "else"), std::set<std::string>{"precious"});
        EXPECT_EQ(readFile(root / "else" / "precious"), "precious");
    }
    fs::path root;
};

TEST_F(FileReplace, KeepsTheOldFilesModeAndRefusesReadOnlyOnes) {
    struct Row {
        mode_t mode;
        bool replaced;
    };
    // Root may write anything: a file without a single write bit is what
    // counts as read-only for it.
    const bool root = ::geteuid() == 0;
    const Row rows[] = {
        {0600, true}, {0640, true}, {0644, true}, {0666, true}, {0750, true},
        {0444, false}, {0400, false}, {0555, false}, {0200, root},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::oct << row.mode);
        fs::remove_all(game());
        fs::create_directory(game());
        writeFile(config(), "old");
        ASSERT_EQ(::chmod(config().c_str(), row.mode), 0);
        EXPECT_EQ(replace("new"), row.replaced);
        EXPECT_EQ(readFile(config()), row.replaced ? "new" : "old");
        EXPECT_EQ(modeOf(config()), row.mode);
        EXPECT_EQ(entriesOf(game()), std::set<std::string>{"config.ini"});
    }

    // A first file gets the usual mode of a new file.
    fs::remove(config());
    const mode_t umask = ::umask(022);
    ::umask(umask);
    ASSERT_TRUE(replace("new"));
    EXPECT_EQ(modeOf(config()), 0666 & ~umask);
}

TEST_F(FileReplace, KeepsTheOldFilesOwnerWherePermitted) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    writeFile(config(), "old");
    ASSERT_EQ(::chown(config().c_str(), 4321, 4322), 0);
    ASSERT_TRUE(replace("new"));
    struct stat st {};
    ASSERT_EQ(::stat(config().c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 4322u);
}

TEST_F(FileReplace, RemovesOnlyStaleTemporaryFilesAndOnlyAfterASuccess) {
    enum Kind { Regular, Folder, Link };
    struct Row {
        const char* name;
        Kind kind;
        bool old;
        bool removed;
    };
    const Row rows[] = {
        {"config.ini.new", Regular, true, true},
        {"config.ini.new.Ab3dEf", Regular, true, true},
        {"config.ini.new.000000", Regular, true, true},
        {"config.ini.new.Ab3dEg", Regular, false, false},  // a save running now
        {"config.ini.new.Ab3dE", Regular, true, false},
        {"config.ini.new.Ab3dEfg", Regular, true, false},
        {"config.ini.new.Ab-dEf", Regular, true, false},
        {"config.ini.newer", Regular, true, false},
        {"other.ini.new.Ab3dEf", Regular, true, false},
        {"config.ini.new.Folder", Folder, true, false},
        {"config.ini.new.LinkIt", Link, true, false},
    };
    writeFile(config(), "old");
    for (const Row& row : rows) {
        const fs::path p = game() / row.name;
        if (row.kind == Regular) writeFile(p, "half a save");
        if (row.kind == Folder) fs::create_directory(p);
        if (row.kind == Link) fs::create_symlink(root / "else" / "precious", p);
        if (row.old) makeOld(p);
    }
    // A failed save (no backup can be made) removes nothing.
    takeEveryBackupName(game());
    EXPECT_FALSE(replace("new", OldEntry::KeepAsBackup));
    EXPECT_EQ(entriesOf(game()).size(), std::size(rows) + 11);
    EXPECT_EQ(readFile(config()), "old");

    ASSERT_TRUE(replace("new"));
    for (const Row& row : rows) EXPECT_EQ(fs::exists(fs::symlink_status(game() / row.name)), !row.removed) << row.name;
    expectElsewhereUntouched();
}

TEST_F(FileReplace, FailuresLeaveEverythingAsItWas) {
    struct Row {
        const char* what;
        void (*prepare)(const fs::path& game);
        OldEntry old;
    };
    const Row rows[] = {
        {"every backup name taken by a folder",
         [](const fs::path& g) {
             writeFile(g / "config.ini", "old");
             takeEveryBackupName(g);
         },
         OldEntry::KeepAsBackup},
        {"config.ini is a folder", [](const fs::path& g) { fs::create_directories(g / "config.ini" / "x"); },
         OldEntry::KeepAsBackup},
        {"config.ini is a FIFO", [](const fs::path& g) { ::mkfifo((g / "config.ini").c_str(), 0644); },
         OldEntry::KeepAsBackup},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(game());
        fs::create_directory(game());
        row.prepare(game());
        const std::set<std::string> before = entriesOf(game());
        const auto type = fs::symlink_status(config()).type();
        EXPECT_FALSE(replace("new", row.old));
        EXPECT_EQ(entriesOf(game()), before);
        EXPECT_EQ(fs::symlink_status(config()).type(), type);
        if (type == fs::file_type::regular) {
            EXPECT_EQ(readFile(config()), "old");
        }
    }
    // A path whose folder is a file.
    writeFile(root / "blocker", "not a folder");
    const std::u16string inFile = plat::fromUtf8((root / "blocker" / "config.ini").string());
    EXPECT_FALSE(plat::replaceFileAtomically(inFile.c_str(), "x", 1));
    EXPECT_EQ(readFile(root / "blocker"), "not a folder");
}

// "config.ini.bak" taken by a folder: the next free numbered name, never one in use.
TEST_F(FileReplace, ABackupTakesTheNextFreeNameWhenBakIsAFolder) {
    fs::create_directories(game() / "config.ini.bak" / "x");
    writeFile(game() / "config.ini.bak.1", "an older backup");
    for (const char* expected : {"config.ini.bak.2", "config.ini.bak.3"}) {
        writeFile(config(), std::string("old ") + expected);
        ASSERT_TRUE(replace("new", OldEntry::KeepAsBackup));
        EXPECT_EQ(readFile(game() / expected), std::string("old ") + expected);
    }
    EXPECT_EQ(readFile(game() / "config.ini.bak.1"), "an older backup");
    EXPECT_EQ(readFile(config()), "new");
}

TEST_F(FileReplace, TwoSaversAtOnceNeverLeaveAMixedFile) {
    const std::string first(3000, 'a');
    const std::string second(5000, 'b');
    writeFile(config(), first);
    pid_t savers[2];
    for (int k = 0; k < 2; ++k) {
        savers[k] = ::fork();
        ASSERT_GE(savers[k], 0);
        if (savers[k] == 0) {
            const std::string& mine = k == 0 ? first : second;
            int failures = 0;
            for (int i = 0; i < 300; ++i) failures += replace(mine) ? 0 : 1;
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    // Every look at the file while they race finds one whole file or the other.
    int reads = 0;
    int statuses[2] = {-1, -1};
    while (statuses[0] == -1 || statuses[1] == -1) {
        const std::string now = readFile(config());
        ++reads;
        ASSERT_TRUE(now == first || now == second) << "a file of " << now.size() << " bytes";
        for (int k = 0; k < 2; ++k) {
            int status = 0;
            if (statuses[k] == -1 && ::waitpid(savers[k], &status, WNOHANG) == savers[k]) statuses[k] = status;
        }
    }
    for (int status : statuses) EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
    EXPECT_GT(reads, 0);
    EXPECT_EQ(entriesOf(game()), std::set<std::string>{"config.ini"});
}

}  // namespace
