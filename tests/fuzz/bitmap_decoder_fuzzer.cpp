// Fuzz target: the bitmap decoder on arbitrary bytes. Under the address and
// undefined-behaviour sanitizers of the fuzz build, any read outside the
// data, any wrapped size or signed overflow stops the run; a picture that
// does decode has the size its header claims, within the decoder's bounds.
#include "fuzz_check.h"
#include "platform/drawing.h"
#include "platform/resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::Bitmap* bitmap = plat::decodeBmp(data, size);
    if (!bitmap) return 0;
    require(bitmap->width > 0 && bitmap->width <= 4096 && bitmap->height > 0 && bitmap->height <= 4096,
            "a decoded picture outside the bounds");
    require(bitmap->pixels.size() == static_cast<size_t>(bitmap->width) * static_cast<size_t>(bitmap->height),
            "pixels for another size");
    require(size >= 54, "a picture from fewer bytes than its headers");
    plat::deleteBitmap(bitmap);
    return 0;
}
