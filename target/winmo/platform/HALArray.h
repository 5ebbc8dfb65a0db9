#pragma once

#include <cstdint>

// The platform layer's growable array of pointers. It starts with room for
// 8 items; an append that finds no room grows it to (count + 1) * 1.5
// items. It does not own the items.
class HALArray {
 public:
  HALArray() = default;
  ~HALArray();
  HALArray(const HALArray&) = delete;
  HALArray& operator=(const HALArray&) = delete;

  // Adds `item` at the end. False, with the array unchanged, when the
  // storage cannot grow.
  bool append(void* item);
  // The item at `index`; null when `index` is outside 0..count-1.
  void* get(int32_t index) const;
  // Removes the item at `index`, moving the later items down; false when
  // `index` is outside 0..count-1.
  bool removeAt(int32_t index);
  // Removes the first occurrence of `item`; false when it is not there.
  bool remove(void* item);

  int32_t count() const { return count_; }
  int32_t capacity() const { return capacity_; }

 private:
  static constexpr int32_t kInitialCapacity = 8;
  static constexpr float kGrowth = 1.5f;

  // Storage for `capacity_` items; taken on the first append.
  void** items_ = nullptr;
  int32_t count_ = 0;
  int32_t capacity_ = kInitialCapacity;
};
