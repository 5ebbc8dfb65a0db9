// Fuzz target: loadIndexFromRecord. The input is saved as record 1 through
// the canvas's record writer (in a program folder of the fuzz run) and
// loaded back as a pack index with its data. A loaded index must address
// only bytes inside its data; a refused one leaves no tables. Anything
// else, a crash or a read outside an array, is a fault.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "PackFixtures.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"
#include "tq_io_resource_ResourcePack.h"

namespace fuzz {

class RecordCanvas : public tq::TqCanvas {
  VM_CLASS(RecordCanvas, tq::TqCanvas)

 public:
  void tick() override {}
  void paintFrame(VMPtr<Graphics>) override {}
};

}  // namespace fuzz

VM_REGISTER_CLASS(fuzz::RecordCanvas, "fuzz.RecordCanvas", "tq.TqCanvas", 0);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const pack_fixtures::ProgramFolder folder;  // removed at exit
  static VMNative<fuzz::RecordCanvas>* canvas = [] {
    VMTestEnv::start();
    VMPtr<fuzz::RecordCanvas> c = fuzz::RecordCanvas::_VM_new();
    c->_VM_init(VMPtr<javax::microedition::midlet::MIDlet>());
    return new VMNative<fuzz::RecordCanvas>(c);
  }();
  if (size > 1 << 16) return 0;
  {
    VMPtr<fuzz::RecordCanvas> c(*canvas);
    VMPtr<VMArray<int8_t>> record = VMArray<int8_t>::create(static_cast<int32_t>(size));
    if (size > 0) std::memcpy(record->elements(), data, size);
    if (!c->writeRecord(1, record)) std::abort();
    const bool loaded = tq::Resources::loadIndexFromRecord(1);
    VMPtr<tq::io::resource::ResourcePack> pack = tq::Resources::currentPack();
    if (!loaded && (pack->sizes || pack->types || pack->data)) std::abort();
    if (loaded) {
      const int32_t n = VMPtr<VMArray<int32_t>>(pack->sizes)->length;
      const int32_t total = VMPtr<VMArray<int8_t>>(pack->data)->length;
      for (int32_t i = 0; i < n && i < 1024; ++i) {
        if (int64_t{tq::Resources::getOffset(i)} + tq::Resources::getSize(i) > total) std::abort();
      }
    }
  }
  tq::Resources::closePack();
  _VM_collect(_VM_vm);
  return 0;
}
