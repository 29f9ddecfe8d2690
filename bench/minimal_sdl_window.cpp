// The yardstick for the start-up benchmark: the least an SDL2 program does to
// put a 634 x 454 window on the screen and paint it once. With
// AUTOMENU_EXIT_AFTER_FIRST_FRAME=1 it ends right after that first frame, as
// the benchmark's build of the menu does; without it, it stays up until closed.
#include <SDL.h>

#include <cstdlib>
#include <cstring>

int main() {
    // The same window framebuffer as the menu's: the pixels go to the X
    // server directly, not through an OpenGL texture.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        SDL_Log("cannot open the display: %s", SDL_GetError());
        return 1;
    }
    SDL_Window* window =
        SDL_CreateWindow("Installation", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 634, 454, 0);
    if (!window) {
        SDL_Log("cannot create the window: %s", SDL_GetError());
        return 1;
    }
    const char* exit_switch = std::getenv("AUTOMENU_EXIT_AFTER_FIRST_FRAME");
    const bool exit_after_first_frame = exit_switch && std::strcmp(exit_switch, "1") == 0;
    bool painted = false;
    for (;;) {
        SDL_Event e;
        while (SDL_PollEvent(&e))
            if (e.type == SDL_QUIT) {
                SDL_DestroyWindow(window);
                SDL_Quit();
                return 0;
            }
        if (!painted) {
            SDL_Surface* surface = SDL_GetWindowSurface(window);
            if (!surface) return 1;
            SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0xC0, 0xC0, 0xC0));
            SDL_UpdateWindowSurface(window);
            painted = true;
            if (exit_after_first_frame) std::_Exit(0);
        }
        SDL_WaitEvent(nullptr);
    }
}
