#pragma once

#include <cstdint>

// Services of other subsystems that the application shell and the main
// window call: at start-up (the record-store lock), when the application
// becomes inactive (pause every audio player), after each batch of messages
// (present a screen buffer that another thread marked pending), when the
// window's client area changes size (resize the screen buffer) and at
// shutdown (close the internet session).
//
// Each is defined once, by its subsystem (record stores, players, HTTP,
// screen buffer): every program links every subsystem, so a missing or
// changed definition is a link error.

struct HALScreen;

void HAL_initRecordStores();
void HAL_pauseAllPlayers();
void HAL_closeInternetSession();
void HAL_presentPendingScreen();
void HAL_resizeScreenBuffer(HALScreen* screen);

// The display-size provider a screen buffer registers with: the main window
// object. It keeps the one screen buffer handed to it and calls
// HAL_resizeScreenBuffer whenever its client area changes size, before it
// raises the size-change event.
class HALScreenSizeSource {
 public:
  virtual void screenSize(int32_t* width, int32_t* height) = 0;
  virtual void attachScreen(HALScreen* screen) = 0;

 protected:
  ~HALScreenSizeSource() = default;
};
