#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_io_DataInputStream.h"
#include "java_lang_String.h"
#include "java_lang_StringBuffer.h"

namespace tq::util::text {

// One language's texts, addressed by id: a table read from one resource
// (u16 count, then per text an i16 byte length and its UTF-8 bytes) kept
// as one byte pool and an offset table, 16-bit for a resource of at most
// 65535 bytes, 32-bit above. Texts are decoded on demand; decodeAll turns
// the whole table into Strings once and drops the bytes.
//
// Malformed tables never fail: reading stops silently where the stream
// ends or a record does not fit the pool (the texts not read are empty),
// and a negative record length counts as 0, so offsets never go back. The
// decoder takes 1-, 2- and 3-byte sequences without checking continuation
// bytes; a stray continuation byte or a 4-byte lead gives U+0000, and a
// sequence cut off by the end of the pool ends the text there.
//
// Ids are the caller's to keep in 0..count - 1 (array index exceptions
// otherwise). All use is on the canvas thread; `sharedBuffer` is shared by
// every table.
class Translation : public virtual java::lang::Object {
  VM_CLASS(Translation, java::lang::Object)

 public:
  using Bytes = VMArray<int8_t>;
  using String = java::lang::String;
  using StringBuffer = java::lang::StringBuffer;

  // Reads the table from `in`; `size` is the resource's size in bytes.
  VMPtr<Translation> _VM_init(VMPtr<java::io::DataInputStream> in, int32_t size);

  virtual void decodeAll();
  // Inserts text id at `pos` and returns sb.
  virtual VMPtr<StringBuffer> insertText(int32_t id, VMPtr<StringBuffer> sb, int32_t pos);
  virtual VMPtr<StringBuffer> appendText(int32_t id, VMPtr<StringBuffer> sb);
  // Empties sb, then inserts text id.
  virtual VMPtr<StringBuffer> getText(int32_t id, VMPtr<StringBuffer> sb);
  // A new String each call, decoded in the shared buffer when the text has
  // at most 128 bytes; after decodeAll the same String every time.
  virtual VMPtr<String> getString(int32_t id);

  int32_t offset(int32_t i);
  int32_t byteLength(int32_t i);
  // Inserts the characters of data[off .. off + len) at pos, pos, ...
  static void decodeUtf8(VMPtr<Bytes> data, int32_t off, int32_t len, VMPtr<StringBuffer> sb, int32_t pos);

  void _VM_markReferences(int colour) override;

  VMField<VMArray<char16_t>> offsets16;
  VMField<Bytes> data;
  VMField<VMArray<String>> strings;
  int32_t count;
  VMField<VMArray<int32_t>> offsets32;

  static constexpr int32_t kSharedLimit = 128;
  static VMStatic<StringBuffer> sharedBuffer;

 private:
  void readTable(VMPtr<java::io::DataInputStream> in, int32_t size);
  void setOffset(int32_t i, int32_t value);
};

}  // namespace tq::util::text
