#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "tq_util_IntHashtable_TQC_Entry.h"

namespace tq::util {

// A hash table from int keys to object references (null values allowed),
// so that no key objects are made. A key lives in bucket
// (key & 0x7FFFFFFF) mod capacity, new keys at the head of their chain.
// Inserting a new key when the count has reached the threshold
// ((capacity x 3) >> 2) first grows the table to capacity x 2 + 1.
// Iteration (getKeys, getValues) runs from the last bucket to the first,
// each chain from its head. Only remove holds the table's monitor: the
// users all run on the canvas thread.
class IntHashtable : public virtual java::lang::Object {
  VM_CLASS(IntHashtable, java::lang::Object)

 public:
  using Entry = IntHashtable_TQC_Entry;
  using Buckets = VMArray<Entry>;

  // A capacity below 1 counts as 1.
  VMPtr<IntHashtable> _VM_init(int32_t capacity);

  // Writes the keys into dest[0 .. count - 1]; an array shorter than the
  // count throws ArrayIndexOutOfBoundsException at its end.
  virtual void getKeys(VMPtr<VMArray<int32_t>> dest);
  virtual uint8_t containsKey(int32_t key);
  // Keeps the capacity.
  virtual void clear();
  // Returns the removed value, or null when the key is absent.
  virtual VMPtr<java::lang::Object> remove(int32_t key);
  // Writes the values into dest[0 .. count - 1] (checked stores).
  virtual void getValues(VMPtr<VMArray<java::lang::Object>> dest);
  // Same capacity, threshold and count; copies of the chains, shared values.
  virtual VMPtr<java::lang::Object> clone();
  virtual uint8_t isEmpty();
  // The key's value, or null.
  virtual VMPtr<java::lang::Object> get(int32_t key);
  // Returns the key's previous value, or null for a new key.
  virtual VMPtr<java::lang::Object> put(int32_t key, VMPtr<java::lang::Object> value);
  virtual int32_t size();

  void _VM_markReferences(int colour) override;

  int32_t count;
  VMField<Buckets> table;
  int32_t threshold;

 private:
  static int32_t bucketOf(int32_t key, int32_t capacity) { return (key & 0x7FFFFFFF) % capacity; }
  VMPtr<Entry> find(int32_t key);
  // Grows to capacity x 2 + 1, pushing every entry onto the head of its new
  // bucket, old buckets from the last to the first.
  void rehash();
};

}  // namespace tq::util
