#pragma once

#include <cstdint>

// The runtime's modified UTF-8: one to three bytes per UTF-16 unit, no
// four-byte forms (surrogates pass through as units), the NUL unit written as
// C0 80 where asked. Used by strings, string buffers, writers, data streams
// and the class registry.

// Every `ok` out-parameter below may be null when the caller does not need
// the flag.

// Decodes one unit from `cursor`, consuming at most `remaining` bytes. A
// lead byte that cannot start a character (80-BF, F0-FF) sets *ok to false,
// gives 0 and consumes that byte; a sequence cut short by the end gives
// U+0080 and consumes only its lead byte; a bad continuation byte gives
// U+0080 and is consumed with the lead. No bytes left gives U+0080. Overlong
// forms are accepted (C0 80 is U+0000).
char16_t _VM_decodeUTF8Char(int32_t& remaining, const uint8_t*& cursor, bool* ok);
// Characters in `n` bytes, walking the lead bytes only (a sequence cut off by
// the end counts as one); stops with *ok false at a lead byte that cannot
// start a character and returns the characters before it.
int32_t _VM_countUTF8Chars(const uint8_t* bytes, int32_t n, bool* ok);
// Decodes while bytes remain, `capacity` > 0 and the last unit was valid;
// every unit is stored (also the 0 of an invalid lead byte). Returns the
// bytes consumed and leaves the units stored in `capacity`.
int32_t _VM_decodeUTF8(char16_t* dst, int32_t& capacity, const uint8_t* src, int32_t n, bool* ok);
// True when the `n` bytes of `text` decode to exactly the `m` units of
// `chars`; text with an invalid lead byte equals nothing.
bool _VM_equalsUTF8(const uint8_t* text, int32_t n, const char16_t* chars, int32_t m);
// Bytes needed for `n` units (the NUL unit counts 2 when `nulAsTwo`).
int64_t _VM_getUTF8Length(const char16_t* chars, int32_t n, bool nulAsTwo);
// Encodes one unit into `room` bytes at `cursor`; returns the room left, or
// a negative number (and writes nothing) when the unit does not fit.
int32_t _VM_encodeUTF8Char(char16_t c, int32_t room, uint8_t*& cursor, bool nulAsTwo);
// Encodes units while each fits whole; with `terminate` one byte is kept for
// a terminating 0. Returns the units encoded; `room` becomes the bytes written.
int32_t _VM_encodeUTF8(uint8_t* dst, int32_t& room, const char16_t* chars, int32_t n, bool nulAsTwo, bool terminate);
