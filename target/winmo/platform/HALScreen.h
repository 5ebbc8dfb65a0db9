#pragma once

#include <cstdint>
#include <mutex>

#include "HALArray.h"
#include "HALShellHooks.h"
#include "HALStatus.h"
#include "RasterContext.h"

class RasterSurface;

// The screen buffer of a game canvas: an opaque RGB565 surface of the
// display's size, and its presentation in the main window.
//
// Only the main thread presents. A flush on the main thread presents at
// once; a flush from another thread leaves the global lock, marks the
// screen pending under the screen lock, posts HAL_MSG_PRESENT to wake the
// main thread's loop when the screen was not pending yet, and takes the
// global lock back; the loop presents the latest contents at its next pass
// (several flushes before then give one present). The present copies
// the pixels to the window while the main thread holds the global lock, so
// a frame is never shown half drawn by a Java thread.
//
// Ownership: HAL_createScreenBuffer makes the screen, HAL_deleteScreenBuffer
// frees it with its surface. The drawing contexts made over it
// (HAL_createGraphicsWithScreenBuffer) are owned by their Graphics; the
// screen keeps a list of them, to tell them when the surface is
// reallocated, and each leaves the list when it is destroyed.
//
// Lock order: the global lock, then the screen lock; the screen lock is
// held only for the pending flag and the present.
struct HALScreen {
  int32_t width = 0;
  int32_t height = 0;
  std::mutex lock;
  HALScreenSizeSource* sizeSource = nullptr;
  RasterSurface* surface = nullptr;
  HALArray contexts;    // HALScreenContext*, in the order they were made
  bool pending = false;  // guarded by `lock`
};

// A drawing context over a screen buffer. When the buffer is reallocated
// its clip becomes the whole new buffer and its owner hears of it.
class HALScreenContext : public RasterContext {
 public:
  // Called after every reallocation, with the new size.
  using ResizeHook = void (*)(void* owner, int32_t width, int32_t height);

  explicit HALScreenContext(HALScreen* screen);
  ~HALScreenContext() override;

  void targetResized() override;
  void setResizeHook(ResizeHook hook, void* owner);
  HALScreen* screen() const { return screen_; }
  // The screen is going away: the context draws nothing from now on.
  void detach();

 private:
  HALScreen* screen_;
  ResizeHook hook_ = nullptr;
  void* owner_ = nullptr;
};

// Makes the screen buffer for `sizeSource`, registers it there and sizes it.
// HAL_ILLEGAL_ARGUMENT_ERR for a null argument, HAL_OUT_OF_MEMORY_ERR when
// the buffer cannot be had.
HALStatus HAL_createScreenBuffer(HALScreenSizeSource* sizeSource, HALScreen** out);
// The buffer's size; either out-argument may be null, not both.
HALStatus HAL_getScreenBufferSize(HALScreen* screen, int32_t* width, int32_t* height);
// Presents the whole buffer (see above).
HALStatus HAL_flushScreenBuffer(HALScreen* screen);
// Presents the whole buffer, like HAL_flushScreenBuffer; the rectangle is
// not used.
HALStatus HAL_flushScreenBufferRegion(HALScreen* screen, int32_t x, int32_t y, int32_t width,
                                      int32_t height);
// Frees the screen and its surface; its contexts draw nothing afterwards.
HALStatus HAL_deleteScreenBuffer(HALScreen* screen);
// A drawing context over the screen's buffer (see HALScreenContext).
HALStatus HAL_createGraphicsWithScreenBuffer(RasterContext** out, HALScreen* screen);

// Probe for tests: the presents made so far, of every screen.
int64_t HAL_countScreenPresents();
