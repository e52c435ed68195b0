// A private folder for a fuzz target's files, in memory when the system has
// one, made at the first call and removed when the process ends.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

inline std::filesystem::path& scratchFolderPath() {
    static std::filesystem::path folder;
    return folder;
}

inline const std::filesystem::path& scratchFolder(const char* purpose) {
    namespace fs = std::filesystem;
    fs::path& folder = scratchFolderPath();
    if (folder.empty()) {
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        folder = base / ("fingulp_fuzz_" + std::string(purpose) + "_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(scratchFolderPath(), ignored);
        });
    }
    return folder;
}
