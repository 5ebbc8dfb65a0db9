#pragma once

// Resource packs, PNGs and a program folder made by hand in the tests, so
// that every fixture says byte for byte what it holds.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "VMArray.h"

namespace pack_fixtures {

using Bytes = std::vector<uint8_t>;

// A program folder of its own for one test (removed afterwards) with an
// empty "rsc" folder; the device profile points at it while it lives, so
// the resource packs and the record stores are looked for there.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  std::filesystem::path root() const { return root_; }
  // The record stores' database folder, and one store's folder in it.
  std::filesystem::path database() const { return root_ / "database"; }
  std::filesystem::path store(const std::string& name) const { return database() / ("store-" + name); }
  // Writes rsc/<name>.
  void put(const std::string& name, const Bytes& content) const;
  void remove(const std::string& name) const;

 private:
  std::filesystem::path root_;
};

// Big-endian pieces.
void put16(Bytes& out, uint32_t v);
void put32(Bytes& out, uint32_t v);
Bytes cat(const std::vector<Bytes>& parts);

// A simple pack image: flags, count, sizes (4 bytes each when flags bit 0
// is set, else 2), types, and with `withData` the total and the data.
Bytes simplePack(const std::vector<Bytes>& items, const Bytes& types, uint8_t flags = 0x41, bool withData = true);

// A chunk record: id (four characters), length, value, body.
Bytes chunk(const std::string& id, const Bytes& body, uint32_t value = 1);
// A chunked pack's main file: marker, version, count, the chunk records.
Bytes chunkedFile(const std::vector<Bytes>& chunks, uint16_t version = 4);

struct FileEntry {
  int8_t fileType;
  uint16_t part;
  uint32_t offset;
  uint32_t value = 0;
};
Bytes fileTableBody(const std::vector<FileEntry>& entries, uint32_t headerValue = 0);
Bytes splitMapBody(uint32_t total, const std::vector<uint32_t>& partSizes);

// An 8-bit palette PNG (stored zlib blocks); `rgb` is r, g, b per entry,
// `indices` width x height entries.
Bytes palettePng(int width, int height, const Bytes& rgb, const Bytes& indices);
// The bytes a palette array holds for `png`: its PLTE data and CRC.
Bytes paletteOf(const Bytes& png);

VMPtr<VMArray<int8_t>> javaBytes(const Bytes& b);
Bytes nativeBytes(const VMPtr<VMArray<int8_t>>& a);

}  // namespace pack_fixtures
