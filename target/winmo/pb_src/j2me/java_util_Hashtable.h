#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace java::util {

class Enumeration;
class HashtableEntry;

// The map from keys to values by hashCode() and equals(), with separate
// chaining: a key lives in bucket (hash & 0x7FFFFFFF) mod capacity, new keys
// at the head of their chain. Inserting a new key when the count has
// reached the threshold (capacity x 75 / 100) first grows the table to
// capacity x 2 + 1. Neither keys nor values may be null
// (NullPointerException). Every operation but size(), isEmpty() and
// rehash() holds the table's monitor.
class Hashtable : public virtual java::lang::Object {
  VM_CLASS(Hashtable, java::lang::Object)

 public:
  using Buckets = VMArray<HashtableEntry>;

  // Hashtable(): capacity 11.
  VMPtr<Hashtable> _VM_init();
  // IllegalArgumentException (no message) for a negative capacity; 0 counts
  // as 1.
  VMPtr<Hashtable> _VM_init(int32_t initialCapacity);

  virtual int32_t size();
  virtual uint8_t isEmpty();
  virtual VMPtr<Enumeration> keys();
  virtual VMPtr<Enumeration> elements();
  // True when some value equals `value` (the stored value's equals).
  virtual uint8_t contains(VMPtr<java::lang::Object> value);
  virtual uint8_t containsKey(VMPtr<java::lang::Object> key);
  // The key's value, or null.
  virtual VMPtr<java::lang::Object> get(VMPtr<java::lang::Object> key);
  // Returns the key's previous value, or null for a new key.
  virtual VMPtr<java::lang::Object> put(VMPtr<java::lang::Object> key, VMPtr<java::lang::Object> value);
  // Returns the removed value, or null when the key is absent.
  virtual VMPtr<java::lang::Object> remove(VMPtr<java::lang::Object> key);
  // Keeps the capacity.
  virtual void clear();
  // Grows to capacity x 2 + 1, moving every entry (by its stored hash) to
  // the head of its new bucket, old buckets from the last to the first.
  virtual void rehash();
  // "{k1=v1, k2=v2}" in the order of keys().
  VMPtr<java::lang::String> toString() override;

  void _VM_markReferences(int colour) override;

  VMField<Buckets> table;
  int32_t count;
  int32_t threshold;

 private:
  // The bucket of a hash code in a table of `capacity` buckets.
  static int32_t bucketOf(int32_t hash, int32_t capacity);
  // The entry whose key matches, or null.
  VMPtr<HashtableEntry> find(const VMPtr<java::lang::Object>& key);
};

}  // namespace java::util
