// The presentation figures, counted around the back end's calls to SDL.
#include "hook/present_figures.h"

#include <SDL.h>

#include <chrono>

namespace desktop_hook {
namespace {

PresentFigures figures;

// Adds the time since START to the first present's or to the others'.
void count(std::chrono::steady_clock::time_point start) {
    const auto took = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start);
    (figures.presents == 0 ? figures.firstNanoseconds : figures.nanoseconds) += static_cast<uint64_t>(took.count());
}

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
    desktop_hook::count(start);
    return result;
}

void __wrap_SDL_RenderPresent(SDL_Renderer* renderer) {
    desktop_hook::PresentFigures& f = desktop_hook::figures;
    SDL_RendererInfo info{};
    if (f.renderer.empty() && SDL_GetRendererInfo(renderer, &info) == 0) f.renderer = info.name;
    const auto start = std::chrono::steady_clock::now();
    __real_SDL_RenderPresent(renderer);
    desktop_hook::count(start);
    f.presents += 1;
}

void __wrap_SDL_RaiseWindow(SDL_Window* window) {
    desktop_hook::figures.raises += 1;
    __real_SDL_RaiseWindow(window);
}
}
