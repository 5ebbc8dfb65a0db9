#include "HALPlayer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>
#include <string>

#include "CeText.h"
#include "CeWaveOut.h"
#include "HALArray.h"
#include "HALGlobalLock.h"
#include "HALMemory.h"
#include "HALMidiFile.h"
#include "HALResource.h"
#include "HALWaveFile.h"

struct HALPlayer {
  HWAVEOUT device = nullptr;
  WAVEFORMATMIDI format{};  // the common part, with the MIDI timing after it
  WAVEHDR templateHeader{};
  WAVEHDR header{};
  int32_t contentType = HAL_CONTENT_WAV;
  int64_t duration = 0;   // microseconds
  int64_t startTime = 0;  // microseconds
  int64_t midiLength = 0;  // MIDI: milliseconds of one pass (sum of the deltas)
  std::atomic<int32_t> state{HAL_PLAYER_OPEN};
  uint8_t* data = nullptr;
};

namespace {

constexpr uint32_t kLoopFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
constexpr uint32_t kEndlessLoops = 1000000;

// The player table. Operations run under the global lock; the table lock
// also covers HAL_pauseAllPlayers against an opening or closing player.
std::mutex tableLock;
HALArray& players() {
  static HALArray* table = new HALArray();
  return *table;
}

std::mutex listenerLock;
void* listenerContext = nullptr;
HALPlayerListener listener = nullptr;

uint32_t deviceLoops(int32_t loop) { return loop < 0 ? kEndlessLoops : static_cast<uint32_t>(loop) + 1; }

void notify(HALPlayer* p, int32_t event, intptr_t argument = 0) {
  HALPlayerListener fn;
  void* context;
  {
    std::lock_guard<std::mutex> guard(listenerLock);
    fn = listener;
    context = listenerContext;
  }
  if (fn == nullptr) return;
  int64_t time = 0;
  if (HAL_getPlayerMediaTime(p, &time) != HAL_OK) time = 0;
  fn(context, p, event, static_cast<int32_t>(time), static_cast<int32_t>(time >> 32), argument);
}

// The device's done callback, on the audio thread: a playing record ends.
void deviceDone(HWAVEOUT, uint32_t message, uintptr_t instance, uintptr_t, uintptr_t) {
  if (message != WOM_DONE) return;
  auto* p = reinterpret_cast<HALPlayer*>(instance);
  int32_t playing = HAL_PLAYER_PLAYING;
  p->state.compare_exchange_strong(playing, HAL_PLAYER_ENDED);
}

// A new record that owns `data`, with its template header over `length`
// bytes at `start`; null, with `data` freed, when there is no memory.
HALPlayer* newRecord(uint8_t* data, const uint8_t* start, uint32_t length, int32_t contentType, int32_t loop) {
  void* block = HAL_allocateBuffer(sizeof(HALPlayer));
  if (block == nullptr) {
    HAL_freeBuffer(data);
    return nullptr;
  }
  auto* p = new (block) HALPlayer();
  p->data = data;
  p->contentType = contentType;
  p->templateHeader.lpData = start;
  p->templateHeader.dwBufferLength = length;
  p->templateHeader.dwFlags = kLoopFlags;
  p->templateHeader.dwLoops = deviceLoops(loop);
  return p;
}

void freeRecord(HALPlayer* p) {
  HAL_freeBuffer(p->data);
  p->~HALPlayer();
  HAL_freeBuffer(p);
}

// Opens the device for the record's format and header and adds the record
// to the table. On failure the record and its data are freed.
HALStatus openDevice(HALPlayer* p, HALPlayer** out) {
  // A MIDI device loads its soundfont from disk: the global lock is given
  // up meanwhile (the record is not yet in the table and holds no Java data).
  const int levels = HAL_suspendGlobalLock();
  const MMRESULT opened = waveOutOpen(&p->device, WAVE_MAPPER, &p->format.wfx, deviceDone,
                                      reinterpret_cast<uintptr_t>(p), CALLBACK_FUNCTION);
  HAL_resumeGlobalLock(levels);
  if (opened != MMSYSERR_NOERROR) {
    freeRecord(p);
    return HAL_BAD_FORMAT_ERR;
  }
  p->header = p->templateHeader;
  std::lock_guard<std::mutex> guard(tableLock);
  if (!players().append(p)) {
    waveOutClose(p->device);
    freeRecord(p);
    return HAL_OUT_OF_MEMORY_ERR;
  }
  *out = p;
  return HAL_OK;
}

// Opens a WAV player over `bytes`, which the record takes (freed on failure).
HALStatus openWave(HALPlayer** out, uint8_t* bytes, int32_t length, int32_t loop) {
  HALWaveInfo info;
  if (HAL_parseWave(bytes, length, &info) != HAL_OK) {
    HAL_freeBuffer(bytes);
    return HAL_BAD_FORMAT_ERR;
  }
  HALPlayer* p = newRecord(bytes, bytes + info.dataOffset, info.dataLength, HAL_CONTENT_WAV, loop);
  if (p == nullptr) return HAL_OUT_OF_MEMORY_ERR;
  WAVEFORMATEX& f = p->format.wfx;
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = info.channels;
  f.nSamplesPerSec = info.sampleRate;
  f.wBitsPerSample = info.bitsPerSample;
  f.nAvgBytesPerSec = (uint32_t{info.channels} * info.bitsPerSample * info.sampleRate) >> 3;
  f.nBlockAlign = static_cast<uint16_t>((info.bitsPerSample >> 3) * info.channels);
  f.cbSize = 0;
  // The device refuses a format whose byte rate is 0, before it is used here.
  if (f.nAvgBytesPerSec > 0) {
    p->duration = static_cast<int64_t>(static_cast<float>(info.dataLength) / static_cast<float>(f.nAvgBytesPerSec) *
                                       1000000.0f);
  }
  return openDevice(p, out);
}

HALStatus openMidi(HALPlayer** out, const uint8_t* bytes, int32_t length, int32_t loop) {
  uint8_t* records = nullptr;
  int32_t count = 0;
  int32_t division = 0;
  const HALStatus parsed = HAL_parseMidi(bytes, length, &records, &count, &division, true);
  if (parsed != HAL_OK) return parsed;
  HALPlayer* p = newRecord(records, records, static_cast<uint32_t>(count) * 8, HAL_CONTENT_MIDI, loop);
  if (p == nullptr) return HAL_OUT_OF_MEMORY_ERR;
  WAVEFORMATEX& f = p->format.wfx;
  f.wFormatTag = WAVE_FORMAT_MIDI;
  f.nChannels = 1;
  f.nSamplesPerSec = 32;
  f.nAvgBytesPerSec = 32;
  f.nBlockAlign = 8;
  f.wBitsPerSample = 16;
  f.cbSize = 10;
  // One tick lasts one millisecond.
  p->format.usecPerQuarterNote = static_cast<uint32_t>(division) * 1000;
  p->format.tickPerQuarterNote = static_cast<uint32_t>(division);
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* r = records + i * 8;
    p->midiLength += uint32_t{r[0]} | uint32_t{r[1]} << 8 | uint32_t{r[2]} << 16 | uint32_t{r[3]} << 24;
  }
  return openDevice(p, out);
}

// Reads a whole file into a new buffer. A name that is not valid UTF-16
// names no file.
HALStatus readFile(const char16_t* name, int32_t length, uint8_t** out, int32_t* size) {
  if (length < 2) return HAL_NOT_FOUND_ERR;
  std::string path;
  if (!CeText::appendUTF8(path, std::u16string_view(name + 2, static_cast<size_t>(length - 2)),
                          CeTextPolicy::kRefuse)) {
    return HAL_NOT_FOUND_ERR;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return HAL_NOT_FOUND_ERR;
  struct stat info;
  HALStatus status = HAL_OK;
  uint8_t* buffer = nullptr;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > INT32_MAX) {
    status = HAL_IO_ERR;
  } else if (info.st_size == 0) {
    status = HAL_IO_ERR;
  } else if ((buffer = static_cast<uint8_t*>(HAL_allocateBuffer(info.st_size))) == nullptr) {
    status = HAL_OUT_OF_MEMORY_ERR;
  } else {
    int64_t done = 0;
    while (done < info.st_size) {
      const ssize_t n = read(fd, buffer + done, info.st_size - done);
      if (n <= 0) break;
      done += n;
    }
    if (done != info.st_size) {
      HAL_freeBuffer(buffer);
      status = HAL_IO_ERR;
    } else {
      *out = buffer;
      *size = static_cast<int32_t>(done);
    }
  }
  close(fd);
  return status;
}

// Reads a whole resource into a new buffer.
HALStatus readResource(const char16_t* name, int32_t length, uint8_t** out, int32_t* size) {
  while (length > 0 && *name == u'/') {
    ++name;
    --length;
  }
  HALResource* resource = nullptr;
  HALStatus status = HAL_openResource(&resource, name, length);
  if (status != HAL_OK) return status == HAL_ILLEGAL_ARGUMENT_ERR ? HAL_NOT_FOUND_ERR : status;
  const int32_t total = HAL_getResourceSize(resource);
  uint8_t* buffer = nullptr;
  if (total <= 0) {
    status = HAL_IO_ERR;
  } else if ((buffer = static_cast<uint8_t*>(HAL_allocateBuffer(total))) == nullptr) {
    status = HAL_OUT_OF_MEMORY_ERR;
  } else {
    int32_t count = total;
    status = HAL_readResource(resource, buffer, 0, &count);
    if (status != HAL_OK || count != total) {
      HAL_freeBuffer(buffer);
      status = HAL_IO_ERR;
    } else {
      *out = buffer;
      *size = total;
    }
  }
  HAL_closeResource(resource);
  return status;
}

bool isWave(int32_t code) { return code == HAL_CONTENT_NONE || code == HAL_CONTENT_WAV; }

}  // namespace

HALStatus HAL_createPlayerWithData(HALPlayer** player, const uint8_t* bytes, int32_t length, int32_t contentCode,
                                   int32_t loop) {
  if (player == nullptr || bytes == nullptr || length <= 0) return HAL_ILLEGAL_ARGUMENT_ERR;
  *player = nullptr;
  if (contentCode == HAL_CONTENT_MIDI) return openMidi(player, bytes, length, loop);
  if (!isWave(contentCode)) return HAL_NOT_IMPLEMENTED_ERR;
  auto* copy = static_cast<uint8_t*>(HAL_allocateBuffer(length));
  if (copy == nullptr) return HAL_OUT_OF_MEMORY_ERR;
  std::memcpy(copy, bytes, length);
  return openWave(player, copy, length, loop);
}

HALStatus HAL_createPlayerWithLocator(HALPlayer** player, int32_t kind, const char16_t* name, int32_t nameLength,
                                      int32_t contentCode, int32_t loop) {
  if (player == nullptr || name == nullptr || nameLength < 0) return HAL_ILLEGAL_ARGUMENT_ERR;
  *player = nullptr;
  if (!isWave(contentCode)) return HAL_NOT_IMPLEMENTED_ERR;
  if (kind != HAL_LOCATOR_FILE && kind != HAL_LOCATOR_RESOURCE) return HAL_ILLEGAL_ARGUMENT_ERR;
  uint8_t* bytes = nullptr;
  int32_t length = 0;
  const int levels = HAL_suspendGlobalLock();
  const HALStatus status = kind == HAL_LOCATOR_FILE ? readFile(name, nameLength, &bytes, &length)
                                                    : readResource(name, nameLength, &bytes, &length);
  HAL_resumeGlobalLock(levels);
  if (status != HAL_OK) return status;
  return openWave(player, bytes, length, loop);
}

HALStatus HAL_prefetchPlayer(HALPlayer* p) {
  if (p == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  const int32_t state = p->state.load();
  if (state == HAL_PLAYER_OPEN || state == HAL_PLAYER_RESETTING) {
    if (waveOutPrepareHeader(p->device, &p->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR ||
        waveOutPause(p->device) != MMSYSERR_NOERROR ||
        waveOutWrite(p->device, &p->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
      return HAL_BAD_FORMAT_ERR;
    }
  } else if (state == HAL_PLAYER_PLAYING) {
    // A playing sound is already prefetched; saying otherwise would hide it
    // from its end-of-media state.
    return HAL_OK;
  }
  p->state = HAL_PLAYER_PREFETCHED;
  return HAL_OK;
}

HALStatus HAL_startPlayer(HALPlayer* p) {
  if (p == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  WAVEHDR adjusted = p->templateHeader;
  if (p->contentType != HAL_CONTENT_MIDI) {
    const int64_t seconds = static_cast<int64_t>(static_cast<double>(p->startTime) * 1e-6);
    const int64_t offset = std::min<int64_t>(seconds * p->format.wfx.nAvgBytesPerSec, adjusted.dwBufferLength);
    adjusted.lpData += offset;
    adjusted.dwBufferLength -= static_cast<uint32_t>(offset);
  }
  const int64_t startTime = p->startTime;
  const HALStatus reset = HAL_resetPlayer(p);
  if (reset != HAL_OK) return reset;
  p->header = adjusted;
  p->startTime = startTime;
  const HALStatus prefetched = HAL_prefetchPlayer(p);
  if (prefetched != HAL_OK) return prefetched;
  // Playing before the device runs, so that the end of a very short sound
  // is not overwritten by this state.
  p->state = HAL_PLAYER_PLAYING;
  if (waveOutRestart(p->device) != MMSYSERR_NOERROR) {
    p->state = HAL_PLAYER_PREFETCHED;
    return HAL_BAD_FORMAT_ERR;
  }
  notify(p, HAL_PLAYER_EVENT_STARTED);
  return HAL_OK;
}

HALStatus HAL_pausePlayer(HALPlayer* p) {
  if (p == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  if (p->state.load() == HAL_PLAYER_PLAYING && waveOutPause(p->device) != MMSYSERR_NOERROR) return HAL_BAD_FORMAT_ERR;
  p->state = HAL_PLAYER_PAUSED;
  notify(p, HAL_PLAYER_EVENT_PAUSED);
  return HAL_OK;
}

HALStatus HAL_resetPlayer(HALPlayer* p) {
  if (p == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  p->state = HAL_PLAYER_RESETTING;
  waveOutReset(p->device);
  if (waveOutUnprepareHeader(p->device, &p->header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return HAL_BAD_FORMAT_ERR;
  p->startTime = 0;
  p->state = HAL_PLAYER_OPEN;
  notify(p, HAL_PLAYER_EVENT_RESET);
  return HAL_OK;
}

HALStatus HAL_closePlayer(HALPlayer* p) {
  if (p == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  {
    // The table lock is held while the device goes away, so that a
    // pause-all on another thread never meets a half-closed player.
    std::lock_guard<std::mutex> guard(tableLock);
    const HALStatus reset = HAL_resetPlayer(p);
    if (reset != HAL_OK) return reset;
    if (waveOutClose(p->device) != MMSYSERR_NOERROR) return HAL_BAD_FORMAT_ERR;
    p->device = nullptr;
    players().remove(p);
  }
  notify(p, HAL_PLAYER_EVENT_CLOSED);
  freeRecord(p);
  return HAL_OK;
}

HALStatus HAL_getPlayerState(HALPlayer* p, int32_t* state) {
  if (p == nullptr || state == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  const int32_t s = p->state.load();
  *state = s == HAL_PLAYER_OPEN || s == HAL_PLAYER_PLAYING ? s : 1;
  return HAL_OK;
}

HALStatus HAL_getPlayerMediaTime(HALPlayer* p, int64_t* time) {
  if (p == nullptr || time == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  if (p->device == nullptr) {
    *time = p->startTime;
    return HAL_OK;
  }
  MMTIME position{};
  position.wType = TIME_BYTES;
  if (waveOutGetPosition(p->device, &position, sizeof(position)) != MMSYSERR_NOERROR) {
    *time = -1;
    return HAL_BAD_FORMAT_ERR;
  }
  if (p->contentType == HAL_CONTENT_MIDI) {
    // The time into the current pass over the sound; the end of the last
    // pass reads as the end of the sound.
    if (position.wType != TIME_MS) return HAL_NOT_IMPLEMENTED_ERR;
    int64_t ms = position.u.ms;
    if (p->midiLength > 0 && ms > 0) ms = (ms - 1) % p->midiLength + 1;
    *time = p->startTime + ms * 1000;
    return HAL_OK;
  }
  if (position.wType != TIME_BYTES) return HAL_NOT_IMPLEMENTED_ERR;
  const float elapsed = static_cast<float>(position.u.cb) / static_cast<float>(p->format.wfx.nAvgBytesPerSec) * 1e6f;
  const float played = static_cast<float>(p->duration - p->startTime);
  int64_t loops = played > 0 ? static_cast<int64_t>(elapsed / played) : 0;
  const int64_t target = p->templateHeader.dwLoops;
  if (target != 0 && loops >= target && loops % target == 0) --loops;
  *time = static_cast<int64_t>(static_cast<float>(p->startTime) + elapsed - static_cast<float>(loops) * played);
  return HAL_OK;
}

HALStatus HAL_setPlayerMediaTime(HALPlayer* p, int64_t time) {
  if (p == nullptr || time < 0 || time > p->duration) return HAL_ILLEGAL_ARGUMENT_ERR;
  p->startTime = time;
  notify(p, HAL_PLAYER_EVENT_TIME_SET);
  return HAL_OK;
}

HALStatus HAL_getPlayerDuration(HALPlayer* p, int64_t* duration) {
  if (p == nullptr || duration == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *duration = p->duration / 1000;
  return HAL_OK;
}

HALStatus HAL_getPlayerContentType(HALPlayer* p, int32_t* contentCode) {
  if (p == nullptr || contentCode == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  *contentCode = p->contentType;
  return HAL_OK;
}

HALStatus HAL_setPlayerLoopCount(HALPlayer* p, int32_t loop) {
  if (p == nullptr || loop < -1) return HAL_ILLEGAL_ARGUMENT_ERR;
  p->templateHeader.dwFlags = kLoopFlags;
  p->templateHeader.dwLoops = deviceLoops(loop);
  return HAL_OK;
}

HALStatus HAL_getPlayerVolume(HALPlayer* p, int32_t* level) {
  if (p == nullptr || level == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  uint32_t volume = 0;
  if (waveOutGetVolume(p->device, &volume) != MMSYSERR_NOERROR) {
    *level = -1;
    return HAL_BAD_FORMAT_ERR;
  }
  *level = static_cast<int32_t>(static_cast<float>(volume >> 16) * 0.0015259022f + 0.5f);
  return HAL_OK;
}

HALStatus HAL_setPlayerVolume(HALPlayer* p, int32_t level) {
  if (p == nullptr) return HAL_ILLEGAL_ARGUMENT_ERR;
  level = level < 0 ? 0 : (level > 100 ? 100 : level);
  WAVEOUTCAPS caps;
  if (waveOutGetDevCaps(reinterpret_cast<uintptr_t>(p->device), &caps, sizeof(caps)) != MMSYSERR_NOERROR ||
      (caps.dwSupport & WAVECAPS_VOLUME) == 0) {
    return HAL_NOT_IMPLEMENTED_ERR;
  }
  uint32_t value = static_cast<uint32_t>(static_cast<float>(level * 65535) * 0.01f) & 0xFFFF;
  if ((caps.dwSupport & WAVECAPS_LRVOLUME) != 0) value *= 0x10001;
  if (waveOutSetVolume(p->device, value) != MMSYSERR_NOERROR) return HAL_BAD_FORMAT_ERR;
  notify(p, HAL_PLAYER_EVENT_VOLUME);
  return HAL_OK;
}

void HAL_setPlayerListener(void* context, HALPlayerListener fn) {
  std::lock_guard<std::mutex> guard(listenerLock);
  listenerContext = context;
  listener = fn;
}

void HAL_pauseAllPlayers() {
  std::lock_guard<std::mutex> guard(tableLock);
  for (int32_t i = 0; i < players().count(); ++i) HAL_pausePlayer(static_cast<HALPlayer*>(players().get(i)));
}

int32_t HAL_countPlayers() {
  std::lock_guard<std::mutex> guard(tableLock);
  return players().count();
}

int32_t HAL_playerStateWord(HALPlayer* p) { return p == nullptr ? -1 : p->state.load(); }
