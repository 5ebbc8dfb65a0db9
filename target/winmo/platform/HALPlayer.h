#pragma once

#include <cstdint>

#include "HALStatus.h"

// The platform's audio players. A HALPlayer owns one open wave-out device
// and one header over the whole sound (WAV samples, or MIDI records made
// from a single-track MIDI file), with its loop count.
//
// Ownership: a record is made by HAL_createPlayerWithData or
// HAL_createPlayerWithLocator, which copy (or read) the sound into a
// buffer the record owns, and lives until HAL_closePlayer frees the
// device, the buffer and the record. Open records are kept in the player
// table, in order of opening, so that HAL_pauseAllPlayers reaches them.
//
// Threads: the operations run on threads that hold the global VM lock.
// The device's done callback runs on the audio thread and only changes the
// state word of a playing record (an atomic); the device is closed, so the
// callback can no longer run, before the record is freed.
//
// Every operation returns HAL_ILLEGAL_ARGUMENT_ERR for a null record. A
// `loop` is the number of repetitions after the first play, -1 endless.
struct HALPlayer;

// Content codes.
constexpr int32_t HAL_CONTENT_NONE = 1;  // no type given: WAV
constexpr int32_t HAL_CONTENT_WAV = 2;
constexpr int32_t HAL_CONTENT_MIDI = 6;

// Locator kinds.
constexpr int32_t HAL_LOCATOR_FILE = 4;
constexpr int32_t HAL_LOCATOR_RESOURCE = 5;

// Native player states.
constexpr int32_t HAL_PLAYER_OPEN = 0;
constexpr int32_t HAL_PLAYER_PREFETCHED = 1;
constexpr int32_t HAL_PLAYER_PLAYING = 2;
constexpr int32_t HAL_PLAYER_PAUSED = 3;
constexpr int32_t HAL_PLAYER_ENDED = 4;
constexpr int32_t HAL_PLAYER_RESETTING = 5;

// Events of the notification hook.
constexpr int32_t HAL_PLAYER_EVENT_STARTED = 0;
constexpr int32_t HAL_PLAYER_EVENT_PAUSED = 1;
constexpr int32_t HAL_PLAYER_EVENT_END = 2;
constexpr int32_t HAL_PLAYER_EVENT_RESET = 4;
constexpr int32_t HAL_PLAYER_EVENT_VOLUME = 5;
constexpr int32_t HAL_PLAYER_EVENT_CLOSED = 6;
constexpr int32_t HAL_PLAYER_EVENT_TIME_SET = 7;

// Opens a player over `length` bytes (copied). Content codes 1 and 2 open
// WAV data, 6 MIDI, others HAL_NOT_IMPLEMENTED_ERR. Unplayable WAV data or
// a device that refuses the format: HAL_BAD_FORMAT_ERR; a MIDI file with
// several tracks or an SMPTE division: HAL_NOT_IMPLEMENTED_ERR (see
// HALMidiFile.h); no memory: HAL_OUT_OF_MEMORY_ERR. The global lock is
// given up (all levels) while the device opens (a MIDI device loads its
// soundfont); the bytes are no longer read by then.
HALStatus HAL_createPlayerWithData(HALPlayer** player, const uint8_t* bytes, int32_t length, int32_t contentCode,
                                   int32_t loop);
// Opens a WAV player over a file (kind 4: the UTF-16 name without its first
// two characters, the "//" after "file:") or a resource (kind 5: the name
// without leading '/'), read whole. Content codes other than 1 and 2:
// HAL_NOT_IMPLEMENTED_ERR; other kinds: HAL_ILLEGAL_ARGUMENT_ERR; no such
// file or resource: HAL_NOT_FOUND_ERR; an empty file or a failed read:
// HAL_IO_ERR. The global lock is given up (all levels) while the file is read.
HALStatus HAL_createPlayerWithLocator(HALPlayer** player, int32_t kind, const char16_t* name, int32_t nameLength,
                                      int32_t contentCode, int32_t loop);

HALStatus HAL_prefetchPlayer(HALPlayer* player);
// Starts from the media time last set (0 unless set), also after a pause.
HALStatus HAL_startPlayer(HALPlayer* player);
HALStatus HAL_pausePlayer(HALPlayer* player);
HALStatus HAL_resetPlayer(HALPlayer* player);
// Resets, closes the device and frees the record.
HALStatus HAL_closePlayer(HALPlayer* player);
// 0 open, 2 playing, 1 any other state.
HALStatus HAL_getPlayerState(HALPlayer* player, int32_t* state);
// Microseconds.
HALStatus HAL_getPlayerMediaTime(HALPlayer* player, int64_t* time);
// Microseconds; negative or past the duration: HAL_ILLEGAL_ARGUMENT_ERR.
HALStatus HAL_setPlayerMediaTime(HALPlayer* player, int64_t time);
// Milliseconds (0 for MIDI).
HALStatus HAL_getPlayerDuration(HALPlayer* player, int64_t* duration);
HALStatus HAL_getPlayerContentType(HALPlayer* player, int32_t* contentCode);
// Takes effect at the next start; loop < -1: HAL_ILLEGAL_ARGUMENT_ERR.
HALStatus HAL_setPlayerLoopCount(HALPlayer* player, int32_t loop);
// 0..100, as the right channel of the device reads.
HALStatus HAL_getPlayerVolume(HALPlayer* player, int32_t* level);
// Clamped into 0..100; a device without volume control: HAL_NOT_IMPLEMENTED_ERR.
HALStatus HAL_setPlayerVolume(HALPlayer* player, int32_t level);

// The notification hook: every operation reports its event here with the
// current media time. Nothing in the system installs one; tests do.
using HALPlayerListener = void (*)(void* context, HALPlayer* player, int32_t event, int32_t timeLow,
                                   int32_t timeHigh, intptr_t argument);
void HAL_setPlayerListener(void* context, HALPlayerListener listener);

// Pauses every open player, in the order they were opened (the shell calls
// this when the application becomes inactive).
void HAL_pauseAllPlayers();
// The number of open players.
int32_t HAL_countPlayers();
// The native state word (0..5), for tests.
int32_t HAL_playerStateWord(HALPlayer* player);
