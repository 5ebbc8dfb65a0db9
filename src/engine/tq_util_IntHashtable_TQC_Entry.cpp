#include "tq_util_IntHashtable_TQC_Entry.h"

#include "VMCollector.h"
VM_REGISTER_CLASS(tq::util::IntHashtable_TQC_Entry, "tq.util.IntHashtable$Entry", "java.lang.Object", 0);

namespace tq::util {

using Entry = IntHashtable_TQC_Entry;

VMPtr<Entry> Entry::_VM_init(int32_t key, VMPtr<java::lang::Object> value) {
  Base::_VM_init();
  this->key = key;
  this->value = value;
  return VMPtr<Entry>(this);
}

// Copies the chain with a loop, not by recursion, so that a long chain
// cannot exhaust the native stack.
VMPtr<java::lang::Object> Entry::clone() {
  VMPtr<Entry> head = _VM_new();
  head->_VM_init(key, VMPtr<java::lang::Object>(value));
  VMPtr<Entry> last = head;
  for (VMPtr<Entry> from(next); from; from = from->next) {
    VMPtr<Entry> copy = _VM_new();
    copy->_VM_init(from->key, VMPtr<java::lang::Object>(from->value));
    last->next = copy;
    last = copy;
  }
  return head;
}

void Entry::_VM_markReferences(int colour) {
  _VM_mark(next, colour);
  _VM_mark(value, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq::util
