#pragma once

#include <cstddef>
#include <cstdint>

#include "CeTypes.h"

// The drawing calls the screen presentation makes: a window's device
// context, 16-bit bitmaps made from pixels, memory device contexts, and the
// copy of a bitmap into the window, which hands the window's picture to the
// backend (see CeFramePresenter). Only 16 bits per pixel (RGB565) and
// SRCCOPY are known; anything else fails without effect. Unknown or deleted
// handles are refused, never followed.
namespace ce {

HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
// A bitmap of `width` x `height` pixels (each 1..4096), 1 plane, 16 bits
// per pixel, rows packed (a row of 16-bit pixels needs no padding); `bits`
// (optional) are copied. Null for anything else.
HBITMAP CreateBitmap(int32_t width, int32_t height, UINT planes, UINT bitsPerPixel, const void* bits);
// Selects a bitmap into a memory DC; the previous one (null at first), or
// null on failure.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Deletes a bitmap that no DC holds selected.
BOOL DeleteObject(HGDIOBJ object);
// SRCCOPY of the rectangle at (sx, sy) of the bitmap selected into `source`
// to (x, y) of `target`: into a window's DC it presents the pixels (clipped
// to the bitmap and the window); between memory DCs it copies them.
BOOL BitBlt(HDC target, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, int32_t sx, int32_t sy,
            DWORD operation);
// BITSPIXEL (the profile's), HORZRES and VERTRES (the screen); 0 otherwise.
int GetDeviceCaps(HDC dc, int index);

}  // namespace ce

// Counts of the drawing objects alive (tests find leaks with them).
class CeGdi {
 public:
  CeGdi() = delete;
  static size_t liveDeviceContexts();
  static size_t liveBitmaps();
};
