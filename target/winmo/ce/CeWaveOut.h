#pragma once

#include <cstdint>

// The phone system's wave-out device, as the platform's audio engine uses
// it: a device is opened for one format, a header describing the whole
// sound (with a loop count) is prepared and written to it, and the device
// is paused, restarted, reset and closed. Every open device is one voice
// of the stand-in's mixer (CeAudioMixer), which sends the mix to the
// output chosen in CeAudioOutput.
//
// Two formats are played: PCM (tag 1; 8-bit unsigned or 16-bit signed
// samples, one or two channels, any rate, resampled to the output rate)
// and the device's MIDI format (tag 0x3000): the data is a sequence of
// 8-byte records {delta time in ticks u32, short message u32}, the tick
// length being microseconds per quarter note / ticks per quarter note
// from the format; FluidSynth synthesises them.
//
// Ownership: the caller owns the format, the header and the sound bytes;
// the header and its bytes must stay valid while the header is written
// (until it is done or the device is reset). The device belongs to the
// caller from waveOutOpen to waveOutClose; once waveOutClose has returned,
// the done callback is never called for it again.
//
// Threads: every function may be called from any thread; each takes the
// mixer's lock for a short time. The done callback runs on the audio
// thread, under that lock: it must only record the event (for example in
// an atomic) and never call back into these functions.

struct CeWaveOutDevice;
using HWAVEOUT = CeWaveOutDevice*;
using MMRESULT = uint32_t;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_NOTSUPPORTED = 8;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_STILLPLAYING = 33;
constexpr MMRESULT WAVERR_UNPREPARED = 34;

constexpr uint16_t WAVE_FORMAT_PCM = 1;
constexpr uint16_t WAVE_FORMAT_MIDI = 0x3000;
constexpr uint32_t WAVE_MAPPER = 0xFFFFFFFF;
constexpr uint32_t CALLBACK_FUNCTION = 0x00030000;

// Header flags.
constexpr uint32_t WHDR_DONE = 1;
constexpr uint32_t WHDR_PREPARED = 2;
constexpr uint32_t WHDR_BEGINLOOP = 4;
constexpr uint32_t WHDR_ENDLOOP = 8;
constexpr uint32_t WHDR_INQUEUE = 16;

// The message of the done callback: the written header has played out.
constexpr uint32_t WOM_DONE = 957;

// Capability bits of the device.
constexpr uint32_t WAVECAPS_VOLUME = 4;
constexpr uint32_t WAVECAPS_LRVOLUME = 8;

// Position formats.
constexpr uint32_t TIME_MS = 1;
constexpr uint32_t TIME_BYTES = 4;

struct WAVEFORMATEX {
  uint16_t wFormatTag;
  uint16_t nChannels;
  uint32_t nSamplesPerSec;
  uint32_t nAvgBytesPerSec;
  uint16_t nBlockAlign;
  uint16_t wBitsPerSample;
  uint16_t cbSize;
};

// The MIDI format: the common part followed by its 10 extra bytes' worth
// of timing (cbSize 10).
struct WAVEFORMATMIDI {
  WAVEFORMATEX wfx;
  uint32_t usecPerQuarterNote;
  uint32_t tickPerQuarterNote;
};

struct WAVEHDR {
  const uint8_t* lpData;
  uint32_t dwBufferLength;
  uint32_t dwBytesRecorded;
  uintptr_t dwUser;
  uint32_t dwFlags;
  uint32_t dwLoops;
  WAVEHDR* lpNext;
  uintptr_t reserved;
};

struct MMTIME {
  uint32_t wType;
  union {
    uint32_t ms;
    uint32_t cb;
  } u;
};

struct WAVEOUTCAPS {
  uint16_t wMid;
  uint16_t wPid;
  uint32_t vDriverVersion;
  char16_t szPname[32];
  uint32_t dwFormats;
  uint16_t wChannels;
  uint16_t wReserved1;
  uint32_t dwSupport;
};

// (device, message, instance, parameter 1, parameter 2); parameter 1 of
// WOM_DONE is the header.
using CeWaveOutCallback = void (*)(HWAVEOUT, uint32_t, uintptr_t, uintptr_t, uintptr_t);

// Opens a device for `format` (a WAVEFORMATMIDI when its tag is
// WAVE_FORMAT_MIDI). `deviceId` is WAVE_MAPPER or 0; `flags` is
// CALLBACK_FUNCTION with `callback` or 0 without. WAVERR_BADFORMAT for a
// format the device cannot play, MMSYSERR_NODRIVER when no synthesiser can
// be made for MIDI. Never fails for lack of a sound card: without one the
// mix goes to a silent output.
MMRESULT waveOutOpen(HWAVEOUT* device, uint32_t deviceId, const WAVEFORMATEX* format, CeWaveOutCallback callback,
                     uintptr_t instance, uint32_t flags);
// Fails with WAVERR_STILLPLAYING while a header is written.
MMRESULT waveOutClose(HWAVEOUT device);
MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, uint32_t size);
// Fails with WAVERR_STILLPLAYING while the header is written.
MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, uint32_t size);
// Queues a prepared header; the device holds one header at a time
// (WAVERR_STILLPLAYING for a second one). A paused device keeps it queued.
MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, uint32_t size);
MMRESULT waveOutPause(HWAVEOUT device);
MMRESULT waveOutRestart(HWAVEOUT device);
// Stops playback, drops the written header (marked done, without a
// callback) and sets the position back to 0. The device stays paused or
// running as it was.
MMRESULT waveOutReset(HWAVEOUT device);
// The position since the last reset, counted over every loop: bytes of the
// data (PCM, TIME_BYTES asked) or milliseconds played (MIDI, whatever was
// asked). `time->wType` tells which was given.
MMRESULT waveOutGetPosition(HWAVEOUT device, MMTIME* time, uint32_t size);
// Volume: low word left, high word right, 0xFFFF full.
MMRESULT waveOutGetVolume(HWAVEOUT device, uint32_t* volume);
MMRESULT waveOutSetVolume(HWAVEOUT device, uint32_t volume);
MMRESULT waveOutGetDevCaps(uintptr_t device, WAVEOUTCAPS* caps, uint32_t size);

// Test seam: the dwSupport bits every device reports (default
// WAVECAPS_VOLUME | WAVECAPS_LRVOLUME), and whether waveOutGetDevCaps fails.
void ceWaveOutSetCapabilities(uint32_t support, bool capsFail);
