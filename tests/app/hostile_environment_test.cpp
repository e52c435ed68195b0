// Start-up and Exit in hostile folders: no settings file, a folder nobody may
// write in, "config.ini" as a folder, empty, huge, random and mis-encoded
// files (kept aside as "config.ini.bak"), read-only and private files, links
// planted under every name the save uses, stale temporary files, folder names
// that are not valid UTF-8, and folder paths at and past the platform's limit.
// Each program runs in a child process (a crash is a failed case), starts,
// waits on the main menu, chooses Exit and reports what it saw, message boxes
// included; the test then checks what is left in the folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <chrono>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/files.h"
#include "platform/headless/headless.h"
#include "platform/testing/windowing_reset.h"
#include "platform/text_encoding.h"
#include "platform/windowing.h"
#include "screens/controller.h"
#include "state/program_state.h"
#include "testing/program_reset.h"
#include "support/files.h"
#include "testing/state_report.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

Bytes utf16le(const std::string& ascii) {
    Bytes bytes;
    for (unsigned char c : ascii) {
        bytes.push_back(c);
        bytes.push_back(0);
    }
    return bytes;
}

struct Settings {
    std::string switches = "000000";  // Vibrate, Sound, level, then the three kept switches
    std::array<int32_t, 4> scores = {0, 0, 0, 0};
};

// The file as the game writes it; `name` is "off" in the default file and
// "None" once Exit has saved.
std::string settingsText(const Settings& s, const std::string& name, const std::vector<int>& order = {}) {
    static const char* const keys[11] = {"name",   "sound",       "music",       "level",       "MMCdir",     "CAMdir",
                                         "DEVdir", "EEasyScores", "EHardScores", "PEasyScores", "PHardScores"};
    std::string values[11];
    values[0] = name;
    for (int i = 0; i < 6; ++i) values[1 + i] = s.switches[i] == '1' ? "on" : "off";
    for (int i = 0; i < 4; ++i) values[7 + i] = std::to_string(s.scores[i]);
    std::string text = "[Lagoon]\n";
    for (int k = 0; k < 11; ++k) {
        const int i = order.empty() ? k : order[k];
        text += std::string(keys[i]) + "=\"" + values[i] + "\";\n";
    }
    return text;
}

Bytes exitFile(const Settings& s) { return utf16le(settingsText(s, "None")); }

using test_files::entriesOf;
const auto readBytes = test_files::readFile<Bytes>;
const auto writeBytes = test_files::writeFile<Bytes>;

// A folder of exactly `length` characters below `root` (one or more levels).
fs::path folderOfLength(const fs::path& root, size_t length) {
    fs::path folder = root;
    while (folder.string().size() < length) {
        const size_t room = length - folder.string().size() - 1;
        folder /= std::string(std::min<size_t>(room, 200), 'd');
    }
    fs::create_directories(folder);
    return folder;
}

// Settings that differ from the defaults everywhere they can.
const Settings kOwnSettings = {"010000", {42, 7, -3, 1000}};

// --- One run of the program, in the child process ------------------------------

constexpr char kStartAndExit[] =
    "wait 10000\n"  // splash, settings, message box: on the main menu long before
    "key down\nkey down\nkey down\nkey down\n"  // "Exit" is the fifth row
    "key enter\n";

[[noreturn]] void runProgramAndReport(const std::u16string& exeFolder) {
    plat::resetWindowing();
    plat::headless::reset();
    resetProgram();
    plat::headless::setExecutablePath(exeFolder + u"/fingulp");
    std::string error;
    if (!plat::headless::loadScript(kStartAndExit, error)) {
        std::fprintf(stderr, "bad script: %s\n", error.c_str());
        std::_Exit(4);
    }
    plat::headless::onInputExhausted([] {
        std::fprintf(stderr, "the program did not end on Exit: %s\n", describeProgramState().c_str());
        std::_Exit(3);
    });
    const int code = programMain();
    // The message boxes shown, in order: "create" at start-up, "save" at Exit.
    std::string messages;
    for (const auto& entry : plat::headless::log()) {
        if (entry.text.rfind("message ", 0) != 0) continue;
        if (entry.text == "message \"Can't create config file!\" caption \"\" style 16") {
            messages += "create,";
        } else if (entry.text == "message \"Can't save config file!\" caption \"\" style 16") {
            messages += "save,";
        } else {
            messages += "other,";
            std::fprintf(stderr, "unexpected %s\n", entry.text.c_str());
        }
    }
    std::string switches;
    for (uint8_t f : screenController.switches) switches += static_cast<char>('0' + f);
    const int32_t* s = scoreTable ? scoreTable->bestScores : nullptr;
    std::fprintf(stderr, "outcome exit=%d messages=%s switches=%s scores=%d,%d,%d,%d\n", code, messages.c_str(), switches.c_str(),
                 s ? s[0] : -999, s ? s[1] : -999, s ? s[2] : -999, s ? s[3] : -999);
    std::exit(0);  // under LeakSanitizer, the leak check runs here
}

std::string outcome(const std::string& messages, const Settings& s) {
    return "outcome exit=0 messages=" + messages + " switches=" + s.switches +
           " scores=" + std::to_string(s.scores[0]) + "," + std::to_string(s.scores[1]) + "," +
           std::to_string(s.scores[2]) + "," + std::to_string(s.scores[3]) + "\n";
}

// --- The table ---------------------------------------------------------------------

struct Folder {
    fs::path root;     // the scratch folder
    fs::path exeDir;   // where the program believes it runs
    Bytes configBefore;  // what the case put into config.ini, if anything
};

struct HostileCase {
    std::string name;
    bool needsNonRoot;  // root writes into read-only folders anyway
    std::function<void(Folder&)> prepare;
    const char* messages;  // "create," (at start-up), "save," (at Exit), both or none
    Settings loaded;    // switches and best scores in play after start-up
    // What the folder holds after Exit.
    std::function<void(const Folder&)> checkAfter;
};

void onlySavedFile(const Folder& f, const Settings& s) {
    EXPECT_EQ(entriesOf(f.exeDir), std::set<std::string>{"config.ini"});
    EXPECT_EQ(readBytes(f.exeDir / "config.ini"), exitFile(s));
}

// The file that did not read, kept byte for byte beside the saved one.
void savedFileAndBackup(const Folder& f, const Settings& s) {
    EXPECT_EQ(entriesOf(f.exeDir), (std::set<std::string>{"config.ini", "config.ini.bak"}));
    EXPECT_EQ(readBytes(f.exeDir / "config.ini"), exitFile(s));
    EXPECT_EQ(readBytes(f.exeDir / "config.ini.bak"), f.configBefore);
}

// The file as the case left it, and nothing beside it.
void untouchedFile(const Folder& f) {
    EXPECT_EQ(entriesOf(f.exeDir), std::set<std::string>{"config.ini"});
    EXPECT_EQ(readBytes(f.exeDir / "config.ini"), f.configBefore);
}

void writeConfig(Folder& f, const Bytes& bytes) {
    f.configBefore = bytes;
    writeBytes(f.exeDir / "config.ini", bytes);
}

Bytes withByteOrderMark(const Settings& s) {
    Bytes bytes = {0xFF, 0xFE};
    const Bytes text = utf16le(settingsText(s, "off"));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

// The game in root/game, and a folder elsewhere (root/else) holding what
// planted links point to: "precious", and the name "nothing" that no file has.
void gameAndElsewhere(Folder& f) {
    f.exeDir = f.root / "game";
    fs::create_directories(f.exeDir);
    fs::create_directories(f.root / "else");
    writeBytes(f.root / "else" / "precious", utf16le("precious"));
}

void elsewhereUntouched(const Folder& f) {
    EXPECT_EQ(entriesOf(f.root / "else"), std::set<std::string>{"precious"});
    EXPECT_EQ(readBytes(f.root / "else" / "precious"), utf16le("precious"));
}

constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read;
constexpr fs::perms kPrivate = fs::perms::owner_read | fs::perms::owner_write;

// The player's own settings in a file of the given permissions.
void writeOwnSettings(Folder& f, fs::perms mode) {
    writeConfig(f, utf16le(settingsText(kOwnSettings, "off")));
    fs::permissions(f.exeDir / "config.ini", mode);
}

fs::perms modeOf(const fs::path& file) { return fs::symlink_status(file).permissions() & fs::perms::mask; }

void makeOld(const fs::path& file) {
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
}

// Folder names that are not valid UTF-8, each an imitation that a lenient
// decoder falls for.
struct OddName {
    const char* caseName;
    std::string bytes;
};
const OddName kOddFolderNames[] = {
    {"OverlongNul", std::string("ab\xC0\x80" "cd")},
    {"OverlongSlash", "ab\xC0\xAF" "cd"},
    {"ThreeByteOverlongSlash", "ab\xE0\x80\xAF" "cd"},
    {"Latin1", "caf\xE9"},
    {"ByteFF", "x\xFF"},
    {"LoneContinuation", "x\x80y"},
    {"EncodedSurrogate", "x\xED\xA0\x80y"},
    {"EncodedSurrogatePair", "x\xED\xA0\xBD\xED\xB0\x9F"},
    {"PastTheLastCodePoint", "x\xF4\x90\x80\x80"},
    {"FiveByteForm", "x\xF8\x88\x80\x80\x80"},
    {"CutShortAtTheEnd", "x\xE2\x82"},
    {"CutShortInside", "x\xE2\x82y"},
    {"EscapedByteTwice", "\xED\xB3\xA9\xE9"},  // U+DCE9 spelt out, then the byte it stands for
};

std::vector<HostileCase> hostileCases() {
    const Settings defaults;
    std::vector<HostileCase> cases = {
        {"NoConfigFile", false, [](Folder&) {}, "", defaults,
         [defaults](const Folder& f) { onlySavedFile(f, defaults); }},

        {"ReadOnlyFolder", true, [](Folder& f) { fs::permissions(f.exeDir, fs::perms::owner_read | fs::perms::owner_exec); },
         "create,save,", defaults, [](const Folder& f) { EXPECT_TRUE(entriesOf(f.exeDir).empty()); }},

        {"ReadOnlyFolderWithItsFile", true,
         [](Folder& f) {
             writeConfig(f, utf16le(settingsText(kOwnSettings, "off")));
             fs::permissions(f.exeDir, fs::perms::owner_read | fs::perms::owner_exec);
         },
         "save,", kOwnSettings, untouchedFile},

        {"FolderPathThroughAFile", false,
         [](Folder& f) {
             // Unwritable even for root: the executable's "folder" is a file.
             writeBytes(f.root / "blocker", utf16le("not a folder"));
             f.exeDir = f.root / "blocker";
         },
         "create,save,", defaults,
         [](const Folder& f) {
             EXPECT_EQ(entriesOf(f.root), std::set<std::string>{"blocker"});
             EXPECT_EQ(readBytes(f.root / "blocker"), utf16le("not a folder"));
         }},

        {"ConfigIniIsAFolder", false,
         [](Folder& f) {
             fs::create_directory(f.exeDir / "config.ini");
             writeBytes(f.exeDir / "config.ini" / "keep.txt", utf16le("keep"));
         },
         "create,save,", defaults,
         [](const Folder& f) {
             EXPECT_EQ(entriesOf(f.exeDir), std::set<std::string>{"config.ini"});
             ASSERT_TRUE(fs::is_directory(f.exeDir / "config.ini"));
             EXPECT_EQ(entriesOf(f.exeDir / "config.ini"), std::set<std::string>{"keep.txt"});
             EXPECT_EQ(readBytes(f.exeDir / "config.ini" / "keep.txt"), utf16le("keep"));
         }},

        {"EmptyFile", false, [](Folder& f) { writeConfig(f, {}); }, "", defaults,
         [defaults](const Folder& f) { savedFileAndBackup(f, defaults); }},

        {"MillionBytes", false,
         [](Folder& f) {
             // Good entries, blank lines and spaces past byte 1000, then anything.
             Bytes bytes = utf16le(settingsText(kOwnSettings, "off"));
             while (bytes.size() < 1200) {
                 const Bytes blank = utf16le(" \n");
                 bytes.insert(bytes.end(), blank.begin(), blank.end());
             }
             std::mt19937 random(7);
             while (bytes.size() < 1000000) bytes.push_back(static_cast<uint8_t>(random()));
             writeConfig(f, bytes);
         },
         "", kOwnSettings, [](const Folder& f) { onlySavedFile(f, kOwnSettings); }},

        {"RandomBytes", false,
         [](Folder& f) {
             std::mt19937 random(2002);
             Bytes bytes(4096);
             for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
             bytes[0] = 0xA5;  // never the start of "[Lagoon]"
             writeConfig(f, bytes);
         },
         "", defaults, [defaults](const Folder& f) { savedFileAndBackup(f, defaults); }},

        {"ByteOrderMark", false, [](Folder& f) { writeConfig(f, withByteOrderMark(kOwnSettings)); },
         // The mark fails the header test: the game starts afresh, the file is kept aside.
         "", defaults, [defaults](const Folder& f) { savedFileAndBackup(f, defaults); }},

        {"KeysShuffled", false,
         [](Folder& f) { writeConfig(f, utf16le(settingsText(kOwnSettings, "off", {0, 2, 1, 3, 4, 5, 6, 7, 8, 10, 9}))); },
         "", defaults, [defaults](const Folder& f) { savedFileAndBackup(f, defaults); }},

        {"EarlierBackupReplaced", false,
         [](Folder& f) {
             writeBytes(f.exeDir / "config.ini.bak", utf16le("an older backup"));
             writeConfig(f, withByteOrderMark(kOwnSettings));
         },
         "", defaults, [defaults](const Folder& f) { savedFileAndBackup(f, defaults); }},

        {"ReadOnlyFile", false, [](Folder& f) { writeOwnSettings(f, kReadOnly); }, "save,", kOwnSettings,
         [](const Folder& f) {
             untouchedFile(f);
             EXPECT_EQ(modeOf(f.exeDir / "config.ini"), kReadOnly);
         }},

        {"ReadOnlyDamagedFile", false,
         [](Folder& f) {
             writeConfig(f, withByteOrderMark(kOwnSettings));
             fs::permissions(f.exeDir / "config.ini", fs::perms::owner_read);
         },
         "create,save,", defaults, untouchedFile},

        {"PrivateFile", false, [](Folder& f) { writeOwnSettings(f, kPrivate); }, "", kOwnSettings,
         [](const Folder& f) {
             onlySavedFile(f, kOwnSettings);
             EXPECT_EQ(modeOf(f.exeDir / "config.ini"), kPrivate);
         }},

        {"StaleTemporaryFiles", false,
         [](Folder& f) {
             writeConfig(f, utf16le(settingsText(kOwnSettings, "off")));
             for (const char* name : {"config.ini.new", "config.ini.new.Q7x2Lp"}) {
                 writeBytes(f.exeDir / name, utf16le("[Lag"));
                 makeOld(f.exeDir / name);
             }
         },
         "", kOwnSettings, [](const Folder& f) { onlySavedFile(f, kOwnSettings); }},

        {"ConfigIniLinksToTheSettings", false,
         [](Folder& f) {
             gameAndElsewhere(f);
             writeBytes(f.root / "else" / "precious", utf16le(settingsText(kOwnSettings, "off")));
             fs::create_symlink(f.root / "else" / "precious", f.exeDir / "config.ini");
         },
         // Read through the link; the save puts a file in the link's place.
         "", kOwnSettings,
         [](const Folder& f) {
             onlySavedFile(f, kOwnSettings);
             EXPECT_FALSE(fs::is_symlink(f.exeDir / "config.ini"));
             EXPECT_EQ(readBytes(f.root / "else" / "precious"), utf16le(settingsText(kOwnSettings, "off")));
         }},

        {"ConfigIniDanglingLink", false,
         [](Folder& f) {
             gameAndElsewhere(f);
             fs::create_symlink(f.root / "else" / "nothing", f.exeDir / "config.ini");
         },
         "", defaults,
         [defaults](const Folder& f) {
             EXPECT_EQ(entriesOf(f.exeDir), (std::set<std::string>{"config.ini", "config.ini.bak"}));
             EXPECT_EQ(readBytes(f.exeDir / "config.ini"), exitFile(defaults));
             EXPECT_EQ(fs::read_symlink(f.exeDir / "config.ini.bak"), f.root / "else" / "nothing");
             elsewhereUntouched(f);
         }},

        {"BackupNameLinksElsewhere", false,
         [](Folder& f) {
             gameAndElsewhere(f);
             writeConfig(f, withByteOrderMark(kOwnSettings));
             fs::create_symlink(f.root / "else" / "precious", f.exeDir / "config.ini.bak");
         },
         "", defaults,
         [defaults](const Folder& f) {
             savedFileAndBackup(f, defaults);
             EXPECT_FALSE(fs::is_symlink(f.exeDir / "config.ini.bak"));
             elsewhereUntouched(f);
         }},

        {"FolderPathPastTheLimit", false,
         [](Folder& f) { f.exeDir = folderOfLength(f.root, 300); },
         "create,save,", defaults, [](const Folder& f) { EXPECT_TRUE(entriesOf(f.exeDir).empty()); }},

        {"ConfigPathOneUnitPastTheLimit", false,
         // The executable's path (folder + "/fingulp") still fits; folder +
         // "/config.ini" needs 256 units and the terminator makes 257.
         [](Folder& f) { f.exeDir = folderOfLength(f.root, plat::kMaxPath - 11); },
         "create,save,", defaults, [](const Folder& f) { EXPECT_TRUE(entriesOf(f.exeDir).empty()); }},

        {"ConfigPathJustWithinTheLimit", false,
         [](Folder& f) { f.exeDir = folderOfLength(f.root, plat::kMaxPath - 12); },
         "", defaults, [defaults](const Folder& f) { onlySavedFile(f, defaults); }},
    };

    // Links, to a file and dangling, under the names the save writes and
    // cleans up: never followed, never removed.
    for (const char* name : {"config.ini.new", "config.ini.new.Q7x2Lp"}) {
        for (const char* target : {"precious", "nothing"}) {
            cases.push_back(
                {"LinkAs_" + std::string(name) + "_To_" + target, false,
                 [name, target](Folder& f) {
                     gameAndElsewhere(f);
                     fs::create_symlink(f.root / "else" / target, f.exeDir / name);
                 },
                 "", defaults,
                 [defaults, name, target](const Folder& f) {
                     EXPECT_EQ(entriesOf(f.exeDir), (std::set<std::string>{"config.ini", name}));
                     EXPECT_EQ(readBytes(f.exeDir / "config.ini"), exitFile(defaults));
                     EXPECT_EQ(fs::read_symlink(f.exeDir / name), f.root / "else" / target);
                     elsewhereUntouched(f);
                 }});
        }
    }

    // config.ini lands in the oddly named folder itself, and nowhere else.
    for (const OddName& odd : kOddFolderNames) {
        const std::string folderName = odd.bytes;
        cases.push_back({std::string("FolderNamed") + odd.caseName, false,
                         [folderName](Folder& f) {
                             writeBytes(f.root / "ab", utf16le("sibling"));
                             f.exeDir = f.root / folderName;
                             fs::create_directory(f.exeDir);
                         },
                         "", defaults,
                         [defaults, folderName](const Folder& f) {
                             onlySavedFile(f, defaults);
                             EXPECT_EQ(entriesOf(f.root), (std::set<std::string>{"ab", folderName}));
                             EXPECT_EQ(readBytes(f.root / "ab"), utf16le("sibling"));
                         }});
    }
    return cases;
}

// Test listings name the case rather than dump its bytes.
void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

class HostileEnvironment : public ::testing::TestWithParam<HostileCase> {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        folder.root = fs::temp_directory_path() /
                      ("fingulp_hostile_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(folder.root);
        fs::create_directories(folder.root);
        folder.exeDir = folder.root;
    }
    void TearDown() override {
        std::error_code ignored;
        // A read-only folder must be made writable again before it can go.
        for (const auto& entry : fs::recursive_directory_iterator(folder.root, ignored)) {
            if (entry.is_directory(ignored)) fs::permissions(entry.path(), fs::perms::owner_all, ignored);
        }
        fs::permissions(folder.root, fs::perms::owner_all, ignored);
        fs::remove_all(folder.root, ignored);
    }
    Folder folder;
};

TEST_P(HostileEnvironment, StartsAndExitsWithoutCrashOrLitter) {
    const HostileCase& c = GetParam();
    if (c.needsNonRoot && ::geteuid() == 0) {
        GTEST_SKIP() << "root may write into a read-only folder; FolderPathThroughAFile covers an unwritable one";
    }
    c.prepare(folder);
    const std::u16string exeDir = plat::fromUtf8(folder.exeDir.string());
    EXPECT_EXIT(runProgramAndReport(exeDir), ::testing::ExitedWithCode(0), outcome(c.messages, c.loaded));
    c.checkAfter(folder);
}

INSTANTIATE_TEST_SUITE_P(Folders, HostileEnvironment, ::testing::ValuesIn(hostileCases()),
                         [](const ::testing::TestParamInfo<HostileCase>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

}  // namespace
