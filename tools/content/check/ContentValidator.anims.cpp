// Animation sets, read by AnimSet::load; the rules over its tables.
#include "CheckSupport.h"
#include "ContentValidator.h"
#include "PlayRules.h"
#include "tq_AnimSet.h"
#include "tq_Resources.h"

namespace content {

namespace {

using Ints = VMArray<int32_t>;
using Chars = VMArray<char16_t>;

std::string at(const char* what, int32_t i) { return std::string(what) + " " + std::to_string(i); }

// The stored durations, as they are before the loader raises a 0 to 1:
// a walk over every record of the format (an ignored byte; animations,
// loops, step values and the three passes of the step triples; frames,
// part flags, the three passes of the part triples, box counts and the
// five box passes; then the durations).
std::vector<uint32_t> storedDurations(const Bytes& bytes) {
  check::RawReader in(bytes);
  in.u8();
  const uint32_t animations = in.u16();
  uint32_t steps = 0;
  for (uint32_t i = 0; i < animations; ++i) steps += in.compactUnsigned();
  for (uint32_t i = 0; i < animations; ++i) in.compactSigned();
  for (uint32_t i = 0; i < steps; ++i) in.compactUnsigned();
  // Triples and boxes are stored pass by pass (all first values, then all
  // second ones, ...): a U value of 128 read as an S, or an escaped S read
  // as a U, would put the walk out of step.
  for (uint32_t i = 0; i < steps; ++i) in.compactUnsigned();
  for (uint32_t i = 0; i < 2 * steps; ++i) in.compactSigned();
  const uint32_t frames = in.u16();
  uint32_t parts = 0, boxes = 0;
  for (uint32_t i = 0; i < frames; ++i) parts += in.compactUnsigned();
  for (uint32_t i = 0; i < parts; i += 4) in.compactUnsigned();
  for (uint32_t i = 0; i < parts; ++i) in.compactUnsigned();
  for (uint32_t i = 0; i < 2 * parts; ++i) in.compactSigned();
  for (uint32_t i = 0; i < frames; ++i) boxes += in.compactUnsigned();
  for (uint32_t i = 0; i < 2 * boxes; ++i) in.compactSigned();
  for (uint32_t i = 0; i < 3 * boxes; ++i) in.compactUnsigned();
  std::vector<uint32_t> durations(in.u16());
  for (uint32_t& d : durations) d = in.compactUnsigned();
  return durations;
}

}  // namespace

void ContentValidator::checkAnimationSet(const ManifestResource& r) {
  VMPtr<java::io::DataInputStream> in = tq::Resources::getStream(r.id);
  VMPtr<tq::AnimSet> set = tq::AnimSet::load(r.id, in);
  if (!set->durations) {
    return fault(r, "is cut short or holds a value past its packed field: the reader stopped before its durations");
  }
  const int32_t unread = in->available();
  VMPtr<Ints> animations = set->animations, steps = set->steps, frames = set->frames, parts = set->parts;
  VMPtr<VMArray<int8_t>> stepBytes = set->stepBytes;
  VMPtr<Chars> boxStarts = set->frameBoxStart, boxExtras = set->boxExtras, durations = set->durations;
  const int32_t frameCount = frames->length, durationCount = durations->length;
  if (r.has(Rule::Limits)) {
    if (unread > 0) fault(r, check::bytesAfter(unread, "its durations"));
    for (int32_t a = 0; a < animations->length; ++a) {
      const int32_t first = static_cast<int32_t>(static_cast<uint32_t>(animations->at(a)) >> 16);
      for (int32_t s = 0; s < (animations->at(a) & 0x3FF); ++s) {
        const std::string item = at("animation", a) + ", " + at("step", s);
        const int32_t frame = static_cast<int32_t>(static_cast<uint32_t>(steps->at(first + s)) >> 22);
        const int32_t duration = stepBytes->at(first + s) & 0x3F;
        if (frame >= frameCount) fault(r, item + ": frame " + std::to_string(frame) + " is past its " + std::to_string(frameCount) + " frames");
        if (duration >= durationCount) {
          fault(r, item + ": duration " + std::to_string(duration) + " is past its " + std::to_string(durationCount) + " durations");
        }
      }
    }
    for (int32_t f = 0; r.spriteData && f < frameCount; ++f) {
      if (boxStarts->at(f) > 32767) fault(r, at("frame", f) + ": its first box " + std::to_string(boxStarts->at(f)) + " is past 32767, where sprite data keeps box starts");
    }
  }
  if (r.sprites) {
    // A paired set that does not load is a fault of its own, reported
    // under its own id (the manifest lists every pair).
    int32_t spriteCount = 0;
    try {
      VMPtr<java::io::DataInputStream> spritesIn = tq::Resources::getStream(*r.sprites);
      VMPtr<VMArray<tq::Gob>> gobs = tq::Resources::loadGobs(*r.sprites, nullptr, spritesIn, nullptr);
      spriteCount = gobs->length;
      set->setGobs(gobs);
    } catch (java::lang::Throwable* thrown) {
      VMPtr<java::lang::Throwable> dropped(thrown);
      spriteCount = -1;
    }
    for (int32_t f = 0; spriteCount >= 0 && f < frameCount; ++f) {
      const int32_t first = static_cast<int32_t>(static_cast<uint32_t>(frames->at(f)) >> 16);
      for (int32_t p = 0; p < (frames->at(f) & 0xFF); ++p) {
        const int32_t sprite = static_cast<int32_t>(static_cast<uint32_t>(parts->at(first + p)) >> 22);
        if (sprite >= spriteCount) {
          fault(r, at("frame", f) + ", " + at("part", p) + ": sprite " + std::to_string(sprite) + " is past its sprite set's " +
                       std::to_string(spriteCount) + " sprites");
        }
      }
    }
  }
  if (r.has(Rule::GameObject) || r.has(Rule::MainObject)) {
    if (!set->getGobs()) {
      fault(r, "the game-object rules need its sprite set, which does not load");
    } else {
      for (const std::string& p : check::gameObjectProblems(set, r.has(Rule::MainObject))) fault(r, p);
    }
  }
  if (r.has(Rule::Durations)) {
    const std::vector<uint32_t> stored = storedDurations(engineResourceBytes(r.id));
    for (size_t d = 0; d < stored.size(); ++d) {
      if (stored[d] == 0) fault(r, at("duration", static_cast<int32_t>(d)) + " is 0; durations are at least 1");
    }
  }
  if (r.has(Rule::BoxTypes)) {
    for (int32_t f = 0; f < frameCount; ++f) {
      for (int32_t b = 0; b < (frames->at(f) >> 8 & 0xFF); ++b) {
        const int32_t type = boxExtras->at(boxStarts->at(f) + b) & 0x1F;
        if (type != b) fault(r, at("frame", f) + ", " + at("box", b) + " has type " + std::to_string(type) + "; box i has type i here");
      }
    }
  }
}

}  // namespace content
