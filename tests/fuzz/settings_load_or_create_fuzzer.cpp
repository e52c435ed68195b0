// Fuzz target: the start-up load on arbitrary bytes as "config.ini", in a
// folder that also holds an earlier backup. Whatever the bytes:
// - the load succeeds (the folder is writable);
// - the folder holds config.ini and config.ini.bak and nothing else;
// - config.ini reads afterwards, and gives the values the load gave;
// - a file that read is left as it was, with the earlier backup; one that
//   did not is in config.ini.bak byte for byte.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "scratch_folder.h"
#include "settings/settings_store.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<char>;

Bytes readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path& folder = scratchFolder("load");
    for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
    const Bytes input(data, data + size);
    const Bytes earlier = {'o', 'l', 'd'};
    writeBytes(folder / "config.ini", input);
    writeBytes(folder / "config.ini.bak", earlier);
    const std::u16string path = (folder / "config.ini").u16string();

    SettingsStore probe;  // whether the bytes read as they are
    const bool readsAsItIs = probe.loadFromFile(path.c_str()) == 1;

    SettingsStore store;
    require(store.loadOrCreate(path.c_str()) == 1, "the load failed in a writable folder");

    size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        require(name == "config.ini" || name == "config.ini.bak", "something else appeared in the folder");
        ++entries;
    }
    require(entries == 2, "config.ini or its backup is missing");

    SettingsStore again;
    require(again.loadFromFile(path.c_str()) == 1, "config.ini does not read afterwards");
    for (uint32_t i = 0; i < SettingsStore::kEntryCount; ++i) {
        require(std::u16string_view(again.values[i]) == std::u16string_view(store.values[i]),
                "config.ini reads other values than the load gave");
    }
    if (readsAsItIs) {
        require(readBytes(folder / "config.ini") == input, "a file that reads was changed");
        require(readBytes(folder / "config.ini.bak") == earlier, "a backup made of a file that reads");
    } else {
        require(readBytes(folder / "config.ini.bak") == input, "the file that did not read was not kept exactly");
    }
    return 0;
}
