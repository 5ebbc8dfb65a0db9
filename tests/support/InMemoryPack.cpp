#include "InMemoryPack.h"

#include <cstdlib>
#include <cstring>

#include "tq_Resources.h"

void loadInMemoryPack(const uint8_t* data, size_t size) {
  VMPtr<VMArray<int8_t, 2>> items = VMArray<int8_t, 2>::createMulti(1, 1);
  VMPtr<VMArray<int8_t>> bytes = VMArray<int8_t>::create(static_cast<int32_t>(size));
  if (size > 0) std::memcpy(bytes->elements(), data, size);
  items->set(0, bytes);
  VMPtr<VMArray<int8_t>> types = VMArray<int8_t>::create(1);
  VMPtr<VMArray<int8_t>> image = tq::Resources::buildPack(items, types);
  if (!tq::Resources::loadIndex(tq::Resources::openStream(image, 0, image->length))) std::abort();
}
