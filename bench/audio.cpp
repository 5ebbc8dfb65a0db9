// The sound path, side by side with what any mixer must do at least:
//
//   Mix4Voices*:   one output period (512 frames) of four 16-bit stereo WAV
//                  voices at the output rate: the mixer (with volume and
//                  end-of-sound checks) against a plain summing loop and
//                  against SDL_MixAudioFormat called once per voice.
//                  Reported as the share of one core while they play
//                  (mixing time / real time of the period).
//   Mix4Midi:      the same with four MIDI voices playing chords through
//                  FluidSynth.
//   StartToSound*: from HAL_startPlayer (and, for WAV, from Player.start()
//                  of the MIDP classes) to the first non-silent sample
//                  leaving the mixer, WAV and MIDI, on the hand-pumped
//                  output: the wall time of the start plus the frames of
//                  silence before the first sample. The counter
//                  `vs_period` divides it by one period of the output
//                  buffer (11.6 ms), the least a real output adds.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "CeAudioMixer.h"
#include "CeAudioOutput.h"
#include "HALPlayer.h"
#include "VMTestEnv.h"
#include "javax_microedition_media_Manager.h"

namespace {

constexpr int32_t kRate = CeAudioOutput::kDefaultRate;
constexpr int32_t kPeriod = CeAudioOutput::kPeriod;
constexpr double kPeriodSeconds = double{kPeriod} / kRate;

void pumpedOutput() {
  static const bool chosen = CeAudioOutput::select(CeAudioOutput::Kind::pumped, kRate);
  (void)chosen;
}

std::vector<uint8_t> waveFile(int32_t frames) {
  std::vector<uint8_t> f(44 + 4 * static_cast<size_t>(frames));
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  std::copy_n("RIFF", 4, f.begin());
  put32(4, static_cast<uint32_t>(f.size() - 8));
  std::copy_n("WAVEfmt ", 8, f.begin() + 8);
  put32(16, 16);
  put32(20, 1 | 2 << 16);
  put32(24, kRate);
  put32(28, kRate * 4);
  put32(32, 4 | 16 << 16);
  std::copy_n("data", 4, f.begin() + 36);
  put32(40, static_cast<uint32_t>(4 * frames));
  for (int32_t i = 0; i < 2 * frames; ++i) {
    const auto s = static_cast<int16_t>((i * 37) % 20000 - 10000);
    f[44 + 2 * i] = static_cast<uint8_t>(s);
    f[45 + 2 * i] = static_cast<uint8_t>(s >> 8);
  }
  return f;
}

// A MIDI file: a chord of three notes held for `ms` milliseconds, on `channel`.
std::vector<uint8_t> chordFile(int channel, int ms) {
  std::vector<uint8_t> track = {0x00, static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(channel * 8)};
  for (int note : {60, 64, 67}) {
    track.insert(track.end(), {0x00, static_cast<uint8_t>(0x90 | channel), static_cast<uint8_t>(note), 0x60});
  }
  track.insert(track.end(), {static_cast<uint8_t>(0x80 | (ms >> 14)), static_cast<uint8_t>(0x80 | ((ms >> 7) & 0x7F)),
                             static_cast<uint8_t>(ms & 0x7F), static_cast<uint8_t>(0x90 | channel), 60, 0});
  std::vector<uint8_t> f = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0,
                            static_cast<uint8_t>(track.size())};
  f.resize(f.size() + track.size());
  std::copy(track.begin(), track.end(), f.end() - static_cast<std::ptrdiff_t>(track.size()));
  return f;
}

HALPlayer* open(const std::vector<uint8_t>& f, int32_t code, int32_t loop) {
  HALPlayer* p = nullptr;
  HAL_createPlayerWithData(&p, f.data(), static_cast<int32_t>(f.size()), code, loop);
  return p;
}

void reportCoreShare(benchmark::State& state) {
  // Elapsed time over the real time of the periods mixed.
  state.counters["core_share"] = benchmark::Counter(static_cast<double>(state.iterations()) * kPeriodSeconds,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Four stereo buffers of a fixed sample pattern, one second each: the
// voices of the mixing peers.
std::vector<std::vector<int16_t>> patternVoices() {
  std::vector<std::vector<int16_t>> voices(4, std::vector<int16_t>(2 * kRate));
  for (auto& v : voices) {
    for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<int16_t>((i * 37) % 20000 - 10000);
  }
  return voices;
}

// Mixes one period through the device per iteration, then closes the
// players.
void pumpAndClose(benchmark::State& state, const std::vector<HALPlayer*>& players) {
  std::vector<int16_t> out(2 * kPeriod);
  for (auto _ : state) {
    CeAudioOutput::pump(out.data(), kPeriod);
    benchmark::DoNotOptimize(out.data());
  }
  reportCoreShare(state);
  for (HALPlayer* p : players) HAL_closePlayer(p);
}

void BM_Mix4VoicesMixer(benchmark::State& state) {
  pumpedOutput();
  const std::vector<uint8_t> f = waveFile(kRate);
  std::vector<HALPlayer*> players;
  for (int i = 0; i < 4; ++i) {
    players.push_back(open(f, HAL_CONTENT_WAV, -1));
    HAL_setPlayerVolume(players.back(), 80);
    HAL_startPlayer(players.back());
  }
  pumpAndClose(state, players);
}
BENCHMARK(BM_Mix4VoicesMixer);

// The least a mixer does: sum four buffers and clamp.
void BM_Mix4VoicesPlainLoop(benchmark::State& state) {
  const std::vector<std::vector<int16_t>> voices = patternVoices();
  std::vector<int16_t> out(2 * kPeriod);
  size_t pos = 0;
  for (auto _ : state) {
    for (int32_t i = 0; i < 2 * kPeriod; ++i) {
      int32_t sum = 0;
      for (const auto& v : voices) sum += v[pos + i];
      out[i] = static_cast<int16_t>(std::clamp(sum, -32768, 32767));
    }
    pos = (pos + 2 * kPeriod) % (2 * kRate - 2 * kPeriod);
    benchmark::DoNotOptimize(out.data());
  }
  reportCoreShare(state);
}
BENCHMARK(BM_Mix4VoicesPlainLoop);

void BM_Mix4VoicesSdl(benchmark::State& state) {
  const std::vector<std::vector<int16_t>> voices = patternVoices();
  std::vector<int16_t> out(2 * kPeriod);
  size_t pos = 0;
  for (auto _ : state) {
    std::fill(out.begin(), out.end(), 0);
    for (const auto& v : voices) {
      SDL_MixAudioFormat(reinterpret_cast<Uint8*>(out.data()), reinterpret_cast<const Uint8*>(v.data() + pos),
                         AUDIO_S16SYS, 4 * kPeriod, 102);
    }
    pos = (pos + 2 * kPeriod) % (2 * kRate - 2 * kPeriod);
    benchmark::DoNotOptimize(out.data());
  }
  reportCoreShare(state);
}
BENCHMARK(BM_Mix4VoicesSdl);

void BM_Mix4Midi(benchmark::State& state) {
  pumpedOutput();
  std::vector<HALPlayer*> players;
  for (int i = 0; i < 4; ++i) {
    players.push_back(open(chordFile(i, 4000), HAL_CONTENT_MIDI, -1));
    HAL_startPlayer(players.back());
  }
  pumpAndClose(state, players);
}
BENCHMARK(BM_Mix4Midi);

// Starts the player and pumps periods until a non-silent sample leaves the
// mixer; the time of the start plus the frames of silence before it.
template <class Start, class Pause>
void startToSound(benchmark::State& state, Start start, Pause pause) {
  std::vector<int16_t> out(2 * kPeriod);
  double total = 0;
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    start();
    const double startSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    state.PauseTiming();
    int64_t silent = 0;
    for (int periods = 0; periods < 100; ++periods) {
      CeAudioOutput::pump(out.data(), kPeriod);
      const auto first = std::find_if(out.begin(), out.end(), [](int16_t s) { return s != 0; });
      if (first != out.end()) {
        silent += (first - out.begin()) / 2;
        break;
      }
      silent += kPeriod;
    }
    pause();
    state.ResumeTiming();
    total += startSeconds + static_cast<double>(silent) / kRate;
  }
  const double mean = total / static_cast<double>(state.iterations());
  state.counters["start_to_sound_ms"] = mean * 1000;
  state.counters["vs_period"] = mean / kPeriodSeconds;
}

void BM_StartToSoundWave(benchmark::State& state) {
  pumpedOutput();
  HALPlayer* p = open(waveFile(kRate), HAL_CONTENT_WAV, 0);
  startToSound(state, [p] { HAL_startPlayer(p); }, [p] { HAL_pausePlayer(p); });
  HAL_closePlayer(p);
}
BENCHMARK(BM_StartToSoundWave);

// The same through the MIDP classes: Player.start() of a realized player.
void BM_StartToSoundWaveJava(benchmark::State& state) {
  pumpedOutput();
  VMTestEnv::start();
  const std::vector<uint8_t> f = waveFile(kRate);
  VMPtr<VMArray<int8_t>> data = VMArray<int8_t>::create(static_cast<int32_t>(f.size()));
  std::copy(f.begin(), f.end(), reinterpret_cast<uint8_t*>(data->elements()));
  VMPtr<javax::microedition::media::Player> player =
      javax::microedition::media::Manager::createPlayer(data, 0, data->length, nullptr);
  player->realize();
  startToSound(state, [&] { player->start(); }, [&] { player->stop(); });
  player->close();
}
BENCHMARK(BM_StartToSoundWaveJava);

void BM_StartToSoundMidi(benchmark::State& state) {
  pumpedOutput();
  HALPlayer* p = open(chordFile(0, 1000), HAL_CONTENT_MIDI, 0);
  startToSound(state, [p] { HAL_startPlayer(p); }, [p] { HAL_pausePlayer(p); });
  HAL_closePlayer(p);
}
BENCHMARK(BM_StartToSoundMidi);

}  // namespace
