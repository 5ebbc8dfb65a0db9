// Renders the game's music loops: each music/<name>.mid of the game
// content folder becomes music/<name>.wav (mono, 16-bit, 11025 Hz) through
// FluidSynth and a General MIDI soundfont, by default FluidR3_GM of
// Debian's fluid-soundfont-gm. The build never runs it: the WAVs it writes
// are committed.
//
//   jme_render_music <game content folder> [soundfont]

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "Music.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s <game content folder> [soundfont]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path music = std::filesystem::path(argv[1]) / "music";
  const std::filesystem::path soundfont = argc == 3 ? argv[2] : gamecontent::kDefaultSoundfont;
  try {
    for (const gamecontent::MusicPiece& piece : gamecontent::musicPieces()) {
      const std::filesystem::path source = music / (std::string(piece.name) + ".mid");
      std::ifstream in(source, std::ios::binary);
      if (!in) throw std::runtime_error(source.string() + ": cannot be opened");
      const content::Bytes bytes(std::istreambuf_iterator<char>(in), {});
      const auto song = gamecontent::parseMidi(bytes, source.filename().string());
      const content::Bytes wav = content::writeWav(gamecontent::renderLoop(song, soundfont, gamecontent::kMusicRate));
      const std::filesystem::path target = music / (std::string(piece.name) + ".wav");
      std::ofstream out(target, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
      if (!out) throw std::runtime_error(target.string() + ": cannot be written");
      std::printf("%s: %.2f s, %zu bytes\n", target.filename().c_str(), song.seconds, wav.size());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
    return 1;
  }
  return 0;
}
