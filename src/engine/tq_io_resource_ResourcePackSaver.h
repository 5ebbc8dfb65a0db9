#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"

namespace tq::io::resource {

// Writes a simple pack image in memory, the layout ResourcePack reads
// back (all numbers big-endian):
//   flags     1 byte   0x41: bit 0 set, so every size takes 4 bytes
//                      (with bit 0 clear a reader takes 2-byte sizes)
//   count     2 bytes  n
//   sizes     n x 4    the byte size of each resource
//   types     n        one type byte per resource
//   total     4        the sum of the sizes
//   data      total    the resources back to back in index order
// The header is 5n + 7 bytes.
class ResourcePackSaver : public virtual java::lang::Object {
  VM_CLASS(ResourcePackSaver, java::lang::Object)

 public:
  using Bytes = VMArray<int8_t>;

  // The image of `data` with one type byte each; IllegalArgumentException
  // when `types` does not hold exactly data.length bytes or the image would
  // not fit an array.
  static VMPtr<Bytes> build(VMPtr<VMArray<int8_t, 2>> data, VMPtr<Bytes> types);
};

}  // namespace tq::io::resource
