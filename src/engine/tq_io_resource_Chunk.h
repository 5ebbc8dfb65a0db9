#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_io_ByteArrayOutputStream.h"
#include "java_io_DataInputStream.h"
#include "java_io_DataOutputStream.h"
#include "java_lang_String.h"

namespace tq::io::resource {

// One tagged chunk of a chunked pack file. A chunk record is, big-endian:
//   id      4   four ASCII characters as an int ("RPHe", "VFSO", "FSLM")
//   length  4   n, the body length
//   value   4   an int kept with the chunk, not interpreted
//   body    n
// The body is kept in a byte stream that a writer may append to.
class Chunk : public virtual java::lang::Object {
  VM_CLASS(Chunk, java::lang::Object)

 public:
  using Bytes = VMArray<int8_t>;

  // The pack index in the simple format.
  static constexpr int32_t kIndex = 0x52504865;  // "RPHe"
  // The virtual file table.
  static constexpr int32_t kFileTable = 0x5646534F;  // "VFSO"
  // The split map of the data over part files.
  static constexpr int32_t kSplitMap = 0x46534C4D;  // "FSLM"
  // The first four bytes of a chunked pack file.
  static constexpr int32_t kMarker = 0x25525025;  // "%RP%"

  // An empty chunk of `id` with value 1, to be written.
  VMPtr<Chunk> _VM_init(int32_t id);
  // Reads the rest of a record whose id was read already; IOException for
  // a negative length or one beyond the bytes the stream holds.
  VMPtr<Chunk> _VM_init(int32_t id, VMPtr<java::io::DataInputStream> in);

  // Writes the record: id, body size, value, body.
  virtual void write(VMPtr<java::io::DataOutputStream> out);
  virtual uint8_t isId(int32_t id);
  // A new array with the body.
  virtual VMPtr<Bytes> getData();
  virtual int32_t getDataSize();
  virtual void setValue(int32_t value);
  // The whole record as write produces it.
  virtual VMPtr<Bytes> toByteArray();
  // The stream that appends to the body.
  virtual VMPtr<java::io::DataOutputStream> getOutput();
  virtual int32_t getValue();

  // Reads one record: IOException "Unknown RP chunk id '...'" for an id
  // other than the three.
  static VMPtr<Chunk> read(VMPtr<java::io::DataInputStream> in);
  // The id's four bytes as characters, the lowest byte first.
  static VMPtr<java::lang::String> idToString(int32_t id);

  void _VM_markReferences(int colour) override;

  int32_t value;
  VMField<java::io::ByteArrayOutputStream> body;
  int32_t id;
  VMField<java::io::DataOutputStream> out;
};

}  // namespace tq::io::resource
