#!/usr/bin/env python3
"""Writes the game's six music loops as Standard MIDI Files (format 1).

The .mid files beside this script are the music's sources; this script is
how they were written, kept so that a change to a tune is a change here.
Each loop is four bars of 4/4 whose last event ends exactly on the loop
point; jme_render_music turns them into the WAV loops the game plays.

Notation: a part is a string of "NOTE:EIGHTHS" words ("E5:2" is E in
octave 5 for a quarter note, "r:1" an eighth of rest); a drum bar is three
strings of 8 steps (x = hit) for kick, snare and hat.
"""
import struct
from pathlib import Path

TICKS = 480          # per quarter note
EIGHTH = TICKS // 2
NAMES = {"C": 0, "C#": 1, "Db": 1, "D": 2, "D#": 3, "Eb": 3, "E": 4, "F": 5, "F#": 6,
         "Gb": 6, "G": 7, "G#": 8, "Ab": 8, "A": 9, "A#": 10, "Bb": 10, "B": 11}


def pitch(name):
    note, octave = name[:-1], int(name[-1])
    return 12 * (octave + 1) + NAMES[note]


def var(n):
    out = bytearray([n & 0x7F])
    n >>= 7
    while n:
        out.insert(0, 0x80 | (n & 0x7F))
        n >>= 7
    return bytes(out)


def track(events, end):
    """events: (tick, bytes); the track ends with End of Track at `end`."""
    data, now = bytearray(), 0
    # Note-offs sort before note-ons at the same tick.
    for tick, msg in sorted(events, key=lambda e: (e[0], e[1][0] & 0xF0 != 0x80)):
        data += var(tick - now) + msg
        now = tick
    data += var(end - now) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + bytes(data)


def part(channel, program, volume, text, velocity=96):
    events = [(0, bytes([0xC0 | channel, program])), (0, bytes([0xB0 | channel, 7, volume]))]
    tick = 0
    for word in text.split():
        name, eighths = word.split(":")
        length = int(eighths) * EIGHTH
        if name != "r":
            for n in name.split("+"):  # chords: "C4+E4+G4"
                events.append((tick, bytes([0x90 | channel, pitch(n), velocity])))
                events.append((tick + length - 10, bytes([0x80 | channel, pitch(n), 0])))
        tick += length
    return events, tick


def drums(bars, volume=100):
    events = [(0, bytes([0xB9, 7, volume]))]
    for b, (kick, snare, hat) in enumerate(bars):
        for step in range(8):
            tick = b * 4 * TICKS + step * EIGHTH
            for row, note, vel in ((kick, 36, 110), (snare, 38, 96), (hat, 42, 64)):
                if row[step] == "x":
                    events.append((tick, bytes([0x99, note, vel])))
                    events.append((tick + 60, bytes([0x89, note, 0])))
    return events, len(bars) * 4 * TICKS


def song(path, bpm, parts):
    end = 16 * TICKS  # four bars of 4/4
    tempo = (0, b"\xff\x51\x03" + (60_000_000 // bpm).to_bytes(3, "big"))
    meter = (0, b"\xff\x58\x04\x04\x02\x18\x08")
    tracks = [track([tempo, meter], end)]
    for events, length in parts:
        assert length == end, f"{path.name}: a part lasts {length} ticks, not {end}"
        tracks.append(track(events, end))
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), TICKS)
    path.write_bytes(header + b"".join(tracks))


BEAT = ("x...x...", "..x...x.", "x.x.x.x.")
FILL = ("x...x.x.", "..x..xxx", "x.x.x.x.")
SOFT = ("x.......", "....x...", "..x...x.")

here = Path(__file__).resolve().parent

# Menu: C major, I-vi-IV-V, vibraphone over strings.
song(here / "menu.mid", 110, [
    part(0, 11, 110, "E5:2 G5:1 E5:1 D5:2 C5:2  C5:2 E5:1 C5:1 A4:4  "
                     "A4:2 C5:1 F5:1 E5:2 D5:2  D5:2 B4:1 G4:1 D5:3 r:1"),
    part(1, 48, 70, "C4+E4+G4:8 A3+C4+E4:8 F3+A3+C4:8 G3+B3+D4:8", 70),
    part(2, 32, 100, "C3:3 C3:1 G2:4 A2:3 A2:1 E2:4 F2:3 F2:1 C3:4 G2:3 G2:1 D3:4"),
    drums([SOFT, SOFT, SOFT, SOFT], 80),
])

# Green fields: G major, brisk flute and picked bass.
song(here / "fields.mid", 132, [
    part(0, 73, 110, "G5:1 A5:1 B5:2 D6:2 B5:2  A5:1 F#5:1 D5:2 A5:4  "
                     "B5:1 A5:1 G5:2 E5:2 G5:2  E5:2 G5:1 A5:1 G5:4"),
    part(1, 24, 75, "G3+B3+D4:2 r:2 G3+B3+D4:2 r:2 D3+F#3+A3:2 r:2 D3+F#3+A3:2 r:2 "
                    "E3+G3+B3:2 r:2 E3+G3+B3:2 r:2 C3+E3+G3:2 r:2 C3+E3+G3:2 r:2", 80),
    part(2, 34, 100, "G2:2 D3:2 G2:2 D3:2 D2:2 A2:2 D2:2 A2:2 E2:2 B2:2 E2:2 B2:2 C2:2 G2:2 C3:2 G2:2"),
    drums([BEAT, BEAT, BEAT, FILL]),
])

# Sand dunes: D minor with a raised seventh, oboe over hand drums.
song(here / "dunes.mid", 116, [
    part(0, 68, 110, "D5:2 E5:1 F5:1 E5:2 D5:2  C#5:2 D5:1 E5:1 A4:4  "
                     "Bb4:2 D5:1 G5:1 F5:2 E5:2  E5:2 C#5:2 D5:4"),
    part(1, 49, 65, "D3+F3+A3:8 D3+F3+A3:8 G3+Bb3+D4:8 A3+C#4+E4:8", 70),
    part(2, 35, 100, "D2:3 D2:1 A2:2 D2:2 D2:3 D2:1 A2:2 F2:2 G2:3 G2:1 D3:2 G2:2 A2:3 A2:1 E2:2 A2:2"),
    drums([("x..x..x.", "....x...", "........")] * 4, 90),
])

# Deep caves: A minor, slow kalimba echoes over a warm pad.
song(here / "caves.mid", 96, [
    part(0, 108, 115, "A4:1 E5:1 C5:1 E5:1 A4:1 E5:1 C5:2  F4:1 C5:1 A4:1 C5:1 F4:1 C5:1 A4:2  "
                      "D4:1 A4:1 F4:1 A4:1 D4:1 A4:1 F4:2  E4:1 B4:1 G#4:1 B4:1 E4:1 B4:1 G#4:2"),
    part(1, 89, 80, "A3+C4+E4:8 F3+A3+C4:8 D3+F3+A3:8 E3+G#3+B3:8", 70),
    part(2, 33, 100, "A1:8 F1:8 D2:8 E2:8"),
    drums([("x.......", "........", "....x...")] * 4, 70),
])

# High mountains: E minor, driving brass and synth bass.
song(here / "mountains.mid", 140, [
    part(0, 61, 105, "E5:2 E5:1 G5:1 B5:2 A5:1 G5:1  E5:2 E5:1 G5:1 A5:4  "
                     "B5:2 B5:1 A5:1 G5:2 F#5:1 E5:1  F#5:2 D5:2 E5:4"),
    part(1, 29, 60, "E3+G3+B3:1 r:1 E3+G3+B3:1 r:5 C3+E3+G3:1 r:1 C3+E3+G3:1 r:5 "
                    "G3+B3+D4:1 r:1 G3+B3+D4:1 r:5 D3+F#3+A3:1 r:1 D3+F#3+A3:1 r:5", 80),
    part(2, 38, 105, "E2:1 E2:1 E3:1 E2:1 E2:1 E2:1 E3:1 E2:1 C2:1 C2:1 C3:1 C2:1 C2:1 C2:1 C3:1 C2:1 "
                     "G2:1 G2:1 G3:1 G2:1 G2:1 G2:1 G3:1 G2:1 D2:1 D2:1 D3:1 D2:1 D2:1 D2:1 D3:1 D2:1"),
    drums([BEAT, BEAT, BEAT, FILL], 110),
])

# Moonlit beach: F major, calm electric piano and nylon guitar.
song(here / "beach.mid", 92, [
    part(0, 4, 110, "A5:3 G5:1 F5:2 C5:2  D5:3 E5:1 F5:4  Bb4:2 D5:2 G5:2 F5:2  E5:2 G5:2 C5:4"),
    part(1, 24, 80, "F3:1 A3:1 C4:1 A3:1 F3:1 A3:1 C4:1 A3:1 D3:1 F3:1 A3:1 F3:1 D3:1 F3:1 A3:1 F3:1 "
                    "Bb2:1 D3:1 F3:1 D3:1 Bb2:1 D3:1 F3:1 D3:1 C3:1 E3:1 G3:1 E3:1 C3:1 E3:1 G3:1 E3:1", 80),
    part(2, 32, 95, "F2:6 C2:2 D2:6 A1:2 Bb1:6 F2:2 C2:6 G2:2"),
    drums([SOFT] * 4, 70),
])
