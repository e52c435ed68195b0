// The settings file services on POSIX: one file opened at a time by the
// program, read and written in single calls, and the atomic replace.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/backend.h"
#include "platform/text_encoding.h"

namespace plat {

struct File {
    int fd = -1;
};

namespace {

// UTF-16 path to UTF-8; false when it is empty or too long for the platform.
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

File* wrap(int fd) {
    if (fd < 0) return nullptr;
    File* file = new (std::nothrow) File;
    if (!file) {
        ::close(fd);
        return nullptr;
    }
    file->fd = fd;
    return file;
}

bool isRegularOrMissing(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT;
    return S_ISREG(st.st_mode);
}

}  // namespace

File* createOrTruncateFile(const Char* path) {
    std::string native;
    if (!toNativePath(path, native) || !isRegularOrMissing(native)) return nullptr;
    return wrap(::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
}

File* openExistingFile(const Char* path) {
    std::string native;
    if (!toNativePath(path, native)) return nullptr;
    struct stat st {};
    if (::stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    return wrap(::open(native.c_str(), O_RDONLY | O_CLOEXEC));
}

int64_t readFile(File* file, void* buffer, size_t capacity) {
    if (!file || !buffer) return -1;
    ssize_t n;
    do {
        n = ::read(file->fd, buffer, capacity);
    } while (n < 0 && errno == EINTR);
    return n;
}

int64_t writeFile(File* file, const void* data, size_t size) {
    if (!file || (!data && size)) return -1;
    size_t done = 0;
    const char* bytes = static_cast<const char*>(data);
    while (done < size) {
        const ssize_t n = ::write(file->fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return -1;
        done += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(done);
}

void closeFile(File* file) {
    if (!file) return;
    ::close(file->fd);
    delete file;
}

bool replaceFileAtomically(const Char* path, const void* data, size_t size) {
    std::string native;
    if (!toNativePath(path, native) || !isRegularOrMissing(native)) return false;
    const std::string temporary = native + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    File file;
    file.fd = fd;
    const bool written = writeFile(&file, data, size) == static_cast<int64_t>(size);
    const bool synced = written && ::fsync(fd) == 0;
    ::close(fd);
    if (!synced || ::rename(temporary.c_str(), native.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
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
