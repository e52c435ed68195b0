// The presentation figures, counted where the back end calls SDL to upload,
// present and raise the window.
#include "hook/present_figures.h"

#include <SDL.h>

#include <chrono>

namespace desktop_hook {
namespace {

PresentFigures figures;

uint64_t nanosecondsSince(std::chrono::steady_clock::time_point start) {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count());
}

void count(uint64_t nanoseconds) { (figures.presents == 0 ? figures.firstNanoseconds : figures.nanoseconds) += nanoseconds; }

}  // namespace

PresentFigures presentFigures() { return figures; }

}  // namespace desktop_hook

extern "C" {
int __real_SDL_UpdateTexture(SDL_Texture* texture, const SDL_Rect* rect, const void* pixels, int pitch);
void __real_SDL_RenderPresent(SDL_Renderer* renderer);
void __real_SDL_RaiseWindow(SDL_Window* window);

int __wrap_SDL_UpdateTexture(SDL_Texture* texture, const SDL_Rect* rect, const void* pixels, int pitch) {
    const auto start = std::chrono::steady_clock::now();
    const int result = __real_SDL_UpdateTexture(texture, rect, pixels, pitch);
    desktop_hook::count(desktop_hook::nanosecondsSince(start));
    return result;
}

void __wrap_SDL_RenderPresent(SDL_Renderer* renderer) {
    desktop_hook::PresentFigures& f = desktop_hook::figures;
    SDL_RendererInfo info{};
    if (f.renderer.empty() && SDL_GetRendererInfo(renderer, &info) == 0) f.renderer = info.name;
    const auto start = std::chrono::steady_clock::now();
    __real_SDL_RenderPresent(renderer);
    desktop_hook::count(desktop_hook::nanosecondsSince(start));
    f.presents += 1;
}

void __wrap_SDL_RaiseWindow(SDL_Window* window) {
    desktop_hook::figures.raises += 1;
    __real_SDL_RaiseWindow(window);
}
}
