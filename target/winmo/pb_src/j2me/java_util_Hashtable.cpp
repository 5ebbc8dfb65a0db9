#include "java_util_Hashtable.h"

#include "VMSynchronized.h"
#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_StringBuffer.h"
#include "java_util_HashtableEntry.h"
#include "java_util_HashtableEnumerator.h"

VM_REGISTER_CLASS(java::util::Hashtable, "java.util.Hashtable", "java.lang.Object", VM_INSTANTIABLE);

namespace java::util {

using java::lang::Object;

VMPtr<Hashtable> Hashtable::_VM_init() { return _VM_init(11); }

VMPtr<Hashtable> Hashtable::_VM_init(int32_t initialCapacity) {
  Object::_VM_init();
  if (initialCapacity < 0) _VM_throwNew<java::lang::IllegalArgumentException>();
  if (initialCapacity == 0) initialCapacity = 1;
  table = Buckets::create(initialCapacity);
  count = 0;
  threshold = static_cast<int32_t>(static_cast<int64_t>(initialCapacity) * 75 / 100);
  return VMPtr<Hashtable>(this);
}

int32_t Hashtable::bucketOf(int32_t hash, int32_t capacity) { return (hash & 0x7FFFFFFF) % capacity; }

VMPtr<HashtableEntry> Hashtable::find(const VMPtr<Object>& key) {
  const int32_t hash = key->hashCode();
  VMPtr<HashtableEntry> e = table->get(bucketOf(hash, table->length));
  while (e && !(e->hash == hash && e->key->equals(key))) e = e->next;
  return e;
}

int32_t Hashtable::size() { return count; }

uint8_t Hashtable::isEmpty() { return count == 0; }

VMPtr<Enumeration> Hashtable::keys() {
  VMSynchronized guard(this);
  VMPtr<HashtableEnumerator> e = HashtableEnumerator::_VM_new();
  e->_VM_init(VMPtr<Buckets>(table), 1);
  return e;
}

VMPtr<Enumeration> Hashtable::elements() {
  VMSynchronized guard(this);
  VMPtr<HashtableEnumerator> e = HashtableEnumerator::_VM_new();
  e->_VM_init(VMPtr<Buckets>(table), 0);
  return e;
}

uint8_t Hashtable::contains(VMPtr<Object> value) {
  VMSynchronized guard(this);
  if (!value) _VM_throwNullPointerException();
  VMPtr<Buckets> buckets(table);
  for (int32_t i = buckets->length - 1; i >= 0; --i) {
    for (VMPtr<HashtableEntry> e = buckets->get(i); e; e = e->next) {
      if (e->value->equals(value)) return 1;
    }
  }
  return 0;
}

uint8_t Hashtable::containsKey(VMPtr<Object> key) {
  VMSynchronized guard(this);
  return static_cast<bool>(find(key));
}

VMPtr<Object> Hashtable::get(VMPtr<Object> key) {
  VMSynchronized guard(this);
  VMPtr<HashtableEntry> e = find(key);
  return e ? VMPtr<Object>(e->value) : VMPtr<Object>();
}

VMPtr<Object> Hashtable::put(VMPtr<Object> key, VMPtr<Object> value) {
  VMSynchronized guard(this);
  if (!value) _VM_throwNullPointerException();
  const int32_t hash = key->hashCode();
  const int32_t index = bucketOf(hash, table->length);
  for (VMPtr<HashtableEntry> e = table->get(index); e; e = e->next) {
    if (e->hash == hash && e->key->equals(key)) {
      VMPtr<Object> old(e->value);
      e->value = value;
      return old;
    }
  }
  if (count >= threshold) {
    rehash();
    return put(key, value);
  }
  VMPtr<HashtableEntry> added = HashtableEntry::_VM_new();
  added->_VM_init();
  added->hash = hash;
  added->key = key;
  added->value = value;
  added->next = table->get(index);
  table->set(index, added);
  ++count;
  return VMPtr<Object>();
}

VMPtr<Object> Hashtable::remove(VMPtr<Object> key) {
  VMSynchronized guard(this);
  const int32_t hash = key->hashCode();
  const int32_t index = bucketOf(hash, table->length);
  VMPtr<HashtableEntry> previous;
  for (VMPtr<HashtableEntry> e = table->get(index); e; e = e->next) {
    if (e->hash == hash && e->key->equals(key)) {
      if (previous) {
        previous->next = e->next;
      } else {
        table->set(index, VMPtr<HashtableEntry>(e->next));
      }
      --count;
      return VMPtr<Object>(e->value);
    }
    previous = e;
  }
  return VMPtr<Object>();
}

void Hashtable::clear() {
  VMSynchronized guard(this);
  for (int32_t i = table->length - 1; i >= 0; --i) table->set(i, nullptr);
  count = 0;
}

void Hashtable::rehash() {
  VMPtr<Buckets> old(table);
  const int32_t capacity = old->length * 2 + 1;
  VMPtr<Buckets> buckets = Buckets::create(capacity);
  threshold = static_cast<int32_t>(static_cast<int64_t>(capacity) * 75 / 100);
  table = buckets;
  for (int32_t i = old->length - 1; i >= 0; --i) {
    VMPtr<HashtableEntry> e = old->get(i);
    while (e) {
      VMPtr<HashtableEntry> moved = e;
      e = e->next;
      const int32_t index = bucketOf(moved->hash, capacity);
      moved->next = buckets->get(index);
      buckets->set(index, moved);
    }
  }
}

VMPtr<java::lang::String> Hashtable::toString() {
  VMSynchronized guard(this);
  VMPtr<java::lang::StringBuffer> text = java::lang::StringBuffer::_VM_new();
  text->_VM_init();
  text->append(u'{');
  VMPtr<Buckets> buckets(table);
  bool first = true;
  for (int32_t i = buckets->length - 1; i >= 0; --i) {
    for (VMPtr<HashtableEntry> e = buckets->get(i); e; e = e->next) {
      if (!first) text->append(", ");
      first = false;
      text->append(e->key->toString());
      text->append(u'=');
      text->append(e->value->toString());
    }
  }
  text->append(u'}');
  return text->toString();
}

void Hashtable::_VM_markReferences(int colour) {
  _VM_mark(table, colour);
  Object::_VM_markReferences(colour);
}

}  // namespace java::util
