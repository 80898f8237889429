// The reference for the idle measurement: the least an SDL2 program showing a still picture
// can cost. It opens an 800 x 600 window, presents one frame, and then only waits on events
// (redrawing when the window is exposed) until it is closed or sent SIGTERM.
#include <SDL.h>

int main(int, char**) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("IdleReference", SDL_WINDOWPOS_UNDEFINED,
                                        SDL_WINDOWPOS_UNDEFINED, 800, 600, 0);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
  if (!renderer) return 1;
  auto draw = [renderer] {
    SDL_SetRenderDrawColor(renderer, 32, 40, 48, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
  };
  draw();
  SDL_Event event;
  while (SDL_WaitEvent(&event)) {
    if (event.type == SDL_QUIT) break;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) draw();
  }
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
