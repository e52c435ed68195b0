// The replay's bytes (docs/replays.md) and their text form, base64url.
#include <cstring>

#include "platform/files.h"
#include "platform/replay/replay_items.h"
#include "platform/replay.h"
#include "platform/replay/varint.h"

namespace plat::replay {
namespace {

constexpr char kMagic[3] = {'F', 'G', 'R'};
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

using detail::putVarint;

uint32_t zigzag(int32_t v) { return (static_cast<uint32_t>(v) << 1) ^ static_cast<uint32_t>(v >> 31); }
int32_t unzigzag(uint32_t v) { return static_cast<int32_t>((v >> 1) ^ (0u - (v & 1))); }

// Reads fields in order; the first fault stops everything after it.
struct Fields {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    const char* fault = nullptr;

    bool fail(const char* why) {
        if (!fault) fault = why;
        return false;
    }
    uint8_t byte(const char* what) {
        if (fault) return 0;
        if (pos >= size) return fail(what), 0;
        return data[pos++];
    }
    uint32_t varint(const char* what) {
        uint32_t value = 0;
        if (fault) return 0;
        if (!detail::readVarint(data, size, pos, value)) return fail(what), 0;
        return value;
    }
};

}  // namespace

const char* endingName(Ending ending) {
    switch (ending) {
        case Ending::Starved: return "starved";
        case Ending::NewGame: return "new-game";
        case Ending::Exit: return "exit";
        case Ending::Closed: return "closed";
        case Ending::CutShort: return "cut-short";
        case Ending::Unfinished: break;
    }
    return "unfinished";
}

const char* editionName(Edition edition) {
    switch (edition) {
        case Edition::Desktop: return "desktop";
        case Edition::Web: return "web";
        case Edition::Headless: break;
    }
    return "headless";
}

std::string tickTime(uint32_t ticks) {
    const uint64_t tenths = static_cast<uint64_t>(ticks) * kTickMs / 100;
    const uint64_t seconds = tenths / 10;
    std::string text = std::to_string(seconds / 60) + ":";
    if (seconds % 60 < 10) text += "0";
    return text + std::to_string(seconds % 60) + "." + std::to_string(tenths % 10);
}

std::string describe(const Replay& r, size_t bytes) {
    return "format=" + std::to_string(r.format) + " edition=" + editionName(r.header.edition) +
           " level=" + (r.header.level ? "hard" : "easy") + " version=" + versionText(r.version) +
           " fish=" + std::to_string(r.outcome.fishEaten) + " duration=" + tickTime(r.outcome.ticks) +
           " ticks=" + std::to_string(r.outcome.ticks) + " ending=" + endingName(r.outcome.ending) +
           " checks=" + std::to_string(r.checks.sums.size()) + " bytes=" + std::to_string(bytes);
}

std::vector<uint8_t> encode(const Replay& replay) {
    const Header& h = replay.header;
    std::vector<uint8_t> out(kMagic, kMagic + 3);
    out.reserve(48 + replay.input.size() + 2 * replay.checks.sums.size());
    out.push_back(kFormatVersion);
    out.push_back(static_cast<uint8_t>(h.edition));
    for (uint32_t part : {replay.version.major, replay.version.minor, replay.version.patch}) putVarint(out, part);
    out.push_back(h.level);
    uint8_t switches = 0;
    for (int i = 0; i < 6; ++i) switches |= static_cast<uint8_t>((h.switches[i] & 1) << i);
    out.push_back(switches);
    out.push_back(h.vibrationTicks);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(h.generator >> (8 * i)));
    for (int32_t score : h.bestScores) putVarint(out, zigzag(score));
    out.push_back(static_cast<uint8_t>(replay.outcome.ending));
    putVarint(out, static_cast<uint32_t>(replay.outcome.fishEaten));
    putVarint(out, replay.outcome.ticks);
    putVarint(out, static_cast<uint32_t>(replay.input.size()));
    out.insert(out.end(), replay.input.begin(), replay.input.end());
    // A replay read from format 1 has no checks: interval 0, none.
    const bool checked = replay.checks.interval > 0;
    putVarint(out, checked ? replay.checks.interval : 0);
    putVarint(out, checked ? static_cast<uint32_t>(replay.checks.sums.size()) : 0);
    for (uint16_t sum : replay.checks.sums) {
        if (!checked) break;
        out.push_back(static_cast<uint8_t>(sum));
        out.push_back(static_cast<uint8_t>(sum >> 8));
    }
    return out;
}

namespace {

// The header's raw fields, read in order (format 1 lacks the version).
struct RawHeader {
    uint8_t format = 0;
    uint8_t edition = 0;
    uint8_t switches = 0;
    uint8_t ending = 0;
    uint32_t fish = 0;
    uint32_t inputSize = 0;
};

void readHeader(Fields& f, Replay& r, RawHeader& raw) {
    raw.format = f.byte("the header is cut short");
    raw.edition = f.byte("the header is cut short");
    if (raw.format >= 2) {
        r.version.major = f.varint("the program's version is damaged");
        r.version.minor = f.varint("the program's version is damaged");
        r.version.patch = f.varint("the program's version is damaged");
    }
    r.header.level = f.byte("the header is cut short");
    raw.switches = f.byte("the header is cut short");
    r.header.vibrationTicks = f.byte("the header is cut short");
    for (int i = 0; i < 4; ++i) r.header.generator |= static_cast<uint32_t>(f.byte("the header is cut short")) << (8 * i);
    for (int32_t& score : r.header.bestScores) score = unzigzag(f.varint("a best score is damaged"));
    raw.ending = f.byte("the outcome is cut short");
    raw.fish = f.varint("the outcome is damaged");
    r.outcome.ticks = f.varint("the outcome is damaged");
    raw.inputSize = f.varint("the input's length is damaged");
}

// Format 2's section after the input: the interval, the count (exactly the
// checks the ticks played hold), two bytes each.
void readChecks(Fields& f, Replay& r) {
    const uint32_t interval = f.varint("the state checks are cut short");
    const uint32_t count = f.varint("the state checks are cut short");
    if (f.fault) return;
    if (interval > kMaxTicks || count != (interval ? r.outcome.ticks / interval : 0)) {
        f.fail("the state checks do not match the ticks played");
        return;
    }
    if (static_cast<uint64_t>(count) * 2 > f.size - f.pos) {
        f.fail("the state checks are cut short");
        return;
    }
    r.checks.interval = interval;
    r.checks.sums.resize(count);
    for (uint16_t& sum : r.checks.sums) {
        sum = static_cast<uint16_t>(f.data[f.pos] | (f.data[f.pos + 1] << 8));
        f.pos += 2;
    }
}

// The input's items, each well-formed and within the ticks played.
bool checkItems(const Replay& r, std::string& error) {
    detail::ItemReader items(r.input.data(), r.input.size());
    detail::Item item;
    while (!items.atEnd()) {
        if (!items.next(item, error)) return false;
        if (item.tick > r.outcome.ticks) {
            error = "the input runs past the ticks the outcome counts";
            return false;
        }
    }
    return true;
}

}  // namespace

bool decode(const uint8_t* data, size_t size, Replay& replay, std::string& error) {
    if (size < 3 || std::memcmp(data, kMagic, 3) != 0) {
        error = "not a FINGULP replay";
        return false;
    }
    Fields f{data, size, 3};
    Replay r;
    if (size > 3 && (data[3] < 1 || data[3] > kFormatVersion)) {
        error = "a replay of format " + std::to_string(data[3]) + "; this program reads formats 1 to " +
                std::to_string(kFormatVersion);
        return false;
    }
    RawHeader raw;
    readHeader(f, r, raw);
    if (!f.fault) {
        if (raw.edition > 2) f.fail("an unknown edition");
        if (r.header.level > 1 || (raw.switches & 0xC0) != 0 || ((raw.switches >> 2) & 1) != r.header.level) {
            f.fail("the level or the switches are out of range");
        }
        if (r.header.vibrationTicks >= kVibrationLength) f.fail("the vibration count is out of range");
        if (raw.ending > static_cast<uint8_t>(Ending::CutShort) || raw.fish > 0x7FFFFFFF || r.outcome.ticks > kMaxTicks) f.fail("the outcome is out of range");
        if (raw.inputSize > kMaxInputBytes) f.fail("the input is longer than a replay may hold");
        else if (raw.inputSize > size - f.pos) f.fail("the input is cut short");
        else if (raw.format == 1 && raw.inputSize != size - f.pos) f.fail("bytes follow the input");
    }
    if (!f.fault) {
        r.input.assign(data + f.pos, data + f.pos + raw.inputSize);
        f.pos += raw.inputSize;
        if (raw.format >= 2) readChecks(f, r);
        if (!f.fault && f.pos != size) f.fail("bytes follow the state checks");
    }
    if (f.fault) {
        error = f.fault;
        return false;
    }
    r.format = raw.format;
    r.header.edition = static_cast<Edition>(raw.edition);
    for (int i = 0; i < 6; ++i) r.header.switches[i] = (raw.switches >> i) & 1;
    r.outcome.ending = static_cast<Ending>(raw.ending);
    r.outcome.fishEaten = static_cast<int32_t>(raw.fish);
    if (!checkItems(r, error)) return false;
    replay = std::move(r);
    return true;
}

std::string toText(const std::vector<uint8_t>& bytes) {
    std::string text;
    text.reserve((bytes.size() * 4 + 2) / 3);
    uint32_t bits = 0;
    int count = 0;
    for (uint8_t b : bytes) {
        bits = (bits << 8) | b;
        count += 8;
        while (count >= 6) {
            count -= 6;
            text += kAlphabet[(bits >> count) & 63];
        }
    }
    if (count > 0) text += kAlphabet[(bits << (6 - count)) & 63];
    return text;
}

bool fromText(std::string_view text, std::vector<uint8_t>& bytes, std::string& error) {
    if (text.size() > kMaxTextChars) {
        error = "the text is longer than a replay may be";
        return false;
    }
    // Where the replay starts: after the link's name, else after a '#'.
    if (const size_t name = text.rfind(kLinkName); name != std::string_view::npos) {
        text.remove_prefix(name + kLinkName.size());
    } else if (const size_t hash = text.rfind('#'); hash != std::string_view::npos) {
        text.remove_prefix(hash + 1);
    }
    // As pasted from mail or chat: line breaks and spaces anywhere in it, and
    // it ends at the first other character ('=' padding, punctuation).
    const auto isSpace = [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; };
    bytes.clear();
    bytes.reserve(text.size() * 3 / 4);
    uint32_t bits = 0;
    int count = 0;
    size_t letters = 0;
    for (char c : text) {
        if (isSpace(c)) continue;
        const char* at = c ? std::strchr(kAlphabet, c) : nullptr;
        if (!at) break;
        ++letters;
        bits = (bits << 6) | static_cast<uint32_t>(at - kAlphabet);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes.push_back(static_cast<uint8_t>(bits >> count));
        }
    }
    if (letters == 0) {
        error = "the text holds no base64url replay";
        return false;
    }
    // Words after it ("… thanks") read as more letters: the header tells
    // where the replay ends.
    if (bytes.size() > 12 && std::memcmp(bytes.data(), kMagic, 3) == 0) {
        Fields f{bytes.data(), bytes.size(), 3};
        Replay r;
        RawHeader raw;
        readHeader(f, r, raw);
        if (!f.fault && raw.inputSize <= kMaxInputBytes && raw.inputSize <= bytes.size() - f.pos) {
            f.pos += raw.inputSize;
            if (raw.format >= 2) {
                const uint32_t interval = f.varint("");
                const uint64_t count = f.varint("");
                if (interval > 0 && interval <= kMaxTicks) {
                    f.pos = f.pos + 2 * count <= bytes.size() ? f.pos + 2 * count : bytes.size() + 1;
                }
            }
            if (!f.fault && f.pos <= bytes.size()) {
                bytes.resize(f.pos);
                return true;
            }
        }
    }
    if (letters % 4 == 1) {
        error = "the text is cut short";
        return false;
    }
    return true;
}

bool readReplay(std::string_view contents, Replay& replay, std::string& error) {
    if (contents.size() >= 3 && std::memcmp(contents.data(), kMagic, 3) == 0) {
        return decode(reinterpret_cast<const uint8_t*>(contents.data()), contents.size(), replay, error);
    }
    std::vector<uint8_t> bytes;
    return fromText(contents, bytes, error) && decode(bytes.data(), bytes.size(), replay, error);
}

bool loadReplay(const std::string& fileOrLink, Replay& replay, std::string& error) {
    // Only a regular file is read, checked once open: a FIFO or a device would never end.
    std::string contents;
    const bool isFile = readExistingFile(fileOrLink, kMaxTextChars + 1, contents);
    if (!isFile && fileOrLink.find(kLinkName) == std::string::npos) {
        error = "cannot read this replay file";
        return false;
    }
    if (readReplay(isFile ? contents : fileOrLink, replay, error)) return true;
    error = "this replay cannot be played: " + error;
    return false;
}

std::string linkFragment(const Replay& replay) { return std::string(kLinkName) + toText(encode(replay)); }

}  // namespace plat::replay
