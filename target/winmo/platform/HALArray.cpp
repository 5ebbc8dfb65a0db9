#include "HALArray.h"

#include <algorithm>
#include <limits>
#include <new>

HALArray::~HALArray() { delete[] items_; }

bool HALArray::append(void* item) {
  if (count_ == std::numeric_limits<int32_t>::max()) return false;
  if (!items_ || count_ + 1 > capacity_) {
    int32_t capacity = capacity_;
    if (count_ + 1 > capacity) {
      const float grown = static_cast<float>(count_ + 1) * kGrowth;
      if (grown >= 2147483648.0f) return false;
      capacity = static_cast<int32_t>(grown);
    }
    void** items = new (std::nothrow) void*[static_cast<size_t>(capacity)];
    if (!items) return false;
    std::copy(items_, items_ + count_, items);
    delete[] items_;
    items_ = items;
    capacity_ = capacity;
  }
  items_[count_++] = item;
  return true;
}

void* HALArray::get(int32_t index) const {
  return index >= 0 && index < count_ ? items_[index] : nullptr;
}

bool HALArray::removeAt(int32_t index) {
  if (index < 0 || index >= count_) return false;
  std::copy(items_ + index + 1, items_ + count_, items_ + index);
  --count_;
  return true;
}

bool HALArray::remove(void* item) {
  for (int32_t i = 0; i < count_; ++i) {
    if (items_[i] == item) return removeAt(i);
  }
  return false;
}
