#pragma once

#include <cstddef>

// The runtime's holder of a zero-terminated 8-bit string (class names,
// registry keys). The text lives in a block of the runtime allocator; an
// empty holder has no block. Allocation failure does not return: the
// allocator throws OutOfMemoryError or ends the process.
class VMCString {
 public:
  // An empty holder.
  VMCString() = default;
  // A copy of `text`; null gives an empty holder.
  explicit VMCString(const char* text);
  VMCString(const VMCString& other);
  ~VMCString();

  VMCString& operator=(const VMCString& other);
  // Replaces the text with a copy of `text`; null empties the holder.
  VMCString& operator=(const char* text);

  // Appends `text`; null is ignored.
  void append(const char* text);
  // Byte-wise comparison as strcmp (an empty holder holds the text "").
  int compare(const VMCString& other) const;
  // True when the text equals `text`; false for null.
  bool equals(const char* text) const;
  // Number of bytes before the terminator; 0 when empty.
  size_t length() const;
  // The text; "" for an empty holder.
  const char* c_str() const;

 private:
  // A new block holding `first` followed by `second` (either may be null).
  static char* join(const char* first, const char* second);

  char* chars_ = nullptr;
};
