// Fuzz target: file names as the file system gives them, any bytes at all.
// Decoding to the program's UTF-16 and encoding back must give the same
// bytes, and the decoded name must hold a separator or a NUL exactly where
// the bytes do: nothing undecodable may turn into one (a path names a file
// by its bytes, and only by them). A name holds no NUL, so each stretch
// between NULs is one name.
#include <algorithm>
#include <string>

#include "fuzz_check.h"
#include "platform/text_encoding.h"

namespace {

size_t countOf(const std::u16string& units, char16_t unit) {
    size_t n = 0;
    for (char16_t u : units) n += u == unit ? 1 : 0;
    return n;
}

void checkName(const std::string& bytes) {
    const std::u16string units = plat::fromUtf8(bytes);
    require(plat::toUtf8(units.c_str()) == bytes, "bytes -> UTF-16 -> bytes is not the identity");
    require(countOf(units, u'/') == static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '/')),
            "a separator appeared or vanished");
    require(countOf(units, u'\0') == 0, "a NUL appeared");
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        const bool high = u >= 0xD800 && u < 0xDC00;
        const bool low = u >= 0xDC00 && u < 0xE000;
        const bool pairedLow = low && i > 0 && units[i - 1] >= 0xD800 && units[i - 1] < 0xDC00;
        require(!high || (i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000),
                "a lone high surrogate");
        require(!low || pairedLow || (u >= 0xDC80 && u <= 0xDCFF), "a lone low surrogate that stands for no byte");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string all(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    for (size_t nul = all.find('\0'); ; nul = all.find('\0', start)) {
        checkName(all.substr(start, nul == std::string::npos ? std::string::npos : nul - start));
        if (nul == std::string::npos) break;
        start = nul + 1;
    }
    return 0;
}
