// The program's own version, as CMake's project version gives it, kept in
// every replay it records.
#include "platform/replay.h"

namespace plat::replay {

ProgramVersion thisProgram() { return {FINGULP_VERSION_MAJOR, FINGULP_VERSION_MINOR, FINGULP_VERSION_PATCH}; }

std::string versionText(const ProgramVersion& v) {
    if (v.major == 0 && v.minor == 0 && v.patch == 0) return "unknown";
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.patch);
}

}  // namespace plat::replay
