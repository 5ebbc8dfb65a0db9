#pragma once

#include <cstdint>
#include <memory>

#include "HALKeyManager.h"
#include "HALPointerManager.h"
#include "HALShellHooks.h"

// A window object stands for one displayable (a canvas) in the program's
// one window. The current object sits in the window's user data and gets
// the window's messages first. It is also the display-size provider of the
// screen buffer it presents: it keeps that one screen, resizes it whenever
// the client area changes size and then raises the size-change event
// (identifier, width, height). Main thread only, except
// requestFullScreen, which hands the window's switch to the main thread.
//
// Ownership: made by HAL_createCanvas, freed by HAL_deleteCanvas; freeing
// the current object first takes it out of the window's user data.
class HALWindowObject : public HALScreenSizeSource {
 public:
  explicit HALWindowObject(intptr_t identifier);
  virtual ~HALWindowObject();
  HALWindowObject(const HALWindowObject&) = delete;
  HALWindowObject& operator=(const HALWindowObject&) = delete;

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  intptr_t identifier() const { return identifier_; }
  bool isVisible() const;
  bool isFullScreen() const { return fullScreen_; }
  // Stores the flag; the input object also switches the window.
  virtual void setFullScreen(bool on);
  // From any thread that holds the global lock: stores the flag at once and
  // has the window switched on the main thread, where window procedures
  // run (the switch resizes the window, and the size-change event reaches
  // the application from there). On the main thread, or while there is no
  // main window, the switch happens at once; elsewhere the object is queued
  // and HAL_MSG_FULL_SCREEN posted.
  void requestFullScreen(bool on);
  // Main thread: switches the window for each queued object, in order, to
  // the mode it last asked for. A queued object that is deleted first
  // leaves the queue.
  static void applyFullScreenRequests();
  // Handles a message of the main window: the plain object passes every
  // message to the main window procedure.
  virtual intptr_t handleMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
  // Reads the client area; on a change stores it, resizes the screen and
  // raises the size-change event.
  void updateSize();

  void screenSize(int32_t* width, int32_t* height) override;
  void attachScreen(HALScreen* screen) override { screen_ = screen; }

 protected:
  int32_t width_ = 0;
  int32_t height_ = 0;
  intptr_t identifier_;
  HALScreen* screen_ = nullptr;
  bool fullScreen_ = false;
};

// The object of a canvas: keys and stylus go to its key and pointer
// managers, everything else to the main window procedure.
class HALInputWindowObject : public HALWindowObject {
 public:
  explicit HALInputWindowObject(intptr_t identifier);

  void setFullScreen(bool on) override;
  intptr_t handleMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 private:
  HALKeyManager keys_;
  HALPointerManager pointer_;
};
