// The animated WebP of a run: libwebp's animation encoder fed one frame per
// 50 ms of virtual time in which the screen changed.
#include "platform/headless/animation.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/headless/handset.h"
#include "platform/windowing.h"

namespace plat::headless {
namespace {

constexpr uint64_t kFrameMs = 50;

AnimationState& animation() { return handset().animation; }

bool addFrame(uint64_t timestamp) {
    AnimationState& a = animation();
    const Bitmap* screen = screenSurface()->bitmap;
    if (!a.last.empty() && a.last == screen->pixels) return true;  // the previous frame lasts longer
    a.last = screen->pixels;
    std::vector<uint8_t> rgba(a.last.size() * 4);
    for (size_t i = 0; i < a.last.size(); ++i) {
        const uint32_t p = a.last[i];
        rgba[4 * i] = static_cast<uint8_t>(p);
        rgba[4 * i + 1] = static_cast<uint8_t>(p >> 8);
        rgba[4 * i + 2] = static_cast<uint8_t>(p >> 16);
        rgba[4 * i + 3] = 0xFF;
    }
    WebPPicture picture;
    if (!WebPPictureInit(&picture)) return false;
    picture.use_argb = 1;
    picture.width = screen->width;
    picture.height = screen->height;
    bool ok = WebPPictureImportRGBA(&picture, rgba.data(), screen->width * 4) &&
              WebPAnimEncoderAdd(a.encoder, &picture, static_cast<int>(timestamp - a.start), &a.config);
    WebPPictureFree(&picture);
    return ok;
}

}  // namespace

bool startAnimation(const std::string& path) {
    AnimationState& a = animation();
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&a.config)) return false;
    // Lossless keeps the pixel art exact; method 2 makes files 40% smaller
    // than the quickest at no cost worth measuring (a 23-second game: 630 KB).
    a.config.lossless = 1;
    a.config.method = 2;
    a.config.quality = 20;
    options.allow_mixed = 0;
    a.encoder = WebPAnimEncoderNew(kScreenWidth, kScreenHeight, &options);
    if (!a.encoder) return false;
    a.path = path;
    a.start = a.next = handset().clock;
    a.last.clear();
    a.failed = false;
    return true;
}

void animateUntil(uint64_t from, uint64_t to) {
    AnimationState& a = animation();
    (void)from;
    if (!a.encoder || a.failed) return;
    for (; a.next < to; a.next += kFrameMs) {
        if (!addFrame(a.next)) a.failed = true;
    }
}

bool finishAnimation(std::string& error) {
    AnimationState& a = animation();
    if (!a.encoder) return true;
    animateUntil(a.next, handset().clock + kFrameMs);
    WebPData data;
    WebPDataInit(&data);
    bool ok = !a.failed && WebPAnimEncoderAdd(a.encoder, nullptr, static_cast<int>(a.next - a.start), nullptr) &&
              WebPAnimEncoderAssemble(a.encoder, &data);
    if (!ok) error = "the animation could not be encoded";
    if (ok) {
        std::FILE* f = std::fopen(a.path.c_str(), "wb");
        ok = f && std::fwrite(data.bytes, 1, data.size, f) == data.size;
        if (f && std::fclose(f) != 0) ok = false;
        if (!ok) {
            error = "cannot write " + a.path;
            std::remove(a.path.c_str());
        }
    }
    WebPDataClear(&data);
    WebPAnimEncoderDelete(a.encoder);
    a.encoder = nullptr;
    a.last.clear();
    return ok;
}

}  // namespace plat::headless
