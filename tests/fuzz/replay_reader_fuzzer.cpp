// Fuzz target: the replay reader on any bytes (file or link): what it accepts
// writes back to the same replay, what it refuses comes with a reason.
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace replay = plat::replay;
    replay::Replay first;
    std::string error;
    if (!replay::readReplay(std::string_view(reinterpret_cast<const char*>(data), size), first, error)) {
        require(!error.empty(), "a refused replay says why");
        return 0;
    }
    const std::vector<uint8_t> bytes = replay::encode(first);
    replay::Replay second;
    require(replay::decode(bytes.data(), bytes.size(), second, error), "a written replay reads back");
    require(second.outcome == first.outcome && second.input == first.input, "the outcome and input survive");
    require(second.header.generator == first.header.generator && second.header.level == first.header.level,
            "the header survives");
    require(second.checks.sums == first.checks.sums &&
                replay::versionText(second.version) == replay::versionText(first.version),
            "the state checks and the program's version survive");
    std::vector<uint8_t> again;
    require(replay::fromText(replay::linkFragment(first), again, error) && again == bytes, "the link form survives");
    return 0;
}
