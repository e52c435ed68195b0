// Writing "config.ini": the 340 default bytes, a saved file that reads back,
// the whole-file replace, a file that does not read kept as "config.ini.bak",
// and the paths that cannot be written.
#include <gtest/gtest.h>

#include <string>

#include "config_files.h"
#include "settings/settings_store.h"
#include "settings/wide_string.h"

namespace {

using namespace settings_test;

TEST(SettingsWriting, DefaultFileIsTheExact340Bytes) {
    ScratchFolder scratch;
    SettingsStore store;
    const std::u16string path = scratch.path();
    uint64_t waited = millisecondsTaken([&] { EXPECT_EQ(store.writeDefaults(path.c_str()), 1); });
    EXPECT_EQ(waited, 0u);

    const Bytes bytes = scratch.read();
    ASSERT_EQ(bytes.size(), 340u);
    EXPECT_EQ(bytes, utf16le(kDefaultText));
    EXPECT_EQ((Bytes{bytes[0], bytes[1], bytes[2], bytes[3]}), (Bytes{0x5B, 0x00, 0x4C, 0x00}));

    // Every line starts at the byte offset of the file's table and ends in LF.
    const size_t lineStarts[] = {0, 18, 42, 68, 94, 120, 148, 176, 204, 238, 272, 306, 340};
    for (size_t line = 0; line + 1 < std::size(lineStarts); ++line) {
        const size_t lastUnit = lineStarts[line + 1] - 2;
        EXPECT_EQ(bytes[lastUnit], 0x0A) << "line " << line;
        EXPECT_EQ(bytes[lastUnit + 1], 0x00) << "line " << line;
    }
    // The store's own values are not what the defaults write.
    EXPECT_EQ(valueOf(store, 1), u"");
}

TEST(SettingsWriting, SavedValuesReadBack) {
    ScratchFolder scratch;
    const std::u16string path = scratch.path();
    SettingsStore saver;
    const char16_t* exitValues[] = {u"None", u"on",  u"off", u"on",  u"off", u"off",
                                    u"on",   u"-5",  u"2147483647", u"-2147483648", u"0"};
    for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) EXPECT_EQ(saver.setValue(i, exitValues[i]), 1);
    EXPECT_EQ(saver.saveToFile(path.c_str()), 1);

    EXPECT_EQ(scratch.read(), utf16le("[Lagoon]\n"
                                      "name=\"None\";\n"
                                      "sound=\"on\";\n"
                                      "music=\"off\";\n"
                                      "level=\"on\";\n"
                                      "MMCdir=\"off\";\n"
                                      "CAMdir=\"off\";\n"
                                      "DEVdir=\"on\";\n"
                                      "EEasyScores=\"-5\";\n"
                                      "EHardScores=\"2147483647\";\n"
                                      "PEasyScores=\"-2147483648\";\n"
                                      "PHardScores=\"0\";\n"));

    SettingsStore loader;
    EXPECT_EQ(loader.loadFromFile(path.c_str()), 1);
    for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) {
        EXPECT_EQ(valueOf(loader, i), exitValues[i]) << "index " << i;
    }
    EXPECT_EQ(WideString(loader.getValue(7)).decimalValue(), -5);
    EXPECT_EQ(WideString(loader.getValue(9)).decimalValue(), INT32_MIN);
}

TEST(SettingsWriting, SaveReplacesTheWholeFileAndLeavesNothingBehind) {
    ScratchFolder scratch;
    const std::u16string path = scratch.path();
    // A longer old file: nothing of its tail may survive the save.
    scratch.write(Bytes(2000, 'x'));
    SettingsStore store;
    for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) store.setValue(i, i < 7 ? u"off" : u"0");
    EXPECT_EQ(store.saveToFile(path.c_str()), 1);
    EXPECT_EQ(scratch.read(), utf16le(kDefaultText));
    EXPECT_EQ(scratch.entryCount(), 1u);
}

TEST(SettingsWriting, AFileThatDoesNotReadIsKeptAsBakWithItsExactBytes) {
    Bytes withMark = {0xFF, 0xFE};
    const Bytes text = utf16le(kDefaultText);
    withMark.insert(withMark.end(), text.begin(), text.end());
    Bytes huge = utf16le("scores: 90210\n");
    huge.resize(3 << 20, 0xA5);
    struct Row {
        const char* what;
        Bytes bytes;
        bool reads;  // then it stays as it is, and no backup is made
    };
    const Row rows[] = {
        {"byte-order mark", withMark, false},
        {"text before the header", utf16le("; mine\n" + kDefaultText), false},
        {"another header", utf16le("[Lagoon2]\n"), false},
        {"keys shuffled", utf16le("[Lagoon]\nsound=\"on\";\nname=\"None\";\n"), false},
        {"empty", {}, false},
        {"three megabytes of anything", huge, false},
        {"three entries", utf16le("[Lagoon]\nname=\"a\";\nsound=\"on\";\nmusic=\"on\";\n"), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ScratchFolder scratch;
        scratch.write(utf16le("an earlier backup"), "config.ini.bak");
        scratch.write(row.bytes);
        SettingsStore store;
        const std::u16string path = scratch.path();
        EXPECT_EQ(store.loadOrCreate(path.c_str()), 1);
        EXPECT_EQ(scratch.entryCount(), 2u);
        if (row.reads) {
            EXPECT_EQ(scratch.read(), row.bytes);
            EXPECT_EQ(scratch.read("config.ini.bak"), utf16le("an earlier backup"));
            EXPECT_EQ(valueOf(store, 2), u"on");
        } else {
            EXPECT_EQ(scratch.read(), utf16le(kDefaultText));
            EXPECT_EQ(scratch.read("config.ini.bak"), row.bytes);
            EXPECT_EQ(valueOf(store, 2), u"off");
        }
    }

    // With no file at all there is nothing to keep.
    ScratchFolder scratch;
    SettingsStore store;
    const std::u16string path = scratch.path();
    EXPECT_EQ(store.loadOrCreate(path.c_str()), 1);
    EXPECT_EQ(scratch.entryCount(), 1u);

    // No backup can be made (every name it may take is a folder): the file
    // is the only copy, and no save replaces it.
    ScratchFolder full;
    test_files::takeEveryBackupName(full.folder());
    full.write(rows[0].bytes);
    SettingsStore kept;
    const std::u16string keptPath = full.path();
    EXPECT_EQ(kept.loadOrCreate(keptPath.c_str()), 0);
    EXPECT_EQ(kept.saveToFile(keptPath.c_str()), 0);
    EXPECT_EQ(full.read(), rows[0].bytes);
}

TEST(SettingsWriting, UncreatableFileWaitsThreeSecondsAndWritesNothing) {
    ScratchFolder scratch;
    SettingsStore store;
    const std::u16string inMissingFolder = scratch.path("missing/config.ini");
    uint64_t waited = millisecondsTaken([&] { EXPECT_EQ(store.writeDefaults(inMissingFolder.c_str()), 0); });
    EXPECT_EQ(waited, 3000u);
    waited = millisecondsTaken([&] { EXPECT_EQ(store.saveToFile(inMissingFolder.c_str()), 0); });
    EXPECT_EQ(waited, 3000u);

    // A folder where the file should be.
    std::filesystem::create_directory(scratch.file());
    const std::u16string folderPath = scratch.path();
    waited = millisecondsTaken([&] { EXPECT_EQ(store.saveToFile(folderPath.c_str()), 0); });
    EXPECT_EQ(waited, 3000u);
    EXPECT_TRUE(std::filesystem::is_directory(scratch.file()));
    EXPECT_EQ(scratch.entryCount(), 1u);

    // With nowhere to write, loadOrCreate fails: the failed open, then the failed create.
    SettingsStore fresh;
    waited = millisecondsTaken([&] { EXPECT_EQ(fresh.loadOrCreate(inMissingFolder.c_str()), 0); });
    EXPECT_EQ(waited, 1000u + 3000u);
    EXPECT_FALSE(std::filesystem::exists(scratch.folder() / "missing"));
}

TEST(SettingsWriting, OverlongPathIsRefusedNotShortened) {
    ScratchFolder scratch;
    const std::u16string folder = scratch.folder().u16string() + u"/";
    ASSERT_LT(folder.size(), 200u);
    // 255 units is the longest path that fits with its terminator.
    const std::u16string longest = folder + std::u16string(255 - folder.size(), u'a');
    const std::u16string tooLong = longest + u"b";

    SettingsStore store;
    uint64_t waited = millisecondsTaken([&] { EXPECT_EQ(store.writeDefaults(tooLong.c_str()), 0); });
    EXPECT_EQ(waited, 3000u);
    waited = millisecondsTaken([&] { EXPECT_EQ(store.saveToFile(tooLong.c_str()), 0); });
    EXPECT_EQ(waited, 3000u);
    EXPECT_EQ(scratch.entryCount(), 0u);  // in particular no file under the cut-off name

    scratch.write(utf16le(kDefaultText), std::string(255 - folder.size(), 'a'));
    markAllValues(store);
    waited = millisecondsTaken([&] { EXPECT_EQ(store.loadFromFile(tooLong.c_str()), 0); });
    EXPECT_EQ(waited, 1000u);
    EXPECT_EQ(valueOf(store, 0), u"keep");

    EXPECT_EQ(store.loadFromFile(longest.c_str()), 1);
    EXPECT_EQ(valueOf(store, 0), u"off");
    EXPECT_EQ(store.writeDefaults(longest.c_str()), 1);
}

TEST(SettingsWriting, SetValueKeepsWithinTheSlots) {
    SettingsStore store;
    EXPECT_EQ(store.getValue(11), nullptr);
    EXPECT_EQ(store.getValue(UINT32_MAX), nullptr);
    EXPECT_EQ(store.setValue(11, u"on"), 0);

    const std::u16string tooLong(300, u'7');
    EXPECT_EQ(store.setValue(10, tooLong.c_str()), 1);
    EXPECT_EQ(valueOf(store, 10), std::u16string(259, u'7'));
    EXPECT_EQ(store.setValue(3, nullptr), 1);
    EXPECT_EQ(valueOf(store, 3), u"");
    for (uint32_t i = 0; i < 10; ++i) {
        if (i != 3) {
            EXPECT_EQ(valueOf(store, i), u"") << "index " << i;
        }
    }
}

}  // namespace
