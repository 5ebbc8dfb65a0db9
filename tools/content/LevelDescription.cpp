#include "Descriptions.h"

#include "ContentError.h"

namespace content {

namespace {

constexpr long long kIntMin = -2147483647LL - 1, kIntMax = 2147483647LL;

int num(const DescriptionFile& file, const DescriptionFile::Line& line, size_t i, const char* what) {
  return static_cast<int>(file.number(line, i, kIntMin, kIntMax, what));
}

// The words from `first` on as the game's fields, each "<bits>:<value>".
LevelFields fieldsOf(const DescriptionFile& file, const DescriptionFile::Line& line, size_t first) {
  LevelFields fields;
  for (size_t i = first; i < line.words.size(); ++i) {
    const std::string& w = line.words[i];
    const size_t colon = w.find(':');
    std::optional<long long> bits = parseNumber(w.substr(0, colon));
    std::optional<long long> value = colon == std::string::npos ? std::nullopt : parseNumber(w.substr(colon + 1));
    if (!bits || !value || *bits < 0 || *bits > 32 || *value < 0 || *value > 0xFFFFFFFFLL) {
      file.fail(line, "field \"" + w + "\" is not <bits 0..32>:<unsigned value>");
    }
    fields.push_back({static_cast<int>(*bits), static_cast<uint32_t>(*value)});
  }
  return fields;
}

}  // namespace

Level readLevelDescription(const DescriptionFile& file) {
  Level level;
  size_t rows = 0;
  for (const DescriptionFile::Line& line : file.lines()) {
    const std::string& k = line.keyword;
    file.requireOptions(line, k == "map" ? std::vector<std::string>{"extra"}
                              : k == "entities" ? std::vector<std::string>{"delta-bits"}
                                                : std::vector<std::string>{});
    auto needMap = [&] {
      if (!level.map) file.fail(line, k + " comes before the map line");
      return &*level.map;
    };
    if (k == "filler") {
      file.requireWords(line, 1);
      if (line.words[0] != "on" && line.words[0] != "off") file.fail(line, "filler is on or off");
      level.filler = line.words[0] == "on";
    } else if (k == "header") {
      if (line.words.empty()) file.requireWords(line, 1);
      level.header = LevelHeader{num(file, line, 0, "value"), fieldsOf(file, line, 1)};
    } else if (k == "map") {
      file.requireWords(line, 5);
      LevelMap map;
      map.p8 = num(file, line, 0, "p8"), map.columns = num(file, line, 1, "columns");
      map.offset = num(file, line, 2, "offset"), map.p10a = num(file, line, 3, "p10a");
      map.p10b = num(file, line, 4, "p10b");
      if (line.options.count("extra")) map.extra = static_cast<int>(file.option(line, "extra", kIntMin, kIntMax, 0));
      level.map = map;
    } else if (k == "palette") {
      LevelMap* map = needMap();
      for (size_t i = 0; i < line.words.size(); ++i) map->palette.push_back(num(file, line, i, "palette value"));
    } else if (k == "size") {
      file.requireWords(line, 2);
      LevelMap* map = needMap();
      map->width = num(file, line, 0, "width"), map->height = num(file, line, 1, "height");
    } else if (k == "row") {
      LevelMap* map = needMap();
      if (line.words.size() != static_cast<size_t>(map->width)) {
        file.fail(line, "a row holds " + std::to_string(map->width) + " cells, not " + std::to_string(line.words.size()));
      }
      for (size_t i = 0; i < line.words.size(); ++i) map->cells.push_back(num(file, line, i, "cell"));
      ++rows;
    } else if (k == "entities") {
      file.requireWords(line, 3);
      LevelEntities e;
      e.rowLength = num(file, line, 0, "row length"), e.x0 = num(file, line, 1, "x0"), e.y0 = num(file, line, 2, "y0");
      if (line.options.count("delta-bits")) e.deltaBits = static_cast<int>(file.option(line, "delta-bits", 0, 31, 0));
      level.entities = e;
    } else if (k == "group" || k == "entity") {
      if (!level.entities) file.fail(line, k + " comes before the entities line");
      auto& groups = level.entities->groups;
      if (k == "group") {
        file.requireWords(line, 1);
        groups.push_back({num(file, line, 0, "type"), {}});
      } else {
        if (groups.empty()) file.fail(line, "entity comes before any group");
        if (line.words.size() < 2) file.requireWords(line, 2);
        groups.back().entities.push_back({num(file, line, 0, "x"), num(file, line, 1, "y"), fieldsOf(file, line, 2)});
      }
    } else {
      file.fail(line, "unknown statement \"" + k + "\"");
    }
  }
  if (level.map && rows != static_cast<size_t>(level.map->height)) {
    throw ContentError(file.name(), "the map has " + std::to_string(rows) + " rows, not its height " +
                                        std::to_string(level.map->height));
  }
  return level;
}

}  // namespace content
