// Reading "config.ini": the lenient cleaning of the text, every way a read
// can go wrong (result, pause and what the value slots hold afterwards), the
// 1000-byte limit and files made to overrun the reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config_files.h"
#include "settings/settings_store.h"

namespace {

using namespace settings_test;

// Loads `bytes` as "config.ini" into `store`; gives the result and the pause.
struct LoadOutcome {
    int32_t result;
    uint64_t waited;
};

LoadOutcome load(SettingsStore& store, const ScratchFolder& scratch, const Bytes& bytes) {
    scratch.write(bytes);
    const std::u16string path = scratch.path();
    LoadOutcome outcome{};
    outcome.waited = millisecondsTaken([&] { outcome.result = store.loadFromFile(path.c_str()); });
    return outcome;
}

// The default text with one line replaced (index 0 is the header line).
std::string withLine(size_t lineIndex, const std::string& line) {
    std::string text;
    size_t start = 0;
    for (size_t index = 0; start < kDefaultText.size(); ++index) {
        const size_t end = kDefaultText.find('\n', start) + 1;
        text += index == lineIndex ? line : kDefaultText.substr(start, end - start);
        start = end;
    }
    return text;
}

void expectDefaults(const SettingsStore& store) {
    for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) {
        EXPECT_EQ(valueOf(store, i), i < 7 ? u"off" : u"0") << "index " << i;
    }
}

TEST(SettingsCleaning, DefaultFileLoadsInBothEncodings) {
    ScratchFolder scratch;
    SettingsStore wide;
    LoadOutcome outcome = load(wide, scratch, utf16le(kDefaultText));
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.waited, 1000u);
    expectDefaults(wide);

    SettingsStore narrow;
    EXPECT_EQ(load(narrow, scratch, eightBit(kDefaultText)).result, 1);
    expectDefaults(narrow);
}

TEST(SettingsCleaning, SpacesLineEndsAndQuotes) {
    ScratchFolder scratch;
    SettingsStore store;

    // Spaces outside the quotes fall away, around "=" and before ";"; spaces
    // inside the quotes stay.
    std::string spaced = withLine(2, "sound = \"on\" ;\n");
    spaced.replace(0, 8, " [Lagoon] ");
    spaced.replace(spaced.find("name=\"off\""), 10, "  name=\"a b\"");
    // A value without quotes, and letter case kept as written.
    spaced.replace(spaced.find("music=\"off\""), 11, "music=on");
    spaced.replace(spaced.find("level=\"off\""), 11, "level=\"ON\"");
    EXPECT_EQ(load(store, scratch, utf16le(spaced)).result, 1);
    EXPECT_EQ(valueOf(store, 0), u"a b");
    EXPECT_EQ(valueOf(store, 1), u"on");
    EXPECT_EQ(valueOf(store, 2), u"on");
    EXPECT_EQ(valueOf(store, 3), u"ON");
    EXPECT_EQ(valueOf(store, 4), u"off");

    // CR LF line ends read like LF, in UTF-16 and in an 8-bit file.
    std::string crlf;
    for (char c : spaced) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    for (const Bytes& bytes : {utf16le(crlf), eightBit(crlf)}) {
        SettingsStore again;
        EXPECT_EQ(load(again, scratch, bytes).result, 1);
        for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) {
            EXPECT_EQ(valueOf(again, i), valueOf(store, i)) << "index " << i;
        }
    }
}

TEST(SettingsCleaning, EmptyValueReadsAsTheEmptyText) {
    ScratchFolder scratch;
    SettingsStore store;
    markAllValues(store);
    EXPECT_EQ(load(store, scratch, utf16le(withLine(1, "name=\"\";\n"))).result, 1);
    EXPECT_EQ(valueOf(store, 0), u"");
    EXPECT_EQ(valueOf(store, 1), u"off");
    EXPECT_EQ(valueOf(store, 10), u"0");
}

TEST(SettingsFailures, MissingFileFailsAfterOneSecond) {
    ScratchFolder scratch;
    SettingsStore store;
    markAllValues(store);
    const std::u16string path = scratch.path();
    const uint64_t waited = millisecondsTaken([&] { EXPECT_EQ(store.loadFromFile(path.c_str()), 0); });
    EXPECT_EQ(waited, 1000u);
    EXPECT_EQ(valueOf(store, 0), u"keep");
    EXPECT_EQ(valueOf(store, 10), u"keep");
    EXPECT_EQ(scratch.entryCount(), 0u);
}

TEST(SettingsFailures, LoadOrCreateWritesTheDefaultsWhenThereIsNoFile) {
    ScratchFolder scratch;
    SettingsStore store;
    const std::u16string path = scratch.path();
    // One second for the failed open, one for the read of the new file.
    const uint64_t waited = millisecondsTaken([&] { EXPECT_EQ(store.loadOrCreate(path.c_str()), 1); });
    EXPECT_EQ(waited, 2000u);
    EXPECT_EQ(scratch.read(), utf16le(kDefaultText));
    expectDefaults(store);
}

TEST(SettingsFailures, ReadFailureSucceedsWithValuesUntouched) {
    // A regular file that opens but cannot be read from its start.
    const std::filesystem::path unreadable = "/proc/self/mem";
    if (!std::filesystem::is_regular_file(unreadable)) GTEST_SKIP() << "no /proc/self/mem here";
    SettingsStore store;
    markAllValues(store);
    const std::u16string path = unreadable.u16string();
    const uint64_t waited = millisecondsTaken([&] { EXPECT_EQ(store.loadFromFile(path.c_str()), 1); });
    EXPECT_EQ(waited, 1000u);
    for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) EXPECT_EQ(valueOf(store, i), u"keep");
}

TEST(SettingsFailures, DifferentHeaderFailsAtOnce) {
    ScratchFolder scratch;
    const std::string headers[] = {"[Ocean]\n", "x[Lagoon]\n", "[Lagon]\n", ""};
    for (const std::string& header : headers) {
        SettingsStore store;
        markAllValues(store);
        const LoadOutcome outcome = load(store, scratch, utf16le(withLine(0, header)));
        EXPECT_EQ(outcome.result, 0) << header;
        EXPECT_EQ(outcome.waited, 0u) << header;
        EXPECT_EQ(valueOf(store, 0), u"keep") << header;
    }
    // A byte-order mark is text before the header.
    Bytes marked{0xFF, 0xFE};
    const Bytes text = utf16le(kDefaultText);
    marked.insert(marked.end(), text.begin(), text.end());
    SettingsStore store;
    markAllValues(store);
    const LoadOutcome outcome = load(store, scratch, marked);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.waited, 0u);
    EXPECT_EQ(valueOf(store, 0), u"keep");

    // loadOrCreate then replaces the file with the defaults and reads those.
    const std::u16string path = scratch.path();
    EXPECT_EQ(store.loadOrCreate(path.c_str()), 1);
    EXPECT_EQ(scratch.read(), utf16le(kDefaultText));
    expectDefaults(store);
}

TEST(SettingsFailures, KeyMismatchKeepsTheEntriesBeforeIt) {
    ScratchFolder scratch;
    const std::string misspelt = "[Lagoon]\nname=\"Ann\";\nsound=\"on\";\nmusik=\"on\";\nlevel=\"on\";\n";
    SettingsStore store;
    markAllValues(store);
    const LoadOutcome outcome = load(store, scratch, utf16le(misspelt));
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.waited, 0u);
    EXPECT_EQ(valueOf(store, 0), u"Ann");
    EXPECT_EQ(valueOf(store, 1), u"on");
    for (uint32_t i = 2; i < SettingsStore::kEntryCount; ++i) EXPECT_EQ(valueOf(store, i), u"keep");

    // Keys out of order: entry 0 already fails; loadOrCreate resets the file.
    const std::string swapped = "[Lagoon]\nsound=\"on\";\nname=\"off\";\n" +
                                kDefaultText.substr(kDefaultText.find("music="));
    SettingsStore other;
    markAllValues(other);
    EXPECT_EQ(load(other, scratch, utf16le(swapped)).result, 0);
    EXPECT_EQ(valueOf(other, 0), u"keep");
    const std::u16string path = scratch.path();
    EXPECT_EQ(other.loadOrCreate(path.c_str()), 1);
    EXPECT_EQ(scratch.read(), utf16le(kDefaultText));
    expectDefaults(other);
}

TEST(SettingsFailures, FewerEntriesLoadWhatIsThere) {
    ScratchFolder scratch;
    SettingsStore store;
    markAllValues(store);
    const LoadOutcome outcome =
        load(store, scratch, utf16le("[Lagoon]\nname=\"a\";\nsound=\"on\";\nmusic=\"on\";\n"));
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.waited, 1000u);
    EXPECT_EQ(valueOf(store, 0), u"a");
    EXPECT_EQ(valueOf(store, 1), u"on");
    EXPECT_EQ(valueOf(store, 2), u"on");
    for (uint32_t i = 3; i < SettingsStore::kEntryCount; ++i) EXPECT_EQ(valueOf(store, i), u"keep");

    // The header alone has no first key to match.
    SettingsStore bare;
    markAllValues(bare);
    const LoadOutcome headerOnly = load(bare, scratch, utf16le("[Lagoon]\n"));
    EXPECT_EQ(headerOnly.result, 0);
    EXPECT_EQ(headerOnly.waited, 0u);
    EXPECT_EQ(valueOf(bare, 0), u"keep");
}

TEST(SettingsLimits, OnlyTheFirst1000BytesAreRead) {
    ScratchFolder scratch;
    // Blank lines and spaces past byte 1000, then anything at all.
    std::string text = withLine(8, "EEasyScores=\"42\";\n");
    while (text.size() * 2 < 1100) text += (text.size() % 7 == 0) ? "\n" : " ";
    text += "garbage=\"1\";\n";
    SettingsStore store;
    const LoadOutcome outcome = load(store, scratch, utf16le(text));
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.waited, 1000u);
    EXPECT_EQ(valueOf(store, 7), u"42");
    EXPECT_EQ(valueOf(store, 10), u"0");

    // Entry 10 cut short by the 1000-byte limit: its slot is left alone
    // rather than given a truncated number; the entries before it load.
    std::string cut = kDefaultText.substr(0, kDefaultText.find("PHardScores="));
    while ((cut.size() + 15) * 2 < 1000) cut += ' ';
    cut += "PHardScores=\"123456\";\n";  // the value straddles byte 1000
    ASSERT_LT(cut.find("123456") * 2, 1000u);
    ASSERT_GT(cut.find(';', cut.find("123456")) * 2, 1000u);
    SettingsStore truncated;
    markAllValues(truncated);
    EXPECT_EQ(load(truncated, scratch, utf16le(cut)).result, 1);
    EXPECT_EQ(valueOf(truncated, 9), u"0");
    EXPECT_EQ(valueOf(truncated, 10), u"keep");
}

TEST(SettingsLimits, TextAfterTheLastEntryIsIgnored) {
    ScratchFolder scratch;
    SettingsStore store;
    markAllValues(store);
    const LoadOutcome outcome = load(store, scratch, utf16le(kDefaultText + "name=\"again\";\nextra=\"1\";\n"));
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.waited, 1000u);
    expectDefaults(store);
}

TEST(SettingsHostileFiles, NoSemicolonAnywhere) {
    ScratchFolder scratch;
    SettingsStore store;
    markAllValues(store);
    // Exactly 1000 bytes: the header, the first key and a value without end.
    std::string text = "[Lagoon]\nname=\"";
    text += std::string(1000 - text.size(), 'z');
    const LoadOutcome outcome = load(store, scratch, eightBit(text));
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(valueOf(store, 0), u"keep");

    // Nothing but the header and a key.
    EXPECT_EQ(load(store, scratch, utf16le("[Lagoon]\nname=")).result, 1);
    EXPECT_EQ(valueOf(store, 0), u"keep");
}

TEST(SettingsHostileFiles, OverlongValueIsCutToTheSlot) {
    ScratchFolder scratch;
    SettingsStore store;
    markAllValues(store);
    const std::string text = withLine(1, "name=\"" + std::string(300, 'v') + "\";\n");
    const LoadOutcome outcome = load(store, scratch, utf16le(text));
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(valueOf(store, 0), std::u16string(259, u'v'));
    EXPECT_EQ(valueOf(store, 1), u"off");
    EXPECT_EQ(valueOf(store, 10), u"0");

    // A whole 1000-byte file of one value.
    std::string huge = "[Lagoon]name=";
    huge += std::string(1000 - huge.size() - 1, 'w') + ";";
    SettingsStore other;
    EXPECT_EQ(load(other, scratch, eightBit(huge)).result, 1);
    EXPECT_EQ(valueOf(other, 0), std::u16string(259, u'w'));
}

TEST(SettingsHostileFiles, LoneQuoteAsTheLastByteRead) {
    ScratchFolder scratch;
    std::string text = kDefaultText.substr(0, kDefaultText.find("PHardScores="));
    text += "PHardScores=";
    text += std::string(999 - text.size(), ' ');
    text += "\"7\";\n";
    ASSERT_EQ(text[999], '"');
    SettingsStore store;
    markAllValues(store);
    const LoadOutcome outcome = load(store, scratch, eightBit(text));
    EXPECT_EQ(outcome.result, 1);
    EXPECT_EQ(valueOf(store, 9), u"0");
    EXPECT_EQ(valueOf(store, 10), u"keep");

    // A file that is nothing but one quote.
    EXPECT_EQ(load(store, scratch, Bytes{'"'}).result, 0);
    EXPECT_EQ(load(store, scratch, Bytes{}).result, 0);
}

}  // namespace
