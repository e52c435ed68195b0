// Replays fuzz inputs through a target without libFuzzer, so that the seed
// corpus and every crash the fuzzers ever found run in the ordinary test
// suite (and under the sanitizers). Arguments are files or folders.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_check.h"

namespace fs = std::filesystem;

namespace {

void replay(const fs::path& file, int& count) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::fprintf(stderr, "replaying %s (%zu bytes)\n", file.string().c_str(), bytes.size());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ++count;
}

}  // namespace

int main(int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path path = argv[i];
        if (!fs::is_directory(path)) {
            replay(path, count);
            continue;
        }
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(path)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && name[0] != '.' && name != "README.md") files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) replay(file, count);
    }
    std::printf("%d inputs replayed\n", count);
    // No input at all means a wrong folder, not a pass.
    return count > 0 ? 0 : 1;
}
