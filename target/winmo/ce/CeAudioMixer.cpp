#include "CeAudioMixer.h"

#include <algorithm>
#include <cstring>

#include "CeAudioOutput.h"

namespace {

// A 16-bit volume as a gain in 1/65536 steps: 0xFFFF is exactly unity.
inline int32_t gainOf(uint16_t volume) { return volume + (volume >> 15); }

// Sample `frame`, channel `channel` of PCM data as a signed 16-bit value.
template <int Bits, int Channels>
inline int32_t sampleAt(const uint8_t* data, uint64_t frame, int channel) {
  const uint8_t* p = data + frame * (Bits / 8) * Channels + (Channels == 2 ? channel : 0) * (Bits / 8);
  if constexpr (Bits == 8) {
    return (int32_t{p[0]} - 128) << 8;
  } else {
    return static_cast<int16_t>(p[0] | p[1] << 8);
  }
}

template <int Bits, int Channels>
void renderFrames(CeWaveOutDevice* d, uint64_t total, uint64_t step, bool wrapAtEnd, int32_t* acc, int32_t frames,
                  int32_t* produced) {
  const uint8_t* data = d->header->lpData;
  const int32_t gainLeft = gainOf(d->volumeLeft);
  const int32_t gainRight = gainOf(d->volumeRight);
  int32_t n = 0;
  for (; n < frames; ++n) {
    const uint64_t i = d->sourcePos >> 32;
    if (i >= total) break;
    const uint32_t frac = static_cast<uint32_t>(d->sourcePos) >> 16;
    int32_t left = sampleAt<Bits, Channels>(data, i, 0);
    int32_t right = Channels == 2 ? sampleAt<Bits, Channels>(data, i, 1) : left;
    if (frac != 0) {
      // Linear interpolation towards the next frame (the first one when the
      // sound loops again, the same one at its very end).
      const uint64_t next = i + 1 < total ? i + 1 : (wrapAtEnd ? 0 : i);
      const int32_t nextLeft = sampleAt<Bits, Channels>(data, next, 0);
      const int32_t nextRight = Channels == 2 ? sampleAt<Bits, Channels>(data, next, 1) : nextLeft;
      left += static_cast<int32_t>((int64_t{nextLeft - left} * frac) >> 16);
      right += static_cast<int32_t>((int64_t{nextRight - right} * frac) >> 16);
    }
    acc[2 * n] += (left * gainLeft) >> 16;
    acc[2 * n + 1] += (right * gainRight) >> 16;
    d->sourcePos += step;
  }
  *produced = n;
}

using FrameRenderer = void (*)(CeWaveOutDevice*, uint64_t, uint64_t, bool, int32_t*, int32_t, int32_t*);

FrameRenderer rendererFor(const WAVEFORMATEX& f) {
  if (f.wBitsPerSample == 8) return f.nChannels == 2 ? renderFrames<8, 2> : renderFrames<8, 1>;
  return f.nChannels == 2 ? renderFrames<16, 2> : renderFrames<16, 1>;
}

uint32_t loopTarget(const WAVEHDR* h) {
  const bool loops = (h->dwFlags & (WHDR_BEGINLOOP | WHDR_ENDLOOP)) == (WHDR_BEGINLOOP | WHDR_ENDLOOP);
  return loops && h->dwLoops > 0 ? h->dwLoops : 1;
}

}  // namespace

CeAudioMixer& CeAudioMixer::instance() {
  static CeAudioMixer* mixer = new CeAudioMixer(CeAudioOutput::rate());
  return *mixer;
}

void CeAudioMixer::add(CeWaveOutDevice* device) { devices_.push_back(device); }

void CeAudioMixer::remove(CeWaveOutDevice* device) {
  devices_.erase(std::remove(devices_.begin(), devices_.end(), device), devices_.end());
}

bool CeAudioMixer::contains(CeWaveOutDevice* device) const {
  return std::find(devices_.begin(), devices_.end(), device) != devices_.end();
}

void CeAudioMixer::rewind(CeWaveOutDevice* d) {
  d->loopsDone = 0;
  d->bytesBefore = 0;
  d->sourcePos = 0;
  d->nextRecord = 0;
  d->passFrames = 0;
  d->passMicros = 0;
}

uint64_t CeAudioMixer::position(const CeWaveOutDevice* d) const {
  if (d->synth) return d->bytesBefore + d->passFrames * 1000 / rate_;
  uint64_t frame = d->sourcePos >> 32;
  if (d->header != nullptr) frame = std::min<uint64_t>(frame, d->header->dwBufferLength / d->format.nBlockAlign);
  return d->bytesBefore + frame * d->format.nBlockAlign;
}

void CeAudioMixer::mix(int16_t* out, int32_t frames) {
  std::lock_guard<std::mutex> guard(lock_);
  int32_t acc[2 * kBlock];
  while (frames > 0) {
    const int32_t block = std::min(frames, kBlock);
    std::memset(acc, 0, sizeof(int32_t) * 2 * block);
    // A voice that ends is taken out of the playing set by finish(), which
    // only clears its header; the list itself does not change here.
    for (CeWaveOutDevice* d : devices_) {
      if (d->paused) continue;
      if (d->header == nullptr) {
        // A MIDI voice that has played its records lets its notes fade out.
        if (d->synth && d->synth->sounding()) renderTail(d, acc, block);
        continue;
      }
      if (d->synth) {
        renderMidi(d, acc, block);
      } else {
        renderPcm(d, acc, block);
      }
    }
    for (int32_t i = 0; i < 2 * block; ++i) out[i] = static_cast<int16_t>(std::clamp(acc[i], -32768, 32767));
    out += 2 * block;
    frames -= block;
  }
}

bool CeAudioMixer::endPass(CeWaveOutDevice* d, uint64_t passLength, bool empty) {
  d->bytesBefore += passLength;
  ++d->loopsDone;
  // A pass that took no time would repeat without end inside one call:
  // such a header is done after its first pass.
  if (d->loopsDone >= loopTarget(d->header) || empty) {
    finish(d);
    return true;
  }
  return false;
}

void CeAudioMixer::finish(CeWaveOutDevice* d) {
  WAVEHDR* h = d->header;
  d->header = nullptr;
  // The position stays where the last pass ended: every pass is counted in
  // bytesBefore, none in the read position any more.
  d->sourcePos = 0;
  d->passFrames = 0;
  h->dwFlags = (h->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
  if (d->callback != nullptr) d->callback(d, WOM_DONE, d->instance, reinterpret_cast<uintptr_t>(h), 0);
}

void CeAudioMixer::renderPcm(CeWaveOutDevice* d, int32_t* acc, int32_t frames) {
  const uint64_t total = d->header->dwBufferLength / d->format.nBlockAlign;
  const uint64_t step = (uint64_t{d->format.nSamplesPerSec} << 32) / static_cast<uint64_t>(rate_);
  const FrameRenderer render = rendererFor(d->format);
  while (frames > 0) {
    if ((d->sourcePos >> 32) >= total) {
      if (endPass(d, total * d->format.nBlockAlign, total == 0)) return;
      d->sourcePos -= total << 32;
      continue;
    }
    int32_t produced = 0;
    render(d, total, step, d->loopsDone + 1 < loopTarget(d->header), acc, frames, &produced);
    acc += 2 * produced;
    frames -= produced;
  }
}

void CeAudioMixer::renderTail(CeWaveOutDevice* d, int32_t* acc, int32_t frames) {
  d->synth->render(scratchLeft_, scratchRight_, frames);
  const float gainLeft = d->volumeLeft * (32767.0f / 65535.0f);
  const float gainRight = d->volumeRight * (32767.0f / 65535.0f);
  for (int32_t i = 0; i < frames; ++i) {
    acc[2 * i] += static_cast<int32_t>(std::clamp(scratchLeft_[i], -1.0f, 1.0f) * gainLeft);
    acc[2 * i + 1] += static_cast<int32_t>(std::clamp(scratchRight_[i], -1.0f, 1.0f) * gainRight);
  }
}

void CeAudioMixer::renderMidi(CeWaveOutDevice* d, int32_t* acc, int32_t frames) {
  const uint32_t records = d->header->dwBufferLength / 8;
  const uint8_t* data = d->header->lpData;
  auto readU32 = [&](uint32_t at) {
    return uint32_t{data[at]} | uint32_t{data[at + 1]} << 8 | uint32_t{data[at + 2]} << 16 |
           uint32_t{data[at + 3]} << 24;
  };
  // passMicros is the time of the last record played in this pass; the
  // next one is due its delta later.
  auto dueMicros = [&] { return d->passMicros + uint64_t{readU32(d->nextRecord * 8)} * d->usecPerTick; };
  auto dueFrame = [&] { return dueMicros() * static_cast<uint64_t>(rate_) / 1000000; };
  while (frames > 0) {
    // Play every record that is due, then render up to the next one.
    while (d->nextRecord < records && dueFrame() <= d->passFrames) {
      d->passMicros = dueMicros();
      d->synth->shortMessage(readU32(d->nextRecord * 8 + 4));
      ++d->nextRecord;
    }
    if (d->nextRecord >= records) {
      if (endPass(d, d->passFrames * 1000 / rate_, d->passFrames == 0)) return;
      d->nextRecord = 0;
      d->passFrames = 0;
      d->passMicros = 0;
      continue;
    }
    const int32_t chunk = static_cast<int32_t>(std::min<uint64_t>(frames, dueFrame() - d->passFrames));
    renderTail(d, acc, chunk);
    acc += 2 * chunk;
    frames -= chunk;
    d->passFrames += chunk;
  }
}
