#include "java_util_HashtableEntry.h"

#include "VMCollector.h"

VM_REGISTER_CLASS(java::util::HashtableEntry, "java.util.HashtableEntry", "java.lang.Object", VM_INSTANTIABLE);

namespace java::util {

VMPtr<HashtableEntry> HashtableEntry::_VM_init() {
  Object::_VM_init();
  return VMPtr<HashtableEntry>(this);
}

void HashtableEntry::_VM_markReferences(int colour) {
  _VM_markFields(colour, key, value, next);
  Object::_VM_markReferences(colour);
}

}  // namespace java::util
