// Where the program believes it runs from: the executable's own path, so that
// config.ini lies beside it (the portable layout), unless the copy is
// installed (its folder is the install folder it was built for, or lies under
// /usr/ or /opt/) or its folder cannot be written; then a path inside the
// user's data folder (created) stands in, so the scores are saved there, even
// for root, and never into the program's folder. A config.ini beside such an
// executable is only read: when the data folder has none yet, the game starts
// from a copy of it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/files.h"
#include "platform/sdl/sdl_internal.h"

#ifndef FINGULP_INSTALL_PREFIX
#define FINGULP_INSTALL_PREFIX "/usr/local"
#endif

namespace plat::sdl {
namespace {

constexpr char kSettingsName[] = "config.ini";
constexpr size_t kLargestSeed = 64 * 1024;  // far more than the game ever reads of it

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

// Copies the settings file beside the executable into the data folder when
// the data folder has none (nor anything else of that name).
void seedFromBeside(const std::string& beside, const std::string& inData) {
    struct stat st {};
    if (::lstat(inData.c_str(), &st) == 0 || errno != ENOENT) return;
    const int fd = ::open(beside.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    std::string bytes(kLargestSeed, '\0');
    ssize_t n = -1;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) n = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    if (n > 0) replaceFileAtomically(fromUtf8(inData).c_str(), bytes.data(), static_cast<size_t>(n));
}

// The path reported to the program; worked out once.
std::string workOutProgramPath() {
    const std::string executable = executableFile();
    const std::string folder = folderOf(executable);
    const bool installed = installedFolder(folder, FINGULP_INSTALL_PREFIX);
    if (!installed && access(folder.c_str(), W_OK | X_OK) == 0) return executable;
    char* data = SDL_GetPrefPath("", "fingulp");
    // No data folder (no HOME): an installed copy still never writes beside itself.
    if (!data) return installed ? std::string() : executable;
    const std::string dataFolder = data;
    SDL_free(data);
    seedFromBeside(folder + kSettingsName, dataFolder + kSettingsName);
    return dataFolder + executable.substr(folder.size());
}

}  // namespace

const std::string& programPath() {
    std::string& path = backendData().programPath;
    if (path.empty()) path = workOutProgramPath();
    return path;
}

bool installedFolder(const std::string& folder, const std::string& installPrefix) {
    std::string prefix = installPrefix;
    while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
    if (!prefix.empty() && (folder == prefix + "/bin/" || folder == prefix + "/games/")) return true;
    return folder.rfind("/usr/", 0) == 0 || folder.rfind("/opt/", 0) == 0;
}

std::string settingsFolder() {
    const std::string& path = programPath();
    return path.empty() ? std::string() : folderOf(path);
}

}  // namespace plat::sdl
