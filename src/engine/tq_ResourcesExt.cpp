#include "tq_ResourcesExt.h"

#include "tq_Gob.h"
#include "tq_Resources.h"

VM_REGISTER_CLASS(tq::ResourcesExt, "tq.ResourcesExt", "java.lang.Object", VM_INSTANTIABLE);

namespace tq {

VMPtr<VMArray<Gob>> ResourcesExt::getGobs(int32_t id) { return getGobs(id, nullptr); }

VMPtr<VMArray<Gob>> ResourcesExt::getGobs(int32_t id, VMPtr<VMArray<int8_t>> palette) {
  return Resources::loadGobs(id, palette, Resources::getStream(id), nullptr);
}

}  // namespace tq
