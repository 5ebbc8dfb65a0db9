#include "HALDevice.h"

#include "CeWindows.h"

using namespace ce;

void HAL_getScreenMetrics(int32_t* width, int32_t* height) {
  if (width) *width = GetSystemMetrics(SM_CXSCREEN);
  if (height) *height = GetSystemMetrics(SM_CYSCREEN);
}

int32_t HAL_getScreenBitsPerPixel() {
  HDC dc = GetDC(nullptr);
  const int32_t bits = GetDeviceCaps(dc, BITSPIXEL);
  ReleaseDC(nullptr, dc);
  return bits;
}
