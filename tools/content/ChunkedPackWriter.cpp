#include "ChunkedPackWriter.h"

#include "ContentError.h"

namespace content {

namespace {

void appendChunk(ByteWriter& out, const char (&id)[5], const Bytes& body) {
  out.u32(fourCharCode(id));
  out.u32(static_cast<uint32_t>(body.size()));
  out.u32(kChunkValue);
  out.bytes(body);
}

// The "FSLM" body (total, m, the m part sizes) and the m part files.
Bytes splitData(int pack, const std::vector<PackResource>& resources, int partCount, PackFiles& files) {
  Bytes all;
  for (const PackResource& r : resources) all.insert(all.end(), r.bytes.begin(), r.bytes.end());
  requireRange(partCount, all.empty() ? 0 : 1, 0xFFFF, "part count");
  ByteWriter body;
  body.u32(static_cast<uint32_t>(all.size()));
  body.u32(static_cast<uint32_t>(partCount));
  size_t start = 0;
  for (int i = 0; i < partCount; ++i) {
    const size_t size = all.size() / partCount + (static_cast<size_t>(i) < all.size() % partCount ? 1 : 0);
    body.u32(static_cast<uint32_t>(size));
    files[packFileName(pack, i + 1)] = Bytes(all.begin() + static_cast<long>(start), all.begin() + static_cast<long>(start + size));
    start += size;
  }
  return body.take();
}

// The "VFSO" body (header value 0, n, n entries of 12 bytes) and one part
// file per resource.
Bytes fileTable(int pack, const std::vector<PackResource>& resources, const std::vector<int8_t>& fileTypes,
                PackFiles& files) {
  require(fileTypes.empty() || fileTypes.size() == resources.size(), "file types",
          std::to_string(fileTypes.size()) + " given for " + std::to_string(resources.size()) + " resources");
  ByteWriter body;
  body.u32(0);
  body.u32(static_cast<uint32_t>(resources.size()));
  for (size_t i = 0; i < resources.size(); ++i) {
    const int8_t type = fileTypes.empty() ? -1 : fileTypes[i];
    body.u8(static_cast<uint8_t>(type));
    body.u8(0);
    body.u16(static_cast<uint32_t>(i));
    body.u32(0);
    body.u32(0);
    files[packFileName(pack, static_cast<int>(i), fileTypeExtension(type))] = resources[i].bytes;
  }
  return body.take();
}

}  // namespace

PackFiles writeChunkedPack(int pack, const std::vector<PackResource>& resources, const ChunkedPackLayout& layout) {
  requirePackNumber(pack);
  require(isChunkedPack(pack), "pack " + std::to_string(pack), "the engine reads this pack number as a simple pack");
  PackFiles files;
  const Bytes index = writePackIndex(resources);
  const bool split = layout.data == ChunkedPackLayout::Data::Split;
  const Bytes data = split ? splitData(pack, resources, layout.partCount, files)
                           : fileTable(pack, resources, layout.fileTypes, files);
  ByteWriter out;
  out.u32(fourCharCode("%RP%"));
  out.u16(4);
  out.u16(2);
  if (layout.indexFirst) appendChunk(out, "RPHe", index);
  if (split) {
    appendChunk(out, "FSLM", data);
  } else {
    appendChunk(out, "VFSO", data);
  }
  if (!layout.indexFirst) appendChunk(out, "RPHe", index);
  files[packFileName(pack)] = out.take();
  return files;
}

}  // namespace content
