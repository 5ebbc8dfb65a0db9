#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace content {

// What every writer throws when its input cannot be held by the engine's
// reader of the format: `item` names the offending piece ("text 3",
// "animation 2, step 7", "sprite 12, width") and `problem` says what is
// wrong with it. what() is "<item>: <problem>".
class ContentError : public std::runtime_error {
 public:
  ContentError(std::string item, const std::string& problem)
      : std::runtime_error(item + ": " + problem), item_(std::move(item)) {}

  const std::string& item() const { return item_; }

 private:
  std::string item_;
};

// Throws ContentError(item, problem) unless `ok`.
inline void require(bool ok, const std::string& item, const std::string& problem) {
  if (!ok) throw ContentError(item, problem);
}

// Throws unless lo <= value <= hi, with a problem naming the range.
void requireRange(long long value, long long lo, long long hi, const std::string& item);

// "<name> <index>", the usual way an item is named.
std::string itemName(const std::string& name, size_t index);

}  // namespace content
