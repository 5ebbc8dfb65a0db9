#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "PackFiles.h"
#include "SimplePackWriter.h"

namespace content {

// How a chunked pack keeps its resources' bytes.
struct ChunkedPackLayout {
  enum class Data {
    Split,      // an "FSLM" split map: the data array spread over part files 1..partCount
    FileTable,  // a "VFSO" file table: resource i alone in part file i, at offset 0
  };
  Data data = Data::Split;
  int partCount = 1;
  // FileTable: each resource's file type, which names its part file's
  // extension (1 "wav", -3 "png"); empty means -1 ("rp") for every one.
  std::vector<int8_t> fileTypes;
  // Chunk order: the "RPHe" index before the data chunk, or after it.
  bool indexFirst = true;

  static ChunkedPackLayout split(int partCount, bool indexFirst = true) {
    return {Data::Split, partCount, {}, indexFirst};
  }
  static ChunkedPackLayout fileTable(std::vector<int8_t> fileTypes, bool indexFirst = true) {
    return {Data::FileTable, 0, std::move(fileTypes), indexFirst};
  }
};

// The value word every chunk record carries; the reader keeps it unread.
inline constexpr uint32_t kChunkValue = 1;

// Pack `pack` as a "%RP%" version 4 file with an "RPHe" chunk (the pack
// index, without total and data) and the data chunk of `layout`, plus its
// part files, all under their resource-folder names. Refuses a pack number
// the engine reads as a simple pack.
PackFiles writeChunkedPack(int pack, const std::vector<PackResource>& resources, const ChunkedPackLayout& layout);

}  // namespace content
