// Fuzz target: the imaging codec over arbitrary bytes. A decode either
// gives an image within the size limits, whose every pixel can be read, or
// reports bad data or out of memory; a crash, a read outside the input or
// a leaked block is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "CeImaging.h"
#include "CeProcessHeap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int64_t blocksBefore = CeProcessHeap::blocksInUse();
  CeImaging::Bitmap bitmap;
  if (CeImaging::decode(data, size, bitmap) == CeImaging::Result::ok) {
    if (bitmap.width < 1 || bitmap.height < 1 || bitmap.width > CeImaging::kMaxSide ||
        int64_t{bitmap.width} * bitmap.height > CeImaging::kMaxPixels) {
      abort();
    }
    uint32_t sum = 0;
    for (int64_t i = 0; i < int64_t{bitmap.width} * bitmap.height; ++i) sum += bitmap.pixels[i];
    volatile uint32_t keep = sum;
    (void)keep;
  }
  CeImaging::release(bitmap);
  if (CeProcessHeap::blocksInUse() != blocksBefore) abort();
  return 0;
}
