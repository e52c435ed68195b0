// What the tests share about files: whole-file reads and writes, a folder's
// entries, and a scratch folder that goes with everything in it.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

namespace test_files {

namespace fs = std::filesystem;

// The whole file as bytes (a std::string, or e.g. std::vector<uint8_t>);
// empty when it cannot be read.
template <typename Bytes = std::string>
Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <typename Bytes>
    requires requires(const Bytes& b) { b.data(), b.size(); }
void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void writeFile(const fs::path& path, std::string_view text) { writeFile<std::string_view>(path, text); }

inline std::set<std::string> entriesOf(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// Every name a backup of FOLDER/config.ini may take made a folder: no backup can be made.
inline void takeEveryBackupName(const fs::path& folder) {
    fs::create_directories(folder / "config.ini.bak" / "x");
    for (int n = 1; n <= 9; ++n) fs::create_directories(folder / ("config.ini.bak." + std::to_string(n)) / "x");
}

// A fresh empty folder in the temporary folder, named for its purpose and
// unique in the machine; removed with everything in it when it goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& purpose) {
        static std::atomic<int> counter{0};
        folder_ = fs::temp_directory_path() /
                  ("fingulp_" + purpose + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& folder() const { return folder_; }

private:
    fs::path folder_;
};

}  // namespace test_files
