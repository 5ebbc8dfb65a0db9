#pragma once

#include <cstdint>

#include "VMClassKit.h"

namespace java::util {

// One link of a Hashtable bucket chain.
class HashtableEntry : public virtual java::lang::Object {
  VM_CLASS(HashtableEntry, java::lang::Object)

 public:
  // An entry with every field null and hash 0.
  VMPtr<HashtableEntry> _VM_init();

  void _VM_markReferences(int colour) override;

  int32_t hash;  // the key's hash code when the entry was made
  VMField<java::lang::Object> key;
  VMField<java::lang::Object> value;
  VMField<HashtableEntry> next;
};

}  // namespace java::util
