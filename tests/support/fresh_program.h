// Starting the whole program afresh on the headless handset, with its files
// in a folder of the test's, as the seeking tests and the soak's playback do.
#pragma once

#include <filesystem>

#include "platform/headless/headless.h"
#include "platform/testing/replay_reset.h"
#include "platform/testing/windowing_reset.h"
#include "testing/program_reset.h"

namespace test_program {

// Nothing kept from an earlier run; `exhausted` runs once the script's input is used up.
inline void fresh(const std::filesystem::path& folder, void (*exhausted)()) {
    plat::resetWindowing();
    plat::headless::reset();
    resetProgram();
    plat::replay::resetReplays();
    plat::headless::setExecutablePath((folder / "fingulp").u16string());
    plat::headless::onInputExhausted(exhausted);
}

}  // namespace test_program
