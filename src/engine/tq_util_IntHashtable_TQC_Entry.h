#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace tq::util {

// One link of an IntHashtable bucket chain.
class IntHashtable_TQC_Entry : public virtual java::lang::Object {
  VM_CLASS(IntHashtable_TQC_Entry, java::lang::Object)

 public:
  VMPtr<IntHashtable_TQC_Entry> _VM_init(int32_t key, VMPtr<java::lang::Object> value);

  // A new entry with the same key and value whose chain is a copy of this
  // one's rest, in order (the values are shared, not cloned).
  virtual VMPtr<java::lang::Object> clone();

  void _VM_markReferences(int colour) override;

  int32_t key;
  VMField<IntHashtable_TQC_Entry> next;
  VMField<java::lang::Object> value;
};

}  // namespace tq::util
