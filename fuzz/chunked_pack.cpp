// Fuzz target: a chunked pack with its part files. One input is split into
// files: its first byte gives the number of part files (0 to 3), then each
// part's length as two big-endian bytes, the parts, and last the main file
// RP3.rp. The pack is opened through Resources and every resource read. A
// pack that fails to open has no tables; one that opens addresses only
// bytes inside its data (split data) or reads its part files, failing with
// a RuntimeException (or OutOfMemoryError for an indexed size beyond the
// heap). Anything else, a crash or a read outside an array,
// is a fault.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "PackFixtures.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "java_lang_OutOfMemoryError.h"
#include "java_lang_RuntimeException.h"
#include "tq_Resources.h"
#include "tq_io_resource_ResourcePack.h"

using tq::Resources;

namespace {

constexpr int32_t kPack = 3;

// Writes the files of one input; false when it is too short to split.
bool writeFiles(const pack_fixtures::ProgramFolder& folder, const uint8_t* data, size_t size) {
  if (size < 1) return false;
  const size_t parts = data[0] % 4;
  size_t at = 1 + 2 * parts;
  if (size < at) return false;
  for (size_t i = 0; i < parts; ++i) {
    const size_t length = static_cast<size_t>(data[1 + 2 * i]) << 8 | data[2 + 2 * i];
    if (size - at < length) return false;
    folder.put("RP3part" + std::to_string(i + 1) + ".rp", pack_fixtures::Bytes(data + at, data + at + length));
    at += length;
  }
  folder.put("RP3.rp", pack_fixtures::Bytes(data + at, data + size));
  return true;
}

void readEveryResource() {
  const int32_t base = kPack * 1024;
  VMPtr<tq::io::resource::ResourcePack> pack = Resources::currentPack();
  pack->ensurePack(base);  // drops every failure itself
  if (!pack->sizes) {
    if (pack->types || pack->data) std::abort();
    return;
  }
  const int32_t n = VMPtr<VMArray<int32_t>>(pack->sizes)->length;
  for (int32_t i = 0; i < n && i < 1024; ++i) {
    try {
      if (Resources::getBytes(base + i)->length != Resources::getSize(base + i)) std::abort();
      const int64_t end = int64_t{Resources::getOffset(base + i)} + Resources::getSize(base + i);
      if (end > Resources::getDataArray(base + i)->length) std::abort();
    } catch (java::lang::RuntimeException*) {
      // A part file of a file-table pack that cannot be read.
    } catch (java::lang::OutOfMemoryError*) {
      // A file-table resource is read into an array of its indexed size,
      // made before its file is opened: a size beyond the heap fails so.
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const pack_fixtures::ProgramFolder* folder = [] {
    auto* f = new pack_fixtures::ProgramFolder();
    VMTestEnv::start();
    return f;
  }();
  if (size > 1 << 20) return 0;
  for (const char* name : {"RP3.rp", "RP3part1.rp", "RP3part2.rp", "RP3part3.rp"}) folder->remove(name);
  if (writeFiles(*folder, data, size)) {
    Resources::closePack();
    readEveryResource();
  }
  Resources::closePack();
  _VM_collect(_VM_vm);
  return 0;
}
