// SettingsStore: the in-memory copy of "config.ini" (a fixed header, 11 fixed
// keys, 11 value texts) and the reading and writing of that file.
#pragma once

#include <cstdint>

#include "platform/types.h"

struct SettingsStore {
    static constexpr uint32_t kEntryCount = 11;
    static constexpr int32_t kHeaderUnits = 1300;
    // Every slot holds a terminated text, so a value holds at most 259 units.
    static constexpr int32_t kSlotUnits = 260;

    // How long the handset pauses after reading (or failing to open) the file,
    // and after failing to create it.
    static constexpr uint32_t kReadPauseMs = 1000;
    static constexpr uint32_t kCreateFailurePauseMs = 3000;

    // Bytes taken from the file, in one read; the rest is never looked at.
    static constexpr int32_t kReadLimitBytes = 1000;

    plat::Char header[kHeaderUnits] = {};
    plat::Char keys[kEntryCount][kSlotUnits] = {};
    plat::Char values[kEntryCount][kSlotUnits] = {};
    // A file that did not read and could not be kept aside: the player's only
    // copy, which no save may replace.
    bool keepUnreadFile = false;

    SettingsStore();
    virtual ~SettingsStore();

    // Null when index is above 10.
    const plat::Char* getValue(uint32_t index) const;
    // Copies at most 259 units of `text` into slot `index`; 1, or 0 for an
    // index above 10 (nothing stored).
    int32_t setValue(uint32_t index, const plat::Char* text);

    // Each returns 1 for success, 0 for failure.
    int32_t writeDefaults(const plat::Char* path);
    int32_t saveToFile(const plat::Char* path);
    int32_t loadFromFile(const plat::Char* path);
    // What the program keeps in the file: the six switches (key 1 "sound="
    // holds Vibrate, key 2 "music=" holds Sound, then the level and three
    // kept ones) and the four best scores (keys 7..10).
    static constexpr uint32_t kSwitchCount = 6;
    static constexpr uint32_t kScoreCount = 4;
    // The switches (1 for "on", else 0) and the scores (their decimal value).
    void readSwitches(uint8_t (&switches)[kSwitchCount]) const;
    void readScores(int32_t (&scores)[kScoreCount]) const;
    // The name "None", the switches as "on"/"off" and, when given, the scores.
    void storeProgramValues(const uint8_t (&switches)[kSwitchCount], const int32_t* scores);

    // Reads the file; when that fails, writes the defaults and reads again.
    // A file that was there but did not read is kept as the path + ".bak"
    // (or ".bak.1" to ".bak.9"); when it cannot be kept, it stays untouched
    // and saveToFile fails. 1 only when a read succeeded.
    int32_t loadOrCreate(const plat::Char* path);
};

// The program's settings store, built before the main routine.
extern SettingsStore settingsStore;
