// The window remembered across runs: its size (and so the picture's scale) and
// whether it was fullscreen, in a small file of the desktop edition's own in
// the user's configuration folder, never in config.ini nor beside the
// executable. A missing or damaged file means the defaults.
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/files.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

constexpr char kFileName[] = "window.ini";
constexpr int kLargest = 100000;  // no window is wider or taller

// A folder made when missing (only the user may enter it); `made` tells
// whether this call made it. The game's own folder must not be a link planted
// in its place; the configuration folder above it may be one (dotfiles often
// are).
bool ensureFolder(const std::string& path, bool ours, bool& made) {
    made = ::mkdir(path.c_str(), 0700) == 0;
    if (!made && errno != EEXIST) return false;
    struct stat st {};
    return (ours ? ::lstat(path.c_str(), &st) : ::stat(path.c_str(), &st)) == 0 && S_ISDIR(st.st_mode);
}

bool parseSize(const std::string& text, int& value) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::atoi(text.c_str());
    return value > 0 && value <= kLargest;
}

}  // namespace

bool ensureFolder(const std::string& path, bool ours) {
    bool made = false;
    return ensureFolder(path, ours, made);
}

std::string userFolder(const char* variable, const char* inHome, const char* leaf) {
    const char* base = std::getenv(variable);
    // The folder must be given as an absolute path; otherwise it is ignored.
    if (base && base[0] == '/') return std::string(base) + leaf;
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + inHome + leaf;
    return {};
}

std::string windowFileFolder() { return userFolder("XDG_CONFIG_HOME", "/.config", "/fingulp/"); }

bool parseWindowFile(const std::string& text, WindowPlacement& placement) {
    WindowPlacement read;
    int seen = 0;  // one bit per key
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) return false;
        const std::string key = line.substr(0, equals), value = line.substr(equals + 1);
        int bit = 0;
        if (key == "width" && parseSize(value, read.width)) {
            bit = 1;
        } else if (key == "height" && parseSize(value, read.height)) {
            bit = 2;
        } else if (key == "fullscreen" && (value == "0" || value == "1")) {
            read.fullscreen = value == "1";
            bit = 4;
        }
        if (bit == 0 || (seen & bit)) return false;
        seen |= bit;
    }
    if (seen != 7) return false;
    placement = read;
    return true;
}

std::string windowFileText(const WindowPlacement& placement) {
    return "width=" + std::to_string(placement.width) + "\nheight=" + std::to_string(placement.height) +
           "\nfullscreen=" + (placement.fullscreen ? "1" : "0") + "\n";
}

bool readWindowFile(WindowPlacement& placement) {
    const std::string folder = windowFileFolder();
    if (folder.empty()) return false;
    File* file = openExistingFile(folder + kFileName);
    if (!file) return false;
    char buffer[512];
    const int64_t n = readFile(file, buffer, sizeof(buffer));
    closeFile(file);
    if (n <= 0 || n == static_cast<int64_t>(sizeof(buffer))) return false;  // empty, unreadable or not ours
    return parseWindowFile(std::string(buffer, static_cast<size_t>(n)), placement);
}

bool writeWindowFile(const WindowPlacement& placement) {
    const std::string text = windowFileText(placement);
    return writeConfigFile(kFileName, text, OldEntry::Drop);
}

bool writeConfigFile(const std::string& name, const std::string& text, OldEntry old) {
    const std::string folder = windowFileFolder();
    if (folder.empty()) return false;
    // Without the closing '/', which would follow a link.
    const std::string ours = folder.substr(0, folder.size() - 1);
    const std::string parent = ours.substr(0, ours.rfind('/'));
    bool madeParent = false, madeOurs = false;
    if (ensureFolder(parent, false, madeParent) && ensureFolder(ours, true, madeOurs) &&
        replaceFileAtomically(folder + name, text.data(), text.size(), old)) {
        return true;
    }
    // Nothing written: no empty folder of ours stays behind.
    if (madeOurs) ::rmdir(ours.c_str());
    if (madeParent) ::rmdir(parent.c_str());
    return false;
}

}  // namespace plat::sdl
