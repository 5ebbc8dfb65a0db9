#pragma once

// A small reader of Standard MIDI Files (formats 0 and 1), enough for the
// game's music sources: channel messages and tempo changes, merged over
// the tracks and timed in seconds, and the file's length (the latest End
// of Track). Running status is followed; system exclusive and other meta
// events are skipped. A malformed file is a ContentError naming the file
// and the byte where reading failed.

#include <cstdint>
#include <string>
#include <vector>

#include "ByteWriter.h"

namespace gamecontent {

struct MidiEvent {
  double seconds = 0;
  uint8_t status = 0;  // 0x80..0xEF
  uint8_t data1 = 0;
  uint8_t data2 = 0;
};

struct MidiSong {
  std::vector<MidiEvent> events;  // by time; stable within a time
  double seconds = 0;             // the length: the last End of Track
};

MidiSong parseMidi(const content::Bytes& file, const std::string& name);

}  // namespace gamecontent
