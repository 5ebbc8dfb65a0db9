// Builds the game's generated resources from the sources in the game
// content folder and writes each into the output folder as a file named
// after its resource id (see README.md): the translation tables, the glyph
// sets and their sheets, the processed art.

#include <cstdio>
#include <exception>
#include <filesystem>

#include "ContentError.h"
#include "GameContent.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <game content folder> <output folder>\n", argv[0]);
    return 2;
  }
  try {
    const auto files = gamecontent::generateAll(argv[1]);
    gamecontent::writeFiles(argv[2], files);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
    return 1;
  }
  return 0;
}
