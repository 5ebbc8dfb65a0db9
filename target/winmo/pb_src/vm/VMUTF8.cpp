#include "VMUTF8.h"

namespace {

bool isContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

void setFlag(bool* ok, bool value) {
  if (ok != nullptr) *ok = value;
}

}  // namespace

char16_t _VM_decodeUTF8Char(int32_t& remaining, const uint8_t*& cursor, bool* ok) {
  setFlag(ok, true);
  if (remaining <= 0) return u'\u0080';
  const uint8_t b = *cursor;
  --remaining;
  ++cursor;
  if (b < 0x80) return b;
  if (b < 0xC0 || b >= 0xF0) {
    setFlag(ok, false);
    return 0;
  }
  const int32_t extra = b < 0xE0 ? 1 : 2;
  // Cut short by the end: only the lead byte is consumed.
  if (remaining < extra) return u'\u0080';
  const uint8_t b1 = cursor[0];
  if (extra == 1) {
    --remaining;
    ++cursor;
    if (!isContinuation(b1)) return u'\u0080';
    return static_cast<char16_t>(((b & 0x1F) << 6) | (b1 & 0x3F));
  }
  const uint8_t b2 = cursor[1];
  remaining -= 2;
  cursor += 2;
  if (!isContinuation(b1) || !isContinuation(b2)) return u'\u0080';
  return static_cast<char16_t>(((b & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
}

int32_t _VM_countUTF8Chars(const uint8_t* bytes, int32_t n, bool* ok) {
  int32_t count = 0;
  int32_t i = 0;
  while (i < n) {
    const uint8_t b = bytes[i];
    if (b < 0x80) {
      i += 1;
    } else if (b >= 0xC0 && b < 0xE0) {
      i += 2;
    } else if (b >= 0xE0 && b < 0xF0) {
      i += 3;
    } else {
      setFlag(ok, false);
      return count;
    }
    ++count;
  }
  setFlag(ok, true);
  return count;
}

int32_t _VM_decodeUTF8(char16_t* dst, int32_t& capacity, const uint8_t* src, int32_t n, bool* ok) {
  const uint8_t* cursor = src;
  int32_t remaining = n;
  int32_t stored = 0;
  bool valid = true;
  while (remaining > 0 && stored < capacity && valid) dst[stored++] = _VM_decodeUTF8Char(remaining, cursor, &valid);
  capacity = stored;
  setFlag(ok, valid);
  return static_cast<int32_t>(cursor - src);
}

bool _VM_equalsUTF8(const uint8_t* text, int32_t n, const char16_t* chars, int32_t m) {
  int32_t remaining = n;
  int32_t i = 0;
  while (remaining > 0) {
    bool valid = true;
    if (i >= m || _VM_decodeUTF8Char(remaining, text, &valid) != chars[i] || !valid) return false;
    ++i;
  }
  return i == m;
}

int64_t _VM_getUTF8Length(const char16_t* chars, int32_t n, bool nulAsTwo) {
  int64_t length = 0;
  for (int32_t i = 0; i < n; ++i) {
    const char16_t c = chars[i];
    if (c == 0 && nulAsTwo) {
      length += 2;
    } else if (c < 0x80) {
      length += 1;
    } else if (c < 0x800) {
      length += 2;
    } else {
      length += 3;
    }
  }
  return length;
}

int32_t _VM_encodeUTF8Char(char16_t c, int32_t room, uint8_t*& cursor, bool nulAsTwo) {
  if (room <= 0) return room;
  if (c == 0 && nulAsTwo) {
    if (room < 2) return room - 2;
    *cursor++ = 0xC0;
    *cursor++ = 0x80;
    return room - 2;
  }
  if (c <= 0x7F) {
    *cursor++ = static_cast<uint8_t>(c);
    return room - 1;
  }
  if (c <= 0x7FF) {
    if (room < 2) return room - 2;
    *cursor++ = static_cast<uint8_t>(0xC0 | (c >> 6));
    *cursor++ = static_cast<uint8_t>(0x80 | (c & 0x3F));
    return room - 2;
  }
  if (room < 3) return room - 3;
  *cursor++ = static_cast<uint8_t>(0xE0 | (c >> 12));
  *cursor++ = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
  *cursor++ = static_cast<uint8_t>(0x80 | (c & 0x3F));
  return room - 3;
}

int32_t _VM_encodeUTF8(uint8_t* dst, int32_t& room, const char16_t* chars, int32_t n, bool nulAsTwo, bool terminate) {
  int32_t left = terminate ? room - 1 : room;
  uint8_t* cursor = dst;
  int32_t encoded = 0;
  while (encoded < n && left > 0) {
    const int32_t after = _VM_encodeUTF8Char(chars[encoded], left, cursor, nulAsTwo);
    if (after < 0) break;
    left = after;
    ++encoded;
  }
  if (terminate && room > 0) *cursor = 0;
  room = static_cast<int32_t>(cursor - dst);
  return encoded;
}
