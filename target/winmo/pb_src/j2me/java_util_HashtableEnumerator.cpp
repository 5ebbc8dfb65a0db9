#include "java_util_HashtableEnumerator.h"

#include "VMThrow.h"
#include "java_util_HashtableEntry.h"
#include "java_util_NoSuchElementException.h"

VM_REGISTER_CLASS(java::util::HashtableEnumerator, "java.util.HashtableEnumerator", "java.lang.Object", 0);
VM_IMPLEMENTS(java::util::HashtableEnumerator, "java.util.Enumeration");

namespace java::util {

VMPtr<HashtableEnumerator> HashtableEnumerator::_VM_init(VMPtr<Buckets> table, uint8_t keys) {
  Object::_VM_init();
  this->table = table;
  this->keys = keys;
  index = table->length;
  entry = nullptr;
  return VMPtr<HashtableEnumerator>(this);
}

bool HashtableEnumerator::findEntry() {
  while (!entry && index > 0) entry = table->get(--index);
  return static_cast<bool>(entry);
}

uint8_t HashtableEnumerator::hasMoreElements() { return findEntry(); }

VMPtr<java::lang::Object> HashtableEnumerator::nextElement() {
  if (!findEntry()) _VM_throwNew<NoSuchElementException>("HashtableEnumerator");
  VMPtr<HashtableEntry> e(entry);
  entry = e->next;
  return keys ? VMPtr<java::lang::Object>(e->key) : VMPtr<java::lang::Object>(e->value);
}

void HashtableEnumerator::_VM_markReferences(int colour) {
  _VM_markFields(colour, table, entry);
  Object::_VM_markReferences(colour);
}

}  // namespace java::util
