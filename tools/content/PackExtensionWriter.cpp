#include "PackExtensionWriter.h"

#include "ContentError.h"
#include "SimplePackWriter.h"

namespace content {

Bytes writePackExtension(const std::vector<Bytes>& extensions) {
  require(extensions.size() <= kMaxPackResources, "extension count",
          std::to_string(extensions.size()) + " is more than the 1024 resources of a pack");
  ByteWriter out;
  for (size_t i = 0; i < extensions.size(); ++i) {
    requireRange(static_cast<long long>(extensions[i].size()), 0, 0xFFFF, itemName("extension", i) + ", size");
    out.u16(static_cast<uint32_t>(extensions[i].size()));
  }
  for (const Bytes& e : extensions) out.bytes(e);
  return out.take();
}

}  // namespace content
