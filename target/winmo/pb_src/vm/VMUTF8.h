#pragma once

#include <cstdint>

// The runtime's modified UTF-8: one to three bytes per UTF-16 unit, no
// four-byte forms (surrogates pass through as units), the NUL unit written as
// C0 80 where asked. Used by strings, string buffers, writers, data streams
// and the class registry.

// Decodes one unit from `cursor`, consuming at most `remaining` bytes. A
// lead byte that cannot start a character (80-BF, F0-FF) sets *ok to false
// and gives 0; a sequence cut short or with a bad continuation byte gives
// U+0080.
char16_t _VM_decodeUTF8Char(int32_t& remaining, const uint8_t*& cursor, bool* ok);
// Characters in `n` bytes, walking the lead bytes only; stops with *ok false
// at a lead byte that cannot start a character.
int32_t _VM_countUTF8Chars(const uint8_t* bytes, int32_t n, bool* ok);
// Decodes up to `capacity` units into `dst`; returns the bytes consumed and
// leaves the units stored in `capacity`.
int32_t _VM_decodeUTF8(char16_t* dst, int32_t& capacity, const uint8_t* src, int32_t n, bool* ok);
// True when the `n` bytes of `text` decode to exactly the `m` units of `chars`.
bool _VM_equalsUTF8(const uint8_t* text, int32_t n, const char16_t* chars, int32_t m);
// Bytes needed for `n` units (the NUL unit counts 2 when `nulAsTwo`).
int64_t _VM_getUTF8Length(const char16_t* chars, int32_t n, bool nulAsTwo);
// Encodes one unit into `room` bytes at `cursor`; returns the room left, or
// a negative number (and writes nothing) when the unit does not fit.
int32_t _VM_encodeUTF8Char(char16_t c, int32_t room, uint8_t*& cursor, bool nulAsTwo);
// Encodes units while each fits whole; with `terminate` one byte is kept for
// a terminating 0. Returns the units encoded; `room` becomes the bytes written.
int32_t _VM_encodeUTF8(uint8_t* dst, int32_t& room, const char16_t* chars, int32_t n, bool nulAsTwo, bool terminate);
