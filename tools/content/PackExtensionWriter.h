#pragma once

#include <vector>

#include "ByteWriter.h"

namespace content {

// The extension section that follows a pack index: one unsigned 16-bit
// size per resource, then the extensions' bytes back to back in index
// order. `extensions` has one entry (possibly empty) per resource of the
// pack; each is at most 65535 bytes.
Bytes writePackExtension(const std::vector<Bytes>& extensions);

}  // namespace content
