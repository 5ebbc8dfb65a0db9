#include "HALStringMap.h"

#include <cstring>
#include <new>

#include "VMServices.h"

namespace {

// The entry and the copy of its key share one block: the key's bytes follow
// the entry.
HALStringMapEntry* newEntry(const char* key, void* value) {
  const size_t keySize = std::strlen(key) + 1;
  auto* memory = static_cast<char*>(_VM_operatorNew(sizeof(HALStringMapEntry) + keySize));
  char* copy = memory + sizeof(HALStringMapEntry);
  std::memcpy(copy, key, keySize);
  return new (memory) HALStringMapEntry{value, copy, nullptr};
}

void deleteEntry(HALStringMapEntry* entry) { _VM_free(entry); }

}  // namespace

HALStringMap::HALStringMap()
    : buckets_(static_cast<HALStringMapEntry**>(
          _VM_operatorNew(kBucketCount * sizeof(HALStringMapEntry*)))) {
  std::memset(buckets_, 0, kBucketCount * sizeof(HALStringMapEntry*));
}

HALStringMap::~HALStringMap() {
  clear();
  _VM_free(buckets_);
}

uint32_t HALStringMap::hash(const char* key) {
  uint32_t h = 0;
  for (const char* p = key; *p; ++p) {
    h = h * 31u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(*p)));
  }
  return h;
}

void HALStringMap::put(const char* key, void* value) {
  if (!key) return;
  if (HALStringMapEntry* found = find(key)) {
    found->value = value;
    return;
  }
  // Making the entry may run a collection and let other threads change the
  // map, so the end of the chain is looked for only afterwards.
  HALStringMapEntry* entry = newEntry(key, value);
  HALStringMapEntry** link = &buckets_[hash(key) % kBucketCount];
  for (; *link; link = &(*link)->next) {
    if (std::strcmp((*link)->key, key) == 0) {
      // Another thread put the key meanwhile: the later put wins.
      (*link)->value = value;
      deleteEntry(entry);
      return;
    }
  }
  *link = entry;
  ++count_;
}

HALStringMapEntry* HALStringMap::find(const char* key) const {
  for (HALStringMapEntry* entry = buckets_[hash(key) % kBucketCount]; entry; entry = entry->next) {
    if (std::strcmp(entry->key, key) == 0) return entry;
  }
  return nullptr;
}

bool HALStringMap::get(const char* key, void** outValue) const {
  if (!key) return false;
  HALStringMapEntry* entry = find(key);
  if (entry == nullptr) return false;
  if (outValue) *outValue = entry->value;
  return true;
}

void HALStringMap::clear() {
  for (uint32_t i = 0; i < kBucketCount; ++i) {
    HALStringMapEntry* entry = buckets_[i];
    buckets_[i] = nullptr;
    while (entry) {
      HALStringMapEntry* next = entry->next;
      deleteEntry(entry);
      entry = next;
    }
  }
  count_ = 0;
}
