// The few file services the program uses: one settings file, opened and read
// once, replaced as a whole once. Paths are UTF-16 and use kPathSeparator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace plat {

constexpr Char kPathSeparator = u'/';
// Longest path the platform takes, terminator included (the handset's limit).
constexpr int32_t kMaxPath = 256;

struct File;

// Opens a regular file for reading, through a link if `path` is one; null
// when there is none (missing, a folder, a FIFO, not readable).
File* openExistingFile(const Char* path);
// One read of at most `capacity` bytes; -1 on failure, else the bytes read.
int64_t readFile(File* file, void* buffer, size_t capacity);
void closeFile(File* file);

// What becomes of the entry that stands at the path when a file replaces it.
enum class OldEntry {
    Drop,          // replaced
    // Renamed to the path + ".bak" (a link as a link), replacing an earlier
    // backup; when that name cannot be replaced (a folder), to the first free
    // one of the path + ".bak.1" to ".bak.9". No backup to be had: a failure.
    KeepAsBackup,
};

// Makes `data` the whole of the file at `path`, so that the path always
// names either the old file or the new one:
// - the data goes into a new temporary file beside it (the path + ".new."
//   and six letters or digits), created exclusively, never through a link,
//   with the old file's mode and, where allowed, its owner; it is synced and
//   renamed over the path, and the folder is synced;
// - a link at the path is replaced by the file, never written through;
// - an old file without write permission for the player (for root: without
//   any write bit), a folder or any other kind of entry makes it fail;
// - on failure the temporary file is removed and nothing else is touched;
// - after success, temporary files that an interrupted save left behind
//   (regular files of that pattern, or the path + ".new", older than the
//   program's start) are removed.
// False when it cannot be done.
bool replaceFileAtomically(const Char* path, const void* data, size_t size, OldEntry old = OldEntry::Drop);

// The same two for a path in the file system's own bytes, free of the
// handset's length limit: the desktop edition's own files.
File* openExistingFile(const std::string& nativePath);
bool replaceFileAtomically(const std::string& nativePath, const void* data, size_t size,
                           OldEntry old = OldEntry::Drop);
// The whole of a regular file, opened as openExistingFile does (never
// blocking on a FIFO or a device put in its place), read up to `limit` bytes:
// `contents` holds more than limit - 1 bytes only when the file has more.
// False when there is no such file or it cannot be read.
bool readExistingFile(const std::string& nativePath, size_t limit, std::string& contents);

// The full path of the running executable, at most `capacity` units with the
// terminator; returns its length, 0 when it does not fit.
int32_t moduleFileName(Char* buffer, int32_t capacity);

}  // namespace plat
