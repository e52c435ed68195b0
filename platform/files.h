// The few file services the program uses: one settings file, created or
// opened, read once, written once. Paths are UTF-16 and use kPathSeparator.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/types.h"

namespace plat {

constexpr Char kPathSeparator = u'/';
// Longest path the platform takes, terminator included (the handset's limit).
constexpr int32_t kMaxPath = 256;

struct File;

File* createOrTruncateFile(const Char* path);  // null when it cannot be created
File* openExistingFile(const Char* path);      // null when it cannot be opened
// One read of at most `capacity` bytes; -1 on failure, else the bytes read.
int64_t readFile(File* file, void* buffer, size_t capacity);
// One write; -1 on failure, else the bytes written.
int64_t writeFile(File* file, const void* data, size_t size);
void closeFile(File* file);

// Writes `data` to `path` through a temporary file in the same folder that is
// then renamed over it, so the file is always either the old or the new one.
// False (and `path` untouched) when it cannot be done.
bool replaceFileAtomically(const Char* path, const void* data, size_t size);

// The full path of the running executable, at most `capacity` units with the
// terminator; returns its length, 0 when it does not fit.
int32_t moduleFileName(Char* buffer, int32_t capacity);

}  // namespace plat
