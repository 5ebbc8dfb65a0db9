#pragma once

#include <cstddef>
#include <cstdint>

#include "HALStatus.h"

// The platform's reference-counted, zero-terminated UTF-16 string.
//
// A record lives either on the heap (made with new, owned through its
// reference count and ended by release) or inside another platform record
// (filled by an initialiser and emptied by clear). An empty record has no
// character array; a record holding the empty text has a one-unit array.
// A unit 0 inside the text is kept by the count-based operations, but ends
// the text for equals and append, which work on zero-terminated text.
//
// Operations that allocate report failure with a false (or null) result:
// an initialiser then leaves an empty record, an append leaves the text as
// it was. Indices outside the text are clamped, never followed. Records are
// used by one thread at a time.
class HALString {
 public:
  // An empty record with one owner.
  HALString() = default;
  // Frees the character array.
  ~HALString();
  HALString(const HALString&) = delete;
  HALString& operator=(const HALString&) = delete;

  // The initialisers set the owner count to 1 and replace the text.
  // A copy of the zero-terminated `text`; null gives an empty record.
  bool initFromWide(const char16_t* text);
  // A copy of `n` units (a negative `n` counts as 0); null gives an empty
  // record.
  bool initFromChars(const char16_t* units, int32_t n);
  // A copy of `other`'s text; null or empty `other` gives an empty record.
  bool initCopy(const HALString* other);
  // A copy of `other`'s units `begin` .. `end` - 1, with `begin` clamped to
  // 0 .. length and `end` to begin .. length; null gives an empty record.
  bool initSubstring(const HALString* other, int32_t begin, int32_t end);

  // A new heap record holding the units `begin` .. `end` - 1 (clamped as in
  // initSubstring); null when it cannot be allocated.
  HALString* substring(int32_t begin, int32_t end) const;

  // One more owner.
  void addRef();
  // One owner less; the record and its array are freed when none is left.
  // Null is ignored.
  static void release(HALString* s);
  // Frees the character array; the record is then empty.
  void clear();

  // Number of units without the terminator; 0 for an empty record.
  int32_t length() const;
  // The zero-terminated units; null for an empty record.
  const char16_t* chars() const { return chars_; }
  // The unit at `i`; 0 when `i` is outside 0 .. length-1.
  char16_t charAt(int32_t i) const;
  // The first index >= `from` (a negative `from` counts as 0) holding `c`,
  // or -1.
  int32_t indexOf(char16_t c, int32_t from) const;
  int32_t indexOf(char16_t c) const { return indexOf(c, 0); }
  // The last index holding `c`, or -1.
  int32_t lastIndexOf(char16_t c) const;
  // True for the same text. Null `other` -> false; an empty record equals
  // only another empty record (not the empty text).
  bool equals(const HALString* other) const;

  // Appends the zero-terminated `text`; null or empty text changes nothing.
  bool append(const char16_t* text);
  // Appends `other`'s zero-terminated text; null changes nothing.
  bool append(const HALString* other);

  // Copies the `length()` units (no terminator) to `dst`; false when the
  // record is empty or `dst` is null.
  bool getChars(char16_t* dst) const;

  // Number of owners.
  int32_t refCount() const { return refCount_; }

 private:
  // Replaces the text with `first` followed by `second` (counts in units);
  // on failure (or a total that cannot be stored) the text is not touched.
  bool assign(const char16_t* first, size_t firstLength, const char16_t* second,
              size_t secondLength);
  // Frees the array and makes the record empty.
  bool fail();

  int32_t refCount_ = 1;
  char16_t* chars_ = nullptr;
  int32_t length_ = 0;
};

// Entry functions for the string code of the runtime. They answer
// HAL_ILLEGAL_ARGUMENT_ERR for a null pointer argument.
// The number of units of `s`.
HALStatus HAL_getStringLength(const HALString* s, int32_t* outLength);
// Copies the units of `s` (no terminator) to `dst`, which has room for them;
// an empty record answers HAL_ILLEGAL_ARGUMENT_ERR.
HALStatus HAL_getStringCharacters(const HALString* s, char16_t* dst);
// Ends one owner's use of `s`.
HALStatus HAL_releaseString(HALString* s);
