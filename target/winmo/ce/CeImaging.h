#pragma once

#include <cstddef>
#include <cstdint>

// The phone system's imaging codec: encoded image bytes in, 32-bit ARGB
// pixels out. This host decodes PNG with libpng.
//
// Two forms: decode into a RowSink hands the rows, top first, to the
// caller as they are decoded, so that it converts them straight into its
// own memory (the platform's images do); decode into a Bitmap gathers the
// whole image in one block.
//
// Ownership: a successful Bitmap decode hands the caller one pixel block
// taken from CeProcessHeap (so the heap's failure seam reaches it); the
// caller gives it back with CeImaging::release. A failed decode leaves
// nothing behind. Each thread keeps one row of scratch memory, the widest
// it has decoded (at most kMaxSide pixels), for its next decodes; an
// interlaced image, whose rows are only complete after the last pass, is
// gathered in a block of its own for the decode.
//
// What the decoder promises about outside data:
// - it reads only the `length` bytes it is given, never past them;
// - the samples are raw: no gamma or colour-space correction, so a pixel
//   decodes to the value stored in the file;
// - checksum errors (chunk CRCs and the zlib Adler-32) are tolerated, since
//   the engine rewrites palettes of stored images in place without
//   recomputing them; a chunk that is cut short or malformed is still an
//   error;
// - images wider or taller than kMaxSide, or with more than kMaxPixels
//   pixels, are refused as bad data before their pixels are taken, so the
//   memory a decode takes is bounded by the image's size;
// - chunks that do not make the pixels (text, colour profiles, suggested
//   palettes and the like) are skipped without being held in memory.
class CeImaging {
 public:
  CeImaging() = delete;

  enum class Result {
    ok,
    outOfMemory,  // the process heap refused a block
    badData,      // not an image this codec can decode, or cut short
  };

  // A decoded image: width x height pixels, rows top to bottom with no gap,
  // each pixel 0xAARRGGBB.
  struct Bitmap {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t* pixels = nullptr;
  };

  // Receives the pixels of a decode row by row.
  class RowSink {
   public:
    // Called once, when the header has been read and before any row:
    // the size, and whether any pixel may be less than opaque (false: every
    // alpha is 0xFF). False stops the decode as out of memory.
    virtual bool begin(int32_t width, int32_t height, bool mayHaveAlpha) = 0;
    // Row y (0 is the top), each once and in order: width pixels
    // 0xAARRGGBB, readable only during the call.
    virtual void row(int32_t y, const uint32_t* argb) = 0;

   protected:
    ~RowSink() = default;
  };

  static constexpr int32_t kMaxSide = 32767;
  static constexpr int64_t kMaxPixels = int64_t{1} << 24;

  // Decodes `length` bytes at `bytes` into `sink`. Only on ok has the sink
  // had every row; on any other result it may have had some (or none).
  static Result decode(const uint8_t* bytes, size_t length, RowSink& sink);

  // Decodes `length` bytes at `bytes`. On ok, `out` holds the image; on any
  // other result `out` is left empty.
  static Result decode(const uint8_t* bytes, size_t length, Bitmap& out);

  // Gives back the pixels of a decoded image; an empty bitmap is ignored.
  static void release(Bitmap& bitmap);
};
