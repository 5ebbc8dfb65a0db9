#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "CeMidiSynth.h"
#include "CeWaveOut.h"

// One open wave-out device: a voice of the mixer. All fields are guarded
// by the mixer's lock.
struct CeWaveOutDevice {
  WAVEFORMATEX format{};
  uint32_t usecPerTick = 1000;  // MIDI: length of one tick
  CeWaveOutCallback callback = nullptr;
  uintptr_t instance = 0;
  std::unique_ptr<CeMidiSynth> synth;  // MIDI voices only

  WAVEHDR* header = nullptr;  // the written header, null when none
  bool paused = false;
  uint32_t loopsDone = 0;     // whole passes over the header played
  uint64_t bytesBefore = 0;   // position of earlier passes (bytes or ms)
  uint16_t volumeLeft = 0xFFFF;
  uint16_t volumeRight = 0xFFFF;

  // PCM: the read position in source frames, 32.32 fixed point.
  uint64_t sourcePos = 0;
  // MIDI: the next record, the frames played in this pass, and the time
  // of the last record played, from the start of this pass.
  uint32_t nextRecord = 0;
  uint64_t passFrames = 0;
  uint64_t passMicros = 0;
};

// The mixer behind every wave-out device: a list of voices mixed into
// 16-bit stereo frames at the output's rate. The output (CeAudioOutput)
// pulls frames with mix(), from its own thread or, for tests, from the
// thread that pumps it.
//
// Invariant: a device is in the list from waveOutOpen until waveOutClose
// removes it, and its callback is only called by mix() under the lock, so
// after removal nothing calls it again.
class CeAudioMixer {
 public:
  // The process's mixer, made on first use and never destroyed (audio
  // threads may run until the process ends).
  static CeAudioMixer& instance();

  // Frames per second of the mix; fixed by the output when the mixer is made.
  int32_t rate() const { return rate_; }

  // Adds `frames` 16-bit stereo frames of every playing voice into `out`
  // (overwritten, left then right). Calls done callbacks of voices that end.
  void mix(int16_t* out, int32_t frames);

  std::mutex& lock() { return lock_; }
  // Both under lock().
  void add(CeWaveOutDevice* device);
  void remove(CeWaveOutDevice* device);
  bool contains(CeWaveOutDevice* device) const;

  // Sets the device back to the start of its data (under lock()).
  static void rewind(CeWaveOutDevice* device);
  // The device's position in its own unit: bytes (PCM) or ms (MIDI).
  uint64_t position(const CeWaveOutDevice* device) const;

  // Frames handed out by one mix() step at most.
  static constexpr int32_t kBlock = 256;

 private:
  explicit CeAudioMixer(int32_t rate) : rate_(rate) {}
  void renderPcm(CeWaveOutDevice* device, int32_t* accumulator, int32_t frames);
  void renderMidi(CeWaveOutDevice* device, int32_t* accumulator, int32_t frames);
  // Renders the synthesiser of a MIDI voice as it sounds now.
  void renderTail(CeWaveOutDevice* device, int32_t* accumulator, int32_t frames);
  // Ends the device's pass over its header; true when the header is done.
  bool endPass(CeWaveOutDevice* device, uint64_t passLength, bool empty);
  void finish(CeWaveOutDevice* device);

  const int32_t rate_;
  mutable std::mutex lock_;
  std::vector<CeWaveOutDevice*> devices_;
  float scratchLeft_[kBlock];
  float scratchRight_[kBlock];
};
