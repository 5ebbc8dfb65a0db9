#pragma once

#include <cstdint>

#include "VMArray.h"
#include "VMClassKit.h"
#include "java_io_DataInputStream.h"
#include "javax_microedition_lcdui_Image.h"
#include "tq_io_resource_ResourcePack.h"
#include "tq_util_text_Translation.h"

namespace tq {
class AnimSet;
class Gob;
}  // namespace tq

namespace tq {

// The one way the engine and the game reach packed resources: static
// operations over the program's one pack object (a ResourcePackChunked,
// made by the static initializer), which makes the pack of each id current
// before it answers. Images are not cached: every getImage decodes anew.
//
// Palette work walks a PNG's chunks (big-endian length, type, data, CRC)
// without checking CRCs or inflating anything: a palette array is a PLTE
// chunk's data followed by its 4 CRC bytes, so a palette of another PNG
// with a PLTE of the same length leaves a consistent chunk behind.
class Resources : public virtual java::lang::Object {
  VM_CLASS(Resources, java::lang::Object)

 public:
  using Bytes = VMArray<int8_t>;
  using Image = javax::microedition::lcdui::Image;
  using Stream = java::io::DataInputStream;

  // By id, through the pack.
  static VMPtr<Bytes> getBytes(int32_t id);
  static VMPtr<Bytes> getDataArray(int32_t id);
  static int32_t getOffset(int32_t id);
  // Marked at its start when the stream supports marks.
  static VMPtr<Stream> getStream(int32_t id);
  static int32_t getType(int32_t id);
  static int32_t getSize(int32_t id);
  static VMPtr<Image> getImage(int32_t id);
  static VMPtr<Image> getImage(int32_t id, VMPtr<Bytes> palette);
  // A translation table read from the resource's stream (tq_Resources.text.cpp).
  static VMPtr<tq::util::text::Translation> getTranslation(int32_t id);

  // The pack reads an index with its data from `in` (null unloads it and
  // gives false).
  static uint8_t loadIndex(VMPtr<Stream> in);
  // Reads record `recordId` with the canvas's record reader and loads it
  // as an index with its data; -1, a missing record or no canvas unloads
  // the pack and gives false.
  static uint8_t loadIndexFromRecord(int32_t recordId);
  static void closePack();
  // A simple pack image of the arrays (ResourcePackSaver).
  static VMPtr<Bytes> buildPack(VMPtr<VMArray<int8_t, 2>> data, VMPtr<Bytes> types);

  static VMPtr<Image> createImage(VMPtr<Bytes> data, int32_t offset, int32_t length);
  // A data stream over a slice of `data`, which it shares.
  static VMPtr<Stream> openStream(VMPtr<Bytes> data, int32_t offset, int32_t length);

  // The PLTE data length of the PNG at the stream's position, or -1 when
  // IEND comes first; sets paletteOffset and leaves the stream at the
  // first PLTE data byte. A stream that ends first throws EOFException.
  static int32_t findPalette(VMPtr<Stream> in);
  // Exchanges the bytes of `palette` with those of the PLTE data (and CRC)
  // of the PNG at png[offset]; nothing for a null palette, a PNG without
  // PLTE, or a palette that would reach past the array. Never throws.
  static void swapPalette(VMPtr<Bytes> png, int32_t offset, VMPtr<Bytes> palette);

  // An animation set read from resource `id` (AnimSet::load).
  static VMPtr<AnimSet> getAnimSet(int32_t id);
  // A sprite set read from `in` (resource `id`), its sheet the image of the
  // stored index in the same pack, decoded with `palette` (may be null);
  // `imageIn` is not used. A cut or malformed set throws to the caller.
  static VMPtr<VMArray<Gob>> loadGobs(int32_t id, VMPtr<Bytes> palette, VMPtr<Stream> in, VMPtr<Stream> imageIn);

  static void _VM_clinit();
  static VMPtr<tq::io::resource::ResourcePack> currentPack();

  static VMStatic<tq::io::resource::ResourcePack> pack;
  // Of the last palette search: the PLTE data's offset from the PNG's start.
  static int32_t paletteOffset;
  // Scratch of the sprite-set loader, made by its first call: which value
  // groups and widths are present, the current sprite's ten values, and
  // the sheet image id of the set being read.
  static VMStatic<VMArray<uint8_t>> gobFlags;
  static VMStatic<VMArray<int8_t>> gobWidths;
  static VMStatic<VMArray<int16_t>> gobValues;
  static int32_t gobImageId;
};

}  // namespace tq
