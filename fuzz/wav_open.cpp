// Fuzz target: the WAV opener of the audio players over arbitrary bytes.
// The file is parsed, and what parses is opened, started and mixed for a
// few frames on the hand-pumped output, so every sample the mixer reads is
// inside the input. A crash, a read outside the input, a data range past
// the end or a player left open is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "CeAudioOutput.h"
#include "HALPlayer.h"
#include "HALWaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool pumped = CeAudioOutput::select(CeAudioOutput::Kind::pumped, 8000);
  (void)pumped;
  if (size > (1u << 20)) return 0;
  const auto length = static_cast<int32_t>(size);
  HALWaveInfo info{};
  if (HAL_parseWave(data, length, &info) == HAL_OK) {
    if (info.dataOffset < 0 || info.dataLength <= 0 || int64_t{info.dataOffset} + info.dataLength > length) abort();
  }
  HALPlayer* player = nullptr;
  if (HAL_createPlayerWithData(&player, data, length, HAL_CONTENT_WAV, 1) == HAL_OK) {
    int16_t out[2 * 300];
    if (HAL_startPlayer(player) != HAL_OK) abort();
    CeAudioOutput::pump(out, 300);
    int64_t time = 0;
    HAL_getPlayerMediaTime(player, &time);
    HAL_setPlayerMediaTime(player, time);
    HAL_startPlayer(player);
    CeAudioOutput::pump(out, 300);
    if (HAL_closePlayer(player) != HAL_OK) abort();
  }
  if (HAL_countPlayers() != 0) abort();
  return 0;
}
