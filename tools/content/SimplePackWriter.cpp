#include "SimplePackWriter.h"

#include <limits>

#include "ContentError.h"

namespace content {

namespace {

// The sum of the sizes, which the reader keeps as a signed 32-bit total.
uint32_t totalSize(const std::vector<PackResource>& resources, bool twoByteSizes) {
  require(resources.size() <= kMaxPackResources, "resource count",
          std::to_string(resources.size()) + " is more than the 1024 an id can address");
  const uint64_t limit = twoByteSizes ? 0xFFFF : std::numeric_limits<int32_t>::max();
  uint64_t total = 0;
  for (size_t i = 0; i < resources.size(); ++i) {
    const uint64_t size = resources[i].bytes.size();
    require(size <= limit, itemName("resource", i), std::to_string(size) + " bytes do not fit its size field");
    total += size;
  }
  require(total <= std::numeric_limits<int32_t>::max(), "pack", "total size past the signed 32-bit total");
  return static_cast<uint32_t>(total);
}

void appendIndex(ByteWriter& out, const std::vector<PackResource>& resources, bool twoByteSizes) {
  out.u8(twoByteSizes ? 0x40 : 0x41);
  out.u16(static_cast<uint32_t>(resources.size()));
  for (const PackResource& r : resources) {
    if (twoByteSizes) {
      out.u16(static_cast<uint32_t>(r.bytes.size()));
    } else {
      out.u32(static_cast<uint32_t>(r.bytes.size()));
    }
  }
  for (const PackResource& r : resources) out.u8(static_cast<uint8_t>(r.type));
}

}  // namespace

Bytes writePackIndex(const std::vector<PackResource>& resources, bool twoByteSizes) {
  totalSize(resources, twoByteSizes);
  ByteWriter out;
  appendIndex(out, resources, twoByteSizes);
  return out.take();
}

Bytes writeSimplePack(const std::vector<PackResource>& resources, bool twoByteSizes) {
  const uint32_t total = totalSize(resources, twoByteSizes);
  ByteWriter out;
  appendIndex(out, resources, twoByteSizes);
  out.u32(total);
  for (const PackResource& r : resources) out.bytes(r.bytes);
  return out.take();
}

PackFiles simplePackFiles(int pack, const std::vector<PackResource>& resources) {
  requirePackNumber(pack);
  require(!isChunkedPack(pack), "pack " + std::to_string(pack), "the engine reads this pack number as a chunked file");
  return {{packFileName(pack), writeSimplePack(resources)}};
}

}  // namespace content
