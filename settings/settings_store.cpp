// Reading and writing "config.ini": the header line, then one line per key,
// key="value"; in UTF-16LE with LF line ends, read back leniently.
#include "settings/settings_store.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"
#include "settings/wide_string.h"

namespace {

using plat::Char;

constexpr const Char* kHeaderText = u"[Lagoon]";

constexpr const Char* kKeyTexts[SettingsStore::kEntryCount] = {
    u"name=",   u"sound=",  u"music=",  u"level=",       u"MMCdir=",      u"CAMdir=",
    u"DEVdir=", u"EEasyScores=", u"EHardScores=", u"PEasyScores=", u"PHardScores=",
};

constexpr const Char* kDefaultValues[SettingsStore::kEntryCount] = {
    u"off", u"off", u"off", u"off", u"off", u"off", u"off", u"0", u"0", u"0", u"0",
};

constexpr int32_t kLongestValue = SettingsStore::kSlotUnits - 1;

constexpr uint32_t kNameKey = 0;
constexpr uint32_t kFirstSwitchKey = 1;
constexpr uint32_t kFirstScoreKey = 7;

// Units before the terminator, looking at no more than `limit` units.
int32_t boundedLength(const Char* text, int32_t limit) {
    int32_t count = 0;
    while (count < limit && text[count] != 0) ++count;
    return count;
}

// Copies at most the slot's worth of `text` and terminates it.
void storeText(Char* slot, const Char* text, int32_t count) {
    count = std::min(count, kLongestValue);
    std::copy_n(text, count, slot);
    slot[count] = 0;
}

// A path the platform can open as given: terminated within its limit. A
// longer one is refused rather than cut short into some other file's name.
bool usablePath(const Char* path) {
    return path != nullptr && path[0] != 0 && boundedLength(path, plat::kMaxPath) < plat::kMaxPath;
}

// Writes the header and the 11 lines with the given values. The file is
// replaced as a whole, so a failure midway leaves the old file in place; a
// file the player made read-only counts as one that cannot be created.
int32_t writeSettingsFile(const SettingsStore& store, const Char* const* valueTexts, const Char* path,
                          plat::OldEntry old = plat::OldEntry::Drop) {
    std::u16string text(store.header, boundedLength(store.header, SettingsStore::kHeaderUnits - 1));
    text += u'\n';
    for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) {
        text.append(store.keys[i], boundedLength(store.keys[i], kLongestValue));
        text += u'"';
        text.append(valueTexts[i], boundedLength(valueTexts[i], kLongestValue));
        text += u"\";\n";
    }

    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (Char unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }

    if (!usablePath(path) || !plat::replaceFileAtomically(path, bytes.data(), bytes.size(), old)) {
        plat::sleepMs(SettingsStore::kCreateFailurePauseMs);
        return 0;
    }
    return 1;
}

// The file's bytes as text without quotes, line ends, NULs and the spaces
// outside quotes. A UTF-16LE file loses its zero high bytes this way, so a
// UTF-16 file and an 8-bit file with the same text read the same. Returns the
// number of units written to `cleaned`, which has room for `count` + 1.
int32_t cleanBytes(const uint8_t* bytes, int32_t count, Char* cleaned) {
    int32_t length = 0;
    bool inQuotes = false;
    for (int32_t i = 0; i < count; ++i) {
        uint8_t byte = bytes[i];
        if (byte == '"') {
            inQuotes = !inQuotes;
            // The byte after a quote is handled at once, never as a quote
            // itself; a quote as the very last byte leaves nothing to handle.
            if (++i == count) break;
            byte = bytes[i];
        }
        const bool dropped = byte == '\n' || byte == '\r' || byte == 0 || (byte == ' ' && !inQuotes);
        if (!dropped) cleaned[length++] = byte;
    }
    cleaned[length] = 0;
    return length;
}

// `expected` (terminated) stands in `text` at `position`, within `length` units.
bool startsWithAt(const Char* text, int32_t length, int32_t position, const Char* expected) {
    for (int32_t k = 0; expected[k] != 0; ++k) {
        if (position + k >= length || text[position + k] != expected[k]) return false;
    }
    return true;
}

}  // namespace

SettingsStore settingsStore;

SettingsStore::SettingsStore() {
    storeText(header, kHeaderText, boundedLength(kHeaderText, kHeaderUnits - 1));
    for (uint32_t i = 0; i < kEntryCount; ++i) {
        storeText(keys[i], kKeyTexts[i], boundedLength(kKeyTexts[i], kLongestValue));
    }
}

SettingsStore::~SettingsStore() = default;

const Char* SettingsStore::getValue(uint32_t index) const {
    return index < kEntryCount ? values[index] : nullptr;
}

int32_t SettingsStore::setValue(uint32_t index, const Char* text) {
    if (index >= kEntryCount) return 0;
    if (text == nullptr) text = u"";
    storeText(values[index], text, boundedLength(text, kLongestValue));
    return 1;
}

void SettingsStore::readSwitches(uint8_t (&switches)[kSwitchCount]) const {
    for (uint32_t i = 0; i < kSwitchCount; ++i) {
        const Char* value = getValue(kFirstSwitchKey + i);
        switches[i] = (value && std::u16string_view(value) == u"on") ? 1 : 0;
    }
}

void SettingsStore::readScores(int32_t (&scores)[kScoreCount]) const {
    for (uint32_t i = 0; i < kScoreCount; ++i) {
        WideString number(u"0");
        number.assign(getValue(kFirstScoreKey + i));
        scores[i] = number.decimalValue();
    }
}

void SettingsStore::storeProgramValues(const uint8_t (&switches)[kSwitchCount], const int32_t* scores) {
    setValue(kNameKey, u"None");
    for (uint32_t i = 0; i < kSwitchCount; ++i) setValue(kFirstSwitchKey + i, switches[i] == 1 ? u"on" : u"off");
    if (!scores) return;
    for (uint32_t i = 0; i < kScoreCount; ++i) {
        const std::string digits = std::to_string(scores[i]);
        setValue(kFirstScoreKey + i, std::u16string(digits.begin(), digits.end()).c_str());
    }
}

int32_t SettingsStore::writeDefaults(const Char* path) {
    return writeSettingsFile(*this, kDefaultValues, path);
}

int32_t SettingsStore::saveToFile(const Char* path) {
    if (keepUnreadFile) {
        plat::sleepMs(kCreateFailurePauseMs);
        return 0;
    }
    const Char* current[kEntryCount];
    for (uint32_t i = 0; i < kEntryCount; ++i) current[i] = values[i];
    return writeSettingsFile(*this, current, path);
}

int32_t SettingsStore::loadFromFile(const Char* path) {
    plat::File* file = usablePath(path) ? plat::openExistingFile(path) : nullptr;
    if (file == nullptr) {
        plat::sleepMs(kReadPauseMs);
        return 0;
    }

    uint8_t bytes[kReadLimitBytes];
    const int64_t bytesRead = plat::readFile(file, bytes, sizeof bytes);
    if (bytesRead < 0) {
        plat::sleepMs(kReadPauseMs);
        plat::closeFile(file);
        return 1;
    }

    Char cleaned[kReadLimitBytes + 1];
    const int32_t length =
        cleanBytes(bytes, static_cast<int32_t>(std::min<int64_t>(bytesRead, kReadLimitBytes)), cleaned);

    if (!startsWithAt(cleaned, length, 0, header)) {
        plat::closeFile(file);
        return 0;
    }

    int32_t position = boundedLength(header, kHeaderUnits - 1);
    // Only the 11 known entries are read; whatever follows the last one is ignored.
    for (uint32_t i = 0; i < kEntryCount; ++i) {
        if (!startsWithAt(cleaned, length, position, keys[i])) {
            plat::closeFile(file);
            return 0;
        }
        const int32_t valueStart = position + boundedLength(keys[i], kLongestValue);
        const Char* found = std::find(cleaned + valueStart, cleaned + length, u';');
        // A value cut off by the end of the text (a truncated file) is not
        // taken: the slot keeps its text, and the entries end here.
        if (found == cleaned + length) break;
        const int32_t valueEnd = static_cast<int32_t>(found - cleaned);
        // An empty value (nothing between the quotes) reads as the empty text;
        // one longer than the slot keeps its first 259 units.
        storeText(values[i], cleaned + valueStart, valueEnd - valueStart);
        position = valueEnd + 1;
        if (position >= length) break;
    }

    plat::sleepMs(kReadPauseMs);
    plat::closeFile(file);
    return 1;
}

int32_t SettingsStore::loadOrCreate(const Char* path) {
    if (loadFromFile(path) == 1) return 1;
    // A file that is there but does not read (another header, a byte-order
    // mark, garbage) may still hold the player's scores: the defaults take
    // its place, and it is kept beside them as "config.ini.bak".
    if (writeSettingsFile(*this, kDefaultValues, path, plat::OldEntry::KeepAsBackup) == 0) {
        plat::File* unread = usablePath(path) ? plat::openExistingFile(path) : nullptr;
        keepUnreadFile = unread != nullptr;
        plat::closeFile(unread);
        return 0;
    }
    return loadFromFile(path);
}
