#include "tq_KeyMapping.h"

VM_REGISTER_CLASS(tq::KeyMapping, "tq.KeyMapping", "java.lang.Object", VM_INTERFACE | VM_HAS_CLINIT);

namespace tq {

VMStatic<java::lang::String> KeyMapping::MAPPING_0;
VMStatic<java::lang::String> KeyMapping::MAPPING_1;
VMStatic<java::lang::String> KeyMapping::MAPPING_2;
VMStatic<java::lang::String> KeyMapping::MAPPING_3;
VMStatic<java::lang::String> KeyMapping::MAPPING_4;
VMStatic<java::lang::String> KeyMapping::MAPPING_5;
VMStatic<java::lang::String> KeyMapping::MAPPING_6;
VMStatic<java::lang::String> KeyMapping::MAPPING_7;

namespace {

VMStatic<java::lang::String>* const kAll[KeyMapping::kCount] = {
    &KeyMapping::MAPPING_0, &KeyMapping::MAPPING_1, &KeyMapping::MAPPING_2, &KeyMapping::MAPPING_3,
    &KeyMapping::MAPPING_4, &KeyMapping::MAPPING_5, &KeyMapping::MAPPING_6, &KeyMapping::MAPPING_7};

}  // namespace

void KeyMapping::_VM_clinit() {
  for (VMStatic<java::lang::String>* s : kAll) *s = _VM_intern("");
}

}  // namespace tq
