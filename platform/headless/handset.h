// What the headless handset holds, in one record reached through handset()
// (internal to platform/headless).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <webp/encode.h>
#include <webp/mux.h>

#include "platform/headless/headless.h"
#include "platform/script/script.h"

namespace plat::headless {

// Another running instance, as simulateOtherInstance describes it.
struct OtherInstance {
    uint64_t markerUntil = 0;
    uint64_t windowAt = UINT64_MAX;
    std::u16string className;
    std::u16string title;
};

// The script being played.
struct ScriptState {
    bool loaded = false;
    std::vector<script::Command> commands;
    size_t next = 0;
    // A wait in progress: runs until `until`, then releases `releaseKey` when set.
    bool waiting = false;
    uint64_t until = 0;
    bool releaseAfterWait = false;
    uint32_t releaseKey = 0;
    std::string shotWhileBlocked;  // taken at the program's next blocking wait
    void (*exhausted)() = nullptr;
    bool (*stopWhenIdle)() = nullptr;
    std::string (*reporter)() = nullptr;
    std::FILE* out = stdout;
};

// The animated WebP being made (animation.cpp).
struct AnimationState {
    WebPAnimEncoder* encoder = nullptr;
    WebPConfig config;
    std::string path;
    uint64_t start = 0;  // virtual ms of the first frame
    uint64_t next = 0;   // virtual ms of the next frame
    std::vector<uint32_t> last;  // the screen of the last frame added
    bool failed = false;
};

struct Handset {
    uint64_t clock = 0;
    std::vector<LogEntry> entries;
    bool keepEntries = true;  // fingulp-sim reads none: it only streams them (logStream)
    std::FILE* logStream = nullptr;
    size_t screenChanges = 0;
    std::u16string executable = u"./fingulp";
    bool ownMarker = false;
    OtherInstance other;
    ScriptState script;
    AnimationState animation;
};

// The one record (headless_backend.cpp).
Handset& handset();

}  // namespace plat::headless
