// The replay format: what it writes reads back, hostile bytes are refused
// with a reason, and three minutes of ordinary play fit in a link.
#include <gtest/gtest.h>

#include <random>

#include "platform/replay/replay_items.h"
#include "platform/replay/varint.h"
#include "platform/replay.h"

namespace {

namespace replay = plat::replay;
using replay::detail::Item;
using replay::detail::ItemKind;

replay::Replay sampleReplay() {
    replay::Replay r;
    r.header = {replay::Edition::Desktop, 1, {1, 0, 1, 0, 0, 1}, 3, 0xDEADBEEF, {12, -5, 0, 2147483647}};
    r.outcome = {replay::Ending::Starved, 7, 900};
    r.version = {5, 200, 70000};
    r.checks.interval = 20;
    for (uint16_t i = 0; i < 45; ++i) r.checks.sums.push_back(static_cast<uint16_t>(i * 4099));
    replay::detail::ItemWriter w(r.input);
    w.put({0, ItemKind::KeyDown, plat::kKeyLeft, 0});
    w.put({1, ItemKind::KeyToggle, 4, 0});
    w.put({1, ItemKind::Command, plat::kCommandRightSoftKey, 0});
    w.put({40, ItemKind::Paint, 0, 0});
    w.put({41, ItemKind::KeyDown, '5', 0});
    w.put({900, ItemKind::Other, plat::kEventChar, 'x'});
    return r;
}

TEST(ReplayFormat, WhatIsWrittenReadsBackAsFileTextAndLink) {
    const replay::Replay r = sampleReplay();
    const std::vector<uint8_t> bytes = replay::encode(r);
    const std::string text = replay::toText(bytes);
    std::string wrapped = text;  // as a mail program wraps it
    for (size_t at = 20; at < wrapped.size(); at += 22) wrapped.insert(at, "\r\n");
    const std::string link = "https://example.org/fingulp/#" + replay::linkFragment(r);
    const std::string forms[] = {std::string(bytes.begin(), bytes.end()), text, "  " + text + "\n", link,
                                 "Watch (" + link + ").", "#replay=" + wrapped + "==\n", wrapped + " \tthanks, Ann",
                                 "replay=" + text + " see #2"};
    for (const std::string& form : forms) {
        replay::Replay back;
        std::string error;
        ASSERT_TRUE(replay::readReplay(form, back, error)) << error;
        EXPECT_EQ(back.outcome, r.outcome);
        EXPECT_EQ(back.input, r.input);
        EXPECT_EQ(back.checks.sums, r.checks.sums);
        EXPECT_EQ(replay::versionText(back.version), "5.200.70000");
        EXPECT_EQ(replay::encode(back), bytes);
    }
}

TEST(ReplayFormat, HostileBytesAreRefusedWithAReason) {
    const std::vector<uint8_t> good = replay::encode(sampleReplay());
    const auto with = [&](size_t at, uint8_t value) {
        std::vector<uint8_t> b = good;
        b[at] = value;
        return b;
    };
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    std::vector<std::vector<uint8_t>> cases = {
        {},
        {'F', 'G', 'X', 1},
        with(3, 3),            // a later format
        with(3, 0),            // no format
        with(4, 9),            // edition
        {'F', 'G', 'R', 2, 0, 0x80},  // the version's number cut short
        with(11, 0),           // level disagrees with the switches (after a version of 1 + 2 + 3 bytes)
        with(12, 0xFF),        // switches beyond six
        with(13, 5),           // vibration count
        with(good.size() - 2 * 45 - 3, 0xFF),  // the last item cut short (before the 45 checks)
        longer,
        {'F', 'G', 'R', 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F},  // 256 MiB of input
        {'F', 'G', 'R', 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0x00},  // a toggle before any tick
        {'F', 'G', 'R', 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0x0E, 0x07, 0x00},  // unknown window event
        {'F', 'G', 'R', 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0x38},  // input past the outcome's ticks
        {'F', 'G', 'R', 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0x0F, 0x01, 0x01},  // a run of one press
        {'F', 'G', 'R', 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 4, 0x0F, 0x01, 0x0A, 0xFF},  // its bits cut short
    };
    // The state checks, each section whole: too few or too many for the ticks,
    // some at interval 0, an interval past the longest game. (Cut short: the cuts below.)
    using Checks = std::pair<std::vector<uint8_t>, size_t>;  // interval and count, then that many sums
    for (const auto& [section, sums] :
         {Checks{{20, 44}, 44}, Checks{{20, 46}, 46}, Checks{{0, 45}, 45}, Checks{{0xFF, 0xFF, 0xFF, 0x7F, 0}, 0}}) {
        std::vector<uint8_t> b(good.begin(), good.end() - 2 * 45 - 2);
        b.insert(b.end(), section.begin(), section.end());
        b.resize(b.size() + 2 * sums);
        cases.push_back(b);
    }
    for (size_t cut = 0; cut < good.size(); ++cut) cases.emplace_back(good.begin(), good.begin() + cut);
    for (size_t i = 0; i < cases.size(); ++i) {
        replay::Replay r;
        std::string error;
        EXPECT_FALSE(replay::decode(cases[i].data(), cases[i].size(), r, error) || error.empty()) << "case " << i;
    }
    const std::string half = replay::toText(good).substr(0, good.size() / 2);
    for (const std::string& text : {std::string("RkdSA*"), std::string("R"), std::string("#replay=%%"),
                                    "#replay=" + half + " thanks", "#replay=" + half + "."}) {
        replay::Replay r;
        std::string error;
        EXPECT_FALSE(replay::readReplay(text, r, error) || error.empty() || error.find('\n') != std::string::npos)
            << text;
    }
}

// Format 1 (no version, no checks, nothing after the input) reads into the
// same record and is written again as format 2.
TEST(ReplayFormat, FormatOneStillReads) {
    const replay::Replay r = sampleReplay();
    std::vector<uint8_t> one = {'F', 'G', 'R', 1, 1, 1, 0x25, 3, 0xEF, 0xBE, 0xAD, 0xDE, 24, 9, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0x0F, 1, 7};
    replay::detail::putVarint(one, r.outcome.ticks);
    replay::detail::putVarint(one, static_cast<uint32_t>(r.input.size()));
    one.insert(one.end(), r.input.begin(), r.input.end());
    replay::Replay back;
    std::string error;
    ASSERT_TRUE(replay::decode(one.data(), one.size(), back, error)) << error;
    EXPECT_EQ(back.format, 1);
    EXPECT_EQ(replay::versionText(back.version), "unknown");
    EXPECT_EQ(back.checks.interval, 0u);
    EXPECT_EQ(back.header.generator, r.header.generator);
    EXPECT_EQ(back.header.bestScores[3], r.header.bestScores[3]);
    EXPECT_EQ(back.outcome, r.outcome);
    const std::vector<uint8_t> two = replay::encode(back);
    replay::Replay again;
    ASSERT_TRUE(replay::decode(two.data(), two.size(), again, error)) << error;
    EXPECT_TRUE(two[3] == 2 && again.input == r.input && again.checks.sums.empty());
    one.push_back(0);
    EXPECT_FALSE(replay::decode(one.data(), one.size(), back, error));
}

// The watcher's title: the time, the total and the pace, or paused or
// ended, and where the replay departs; times as m:ss.s.
TEST(ReplayWatching, TheTitleSaysWhereAndHow) {
    using replay::Watch;
    const struct {
        replay::Shown shown;
        const char* title;
    } cases[] = {
        {{Watch::Playing, false, 2, 83'000, 225'000, -1}, "FINGULP replay - 1:23 / 3:45 - 2x"},
        {{Watch::Playing, true, 8, 950, 9'000, -1}, "FINGULP replay - 0:00 / 0:09 - paused"},
        {{Watch::Ended, true, 1, 225'000, 225'000, 42'050}, "FINGULP replay - 3:45 / 3:45 - ended - departs at 0:42.0"},
        {{Watch::Playing, false, 1, 600'000, 3'600'000, 61'500}, "FINGULP replay - 10:00 / 60:00 - 1x - departs at 1:01.5"},
    };
    for (const auto& c : cases) EXPECT_EQ(replay::shownTitle(c.shown), c.title);
}

// Auto-repeat's presses are kept as runs: each comes back at its tick and place.
TEST(ReplayFormat, RunsOfRepeatedPressesReadBackPressByPress) {
    std::vector<Item> items;
    uint32_t tick = 0;
    for (int i = 0; i < 1100; ++i) {  // longer than one run holds
        tick += (i % 5 == 4) ? 0 : 1;
        items.push_back({tick, ItemKind::KeyDown, plat::kKeyUp, 0});
        if (i == 40) items.push_back({tick, ItemKind::Paint, 0, 0});
        if (i == 60) items.push_back({++tick, ItemKind::KeyToggle, 2, 0});
        if (i == 80) items.push_back({tick + 3, ItemKind::KeyDown, plat::kKeyUp, 0}), tick += 3;
        if (i == 90) items.push_back({tick, ItemKind::KeyDown, plat::kKeyDown, 0});
    }
    std::vector<uint8_t> bytes;
    replay::detail::ItemWriter w(bytes);
    for (const Item& item : items) w.put(item);
    w.flush();
    EXPECT_LT(bytes.size(), items.size() / 4);
    replay::detail::ItemReader r(bytes.data(), bytes.size());
    std::string error;
    for (size_t i = 0; i < items.size(); ++i) {
        Item item;
        ASSERT_TRUE(r.next(item, error)) << i << ": " << error;
        EXPECT_TRUE(item.tick == items[i].tick && item.kind == items[i].kind && item.value == items[i].value) << i;
    }
    EXPECT_TRUE(r.atEnd());
}

// Ordinary play: arrows and digits held up to 1.5 s with auto-repeat, pauses, a lost focus.
TEST(ReplayFormat, ThreeMinutesOfOrdinaryPlayFitALink) {
    replay::Replay r;
    r.outcome = {replay::Ending::Starved, 40, 3600};
    replay::detail::ItemWriter w(r.input);
    std::mt19937 random(21);
    const uint32_t keys[] = {plat::kKeyLeft, plat::kKeyRight, plat::kKeyUp, plat::kKeyDown, '4', '6'};
    uint32_t tick = 1;
    while (tick < 3550) {
        const uint32_t index = random() % 6;
        w.put({tick, ItemKind::KeyDown, keys[index], 0});
        if (index >= 4) w.put({tick + 1, ItemKind::KeyToggle, index == 4 ? 6u : 7u, 0});
        const uint32_t held = 2 + random() % 28;
        for (uint32_t ms = 500; ms < held * 50; ms += 40) w.put({tick + 1 + ms / 50, ItemKind::KeyDown, keys[index], 0});
        tick += held;
        w.put({tick, ItemKind::KeyToggle, index < 4 ? index : (index == 4 ? 6u : 7u), 0});
        tick += 1 + random() % 12;
        if (tick % 1000 < 10) w.put({tick, ItemKind::Command, plat::kCommandRightSoftKey, 0});
    }
    w.put({3550, ItemKind::FocusLost, 0, 0});
    w.flush();
    r.checks = {replay::kCheckInterval, std::vector<uint16_t>(3600 / replay::kCheckInterval, 0xBEEF)};
    r.version = replay::thisProgram();
    const std::string link = "https://example.org/fingulp/#" + replay::linkFragment(r);
    EXPECT_LE(link.size(), 2300u);
}

// The watching pace: the program's clock against the real one through pause
// and speed changes (1x to 8x, never beyond).
TEST(ReplayPace, TheClockFollowsPauseAndSpeed) {
    using Change = plat::replay::Pace::Change;
    plat::replay::Pace pace;
    pace.start(1000);
    const struct {
        uint64_t real;
        int change;  // -1 none
        uint64_t clock;
        int64_t waitFor100;
    } steps[] = {
        {1100, -1, 1100, 100},
        {1100, static_cast<int>(Change::Faster), 1100, 50},
        {1200, static_cast<int>(Change::Faster), 1300, 25},
        {1200, static_cast<int>(Change::Faster), 1300, 13},
        {1200, static_cast<int>(Change::Faster), 1300, 13},  // 8x at most
        {1300, static_cast<int>(Change::PauseOrPlay), 2100, -1},
        {9000, -1, 2100, -1},
        {9000, static_cast<int>(Change::PauseOrPlay), 2100, 13},
        {9000, static_cast<int>(Change::Slower), 2100, 25},
        {9100, -1, 2500, 25},
    };
    for (const auto& s : steps) {
        if (s.change >= 0) pace.change(static_cast<Change>(s.change), s.real);
        EXPECT_EQ(pace.clock(s.real), s.clock) << s.real;
        EXPECT_EQ(pace.realWait(100), s.waitFor100) << s.real;
    }
}

}  // namespace
