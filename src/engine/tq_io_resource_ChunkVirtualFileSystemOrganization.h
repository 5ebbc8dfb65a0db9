#pragma once

#include <cstdint>

#include "tq_io_resource_Chunk.h"
#include "tq_util_IntHashtable.h"

namespace tq::io::resource {

// The "VFSO" chunk: where each resource of a pack lies when every
// resource is read from a part file of its own. Its body, big-endian:
//   header value  4
//   n             4         entries, one per resource index
//   entries       n x 12    file type (signed byte; its extension from the
//                           file-type table), a byte that is skipped, part
//                           (unsigned 16-bit), offset in the part file (4),
//                           a value (4) kept but not used
// Lookups take the index part of an id (id & 0x3FF).
class ChunkVirtualFileSystemOrganization : public Chunk {
  VM_CLASS(ChunkVirtualFileSystemOrganization, Chunk)

 public:
  // Reads the record after its id; IOException when n is negative or
  // larger than the body holds.
  VMPtr<ChunkVirtualFileSystemOrganization> _VM_init(VMPtr<java::io::DataInputStream> in);

  virtual int32_t getPart(int32_t id);
  virtual int32_t getHeaderValue();
  // The extension of the entry's file type; "rp" for a type the table
  // does not know.
  virtual VMPtr<java::lang::String> getExtension(int32_t id);
  virtual int32_t getEntryCount();
  virtual int32_t getFileType(int32_t id);
  virtual int32_t getEntryValue(int32_t id);
  virtual int32_t getFileOffset(int32_t id);

  // The file-type table (type code to extension), built on first use.
  static VMPtr<tq::util::IntHashtable> getFileTypes();

  void _VM_markReferences(int colour) override;

  int32_t entryCount;
  int32_t headerValue;
  VMField<VMArray<int32_t>> entries;  // per entry: file type, part, offset, value

  static VMStatic<tq::util::IntHashtable> fileTypes;

 private:
  int32_t field(int32_t id, int32_t which);
};

}  // namespace tq::io::resource
