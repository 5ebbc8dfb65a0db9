#include "LevelWriter.h"

#include <algorithm>
#include <limits>

#include "ContentError.h"

namespace content {

namespace {

void writeFields(BitWriter& out, const LevelFields& fields, const std::string& item) {
  for (size_t i = 0; i < fields.size(); ++i) {
    const LevelField& f = fields[i];
    const std::string field = item + ", " + itemName("field", i);
    requireRange(f.bits, 0, 32, field + ", bits");
    require(f.bits == 32 || f.value >> f.bits == 0, field,
            std::to_string(f.value) + " does not fit " + std::to_string(f.bits) + " bits");
    out.write(f.bits, f.value);
  }
}

void writeUnsigned(BitWriter& out, int bits, int value, const std::string& item) {
  requireRange(value, 0, (1LL << bits) - 1, item);
  out.write(bits, static_cast<uint32_t>(value));
}

void writeFiller(BitWriter& out, bool filler) {
  if (filler) out.write(6, 0);
}

void writeHeader(BitWriter& out, const LevelHeader& h, bool filler) {
  writeUnsigned(out, 10, h.value, "header value");
  writeFields(out, h.fields, "header");
  writeFiller(out, filler);
}

void writePalette(BitWriter& out, const LevelMap& m) {
  int widest = 0;
  for (size_t i = 0; i < m.palette.size(); ++i) {
    const std::string item = itemName("palette entry", i + 1);
    requireRange(m.palette[i], 0, 0x7FFF, item);
    require(m.columns > 0, item, "a palette needs a tile sheet of at least one column");
    const int row = (m.palette[i] - 1) / m.columns;
    require(row >= 0 && row <= 15, item, "tile row " + std::to_string(row) + " does not fit the code's 4 bits");
    widest = std::max(widest, bitLength(static_cast<uint32_t>(m.palette[i])));
  }
  out.write(4, static_cast<uint32_t>(widest));
  for (int v : m.palette) out.write(widest, static_cast<uint32_t>(v));
}

void writeMap(BitWriter& out, const LevelMap& m, bool filler) {
  writeUnsigned(out, 8, m.p8, "p8");
  writeUnsigned(out, 12, m.columns, "columns");
  requireRange(m.offset, -65536, 65535, "offset");
  out.write(17, static_cast<uint32_t>(m.offset));
  writeUnsigned(out, 10, m.p10a, "p10a");
  writeUnsigned(out, 10, m.p10b, "p10b");
  out.flag(m.extra.has_value());
  if (m.extra) writeUnsigned(out, 10, *m.extra, "extra");
  const int n = static_cast<int>(std::min<size_t>(m.palette.size(), 0x1000));
  writeUnsigned(out, 12, n, "palette size");
  writePalette(out, m);
  writeFiller(out, filler);
  writeUnsigned(out, 12, m.width, "width");
  writeUnsigned(out, 12, m.height, "height");
  require(m.cells.size() == static_cast<size_t>(m.width) * m.height, "cells",
          std::to_string(m.cells.size()) + " given for a grid of " + std::to_string(m.width) + " x " +
              std::to_string(m.height));
  const int bits = bitLength(static_cast<uint32_t>(n));
  for (size_t i = 0; i < m.cells.size(); ++i) {
    requireRange(m.cells[i], 0, n, itemName("cell", i) + " (x " + std::to_string(i % m.width) + ", y " +
                                       std::to_string(i / m.width) + ")");
    out.write(bits, static_cast<uint32_t>(m.cells[i]));
  }
}

// The running sum s of each entity of a group.
std::vector<int64_t> entitySums(const LevelEntities& c, const LevelEntityGroup& g, const std::string& item) {
  std::vector<int64_t> sums;
  for (size_t j = 0; j < g.entities.size(); ++j) {
    const LevelEntity& e = g.entities[j];
    const std::string entity = item + ", " + itemName("entity", j);
    require(c.rowLength > 0, entity, "positions need a row length of at least 1");
    requireRange(e.x, c.x0, static_cast<long long>(c.x0) + c.rowLength - 1, entity + ", x");
    requireRange(e.y, c.y0, std::numeric_limits<int32_t>::max(), entity + ", y");
    const int64_t s = static_cast<int64_t>(e.y - c.y0) * c.rowLength + (e.x - c.x0);
    require(s <= std::numeric_limits<int32_t>::max(), entity, "position past the 32-bit running sum");
    require(sums.empty() || s >= sums.back(), entity, "stands before the entity ahead of it in row-major order");
    sums.push_back(s);
  }
  return sums;
}

int deltaWidth(const LevelEntities& c, const std::vector<std::vector<int64_t>>& sums) {
  int64_t widest = 0;
  for (const auto& group : sums) {
    for (size_t j = 0; j < group.size(); ++j) widest = std::max(widest, group[j] - (j == 0 ? 0 : group[j - 1]));
  }
  const int needed = bitLength(static_cast<uint32_t>(widest));
  if (!c.deltaBits) return needed;
  requireRange(*c.deltaBits, 0, 31, "delta bits");
  require(*c.deltaBits >= needed, "delta bits", "a delta needs " + std::to_string(needed) + " bits");
  return *c.deltaBits;
}

void writeEntities(BitWriter& out, const LevelEntities& c, bool filler) {
  writeUnsigned(out, 16, c.rowLength, "row length");
  writeUnsigned(out, 10, c.x0, "x0");
  writeUnsigned(out, 10, c.y0, "y0");
  writeUnsigned(out, 10, static_cast<int>(std::min<size_t>(c.groups.size(), 1024)), "entity group count");
  std::vector<std::vector<int64_t>> sums;
  for (size_t i = 0; i < c.groups.size(); ++i) sums.push_back(entitySums(c, c.groups[i], itemName("entity group", i)));
  const int bits = deltaWidth(c, sums);
  out.write(5, static_cast<uint32_t>(bits));
  for (size_t i = 0; i < c.groups.size(); ++i) {
    const LevelEntityGroup& g = c.groups[i];
    const std::string item = itemName("entity group", i);
    writeUnsigned(out, 10, g.type, item + ", type");
    writeUnsigned(out, 12, static_cast<int>(std::min<size_t>(g.entities.size(), 0x1000)), item + ", entity count");
    for (size_t j = 0; j < sums[i].size(); ++j) {
      out.write(bits, static_cast<uint32_t>(sums[i][j] - (j == 0 ? 0 : sums[i][j - 1])));
    }
    for (size_t j = 0; j < g.entities.size(); ++j) writeFields(out, g.entities[j].fields, item + ", " + itemName("entity", j));
    writeFiller(out, filler);
  }
}

}  // namespace

int levelPaletteCode(int v, int columns) {
  const int q = (v - 1) / columns;
  const int r = (v - 1) % columns;
  return static_cast<uint16_t>(q << 12 | (r + 1));
}

Bytes writeLevel(const Level& level) {
  BitWriter out;
  out.write(8, level.filler ? 0x80 : 0);
  out.flag(level.header.has_value());
  if (level.header) writeHeader(out, *level.header, level.filler);
  out.flag(level.map.has_value());
  if (level.map) writeMap(out, *level.map, level.filler);
  out.flag(level.entities.has_value());
  if (level.entities) writeEntities(out, *level.entities, level.filler);
  return out.take();
}

}  // namespace content
