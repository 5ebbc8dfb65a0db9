#include "PackFixtures.h"

#include <unistd.h>

#include <atomic>
#include <fstream>

#include "DeviceProfile.h"

namespace pack_fixtures {

ProgramFolder::ProgramFolder() {
  static std::atomic<int> serial{0};
  root_ = std::filesystem::temp_directory_path() /
          ("jme-program-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
  std::filesystem::remove_all(root_);
  std::filesystem::create_directories(root_ / "rsc");
  DeviceProfile::instance().setProgramDirectory(root_.string());
}

ProgramFolder::~ProgramFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void ProgramFolder::put(const std::string& name, const Bytes& content) const {
  std::ofstream out(root_ / "rsc" / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
}

void ProgramFolder::remove(const std::string& name) const { std::filesystem::remove(root_ / "rsc" / name); }

void put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void put32(Bytes& out, uint32_t v) {
  put16(out, v >> 16);
  put16(out, v);
}

Bytes cat(const std::vector<Bytes>& parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes simplePack(const std::vector<Bytes>& items, const Bytes& types, uint8_t flags, bool withData) {
  Bytes out = {flags};
  put16(out, static_cast<uint32_t>(items.size()));
  uint32_t total = 0;
  for (const Bytes& item : items) {
    if (flags & 1) {
      put32(out, static_cast<uint32_t>(item.size()));
    } else {
      put16(out, static_cast<uint32_t>(item.size()));
    }
    total += static_cast<uint32_t>(item.size());
  }
  out.insert(out.end(), types.begin(), types.end());
  if (withData) {
    put32(out, total);
    for (const Bytes& item : items) out.insert(out.end(), item.begin(), item.end());
  }
  return out;
}

Bytes chunk(const std::string& id, const Bytes& body, uint32_t value) {
  Bytes out(id.begin(), id.end());
  put32(out, static_cast<uint32_t>(body.size()));
  put32(out, value);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes chunkedFile(const std::vector<Bytes>& chunks, uint16_t version) {
  Bytes out = {'%', 'R', 'P', '%'};
  put16(out, version);
  put16(out, static_cast<uint32_t>(chunks.size()));
  return cat({out, cat(chunks)});
}

Bytes fileTableBody(const std::vector<FileEntry>& entries, uint32_t headerValue) {
  Bytes out;
  put32(out, headerValue);
  put32(out, static_cast<uint32_t>(entries.size()));
  for (const FileEntry& e : entries) {
    out.push_back(static_cast<uint8_t>(e.fileType));
    out.push_back(0xEE);
    put16(out, e.part);
    put32(out, e.offset);
    put32(out, e.value);
  }
  return out;
}

Bytes splitMapBody(uint32_t total, const std::vector<uint32_t>& partSizes) {
  Bytes out;
  put32(out, total);
  put32(out, static_cast<uint32_t>(partSizes.size()));
  for (uint32_t size : partSizes) put32(out, size);
  return out;
}

namespace {

uint32_t crc32Of(const Bytes& data) {
  uint32_t c = 0xFFFFFFFFu;
  for (uint8_t byte : data) {
    c ^= byte;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

// A zlib stream of one stored (uncompressed) block; `raw` is under 64 KiB.
Bytes storedZlib(const Bytes& raw) {
  Bytes out = {0x78, 0x01, 0x01};
  const auto n = static_cast<uint16_t>(raw.size());
  out.insert(out.end(), {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(~n),
                         static_cast<uint8_t>(~n >> 8)});
  out.insert(out.end(), raw.begin(), raw.end());
  uint32_t a = 1;
  uint32_t b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  put32(out, b << 16 | a);
  return out;
}

Bytes pngChunk(const std::string& type, const Bytes& data) {
  Bytes out;
  put32(out, static_cast<uint32_t>(data.size()));
  const Bytes typed = cat({Bytes(type.begin(), type.end()), data});
  out.insert(out.end(), typed.begin(), typed.end());
  put32(out, crc32Of(typed));
  return out;
}

}  // namespace

Bytes palettePng(int width, int height, const Bytes& rgb, const Bytes& indices) {
  Bytes header;
  put32(header, static_cast<uint32_t>(width));
  put32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 3, 0, 0, 0});
  Bytes raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), indices.begin() + y * width, indices.begin() + (y + 1) * width);
  }
  return cat({{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, pngChunk("IHDR", header), pngChunk("PLTE", rgb),
              pngChunk("IDAT", storedZlib(raw)), pngChunk("IEND", {})});
}

Bytes paletteOf(const Bytes& png) {
  // Signature 8, IHDR 25, then the PLTE length and type.
  const size_t length = static_cast<size_t>(png[33]) << 24 | png[34] << 16 | png[35] << 8 | png[36];
  return Bytes(png.begin() + 41, png.begin() + 41 + static_cast<long>(length) + 4);
}

VMPtr<VMArray<int8_t>> javaBytes(const Bytes& b) {
  VMPtr<VMArray<int8_t>> a = VMArray<int8_t>::create(static_cast<int32_t>(b.size()));
  for (size_t i = 0; i < b.size(); ++i) a->at(static_cast<int32_t>(i)) = static_cast<int8_t>(b[i]);
  return a;
}

Bytes nativeBytes(const VMPtr<VMArray<int8_t>>& a) {
  if (!a) return {};
  Bytes out(static_cast<size_t>(a->length));
  for (int32_t i = 0; i < a->length; ++i) out[static_cast<size_t>(i)] = static_cast<uint8_t>(a->at(i));
  return out;
}

}  // namespace pack_fixtures
