// keys.ini: the keys a player chooses, in the user's configuration folder
// beside the remembered window, never in config.ini. Read at the start (a
// damaged or hostile file means today's keys and one line on stderr), listed
// by fingulp --keys and written by fingulp --bind.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "platform/input.h"
#include "platform/text_encoding.h"
#include "platform/sdl/desktop.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

constexpr char kFileName[] = "keys.ini";
constexpr size_t kLargest = 16 * 1024;  // a hand-written keys file is far smaller

bool isText(const std::string& bytes) {
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n' && c != '\r' && c != '\t') || byte == 0x7F) return false;
    }
    return true;
}

// The one line a refused keys file gets.
void sayRefused(const std::string& error) {
    std::fprintf(stderr, "fingulp: %s: %s; using the default keys\n", shownArgument(keysFilePath().c_str()).c_str(),
                 error.c_str());
}

}  // namespace

std::string keysFilePath() {
    const std::string folder = windowFileFolder();
    return folder.empty() ? folder : folder + kFileName;
}

KeysFile readKeysFile(KeyBindings& bindings, std::string& error) {
    const std::string path = keysFilePath();
    struct stat st {};
    if (path.empty() || (::lstat(path.c_str(), &st) != 0 && errno == ENOENT)) return KeysFile::Missing;
    // A link or a FIFO planted in its place is not the player's file.
    File* file = S_ISREG(st.st_mode) ? openExistingFile(path) : nullptr;
    if (!file) {
        error = S_ISLNK(st.st_mode) ? "a link, not a file" : "not a readable file";
        return KeysFile::Refused;
    }
    std::string bytes(kLargest + 1, '\0');
    size_t size = 0;
    bool unreadable = false;
    while (size < bytes.size()) {
        const int64_t n = readFile(file, bytes.data() + size, bytes.size() - size);
        unreadable = n < 0;
        if (n <= 0) break;
        size += static_cast<size_t>(n);
    }
    closeFile(file);
    if (unreadable) {
        error = "cannot be read";
    } else if (size > kLargest) {
        error = "larger than 16 KiB";
    } else if (bytes.resize(size), !isText(bytes)) {
        error = "not text";
    } else if (parseKeysText(bytes, bindings, error)) {
        return KeysFile::Read;
    }
    return KeysFile::Refused;
}

void loadKeys() {
    KeyBindings& keys = backendData().keys;
    keys = defaultBindings();
    std::string error;
    if (readKeysFile(keys, error) == KeysFile::Refused) sayRefused(error);
    input::setStickyArrows(keys.stickyArrows);
}

int listKeys() {
    KeyBindings keys = defaultBindings();
    std::string error;
    if (readKeysFile(keys, error) == KeysFile::Refused) sayRefused(error);
    std::fputs(keysText(keys).c_str(), stdout);
    return 0;
}

int bindKeys(const std::vector<std::string>& settings) {
    KeyBindings keys = defaultBindings();
    std::string error;
    // A damaged file is kept as keys.ini.bak: the new one starts from today's keys.
    const bool damaged = readKeysFile(keys, error) == KeysFile::Refused;
    if (damaged) sayRefused(error);
    for (const std::string& setting : settings) {
        if (!applySetting(setting, keys, error)) {
            std::fprintf(stderr, "fingulp: --bind %s: %s\n", shownArgument(setting.c_str()).c_str(), error.c_str());
            return 2;
        }
    }
    if (!checkBindings(keys, error)) {
        std::fprintf(stderr, "fingulp: --bind: %s\n", error.c_str());
        return 2;
    }
    const std::string text = keysText(keys);
    if (!writeConfigFile(kFileName, text, damaged ? OldEntry::KeepAsBackup : OldEntry::Drop)) {
        std::fprintf(stderr, "fingulp: cannot write %s\n", shownArgument(keysFilePath().c_str()).c_str());
        return 1;
    }
    std::printf("fingulp: keys saved to %s\n%s", keysFilePath().c_str(), text.c_str());
    return 0;
}

}  // namespace plat::sdl
