#include "CeAudioOutput.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "CeAudioMixer.h"

namespace {

std::mutex configLock;
CeAudioOutput::Kind chosen = CeAudioOutput::Kind::automatic;
int32_t chosenRate = CeAudioOutput::kDefaultRate;
bool started = false;

void sdlCallback(void*, Uint8* stream, int length) {
  CeAudioMixer::instance().mix(reinterpret_cast<int16_t*>(stream), length / 4);
}

bool startSdl(int32_t rate) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = rate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = CeAudioOutput::kPeriod;
  want.callback = sdlCallback;
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(device, 0);
  return true;
}

// SDL keeps an error message per thread, and frees it only for threads of
// its own. The device is opened on such a thread, so that a failed open (no
// sound card) leaves nothing behind on the calling thread, a Java thread
// that ends without SDL knowing.
int startSdlOnItsThread(void* rate) { return startSdl(*static_cast<int32_t*>(rate)) ? 1 : 0; }

bool startSdlOutput(int32_t rate) {
  SDL_Thread* opener = SDL_CreateThread(startSdlOnItsThread, "jme-audio-open", &rate);
  if (opener == nullptr) return startSdl(rate);
  int opened = 0;
  SDL_WaitThread(opener, &opened);
  return opened != 0;
}

// Pulls one period at a time on a steady clock, as a sound card would.
void startSilent(int32_t rate) {
  std::thread([rate] {
    int16_t buffer[2 * CeAudioOutput::kPeriod];
    const auto period = std::chrono::nanoseconds(int64_t{CeAudioOutput::kPeriod} * 1000000000 / rate);
    auto next = std::chrono::steady_clock::now();
    for (;;) {
      CeAudioMixer::instance().mix(buffer, CeAudioOutput::kPeriod);
      next += period;
      std::this_thread::sleep_until(next);
    }
  }).detach();
}

}  // namespace

bool CeAudioOutput::select(Kind kind, int32_t rate) {
  std::lock_guard<std::mutex> guard(configLock);
  if (started || rate <= 0) return false;
  chosen = kind;
  chosenRate = rate;
  return true;
}

int32_t CeAudioOutput::rate() {
  std::lock_guard<std::mutex> guard(configLock);
  return chosenRate;
}

CeAudioOutput::Kind CeAudioOutput::kind() {
  std::lock_guard<std::mutex> guard(configLock);
  return chosen;
}

void CeAudioOutput::start() {
  std::lock_guard<std::mutex> guard(configLock);
  if (started) return;
  started = true;
  if (chosen == Kind::pumped) return;
  if ((chosen == Kind::automatic || chosen == Kind::sdl) && startSdlOutput(chosenRate)) {
    chosen = Kind::sdl;
    return;
  }
  chosen = Kind::silent;
  startSilent(chosenRate);
}

void CeAudioOutput::pump(int16_t* out, int32_t frames) { CeAudioMixer::instance().mix(out, frames); }
