// Fuzz target: arbitrary bytes as "config.ini". They are loaded, saved and
// loaded again by a second store, which must find the values the first found.
//
// Two kinds of value cannot make the trip, and the check leaves them out:
// - a value holding a double quote: the reader takes the byte right after a
//   quote as text, so `""` gives a quote, which the writer puts back bare;
// - a saved file longer than the 1000 bytes the reader takes: a UTF-16 file
//   is twice its 8-bit text, so long values from an 8-bit file no longer fit.
// The game never saves either kind (Exit writes "None", "on", "off" and
// numbers); for the second, the values that do fit must still come back.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_check.h"
#include "scratch_folder.h"
#include "settings/settings_store.h"

namespace {

namespace fs = std::filesystem;

bool sameText(const plat::Char* a, const plat::Char* b) { return std::u16string_view(a) == std::u16string_view(b); }

bool terminatedInSlot(const plat::Char* slot) {
    for (int32_t i = 0; i < SettingsStore::kSlotUnits; ++i) {
        if (slot[i] == 0) return true;
    }
    return false;
}

// The fixed parts of the store are never touched by reading.
void requireFixedPartsIntact(const SettingsStore& store) {
    static const SettingsStore fresh;
    require(std::memcmp(store.header, fresh.header, sizeof fresh.header) == 0, "header changed by reading");
    require(std::memcmp(store.keys, fresh.keys, sizeof fresh.keys) == 0, "keys changed by reading");
    for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) {
        require(terminatedInSlot(store.values[i]), "value slot without terminator");
    }
}

bool holdsQuote(const plat::Char* text) { return std::u16string_view(text).find(u'"') != std::u16string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path file = scratchFolder("settings") / "config.ini";
    const std::u16string path = file.u16string();
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    SettingsStore first;
    first.loadFromFile(path.c_str());
    requireFixedPartsIntact(first);
    require(first.saveToFile(path.c_str()) == 1, "saving into a writable folder failed");

    SettingsStore second;
    const int32_t secondResult = second.loadFromFile(path.c_str());
    requireFixedPartsIntact(second);

    bool quoted = false;
    for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) quoted = quoted || holdsQuote(first.values[i]);
    if (quoted) return 0;

    const bool fits = fs::file_size(file) <= static_cast<uintmax_t>(SettingsStore::kReadLimitBytes);
    if (fits) {
        require(secondResult == 1, "the saved file does not load");
        for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) {
            require(sameText(first.values[i], second.values[i]), "a value changed on its way through the file");
        }
    } else {
        // Cut at 1000 bytes: the values read are the saved ones, the rest stay empty.
        for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) {
            require(second.values[i][0] == 0 || sameText(first.values[i], second.values[i]),
                    "a value of a long file changed on its way through the file");
        }
    }
    return 0;
}
