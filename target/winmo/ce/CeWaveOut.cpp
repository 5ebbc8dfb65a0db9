#include "CeWaveOut.h"

#include <atomic>
#include <mutex>
#include <new>

#include "CeAudioMixer.h"
#include "CeAudioOutput.h"

namespace {

// The device capabilities every device reports: volume, left and right,
// unless a test says otherwise.
std::atomic<uint32_t> support{WAVECAPS_VOLUME | WAVECAPS_LRVOLUME};
std::atomic<bool> capsFail{false};

bool playablePcm(const WAVEFORMATEX& f) {
  return (f.nChannels == 1 || f.nChannels == 2) && (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) &&
         f.nSamplesPerSec > 0 && f.nSamplesPerSec <= 384000 && f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8;
}

// Runs `action` on a device that is open, under the mixer's lock.
template <class Action>
MMRESULT withDevice(HWAVEOUT device, Action action) {
  CeAudioMixer& mixer = CeAudioMixer::instance();
  std::lock_guard<std::mutex> guard(mixer.lock());
  if (device == nullptr || !mixer.contains(device)) return MMSYSERR_INVALHANDLE;
  return action(mixer, device);
}

}  // namespace

MMRESULT waveOutOpen(HWAVEOUT* device, uint32_t deviceId, const WAVEFORMATEX* format, CeWaveOutCallback callback,
                     uintptr_t instance, uint32_t flags) {
  if (device == nullptr || format == nullptr) return MMSYSERR_INVALPARAM;
  *device = nullptr;
  if (deviceId != WAVE_MAPPER && deviceId != 0) return MMSYSERR_INVALHANDLE;
  if (flags == CALLBACK_FUNCTION && callback == nullptr) return MMSYSERR_INVALPARAM;
  CeAudioOutput::start();
  CeAudioMixer& mixer = CeAudioMixer::instance();
  auto* d = new (std::nothrow) CeWaveOutDevice();
  if (d == nullptr) return MMSYSERR_NOMEM;
  d->format = *format;
  d->callback = flags == CALLBACK_FUNCTION ? callback : nullptr;
  d->instance = instance;
  if (format->wFormatTag == WAVE_FORMAT_MIDI) {
    const auto* midi = reinterpret_cast<const WAVEFORMATMIDI*>(format);
    if (format->cbSize < 8 || midi->tickPerQuarterNote == 0) {
      delete d;
      return WAVERR_BADFORMAT;
    }
    d->usecPerTick = midi->usecPerQuarterNote / midi->tickPerQuarterNote;
    // Synthesisers load their soundfont outside the mixer's lock.
    d->synth.reset(CeMidiSynth::create(mixer.rate()));
    if (!d->synth) {
      delete d;
      return MMSYSERR_NODRIVER;
    }
  } else if (format->wFormatTag != WAVE_FORMAT_PCM || !playablePcm(*format)) {
    delete d;
    return WAVERR_BADFORMAT;
  }
  std::lock_guard<std::mutex> guard(mixer.lock());
  mixer.add(d);
  *device = d;
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutClose(HWAVEOUT device) {
  MMRESULT result = withDevice(device, [](CeAudioMixer& mixer, HWAVEOUT d) {
    if (d->header != nullptr) return WAVERR_STILLPLAYING;
    mixer.remove(d);
    return MMSYSERR_NOERROR;
  });
  // Out of the mixer's list: nothing renders it or calls its callback now.
  if (result == MMSYSERR_NOERROR) delete device;
  return result;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, uint32_t size) {
  if (header == nullptr || size < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  return withDevice(device, [header](CeAudioMixer&, HWAVEOUT) {
    if (header->lpData == nullptr && header->dwBufferLength > 0) return MMSYSERR_INVALPARAM;
    header->dwFlags = (header->dwFlags | WHDR_PREPARED) & ~WHDR_DONE;
    return MMSYSERR_NOERROR;
  });
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, uint32_t size) {
  if (header == nullptr || size < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  return withDevice(device, [header](CeAudioMixer&, HWAVEOUT d) {
    if (d->header == header) return WAVERR_STILLPLAYING;
    header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
  });
}

MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, uint32_t size) {
  if (header == nullptr || size < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  return withDevice(device, [header](CeAudioMixer&, HWAVEOUT d) {
    if ((header->dwFlags & WHDR_PREPARED) == 0) return WAVERR_UNPREPARED;
    if (d->header != nullptr) return WAVERR_STILLPLAYING;
    header->dwFlags = (header->dwFlags | WHDR_INQUEUE) & ~WHDR_DONE;
    d->header = header;
    d->loopsDone = 0;
    d->sourcePos = 0;
    d->nextRecord = 0;
    d->passFrames = 0;
    d->passMicros = 0;
    return MMSYSERR_NOERROR;
  });
}

MMRESULT waveOutPause(HWAVEOUT device) {
  return withDevice(device, [](CeAudioMixer&, HWAVEOUT d) {
    d->paused = true;
    return MMSYSERR_NOERROR;
  });
}

MMRESULT waveOutRestart(HWAVEOUT device) {
  return withDevice(device, [](CeAudioMixer&, HWAVEOUT d) {
    d->paused = false;
    return MMSYSERR_NOERROR;
  });
}

MMRESULT waveOutReset(HWAVEOUT device) {
  return withDevice(device, [](CeAudioMixer&, HWAVEOUT d) {
    if (d->header != nullptr) d->header->dwFlags = (d->header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    d->header = nullptr;
    CeAudioMixer::rewind(d);
    if (d->synth) d->synth->reset();
    return MMSYSERR_NOERROR;
  });
}

MMRESULT waveOutGetPosition(HWAVEOUT device, MMTIME* time, uint32_t size) {
  if (time == nullptr || size < sizeof(MMTIME)) return MMSYSERR_INVALPARAM;
  return withDevice(device, [time](CeAudioMixer& mixer, HWAVEOUT d) {
    time->wType = d->synth ? TIME_MS : TIME_BYTES;
    time->u.cb = static_cast<uint32_t>(mixer.position(d));
    return MMSYSERR_NOERROR;
  });
}

MMRESULT waveOutGetVolume(HWAVEOUT device, uint32_t* volume) {
  if (volume == nullptr) return MMSYSERR_INVALPARAM;
  return withDevice(device, [volume](CeAudioMixer&, HWAVEOUT d) {
    *volume = d->volumeLeft | uint32_t{d->volumeRight} << 16;
    return MMSYSERR_NOERROR;
  });
}

MMRESULT waveOutSetVolume(HWAVEOUT device, uint32_t volume) {
  return withDevice(device, [volume](CeAudioMixer&, HWAVEOUT d) {
    d->volumeLeft = static_cast<uint16_t>(volume);
    // A device without separate channels sets both from the low word.
    d->volumeRight = (support & WAVECAPS_LRVOLUME) != 0 ? static_cast<uint16_t>(volume >> 16) : d->volumeLeft;
    return MMSYSERR_NOERROR;
  });
}

MMRESULT waveOutGetDevCaps(uintptr_t device, WAVEOUTCAPS* caps, uint32_t size) {
  if (caps == nullptr || size < sizeof(WAVEOUTCAPS)) return MMSYSERR_INVALPARAM;
  if (capsFail) return MMSYSERR_ERROR;
  auto fill = [caps] {
    *caps = WAVEOUTCAPS{};
    const char16_t name[] = u"Stand-in wave output";
    for (size_t i = 0; i < sizeof(name) / sizeof(name[0]); ++i) caps->szPname[i] = name[i];
    caps->wChannels = 2;
    caps->dwSupport = support;
  };
  // A device id (0, or the mapper) or an open device handle.
  if (device == 0 || device == WAVE_MAPPER) {
    fill();
    return MMSYSERR_NOERROR;
  }
  return withDevice(reinterpret_cast<HWAVEOUT>(device), [&fill](CeAudioMixer&, HWAVEOUT) {
    fill();
    return MMSYSERR_NOERROR;
  });
}

void ceWaveOutSetCapabilities(uint32_t bits, bool fail) {
  support = bits;
  capsFail = fail;
}
