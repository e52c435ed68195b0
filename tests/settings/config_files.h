// Test helpers for the settings store: a scratch folder per test, files
// written and read as raw bytes, and UTF-16LE / 8-bit encodings of ASCII text.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "settings/settings_store.h"

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

// A fresh empty folder, removed with everything in it when the test ends.
class ScratchFolder {
public:
    ScratchFolder() {
        static std::atomic<int> counter{0};
        static const unsigned run = std::random_device{}();
        folder_ = std::filesystem::temp_directory_path() /
                  ("fingulp_settings_" + std::to_string(run) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path file(const std::string& name = "config.ini") const { return folder_ / name; }
    std::u16string path(const std::string& name = "config.ini") const { return file(name).u16string(); }

    void write(const Bytes& bytes, const std::string& name = "config.ini") const {
        std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    Bytes read(const std::string& name = "config.ini") const {
        std::ifstream in(file(name), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    size_t entryCount() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder_),
                                                 std::filesystem::directory_iterator()));
    }

private:
    std::filesystem::path folder_;
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
