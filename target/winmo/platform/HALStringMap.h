#pragma once

#include <cstdint>

// An entry of a HALStringMap: the value, a copy of the key (zero-terminated,
// kept in the entry's own block) and the next entry of the same bucket.
struct HALStringMapEntry {
  void* value;
  const char* key;
  HALStringMapEntry* next;
};

// Chained hash map from 8-bit string keys to one-word values, the registry
// map of the runtime and the platform layer. It has a fixed number of
// buckets and never rehashes; a later put of an equal key wins. The map owns
// its entries (taken from the runtime allocator, so putting may throw
// OutOfMemoryError), never its values. Not synchronised: the owner
// serialises access.
class HALStringMap {
 public:
  static constexpr uint32_t kBucketCount = 200;

  HALStringMap();
  // Frees every entry and the buckets.
  ~HALStringMap();
  HALStringMap(const HALStringMap&) = delete;
  HALStringMap& operator=(const HALStringMap&) = delete;

  // Maps `key` to `value`, replacing the value of an equal key. The key is
  // copied. A null key is ignored.
  void put(const char* key, void* value);
  // True when `key` is mapped; its value is then stored in `*outValue`
  // unless `outValue` is null. False for a null key.
  bool get(const char* key, void** outValue) const;
  // Frees every entry; the values are untouched.
  void clear();
  // Number of entries.
  uint32_t count() const { return count_; }

  // The key's hash: h = h * 31 + byte over its bytes, each taken as a signed
  // 8-bit value, wrapping modulo 2^32.
  static uint32_t hash(const char* key);

 private:
  // The entry of `key` (not null), or null.
  HALStringMapEntry* find(const char* key) const;

  HALStringMapEntry** buckets_;
  uint32_t count_ = 0;
};
