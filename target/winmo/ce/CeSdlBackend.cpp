#include "CeSdlBackend.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "CeText.h"
#include "CeTypes.h"
#include "CeWindowManager.h"

using namespace ce;

namespace {

UINT virtualKey(const SDL_Keysym& key) {
  const SDL_Keycode code = key.sym;
  // '*' and '#' are shifted digits on most keyboards.
  if ((key.mod & KMOD_SHIFT) && code == SDLK_8) return VK_ASTERISK;
  if ((key.mod & KMOD_SHIFT) && code == SDLK_3) return VK_POUND;
  if (code >= SDLK_a && code <= SDLK_z) return static_cast<UINT>('A' + (code - SDLK_a));
  if (code >= SDLK_0 && code <= SDLK_9) return static_cast<UINT>('0' + (code - SDLK_0));
  if (code >= SDLK_KP_1 && code <= SDLK_KP_9) return static_cast<UINT>(VK_NUMPAD0 + 1 + (code - SDLK_KP_1));
  switch (code) {
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_F1: return VK_F1;
    case SDLK_F2: return VK_F2;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_KP_MULTIPLY: case SDLK_ASTERISK: return VK_ASTERISK;
    case SDLK_HASH: return VK_POUND;
    default: return 0;
  }
}

CeSdlBackend* started = nullptr;

}  // namespace

CeSdlBackend* CeSdlBackend::start(std::string* error) {
  if (started) return started;
  // The stand-in turns SIGINT and SIGTERM into WM_CLOSE itself.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
#if defined(__SANITIZE_ADDRESS__)
  // SDL's video drivers keep a few allocations of the libraries below them
  // (D-Bus) for the process's life; they are not this program's leaks.
  __lsan_disable();
#endif
  const int failed = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
#if defined(__SANITIZE_ADDRESS__)
  __lsan_enable();
#endif
  if (failed != 0) {
    if (error) *error = SDL_GetError();
    return nullptr;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!std::getenv("SDL_VIDEODRIVER") && driver &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    if (error) *error = "SDL found only its windowless driver";
    return nullptr;
  }
  auto* backend = new CeSdlBackend();
  backend->owner_ = std::this_thread::get_id();
  backend->wakeEvent_ = SDL_RegisterEvents(1);
  started = backend;
  return backend;
}

void CeSdlBackend::openScreen(const std::u16string& title, int32_t width, int32_t height) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    openPending_ = true;
    title_ = title;
    width_ = width;
    height_ = height;
  }
  if (onOwnerThread()) {
    applyPending();
  } else {
    wake();
  }
}

void CeSdlBackend::resizeScreen(int32_t width, int32_t height) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    width_ = width;
    height_ = height;
    resizePending_ = true;
  }
  if (onOwnerThread()) {
    applyPending();
  } else {
    wake();
  }
}

void CeSdlBackend::present(const CeFrame& frame) {
  if (onOwnerThread()) {
    applyPending();
    draw(frame);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pendingFrame_.width = frame.width;
    pendingFrame_.height = frame.height;
    pendingFrame_.pixels.assign(frame.pixels.begin(), frame.pixels.end());
    framePending_ = true;
  }
  wake();
}

void CeSdlBackend::raise() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    raisePending_ = true;
  }
  wake();
}

void CeSdlBackend::applyPending() {
  bool open = false, resize = false, raise = false, frame = false;
  std::u16string title;
  int32_t width = 0, height = 0;
  CeFrame pending;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::swap(open, openPending_);
    std::swap(resize, resizePending_);
    std::swap(raise, raisePending_);
    std::swap(frame, framePending_);
    title = title_;
    width = width_;
    height = height_;
    if (frame) std::swap(pending, pendingFrame_);
  }
  if (open && !window_ && width > 0 && height > 0) {
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
      // The largest whole factor that leaves room for the desktop's frame
      // in either orientation.
      const int32_t longSide = std::max(width, height);
      scale_ = std::max(1, std::min((desktop.w - 64) / longSide, (desktop.h - 96) / longSide));
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    window_ = SDL_CreateWindow(CeText::toUTF8(title).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               width * scale_, height * scale_, SDL_WINDOW_SHOWN);
    if (window_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_) {
      SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
      SDL_RenderClear(renderer_);
      SDL_RenderPresent(renderer_);
    }
  } else if (resize && window_) {
    SDL_SetWindowSize(window_, width * scale_, height * scale_);
  }
  if (raise && window_) {
    SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
  }
  if (frame) draw(pending);
}

void CeSdlBackend::draw(const CeFrame& frame) {
  if (!renderer_ || frame.width < 1 || frame.height < 1) return;
  if (!texture_ || textureWidth_ != frame.width || textureHeight_ != frame.height) {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, frame.width,
                                 frame.height);
    textureWidth_ = frame.width;
    textureHeight_ = frame.height;
    if (!texture_) return;
  }
  SDL_UpdateTexture(texture_, nullptr, frame.pixels.data(), frame.width * static_cast<int>(sizeof(uint16_t)));
  const SDL_Rect target{0, 0, frame.width * scale_, frame.height * scale_};
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, &target);
  SDL_RenderPresent(renderer_);
}

void CeSdlBackend::pump() {
  if (!onOwnerThread()) return;
  wakePending_.store(false);
  applyPending();
  SDL_Event event;
  while (SDL_PollEvent(&event)) translate(event);
}

void CeSdlBackend::waitForInput(int32_t milliseconds) {
  if (!onOwnerThread()) {
    SDL_Delay(static_cast<uint32_t>(milliseconds < 0 ? 10 : std::min(milliseconds, 10)));
    return;
  }
  if (milliseconds < 0) {
    SDL_WaitEvent(nullptr);
  } else {
    SDL_WaitEventTimeout(nullptr, milliseconds);
  }
}

void CeSdlBackend::wake() {
  if (wakePending_.exchange(true)) return;
  SDL_Event event{};
  event.type = wakeEvent_;
  SDL_PushEvent(&event);
}

void CeSdlBackend::translate(const SDL_Event& e) {
  const auto post = [](UINT message, WPARAM wParam, LPARAM lParam) {
    CeWindowManager::postInput(message, wParam, lParam);
  };
  // A point of the window in the main window's client coordinates.
  const auto point = [this](int32_t x, int32_t y) {
    RECT rect{};
    CeWindowManager::screenRect(CeWindowManager::mainWindow(), &rect);
    const auto px = static_cast<uint16_t>(static_cast<int16_t>(x / scale_ - rect.left));
    const auto py = static_cast<uint16_t>(static_cast<int16_t>(y / scale_ - rect.top));
    return static_cast<LPARAM>((uint32_t{py} << 16) | px);
  };
  switch (e.type) {
    case SDL_QUIT:
      if (HWND main = CeWindowManager::mainWindow()) PostMessageW(main, WM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          if (HWND main = CeWindowManager::mainWindow()) PostMessageW(main, WM_CLOSE, 0, 0);
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED:
          CeWindowManager::backendActivated(true, false);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          CeWindowManager::backendActivated(false, false);
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          CeWindowManager::backendActivated(false, true);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          // The window's picture was lost: show the latest frame again.
          if (texture_ && renderer_) {
            const SDL_Rect target{0, 0, textureWidth_ * scale_, textureHeight_ * scale_};
            SDL_RenderClear(renderer_);
            SDL_RenderCopy(renderer_, texture_, nullptr, &target);
            SDL_RenderPresent(renderer_);
          }
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const UINT vk = virtualKey(e.key.keysym);
      if (vk == 0) break;
      const bool down = e.type == SDL_KEYDOWN;
      LPARAM lParam = 1 | (static_cast<LPARAM>(e.key.keysym.scancode & 0xFF) << 16);
      if (!down || e.key.repeat) lParam |= LPARAM{1} << 30;
      if (!down) lParam |= static_cast<LPARAM>(uint32_t{1} << 31);
      post(down ? WM_KEYDOWN : WM_KEYUP, vk, lParam);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT) {
        const bool down = e.type == SDL_MOUSEBUTTONDOWN;
        post(down ? WM_LBUTTONDOWN : WM_LBUTTONUP, down ? MK_LBUTTON : 0, point(e.button.x, e.button.y));
      }
      break;
    case SDL_MOUSEMOTION:
      // A mouse moved without its button is not a stylus on the screen.
      if (e.motion.state & SDL_BUTTON_LMASK) post(WM_MOUSEMOVE, MK_LBUTTON, point(e.motion.x, e.motion.y));
      break;
    default:
      break;
  }
}
