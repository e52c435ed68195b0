// The replay format: what it writes reads back, hostile bytes are refused
// with a reason, and three minutes of ordinary play fit in a link.
#include <gtest/gtest.h>

#include <random>

#include "platform/replay/replay_items.h"
#include "platform/replay.h"

namespace {

namespace replay = plat::replay;
using replay::detail::Item;
using replay::detail::ItemKind;

replay::Replay sampleReplay() {
    replay::Replay r;
    r.header = {replay::Edition::Desktop, 1, {1, 0, 1, 0, 0, 1}, 3, 0xDEADBEEF, {12, -5, 0, 2147483647}};
    r.outcome = {replay::Ending::Starved, 7, 900};
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
        with(5, 0x80),         // the version's number cut short
        with(8, 0),            // level disagrees with the switches
        with(9, 0xFF),         // switches beyond six
        with(10, 5),           // vibration count
        with(good.size() - 1, 0xFF),  // the last item cut short
        longer,
        {'F', 'G', 'R', 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F},  // 256 MiB of input
        {'F', 'G', 'R', 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0x00},  // a toggle before any tick
        {'F', 'G', 'R', 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0x0E, 0x07, 0x00},  // unknown window event
        {'F', 'G', 'R', 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0x38},  // input past the outcome's ticks
        {'F', 'G', 'R', 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0x0F, 0x01, 0x01},  // a run of one press
        {'F', 'G', 'R', 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 4, 0x0F, 0x01, 0x0A, 0xFF},  // its bits cut short
    };
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
    const std::string link = "https://example.org/fingulp/#" + replay::linkFragment(r);
    EXPECT_LE(link.size(), 2000u);
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
