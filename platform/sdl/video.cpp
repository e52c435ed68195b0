// The desktop window: the 176 x 220 screen shown at an integer scale with
// crisp pixels and letterboxing, the title and icon, fullscreen, raising,
// presentation only when the picture changed or the desktop lost it, and the
// size and fullscreen state remembered from the last run.
#include <algorithm>
#include <cstdio>

#include "platform/resources.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

Video& video() { return backendData().video; }

constexpr int kDefaultScale = 3;

// The window's first size: the one remembered, within today's desktop; else
// 3x, or the largest scale whose window fits the desktop when 3x does not.
void startingSize(const WindowPlacement* remembered, int& width, int& height) {
    SDL_Rect usable{};
    const bool known = SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0;
    if (remembered) {
        width = std::max(known ? std::min(remembered->width, usable.w) : remembered->width, int{kScreenWidth});
        height = std::max(known ? std::min(remembered->height, usable.h) : remembered->height, int{kScreenHeight});
        return;
    }
    const int fits = known ? std::min(usable.w / kScreenWidth, usable.h / kScreenHeight) : kDefaultScale;
    const int scale = std::clamp(fits, 1, kDefaultScale);
    width = kScreenWidth * scale;
    height = kScreenHeight * scale;
}

bool isFullscreen(SDL_Window* window) { return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0; }

// Keeps the window's size and fullscreen state for the next run.
void rememberWindow(Video& v) {
    // A watched game leaves the player's window state alone.
    if (!v.window || !v.renderer || backendData().watching) return;
    windowResized();
    const WindowPlacement placement{v.windowedWidth, v.windowedHeight, isFullscreen(v.window)};
    if (!writeWindowFile(placement)) {
        std::fprintf(stderr, "fingulp: could not remember the window's size in %s\n", shownArgument(windowFileFolder().c_str()).c_str());
    }
}

void setIcon(SDL_Window* window, int32_t iconId) {
    Bitmap* icon = loadIcon(iconId, 32);
    if (!icon) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, icon->width, icon->height, 32, SDL_PIXELFORMAT_ABGR8888);
    if (surface) {
        for (int32_t y = 0; y < icon->height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
            for (int32_t x = 0; x < icon->width; ++x) {
                const uint32_t p = icon->pixels[static_cast<size_t>(y) * icon->width + x];
                row[x] = p == kIconClear ? 0 : (p | 0xFF000000u);
            }
        }
        SDL_SetWindowIcon(window, surface);
        SDL_FreeSurface(surface);
    }
    delete icon;
}

}  // namespace

bool createDesktopWindow(const Char* title, int32_t iconId, const uint32_t* screenPixels) {
    Video& v = video();
    if (v.window) return true;
    WindowPlacement remembered;
    const bool known = !backendData().watching && readWindowFile(remembered);
    int width = 0, height = 0;
    startingSize(known ? &remembered : nullptr, width, height);
    v.window = SDL_CreateWindow(toUtf8(title).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                SDL_WINDOW_RESIZABLE);
    if (!v.window) return false;
    v.windowedWidth = width;
    v.windowedHeight = height;
    setIcon(v.window, iconId);
    v.renderer = SDL_CreateRenderer(v.window, -1, 0);
    if (!v.renderer) v.renderer = SDL_CreateRenderer(v.window, -1, SDL_RENDERER_SOFTWARE);
    if (!v.renderer) {
        destroyDesktopWindow();
        return false;
    }
    // Only now: a renderer may make the window anew, and the new one has no
    // minimum size for the window manager.
    SDL_SetWindowMinimumSize(v.window, kScreenWidth, kScreenHeight);
    SDL_RenderSetLogicalSize(v.renderer, kScreenWidth, kScreenHeight);
    SDL_RenderSetIntegerScale(v.renderer, SDL_TRUE);
    // 0x00BBGGRR pixels are XBGR8888 words.
    v.texture = SDL_CreateTexture(v.renderer, SDL_PIXELFORMAT_XBGR8888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                  kScreenHeight);
    if (!v.texture) {
        destroyDesktopWindow();
        return false;
    }
    SDL_SetTextureScaleMode(v.texture, SDL_ScaleModeNearest);
    if (known && remembered.fullscreen) SDL_SetWindowFullscreen(v.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    v.pixels = screenPixels;
    v.screenDirty = true;
    v.needsPresent = true;
    return true;
}

void destroyDesktopWindow() {
    Video& v = video();
    rememberWindow(v);
    if (v.texture) SDL_DestroyTexture(v.texture);
    if (v.renderer) SDL_DestroyRenderer(v.renderer);
    if (v.window) SDL_DestroyWindow(v.window);
    v.texture = nullptr;
    v.renderer = nullptr;
    v.window = nullptr;
    v.pixels = nullptr;
}

SDL_Window* desktopWindow() { return video().window; }

void markScreenChanged() { video().screenDirty = true; }

void markNeedsPresent() { video().needsPresent = true; }

void present() {
    Video& v = video();
    if (!v.renderer || !v.pixels) return;
    if (!v.screenDirty && !v.needsPresent) return;
    if (v.screenDirty) SDL_UpdateTexture(v.texture, nullptr, v.pixels, kScreenWidth * 4);
    SDL_SetRenderDrawColor(v.renderer, 0, 0, 0, 255);
    SDL_RenderClear(v.renderer);
    SDL_RenderCopy(v.renderer, v.texture, nullptr, nullptr);
    SDL_RenderPresent(v.renderer);
    v.screenDirty = false;
    v.needsPresent = false;
}

void windowResized() {
    Video& v = video();
    if (!v.window || isFullscreen(v.window) || (SDL_GetWindowFlags(v.window) & SDL_WINDOW_MINIMIZED)) return;
    SDL_GetWindowSize(v.window, &v.windowedWidth, &v.windowedHeight);
}

void toggleFullscreen() {
    Video& v = video();
    if (!v.window) return;
    const bool full = isFullscreen(v.window);
    if (!full) windowResized();
    SDL_SetWindowFullscreen(v.window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    v.needsPresent = true;
}

void raiseWindow() {
    Video& v = video();
    if (!v.window) return;
    if (SDL_GetWindowFlags(v.window) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(v.window);
    SDL_RaiseWindow(v.window);
    SDL_SetWindowInputFocus(v.window);
}

int currentScale() {
    Video& v = video();
    if (!v.renderer) return 1;
    float x = 1, y = 1;
    SDL_RenderGetScale(v.renderer, &x, &y);
    return std::max(1, static_cast<int>(std::min(x, y)));
}

const uint32_t* screenPixels() { return video().pixels; }

}  // namespace plat::sdl
