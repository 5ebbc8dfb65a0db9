#include "HALDevice.h"

void HAL_getScreenMetrics(int32_t* width, int32_t* height) {
  if (width) *width = 240;
  if (height) *height = 320;
}

int32_t HAL_getScreenBitsPerPixel() { return 16; }
