#pragma once

#include <cstdint>

#include "java_lang_Throwable.h"
#include "tq_io_resource_Chunk.h"
#include "tq_io_resource_ChunkVirtualFileSystemOrganization.h"
#include "tq_io_resource_ResourcePackExtension.h"

namespace tq::io::resource {

// The pack class of the program: simple packs as its base reads them, and
// chunked packs for pack numbers 1, 3 to 9, 11 to 15, 18 and 19 (bit p - 1
// of 0x67DFD). A chunked pack's main file is, big-endian:
//   marker       4   "%RP%"
//   version      2   4
//   chunk count  2
//   chunks           records of Chunk, in any order
// "RPHe" holds the index (no total, no data). With a "VFSO" file table each
// resource is read from its part file at an offset, the file named after
// the entry's part and file type; an image that starts its part file is
// decoded straight from it. Otherwise "FSLM" splits the data array over
// part files 1 to m: its body is the total, m and the m part sizes, which
// must add up to the total (and the index sizes must fit in it).
//
// A failed open prints the cause, leaves the pack without tables and
// throws a RuntimeException, which ensurePack drops.
class ResourcePackChunked : public ResourcePackExtension {
  VM_CLASS(ResourcePackChunked, ResourcePackExtension)

 public:
  VMPtr<ResourcePackChunked> _VM_init();

  VMPtr<Image> getImage(int32_t id, VMPtr<Bytes> palette) override;
  VMPtr<String> getResourceFileName(int32_t id) override;
  void readResourceFile(int32_t index, VMPtr<Bytes> dest) override;
  // A chunked pack loads its index here and returns null.
  VMPtr<Stream> openPack(int32_t pack) override;
  // Also forgets the file table, which belongs to the tables dropped.
  void onUnload() override;

  // The first chunk of `id`; IOException "Missing RP chunk '...'".
  virtual VMPtr<Chunk> getChunk(int32_t id);

  // The first chunk of `id`, or null.
  VMPtr<Chunk> findChunk(int32_t id);
  uint8_t hasChunk(int32_t id);
  // True for the pack numbers kept in chunked files.
  static bool isChunked(int32_t pack);

  void _VM_markReferences(int colour) override;

  VMField<VMArray<Chunk>> chunks;
  VMField<ChunkVirtualFileSystemOrganization> fileTable;

 private:
  // Closes `s`, drops the tables, prints the cause and throws it on as a
  // RuntimeException with its text.
  [[noreturn]] void failOpen(const VMPtr<java::lang::Throwable>& cause, const VMPtr<Stream>& s);
  // Reads the main file `s` and the part files; throws on any fault.
  void readChunked(int32_t pack, const VMPtr<Stream>& s);
  void readSplitData(int32_t pack, const VMPtr<Chunk>& splitMap);
};

}  // namespace tq::io::resource
