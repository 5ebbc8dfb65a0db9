#include "ContentError.h"

namespace content {

void requireRange(long long value, long long lo, long long hi, const std::string& item) {
  if (value < lo || value > hi) {
    throw ContentError(item, std::to_string(value) + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
  }
}

std::string itemName(const std::string& name, size_t index) { return name + " " + std::to_string(index); }

}  // namespace content
