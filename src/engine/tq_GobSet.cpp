#include "tq_GobSet.h"

VM_REGISTER_CLASS(tq::GobSet, "tq.GobSet", "java.lang.Object", VM_INSTANTIABLE);

namespace tq {

VMPtr<GobSet> GobSet::_VM_init() {
  Base::_VM_init();
  return VMPtr<GobSet>(this);
}

void GobSet::_VM_markReferences(int colour) {
  _VM_mark(animSet, colour);
  _VM_mark(gobs, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq
