#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A finished picture of the whole screen as the display shows it: RGB565
// pixels, row after row without gaps, in the display's current orientation.
struct CeFrame {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint16_t> pixels;
};

// Where the stand-in's screen and input come from. Two backends share the
// code above them: the headless backend (the default: it records presented
// frames and takes input that tests inject) and the SDL2 backend (a real
// window with keyboard and mouse).
class CeBackend {
 public:
  virtual ~CeBackend() = default;

  virtual const char* name() const = 0;
  // The main window was made: the screen's size and the application's name.
  virtual void openScreen(const std::u16string& title, int32_t width, int32_t height) {}
  // The display's size changed (a new orientation).
  virtual void resizeScreen(int32_t width, int32_t height) {}
  // Shows a frame of the screen. Any thread may call it.
  virtual void present(const CeFrame& frame) = 0;
  // The main window of another process asked this one to come to the front.
  virtual void raise() {}
  // Turns the backend's waiting input into window messages (on the thread
  // that reads the message queue).
  virtual void pump() {}
  // True when a thread waiting for messages waits in the backend
  // (waitForInput) rather than on the queue alone.
  virtual bool waitsForInput() const { return false; }
  // Waits until input comes, wake() is called or `milliseconds` pass (a
  // negative time: no limit).
  virtual void waitForInput(int32_t milliseconds) {}
  // Ends a waitForInput from any thread.
  virtual void wake() {}

  // The backend in use: the headless backend until another is chosen.
  static CeBackend& current();
  // Makes `backend` the one in use; it is never destroyed.
  static void use(CeBackend* backend);
  // The choice for a program: the headless backend when `headless` is set
  // or the environment variable JME_BACKEND is "headless", else the SDL2
  // backend (SDL's own variables apply: SDL_VIDEODRIVER=dummy runs it
  // without a display). False, after a one-line message on standard error,
  // when no SDL2 window can be opened.
  static bool choose(bool headless);
};
