// The settings file services on POSIX: reading a file in single calls, and
// replacing one safely (a fresh temporary file beside it, renamed over it).
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <random>
#include <string>

#include "platform/backend.h"
#include "platform/text_encoding.h"

namespace plat {

struct File {
    int fd = -1;
};

namespace {

constexpr char kTemporaryMark[] = ".new";
constexpr char kBackupMark[] = ".bak";
constexpr int kSpareBackups = 9;  // "config.ini.bak.1" to ".bak.9"
constexpr size_t kTemporaryLetters = 6;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// A stale temporary file must be older than the program's start by this much:
// the file system's clock runs a little behind the system clock.
constexpr time_t kStaleMarginSeconds = 2;

const timespec kProgramStart = [] {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}();

// UTF-16 path to the file system's bytes; false when it is empty or too long
// for the platform.
bool toNativePath(const Char* path, std::string& out) {
    out.clear();
    if (!path || !*path) return false;
    int32_t length = 0;
    while (path[length]) {
        if (++length >= kMaxPath) return false;  // no room for the terminator: refuse, never truncate
    }
    out = toUtf8(path);
    return true;
}

bool writeAll(int fd, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The player may change the file: the system says so, and for root, who may
// write anything, the file has at least one write bit.
bool mayWrite(const std::string& native, const struct stat& st) {
    if (::faccessat(AT_FDCWD, native.c_str(), W_OK, AT_EACCESS) != 0) return false;
    return ::geteuid() != 0 || (st.st_mode & 0222) != 0;
}

std::string folderOf(const std::string& native) {
    const size_t slash = native.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : native.substr(0, slash);
}

std::string nameOf(const std::string& native) {
    const size_t slash = native.rfind('/');
    return slash == std::string::npos ? native : native.substr(slash + 1);
}

struct Temporary {
    int fd = -1;
    std::string path;
};

// A new file of a name nobody else uses, created exclusively: an entry of
// that name, a link above all, makes the attempt fail and another name is
// tried. `mode` is masked by the umask.
Temporary createTemporary(const std::string& native, mode_t mode) {
    // Drawn afresh for every save, so that copies forked from one process
    // never walk the same names.
    std::random_device random;
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::string path = native + kTemporaryMark + ".";
        for (size_t i = 0; i < kTemporaryLetters; ++i) path += kLetters[random() % (sizeof kLetters - 1)];
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) return {fd, path};
        if (errno != EEXIST) break;
    }
    return {};
}

bool isTemporaryName(const std::string& entry, const std::string& name) {
    const std::string stem = name + kTemporaryMark;
    if (entry == stem) return true;  // the fixed name earlier versions used
    if (entry.size() != stem.size() + 1 + kTemporaryLetters || entry.compare(0, stem.size(), stem) != 0 ||
        entry[stem.size()] != '.') {
        return false;
    }
    return entry.find_first_not_of(kLetters, stem.size() + 1) == std::string::npos;
}

// Moves the old entry aside as the backup: "config.ini.bak", replacing an
// earlier backup, or when that name is taken by something that cannot be
// replaced (a folder, say) the first free name of "config.ini.bak.1" to
// ".bak.9", never replacing anything. The name used; empty when none would do.
std::string moveAsideAsBackup(const std::string& native) {
    const std::string backup = native + kBackupMark;
    if (::rename(native.c_str(), backup.c_str()) == 0) return backup;
    for (int n = 1; n <= kSpareBackups; ++n) {
        const std::string spare = backup + "." + std::to_string(n);
#if defined(__linux__)
        if (::renameat2(AT_FDCWD, native.c_str(), AT_FDCWD, spare.c_str(), RENAME_NOREPLACE) == 0) return spare;
#else
        struct stat st {};
        if (::lstat(spare.c_str(), &st) != 0 && errno == ENOENT && ::rename(native.c_str(), spare.c_str()) == 0) {
            return spare;
        }
#endif
    }
    return {};
}

bool olderThanProgramStart(const struct stat& st) {
    return st.st_mtim.tv_sec < kProgramStart.tv_sec - kStaleMarginSeconds;
}

// Removes what an interrupted save of `name` left in `folder`: regular files
// of the temporary pattern from before the program started. Links, folders
// and files of a save running now are left alone.
void removeStaleTemporaries(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryName(entry->d_name, name)) continue;
        struct stat st {};
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            olderThanProgramStart(st)) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

// Makes the renames in `folder` durable; a file system that cannot sync a
// folder has nothing more to do.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The temporary file takes the old file's place in every respect it may: its
// owner and group where the process is allowed to set them, then its
// permission bits (after the owner, whose change would clear some of them).
void takeOverAttributes(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    ::fchmod(fd, old.st_mode & 0777);
}

}  // namespace

File* openExistingFile(const Char* path) {
    std::string native;
    return toNativePath(path, native) ? openExistingFile(native) : nullptr;
}

File* openExistingFile(const std::string& native) {
    if (native.empty()) return nullptr;
    // Non-blocking, so that a FIFO put in the file's place cannot hang the
    // open; anything but a regular file is then refused.
    const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    File* file = nullptr;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) file = new (std::nothrow) File;
    if (!file) {
        ::close(fd);
        return nullptr;
    }
    file->fd = fd;
    return file;
}

int64_t readFile(File* file, void* buffer, size_t capacity) {
    if (!file || !buffer) return -1;
    ssize_t n;
    do {
        n = ::read(file->fd, buffer, capacity);
    } while (n < 0 && errno == EINTR);
    return n;
}

void closeFile(File* file) {
    if (!file) return;
    ::close(file->fd);
    delete file;
}

bool readExistingFile(const std::string& native, size_t limit, std::string& contents) {
    contents.clear();
    File* file = openExistingFile(native);
    if (!file) return false;
    int64_t n = 0;
    while (contents.size() < limit) {
        const size_t at = contents.size();
        contents.resize(std::min(limit, std::max<size_t>(at * 2, 64 * 1024)));
        n = readFile(file, contents.data() + at, contents.size() - at);
        contents.resize(at + static_cast<size_t>(std::max<int64_t>(n, 0)));
        if (n <= 0) break;
    }
    closeFile(file);
    return n >= 0;
}

bool replaceFileAtomically(const Char* path, const void* data, size_t size, OldEntry old) {
    std::string native;
    return toNativePath(path, native) && replaceFileAtomically(native, data, size, old);
}

bool replaceFileAtomically(const std::string& native, const void* data, size_t size, OldEntry old) {
    if (native.empty() || (!data && size)) return false;

    struct stat oldStat {};
    bool oldExists = false;
    if (::lstat(native.c_str(), &oldStat) == 0) {
        oldExists = true;
        if (S_ISREG(oldStat.st_mode)) {
            if (!mayWrite(native, oldStat)) return false;
        } else if (!S_ISLNK(oldStat.st_mode)) {
            return false;  // a folder, a FIFO, a device: not ours to replace
        }
    } else if (errno != ENOENT) {
        return false;
    }
    const bool oldIsFile = oldExists && S_ISREG(oldStat.st_mode);

    const Temporary temporary = createTemporary(native, oldIsFile ? 0600 : 0666);
    if (temporary.fd < 0) return false;
    if (oldIsFile) takeOverAttributes(temporary.fd, oldStat);
    bool ok = writeAll(temporary.fd, data, size) && ::fsync(temporary.fd) == 0;
    ok = ::close(temporary.fd) == 0 && ok;

    std::string backup;
    const bool keepBackup = ok && oldExists && old == OldEntry::KeepAsBackup;
    if (keepBackup) {
        backup = moveAsideAsBackup(native);
        ok = !backup.empty();
    }
    if (ok && ::rename(temporary.path.c_str(), native.c_str()) != 0) {
        ok = false;
        if (keepBackup) ::rename(backup.c_str(), native.c_str());  // the old file back in its place
    }
    if (!ok) {
        ::unlink(temporary.path.c_str());
        return false;
    }

    const std::string folder = folderOf(native);
    syncFolder(folder);
    removeStaleTemporaries(folder, nameOf(native));
    backend::fileWritten(fromUtf8(native));
    if (keepBackup) backend::fileWritten(fromUtf8(backup));
    return true;
}

int32_t moduleFileName(Char* buffer, int32_t capacity) {
    if (!buffer || capacity <= 0) return 0;
    const std::u16string path = backend::executablePath();
    if (path.empty() || static_cast<int32_t>(path.size()) >= capacity) {
        buffer[0] = 0;
        return 0;
    }
    for (size_t i = 0; i < path.size(); ++i) buffer[i] = path[i];
    buffer[path.size()] = 0;
    return static_cast<int32_t>(path.size());
}

}  // namespace plat
