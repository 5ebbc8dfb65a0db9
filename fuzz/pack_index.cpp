// Fuzz target: the simple pack index with its data, as loadIndex reads it
// from memory (and from a record). An index that loads must address only
// bytes inside its data: every resource's offset and size are checked
// against the data array and read through every accessor. A refused index
// leaves no tables. Anything else, a crash or a read outside an array, is a
// fault.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "java_lang_RuntimeException.h"
#include "tq_Resources.h"
#include "tq_io_resource_ResourcePack.h"

using tq::Resources;
using Bytes = VMArray<int8_t>;

namespace {

void checkEveryResource(const VMPtr<tq::io::resource::ResourcePack>& pack) {
  const int32_t n = VMPtr<VMArray<int32_t>>(pack->sizes)->length;
  const int32_t total = VMPtr<Bytes>(pack->data)->length;
  for (int32_t i = 0; i < n && i < 1024; ++i) {
    const int64_t end = int64_t{Resources::getOffset(i)} + Resources::getSize(i);
    if (Resources::getSize(i) < 0 || end > total) std::abort();
    if (Resources::getBytes(i)->length != Resources::getSize(i)) std::abort();
    if (Resources::getStream(i)->available() != Resources::getSize(i)) std::abort();
    Resources::getType(i);
  }
}

void run(const uint8_t* data, size_t size) {
  VMPtr<Bytes> content = Bytes::create(static_cast<int32_t>(size));
  if (size > 0) std::memcpy(content->elements(), data, size);
  const bool loaded = Resources::loadIndex(Resources::openStream(content, 0, content->length));
  VMPtr<tq::io::resource::ResourcePack> pack = Resources::currentPack();
  if (!loaded) {
    if (pack->sizes || pack->types || pack->data) std::abort();
    return;
  }
  checkEveryResource(pack);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool started = (VMTestEnv::start(), true);
  (void)started;
  if (size > 1 << 20) return 0;
  run(data, size);
  Resources::closePack();
  _VM_collect(_VM_vm);
  return 0;
}
