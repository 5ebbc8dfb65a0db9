#pragma once

#include <cstdint>
#include <vector>

#include "ByteWriter.h"
#include "PackFiles.h"

namespace content {

// One resource of a pack: its type byte (1 for sounds) and its bytes.
struct PackResource {
  int8_t type = 0;
  Bytes bytes;
  bool operator==(const PackResource&) const = default;
};

// At most 1024 resources: a resource id addresses index 0..1023 only.
inline constexpr size_t kMaxPackResources = 1024;

// The pack index: flags, count, sizes and types. Flags 0x41 with 4-byte
// sizes (what the engine's pack saver writes), 0x40 with 2-byte sizes,
// which the reader also takes (each size then at most 65535).
Bytes writePackIndex(const std::vector<PackResource>& resources, bool twoByteSizes = false);

// The simple pack image: the index, the total size and the resources'
// bytes in index order. With 4-byte sizes it is byte for byte what the
// engine's pack saver builds from the same arrays and types (a header of
// 5n + 7 bytes, then the data).
Bytes writeSimplePack(const std::vector<PackResource>& resources, bool twoByteSizes = false);

// The simple pack as pack `pack`'s main file ("RP2.rp"); refuses a pack
// number the engine reads as a chunked file.
PackFiles simplePackFiles(int pack, const std::vector<PackResource>& resources);

}  // namespace content
