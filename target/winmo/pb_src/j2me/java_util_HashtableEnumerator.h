#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_util_Enumeration.h"

namespace java::util {

class HashtableEntry;

// The enumeration of Hashtable.keys() and elements(): buckets from the
// highest index down to 0, each chain from its head (the newest key
// first). It holds no monitor and walks the bucket array it was given,
// reading the live chains.
class HashtableEnumerator : public virtual java::lang::Object, public virtual Enumeration {
  VM_CLASS(HashtableEnumerator, java::lang::Object)

 public:
  using Buckets = VMArray<HashtableEntry>;

  // Keys when `keys` is set, values otherwise.
  VMPtr<HashtableEnumerator> _VM_init(VMPtr<Buckets> table, uint8_t keys);

  uint8_t hasMoreElements() override;
  // NoSuchElementException "HashtableEnumerator" at the end.
  VMPtr<java::lang::Object> nextElement() override;

  void _VM_markReferences(int colour) override;

  uint8_t keys;
  int32_t index;  // buckets at and above it are done
  VMField<Buckets> table;
  VMField<HashtableEntry> entry;  // the next entry to return, or null

 private:
  // Moves `entry` to the head of the next non-empty bucket; false when
  // none is left.
  bool findEntry();
};

}  // namespace java::util
