#pragma once

#include <cstdint>

#include "HALStatus.h"

// A standard MIDI file turned into the wave-out device's MIDI records:
// 8 bytes each, {delta time in ticks u32, short message u32 = status |
// data1 << 8 | data2 << 16}, little-endian.
//
// Only single-track files with a ticks-per-quarter-note division are
// taken. The track's events are scanned from offset 22 (the first event
// of the only track): at each position a variable-length delta time, then
// a status byte. Statuses 0x90 (note on), 0xA0 (key pressure), 0xB0
// (controller), 0xC0 (program change) and 0xD0 (channel pressure) of any
// channel are events, the first three with two data bytes, the last two
// with one. Anything else (note-off 0x80, meta and system events, running
// status) is skipped one byte at a time from the start of its delta. An
// event cut short by the end of the data is dropped.

// Converts `length` bytes. HAL_OK with *records (a buffer of
// HAL_allocateBuffer the caller frees with HAL_freeBuffer; never null on
// success, even for no events), *count events and *division (ticks per
// quarter note). HAL_BAD_FORMAT_ERR when the data is no MIDI file (shorter
// than its header, no "MThd"), HAL_NOT_IMPLEMENTED_ERR for a file with
// several tracks or an SMPTE division, HAL_OUT_OF_MEMORY_ERR when the
// records cannot be allocated. With `print` set, each event is printed to
// standard output as it is stored.
HALStatus HAL_parseMidi(const uint8_t* bytes, int32_t length, uint8_t** records, int32_t* count, int32_t* division,
                        bool print);
