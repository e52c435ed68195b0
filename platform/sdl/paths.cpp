// Where the program believes it runs from: the executable's own path, so that
// config.ini lies beside it (the portable layout), unless that folder is not
// writable (an installed copy), in which case a path inside the user's data
// folder (created) stands in, so the scores can still be saved.
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

std::string executableFile() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n > 0) return std::string(buffer, static_cast<size_t>(n));
    char* base = SDL_GetBasePath();
    std::string path = base ? std::string(base) + "fingulp" : "./fingulp";
    SDL_free(base);
    return path;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

// The path reported to the program; worked out once.
std::string workOutProgramPath() {
    const std::string executable = executableFile();
    const std::string folder = folderOf(executable);
    if (access(folder.c_str(), W_OK | X_OK) == 0) return executable;
    char* data = SDL_GetPrefPath("", "fingulp");
    if (!data) return executable;
    const std::string inData = std::string(data) + executable.substr(folder.size());
    SDL_free(data);
    return inData;
}

}  // namespace

const std::string& programPath() {
    std::string& path = backendData().programPath;
    if (path.empty()) path = workOutProgramPath();
    return path;
}

std::string settingsFolder() { return folderOf(programPath()); }

}  // namespace plat::sdl
