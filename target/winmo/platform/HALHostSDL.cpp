#include "HALHostSDL.h"

#include <SDL.h>
#include <cstdlib>
#include <cstring>
#include <string>

namespace hostsdl {
namespace {

bool started = false;
SDL_Window* window = nullptr;
int scale = 1;

constexpr uint32_t kActivate = 6, kClose = 16, kKeyDown = 256, kKeyUp = 257, kMouseMove = 512,
                   kButtonDown = 513, kButtonUp = 514;

uint32_t virtualKey(const SDL_Keysym& key) {
  const SDL_Keycode code = key.sym;
  if (code >= SDLK_a && code <= SDLK_z) return static_cast<uint32_t>('A' + (code - SDLK_a));
  if (code >= SDLK_0 && code <= SDLK_9) return static_cast<uint32_t>('0' + (code - SDLK_0));
  if (code >= SDLK_KP_1 && code <= SDLK_KP_9) return static_cast<uint32_t>(97 + (code - SDLK_KP_1));
  switch (code) {
    case SDLK_KP_0: return 96;
    case SDLK_UP: return 38;
    case SDLK_DOWN: return 40;
    case SDLK_LEFT: return 37;
    case SDLK_RIGHT: return 39;
    case SDLK_RETURN: case SDLK_KP_ENTER: return 13;
    case SDLK_F1: return 112;
    case SDLK_F2: return 113;
    case SDLK_ESCAPE: case SDLK_BACKSPACE: return 27;
    case SDLK_SPACE: return 32;
    case SDLK_KP_MULTIPLY: case SDLK_ASTERISK: return 119;
    case SDLK_HASH: return 120;
    default: return 0;
  }
}

intptr_t point(int x, int y) {
  const auto px = static_cast<uint16_t>(static_cast<int16_t>(x / scale));
  const auto py = static_cast<uint16_t>(static_cast<int16_t>(y / scale));
  return static_cast<intptr_t>((uint32_t{py} << 16) | px);
}

void translate(const SDL_Event& e, Poster post) {
  switch (e.type) {
    case SDL_QUIT:
      post(kClose, 0, 0);
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) post(kClose, 0, 0);
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED || e.window.event == SDL_WINDOWEVENT_RESTORED) {
        post(kActivate, 1, 0);
      }
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) post(kActivate, 0, 0);
      if (e.window.event == SDL_WINDOWEVENT_MINIMIZED) post(kActivate, 1u << 16, 0);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const uint32_t vk = virtualKey(e.key.keysym);
      if (vk == 0) break;
      const intptr_t repeat = e.key.repeat ? intptr_t{1} << 30 : 0;
      const intptr_t scan = static_cast<intptr_t>(e.key.keysym.scancode & 0xFF) << 16;
      post(e.type == SDL_KEYDOWN ? kKeyDown : kKeyUp, vk, repeat | scan);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT) {
        post(e.type == SDL_MOUSEBUTTONDOWN ? kButtonDown : kButtonUp, 1, point(e.button.x, e.button.y));
      }
      break;
    case SDL_MOUSEMOTION:
      post(kMouseMove, (e.motion.state & SDL_BUTTON_LMASK) ? 1 : 0, point(e.motion.x, e.motion.y));
      break;
    default:
      break;
  }
}

}  // namespace

bool start(const char** error) {
  if (started) return true;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    if (error) *error = SDL_GetError();
    return false;
  }
  // Without a display SDL falls back to a driver that shows nothing; that
  // counts only when asked for by name (SDL_VIDEODRIVER).
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!std::getenv("SDL_VIDEODRIVER") && driver &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    SDL_Quit();
    if (error) *error = "SDL found only its windowless driver";
    return false;
  }
  started = true;
  return true;
}

bool active() { return started; }

void openWindow(const char16_t* title, int32_t width, int32_t height) {
  if (!started || window) return;
  std::string text;
  for (const char16_t* p = title; p && *p; ++p) text += *p < 0x80 ? static_cast<char>(*p) : '?';
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && width > 0 && height > 0) {
    // The largest whole factor that leaves room for the desktop's frame.
    scale = std::max(1, std::min((desktop.w - 64) / width, (desktop.h - 96) / height));
  }
  window = SDL_CreateWindow(text.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale,
                            height * scale, SDL_WINDOW_SHOWN);
}

bool pump(Poster post) {
  bool any = false;
  SDL_Event event;
  while (started && SDL_PollEvent(&event)) {
    translate(event, post);
    any = true;
  }
  return any;
}

}  // namespace hostsdl
