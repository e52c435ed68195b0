// Test helpers for the settings store: a scratch folder per test, files
// written and read as raw bytes, and UTF-16LE / 8-bit encodings of ASCII text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "settings/settings_store.h"
#include "support/files.h"

namespace settings_test {

using Bytes = std::vector<uint8_t>;

inline Bytes utf16le(const std::string& ascii) {
    Bytes bytes;
    for (unsigned char c : ascii) {
        bytes.push_back(c);
        bytes.push_back(0);
    }
    return bytes;
}

inline Bytes eightBit(const std::string& ascii) { return Bytes(ascii.begin(), ascii.end()); }

inline std::u16string widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// The default file's text, as the game writes it.
inline const std::string kDefaultText =
    "[Lagoon]\n"
    "name=\"off\";\n"
    "sound=\"off\";\n"
    "music=\"off\";\n"
    "level=\"off\";\n"
    "MMCdir=\"off\";\n"
    "CAMdir=\"off\";\n"
    "DEVdir=\"off\";\n"
    "EEasyScores=\"0\";\n"
    "EHardScores=\"0\";\n"
    "PEasyScores=\"0\";\n"
    "PHardScores=\"0\";\n";

// A fresh empty folder per test for config.ini (and others), removed with
// everything in it when the test ends.
class ScratchFolder : public test_files::ScratchFolder {
public:
    ScratchFolder() : test_files::ScratchFolder("settings") {}

    std::filesystem::path file(const std::string& name = "config.ini") const { return folder() / name; }
    std::u16string path(const std::string& name = "config.ini") const { return file(name).u16string(); }

    void write(const Bytes& bytes, const std::string& name = "config.ini") const { test_files::writeFile(file(name), bytes); }
    Bytes read(const std::string& name = "config.ini") const { return test_files::readFile<Bytes>(file(name)); }
    size_t entryCount() const { return test_files::entriesOf(folder()).size(); }
};

// The virtual milliseconds an operation spent waiting.
template <typename Operation>
uint64_t millisecondsTaken(Operation&& operation) {
    const uint64_t start = plat::tickCount();
    operation();
    return plat::tickCount() - start;
}

inline std::u16string valueOf(const SettingsStore& store, uint32_t index) {
    const plat::Char* text = store.getValue(index);
    return text ? std::u16string(text) : std::u16string(u"<null>");
}

// Every slot set to a marker text, so that untouched slots can be told apart.
inline void markAllValues(SettingsStore& store, const char16_t* marker = u"keep") {
    for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) store.setValue(i, marker);
}

}  // namespace settings_test
