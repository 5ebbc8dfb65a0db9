// Fuzz target: the palette walks over arbitrary PNG bytes inside an
// in-memory pack: the palette search and read, the transparent index, and
// a decode with a palette swapped in for it. The reads may end in
// EOFException; the decode in IllegalArgumentException (not an image) or,
// for an empty resource, ArrayIndexOutOfBoundsException (MIDP's answer to
// an offset at the end of the data).
// Afterwards the pack's bytes and the palette must be as before: a swap
// that happened is always undone. Anything else is a fault.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "InMemoryPack.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "java_io_EOFException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "tq_Resources.h"

namespace {

std::vector<int8_t> copyOf(const VMPtr<VMArray<int8_t>>& a) {
  return std::vector<int8_t>(a->elements(), a->elements() + a->length);
}

void readPalette() {
  try {
    tq::Resources::getPalette(0);
  } catch (java::io::EOFException*) {
  }
  tq::Resources::getTransparentIndex(0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  [[maybe_unused]] static VMContext* vm = VMTestEnv::start();
  if (size > 1 << 16) return 0;
  {
    loadInMemoryPack(data, size);
    readPalette();
    const std::vector<int8_t> packBefore = copyOf(tq::Resources::getDataArray(0));
    VMPtr<VMArray<int8_t>> palette = VMArray<int8_t>::create(10);
    for (int32_t i = 0; i < palette->length; ++i) palette->at(i) = static_cast<int8_t>(i * 37);
    const std::vector<int8_t> paletteBefore = copyOf(palette);
    try {
      tq::Resources::getImage(0, palette);
    } catch (java::lang::IllegalArgumentException*) {
    } catch (java::lang::ArrayIndexOutOfBoundsException*) {
    }
    if (copyOf(tq::Resources::getDataArray(0)) != packBefore || copyOf(palette) != paletteBefore) std::abort();
  }
  tq::Resources::closePack();
  _VM_collect(_VM_vm);
  return 0;
}
