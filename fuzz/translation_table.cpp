// Fuzz target: a translation table read from arbitrary bytes, once with
// the true size and once with a size 70000 (32-bit offsets, a pool larger
// than the data), then every text fetched, decoded all at once, and
// fetched again. The reader swallows what a broken table throws; any
// exception, crash or read outside an array here is a fault.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "tq_Resources.h"
#include "tq_util_text_Translation.h"

namespace {

void readAll(const VMPtr<VMArray<int8_t>>& bytes, int32_t size) {
  VMPtr<tq::util::text::Translation> t = tq::util::text::Translation::_VM_new();
  t->_VM_init(tq::Resources::openStream(bytes, 0, bytes->length), size);
  const int32_t n = t->count;
  VMPtr<VMArray<java::lang::String>> before = VMArray<java::lang::String>::create(n);
  for (int32_t id = 0; id < n; ++id) before->set(id, t->getString(id));
  t->decodeAll();
  for (int32_t id = 0; id < n; ++id) {
    if (!t->getString(id)->equals(before->get(id))) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = (VMTestEnv::start(), true);
  (void)started;
  if (size > 1 << 16) return 0;
  {
    VMPtr<VMArray<int8_t>> bytes = VMArray<int8_t>::create(static_cast<int32_t>(size));
    if (size > 0) std::memcpy(bytes->elements(), data, size);
    readAll(bytes, bytes->length);
    readAll(bytes, 70000);
  }
  _VM_collect(_VM_vm);
  return 0;
}
