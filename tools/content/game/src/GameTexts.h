#pragma once

// The game's translation tables from their UTF-8 sources (texts/<lang>.txt).
//
// A source has one line per text id, 0 to kTextCount - 1 in order: the id,
// then a space and the text, or the id alone for a text the game never
// shows. In a text "\n" is a line break and "\\" a backslash; lines that
// start with '#' are comments. Anything else (an id out of order, a missing
// or repeated id, bad UTF-8, a character outside the Basic Multilingual
// Plane, an unknown escape) is a ContentError naming "<file>:<line>".

#include <filesystem>
#include <istream>
#include <string>
#include <vector>

#include "ByteWriter.h"

namespace gamecontent {

// The game's text ids run from 0 to 72.
inline constexpr int kTextCount = 73;

// The ids whose texts the game shows (menus, boards, the play scene's
// menus and tally): each must be non-empty in every table.
const std::vector<int>& usedTextIds();

// One table as a language shows it: its resource id, the source file and
// the texts by id.
struct TextTable {
  int resourceId = 0;
  std::string source;  // file name under texts/
  std::vector<std::u16string> texts;
};

// The five tables: 0x5000 German, 0x5001 English (the default), 0x5002
// French, 0x5003 Spanish, 0x5004 Italian, with their source file names.
struct TableSource {
  int resourceId;
  const char* file;
};
const std::vector<TableSource>& tableSources();

// Reads one source; `name` names it in messages.
std::vector<std::u16string> parseTexts(std::istream& in, const std::string& name);
// Reads texts/<file> under `folder` (tools/content/game).
std::vector<std::u16string> readTexts(const std::filesystem::path& file);
// All five tables, read from `folder`/texts.
std::vector<TextTable> readTables(const std::filesystem::path& folder);
// The translation table resource of a table's texts.
content::Bytes tableResource(const TextTable& table);

// UTF-8 to UTF-16 for one line; `item` names it in messages.
std::u16string decodeUtf8(const std::string& bytes, const std::string& item);

}  // namespace gamecontent
