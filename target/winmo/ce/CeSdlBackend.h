#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "CeBackend.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

// The backend with a real window: SDL2. The window shows the phone's screen
// scaled up by the largest whole factor that fits the desktop, and is titled
// with the application's name. Its input becomes the phone's messages:
// - keys as the phone's virtual keys: arrows, Enter (action), F1 and F2 (the
//   soft keys), digits and the keypad's digits, letters, '*' and '#' (also
//   as shifted 8 and 3: the phone's star and pound keys), Escape and
//   Backspace (Back), the blank; with the repeat bit for held keys and the
//   key's scan code;
// - the left mouse button as the stylus, coordinates scaled back to the
//   screen's and made relative to the main window;
// - focus, minimising and restoring as activation; closing as WM_CLOSE.
// Only the thread that started it (the message loop's) calls SDL for the
// window; frames presented from other threads are shown at that thread's
// next pass, which a post from any thread wakes.
class CeSdlBackend : public CeBackend {
 public:
  // Starts SDL's video; null (and the reason in *error) when no display can
  // be opened. SDL's own drivers without a screen ("dummy", "offscreen")
  // count only when SDL_VIDEODRIVER names them. Started once per process.
  static CeSdlBackend* start(std::string* error);

  const char* name() const override { return "sdl2"; }
  void openScreen(const std::u16string& title, int32_t width, int32_t height) override;
  void resizeScreen(int32_t width, int32_t height) override;
  void present(const CeFrame& frame) override;
  void raise() override;
  void pump() override;
  bool waitsForInput() const override { return true; }
  void waitForInput(int32_t milliseconds) override;
  void wake() override;

  // The whole factor the screen is scaled by.
  int32_t scale() const { return scale_; }
  SDL_Window* window() const { return window_; }

 private:
  CeSdlBackend() = default;
  bool onOwnerThread() const { return std::this_thread::get_id() == owner_; }
  // On the owner thread: applies what other threads asked for.
  void applyPending();
  void draw(const CeFrame& frame);
  void translate(const SDL_Event& event);

  std::thread::id owner_;
  uint32_t wakeEvent_ = 0;
  std::atomic<bool> wakePending_{false};
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int32_t textureWidth_ = 0;
  int32_t textureHeight_ = 0;
  int32_t scale_ = 1;

  std::mutex mutex_;  // guards what follows
  bool openPending_ = false;
  std::u16string title_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool resizePending_ = false;
  bool raisePending_ = false;
  bool framePending_ = false;
  CeFrame pendingFrame_;
};
