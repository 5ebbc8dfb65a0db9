#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_io_DataInputStream.h"
#include "java_lang_String.h"
#include "java_lang_StringBuffer.h"
#include "javax_microedition_lcdui_Image.h"

namespace tq::io::resource {

// The index of one resource pack at a time, and the resources' bytes.
//
// A resource id is (pack << 10) | index; pack 0 means the pack that is
// current, which an id below 1024 addresses without switching. Every
// lookup by id first makes pack id >> 10 current (ensurePack): the old
// tables are dropped, the pack's main file "/RP<pack>.rp" is opened and its
// index read, and the pack number becomes current whether or not that
// worked, so a pack that failed is not read again until another pack has
// been current. A lookup in a pack without tables throws RuntimeException
// "no resource pack".
//
// A simple pack is an index followed by the data (ResourcePackSaver gives
// the layout). The index reader refuses negative sizes, sizes that add up
// to more than the total, and a total larger than the bytes the stream
// still holds; any failure while reading, running out of memory included,
// leaves no tables. With `singleFile` the resources lie back to back in
// `data` and are read in place; otherwise each is a file of its own.
//
// `currentPack` and `nameBuffer` are statics: the program keeps one pack
// object, used only from the canvas thread.
class ResourcePack : public virtual java::lang::Object {
  VM_CLASS(ResourcePack, java::lang::Object)

 public:
  using Bytes = VMArray<int8_t>;
  using Image = javax::microedition::lcdui::Image;
  using Stream = java::io::DataInputStream;
  using String = java::lang::String;

  VMPtr<ResourcePack> _VM_init();

  // The image of a PNG resource; a non-null `palette` is swapped into the
  // PNG's palette for the decode and swapped back afterwards, also when
  // the decode fails.
  virtual VMPtr<Image> getImage(int32_t id, VMPtr<Bytes> palette);
  // Drops the tables; no pack is current afterwards. Calls onUnload.
  virtual void unload();
  // A new array with the resource's bytes.
  virtual VMPtr<Bytes> getBytes(int32_t id);
  // Null with `singleFile`; else the resource's own file name.
  virtual VMPtr<String> getResourceFileName(int32_t id);
  // "/RP<pack>[part<part>].<extension>"; part -1 is left out, a null
  // extension is "rp".
  virtual VMPtr<String> getFileName(int32_t pack, int32_t part, VMPtr<String> extension);
  virtual VMPtr<String> getFileName(int32_t pack, int32_t part);
  // Replaces the tables with the index at the stream's position (and the
  // total and data that follow it, with `dataInMemory`); false, with no
  // tables, when it cannot be read or is refused.
  virtual uint8_t readIndex(VMPtr<Stream> in);
  virtual void ensurePack(int32_t id);
  // A stream over exactly the resource's bytes (in place with `singleFile`).
  virtual VMPtr<Stream> getStream(int32_t id);
  // Points the canvas's static read buffer at the resource (its array and
  // offset); returns its size.
  virtual int32_t loadToReadBuffer(int32_t id);
  // Fills `dest` from the resource's own file; RuntimeException with the
  // cause's text when it cannot be read.
  virtual void readResourceFile(int32_t index, VMPtr<Bytes> dest);
  virtual int32_t getType(int32_t id);
  // The stream the index is read from, or null; here the main file of a
  // simple pack (and `singleFile` and `dataInMemory` set).
  virtual VMPtr<Stream> openPack(int32_t pack);
  // The resource file `name` as a data stream, or null when it is missing.
  virtual VMPtr<Stream> openFile(VMPtr<String> name);
  // The array holding the resource: `data` with `singleFile`, else a copy.
  virtual VMPtr<Bytes> getDataArray(int32_t id);
  virtual int32_t getSize(int32_t id);
  // The resource's offset in getDataArray: the sum of the sizes before it
  // with `singleFile`, else 0.
  virtual int32_t getOffset(int32_t id);
  virtual void noteName(VMPtr<String> name);
  // Called at the end of unload; nothing here.
  virtual void onUnload();
  // Reads an extension section after an index; nothing here.
  virtual void readExtension(VMPtr<Stream> in);

  // A null stream unloads and gives false; otherwise, unless
  // `separateFiles`, the index is read with its data (`singleFile`).
  uint8_t loadIndex(VMPtr<Stream> in, uint8_t separateFiles);

  void _VM_markReferences(int colour) override;
  static void _VM_clinit();

  VMField<Bytes> types;
  VMField<VMArray<int32_t>> sizes;
  VMField<Bytes> data;
  uint8_t singleFile;
  uint8_t dataInMemory;

  static int32_t currentPack;
  static VMStatic<java::lang::StringBuffer> nameBuffer;

 protected:
  // The sizes table; RuntimeException "no resource pack" when no index is
  // loaded.
  VMPtr<VMArray<int32_t>> loadedSizes();
  // The size of resource `id` of the current pack; an index past the
  // pack's table throws ArrayIndexOutOfBoundsException naming the id.
  int32_t sizeOf(int32_t id);
  [[noreturn]] static void throwNotInPack(int32_t index);
  // Reads dest.length bytes from `offset` of the resource file `name`;
  // RuntimeException with the cause's text when it is missing or short.
  void readFile(VMPtr<String> name, int32_t offset, const VMPtr<Bytes>& dest);
  static void closeQuietly(const VMPtr<Stream>& s);
  // The image of bytes `off` .. of `a`, decoded with `palette` swapped in.
  static VMPtr<Image> decodeWithPalette(VMPtr<Bytes> a, int32_t off, int32_t size, VMPtr<Bytes> palette);

 private:
  // The reading of readIndex; throws on any fault.
  void readTables(const VMPtr<Stream>& in);
};

}  // namespace tq::io::resource
