#include "tq_util_IntHashtable.h"

#include "VMCollector.h"
#include "VMJava.h"
#include "VMSynchronized.h"

VM_REGISTER_CLASS(tq::util::IntHashtable, "tq.util.IntHashtable", "java.lang.Object", 0);

namespace tq::util {

using java::lang::Object;

VMPtr<IntHashtable> IntHashtable::_VM_init(int32_t capacity) {
  Base::_VM_init();
  if (capacity < 1) capacity = 1;
  table = Buckets::create(capacity);
  threshold = static_cast<int32_t>((static_cast<int64_t>(capacity) * 3) >> 2);
  count = 0;
  return VMPtr<IntHashtable>(this);
}

VMPtr<IntHashtable::Entry> IntHashtable::find(int32_t key) {
  VMPtr<Entry> e = table->get(bucketOf(key, table->length));
  while (e && e->key != key) e = e->next;
  return e;
}

void IntHashtable::getKeys(VMPtr<VMArray<int32_t>> dest) {
  VMPtr<Buckets> buckets(table);
  int32_t n = 0;
  for (int32_t i = buckets->length - 1; i >= 0; --i) {
    for (VMPtr<Entry> e = buckets->get(i); e; e = e->next) dest->at(n++) = e->key;
  }
}

uint8_t IntHashtable::containsKey(int32_t key) { return static_cast<bool>(find(key)); }

void IntHashtable::clear() {
  if (count == 0) return;
  count = 0;
  VMPtr<Buckets> buckets(table);
  for (int32_t i = buckets->length - 1; i >= 0; --i) buckets->set(i, VMPtr<Entry>());
}

VMPtr<Object> IntHashtable::remove(int32_t key) {
  VMSynchronized guard(this);
  VMPtr<Buckets> buckets(table);
  const int32_t index = bucketOf(key, buckets->length);
  VMPtr<Entry> previous;
  for (VMPtr<Entry> e = buckets->get(index); e; e = e->next) {
    if (e->key == key) {
      if (previous) {
        previous->next = e->next;
      } else {
        buckets->set(index, VMPtr<Entry>(e->next));
      }
      --count;
      return VMPtr<Object>(e->value);
    }
    previous = e;
  }
  return VMPtr<Object>();
}

void IntHashtable::getValues(VMPtr<VMArray<Object>> dest) {
  VMPtr<Buckets> buckets(table);
  int32_t n = 0;
  for (int32_t i = buckets->length - 1; i >= 0; --i) {
    for (VMPtr<Entry> e = buckets->get(i); e; e = e->next) dest->set(n++, VMPtr<Object>(e->value));
  }
}

VMPtr<Object> IntHashtable::clone() {
  VMPtr<Buckets> buckets(table);
  VMPtr<IntHashtable> copy = _VM_new();
  copy->_VM_init(buckets->length);
  copy->threshold = threshold;
  for (int32_t i = buckets->length - 1; i >= 0; --i) {
    VMPtr<Entry> head = buckets->get(i);
    if (head) VMPtr<Buckets>(copy->table)->set(i, _VM_cast<Entry>(head->clone()));
  }
  copy->count = count;
  return copy;
}

uint8_t IntHashtable::isEmpty() { return count == 0; }

VMPtr<Object> IntHashtable::get(int32_t key) {
  VMPtr<Entry> e = find(key);
  return e ? VMPtr<Object>(e->value) : VMPtr<Object>();
}

VMPtr<Object> IntHashtable::put(int32_t key, VMPtr<Object> value) {
  VMPtr<Entry> e = find(key);
  if (e) {
    VMPtr<Object> old(e->value);
    e->value = value;
    return old;
  }
  if (count >= threshold) {
    rehash();
    return put(key, value);
  }
  VMPtr<Entry> added = Entry::_VM_new();
  added->_VM_init(key, value);
  // The allocation may have let another thread change the table: take the
  // bucket array afresh.
  VMPtr<Buckets> buckets(table);
  const int32_t index = bucketOf(key, buckets->length);
  added->next = buckets->get(index);
  buckets->set(index, added);
  ++count;
  return VMPtr<Object>();
}

int32_t IntHashtable::size() { return count; }

void IntHashtable::rehash() {
  VMPtr<Buckets> old(table);
  const int32_t capacity = static_cast<int32_t>(static_cast<int64_t>(old->length) * 2 + 1);
  VMPtr<Buckets> grown = Buckets::create(capacity);
  for (int32_t i = old->length - 1; i >= 0; --i) {
    VMPtr<Entry> e = old->get(i);
    while (e) {
      VMPtr<Entry> following(e->next);
      const int32_t index = bucketOf(e->key, capacity);
      e->next = grown->get(index);
      grown->set(index, e);
      e = following;
    }
  }
  table = grown;
  threshold = static_cast<int32_t>((static_cast<int64_t>(capacity) * 3) >> 2);
}

void IntHashtable::_VM_markReferences(int colour) {
  _VM_mark(table, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq::util
