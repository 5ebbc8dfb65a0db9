#include "MidiFile.h"

#include <algorithm>
#include <map>

#include "ContentError.h"

namespace gamecontent {

using content::require;

namespace {

// Reads big-endian numbers and variable-length quantities, refusing to
// pass the end of its range.
class Reader {
 public:
  Reader(const content::Bytes& b, size_t begin, size_t end, const std::string& name)
      : b_(b), pos_(begin), end_(end), name_(name) {}
  bool done() const { return pos_ >= end_; }
  size_t pos() const { return pos_; }
  uint8_t u8() {
    require(pos_ < end_, name_, "ends early at byte " + std::to_string(pos_));
    return b_[pos_++];
  }
  uint32_t be(int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | u8();
    return v;
  }
  uint32_t var() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const uint8_t c = u8();
      v = (v << 7) | (c & 0x7F);
      if (!(c & 0x80)) return v;
    }
    require(false, name_, "a length longer than four bytes at byte " + std::to_string(pos_));
    return 0;
  }
  void skip(uint32_t n) {
    require(n <= end_ - pos_, name_, "a chunk runs past its end at byte " + std::to_string(pos_));
    pos_ += n;
  }

 private:
  const content::Bytes& b_;
  size_t pos_;
  size_t end_;
  const std::string& name_;
};

struct TickEvent {
  uint64_t tick;
  size_t order;  // file order, to keep simultaneous events stable
  MidiEvent event;
  uint32_t tempo = 0;  // a tempo change (microseconds per quarter) when not 0
};

// The events of one track chunk; returns its End of Track tick.
uint64_t readTrack(Reader r, std::vector<TickEvent>& out, const std::string& name) {
  uint64_t tick = 0;
  uint8_t running = 0;
  while (!r.done()) {
    tick += r.var();
    uint8_t status = r.u8();
    if (status == 0xFF) {
      const uint8_t type = r.u8();
      const uint32_t length = r.var();
      if (type == 0x2F) return tick;
      if (type == 0x51) {
        require(length == 3, name, "a tempo event of " + std::to_string(length) + " bytes");
        out.push_back({tick, out.size(), {}, r.be(3)});
        require(out.back().tempo > 0, name, "a tempo of 0");
        continue;
      }
      r.skip(length);
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      r.skip(r.var());
      continue;
    }
    uint8_t first;
    if (status < 0x80) {
      require(running != 0, name, "data without a status at byte " + std::to_string(r.pos()));
      first = status;
      status = running;
    } else {
      require(status < 0xF0, name, "system message " + std::to_string(status) + " in a track");
      running = status;
      first = r.u8();
    }
    const uint8_t kind = status & 0xF0;
    const uint8_t second = (kind == 0xC0 || kind == 0xD0) ? 0 : r.u8();
    require(first < 0x80 && second < 0x80, name, "a data byte above 127 at byte " + std::to_string(r.pos()));
    out.push_back({tick, out.size(), MidiEvent{0, status, first, second}});
  }
  require(false, name, "a track without End of Track");
  return tick;
}

}  // namespace

MidiSong parseMidi(const content::Bytes& file, const std::string& name) {
  Reader header(file, 0, file.size(), name);
  require(header.be(4) == content::fourCharCode("MThd") && header.be(4) == 6, name, "is not a MIDI file");
  const uint32_t format = header.be(2);
  const uint32_t tracks = header.be(2);
  const uint32_t division = header.be(2);
  require(format <= 1, name, "is of format " + std::to_string(format) + "; 0 and 1 are read");
  require(division > 0 && division < 0x8000, name, "does not count ticks per quarter note");
  std::vector<TickEvent> events;
  uint64_t endTick = 0;
  size_t pos = 14;
  for (uint32_t t = 0; t < tracks; ++t) {
    Reader chunk(file, pos, file.size(), name);
    const uint32_t id = chunk.be(4);
    const uint32_t length = chunk.be(4);
    require(length <= file.size() - chunk.pos(), name, "track " + std::to_string(t) + " runs past the file");
    if (id == content::fourCharCode("MTrk")) {
      endTick = std::max(endTick, readTrack(Reader(file, chunk.pos(), chunk.pos() + length, name), events, name));
    }
    pos = chunk.pos() + length;
  }
  std::stable_sort(events.begin(), events.end(), [](const TickEvent& a, const TickEvent& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  // Ticks to seconds through the tempo map (120 beats a minute until the
  // first tempo event).
  MidiSong song;
  double seconds = 0;
  uint64_t lastTick = 0;
  uint32_t tempo = 500000;
  auto advance = [&](uint64_t tick) {
    seconds += static_cast<double>(tick - lastTick) * tempo / 1e6 / division;
    lastTick = tick;
  };
  for (const TickEvent& e : events) {
    advance(e.tick);
    if (e.tempo != 0) {
      tempo = e.tempo;
      continue;
    }
    MidiEvent m = e.event;
    m.seconds = seconds;
    song.events.push_back(m);
  }
  advance(std::max(endTick, lastTick));
  song.seconds = seconds;
  return song;
}

}  // namespace gamecontent
