#include "CeImaging.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "CeProcessHeap.h"

namespace {

// One decode. libpng leaves a failing decode with a long jump, which skips
// destructors, so everything the decode holds is a plain field here and is
// given back by finish() on every path.
struct Decode {
  const uint8_t* bytes = nullptr;
  size_t length = 0;
  size_t offset = 0;
  png_structp png = nullptr;
  png_infop info = nullptr;
  uint32_t* pixels = nullptr;  // the whole image, only while an interlaced one is read
  png_bytep* rows = nullptr;
  bool outOfMemory = false;
};

// One row of pixels per thread, kept for the thread's next decodes so that
// a decode takes no fresh memory for its rows. It is working memory of the
// codec that stays on purpose, so it comes from malloc directly and is not
// among the process heap's blocks in use, which count what a decode left
// behind.
class RowScratch {
 public:
  RowScratch() = default;
  RowScratch(const RowScratch&) = delete;
  RowScratch& operator=(const RowScratch&) = delete;
  ~RowScratch() { std::free(row_); }

  // Room for `pixels` pixels, or null when no memory is left.
  uint32_t* take(size_t pixels) {
    if (pixels > capacity_) {
      auto* grown = static_cast<uint32_t*>(std::malloc(pixels * sizeof(uint32_t)));
      if (grown == nullptr) return nullptr;
      std::free(row_);
      row_ = grown;
      capacity_ = pixels;
    }
    return row_;
  }

 private:
  uint32_t* row_ = nullptr;
  size_t capacity_ = 0;
};

thread_local RowScratch rowScratch;

void readBytes(png_structp png, png_bytep into, size_t count) {
  auto* decode = static_cast<Decode*>(png_get_io_ptr(png));
  if (count > decode->length - decode->offset) {
    png_error(png, "image data cut short");
  }
  std::memcpy(into, decode->bytes + decode->offset, count);
  decode->offset += count;
}

void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) {}

// libpng's own blocks come from the process heap too, so that a refusal
// anywhere in the decode is reported as out of memory.
png_voidp allocateBlock(png_structp png, png_alloc_size_t size) {
  void* block = CeProcessHeap::allocate(size);
  if (block == nullptr) {
    static_cast<Decode*>(png_get_mem_ptr(png))->outOfMemory = true;
  }
  return block;
}

void releaseBlock(png_structp, png_voidp block) { CeProcessHeap::release(block); }

void limitWhatIsRead(png_structp png) {
  png_set_user_limits(png, CeImaging::kMaxSide, CeImaging::kMaxSide);
  // Only the header, palette, transparency and image data make the pixels
  // (the samples stay raw, so colour-space chunks change nothing). Every
  // other chunk is skipped as it is read. Read, libpng would take a buffer
  // of the length a chunk claims (its chunk size limit only warns), up to
  // 2 GiB for a few bytes of file, and keep texts inflated to 8 MiB each
  // for the whole decode.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
}

// Every colour type and depth becomes 8-bit samples in the byte order of a
// native 0xAARRGGBB word; 16-bit samples keep their high byte. Returns the
// number of passes over the rows (above 1 for an interlaced image).
int requestArgb(png_structp png) {
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  if constexpr (std::endian::native == std::endian::little) {
    png_set_bgr(png);
  } else {
    png_set_swap_alpha(png);
  }
  return png_set_interlace_handling(png);
}

// Rows of a plain image, each decoded into the scratch row and handed on.
CeImaging::Result readRows(Decode& d, CeImaging::RowSink& sink, png_uint_32 width, png_uint_32 height) {
  uint32_t* row = rowScratch.take(width);
  if (row == nullptr) return CeImaging::Result::outOfMemory;
  for (png_uint_32 y = 0; y < height; ++y) {
    png_read_row(d.png, reinterpret_cast<png_bytep>(row), nullptr);
    sink.row(static_cast<int32_t>(y), row);
  }
  return CeImaging::Result::ok;
}

// An interlaced image: every pass adds pixels to every row, so the rows are
// gathered whole and handed on after the last pass.
CeImaging::Result readInterlaced(Decode& d, CeImaging::RowSink& sink, png_uint_32 width,
                                 png_uint_32 height) {
  d.pixels = static_cast<uint32_t*>(CeProcessHeap::allocate(size_t{width} * height * 4));
  d.rows = static_cast<png_bytep*>(CeProcessHeap::allocate(sizeof(png_bytep) * height));
  if (d.pixels == nullptr || d.rows == nullptr) return CeImaging::Result::outOfMemory;
  for (png_uint_32 y = 0; y < height; ++y) {
    d.rows[y] = reinterpret_cast<png_bytep>(d.pixels + size_t{y} * width);
  }
  png_read_image(d.png, d.rows);
  for (png_uint_32 y = 0; y < height; ++y) {
    sink.row(static_cast<int32_t>(y), d.pixels + size_t{y} * width);
  }
  return CeImaging::Result::ok;
}

// The body that may leave by a long jump; only plain values live here.
CeImaging::Result readImage(Decode& d, CeImaging::RowSink& sink) {
  if (setjmp(png_jmpbuf(d.png))) {
    return d.outOfMemory ? CeImaging::Result::outOfMemory : CeImaging::Result::badData;
  }
  limitWhatIsRead(d.png);
  png_set_read_fn(d.png, &d, readBytes);
  png_read_info(d.png, d.info);
  const png_uint_32 width = png_get_image_width(d.png, d.info);
  const png_uint_32 height = png_get_image_height(d.png, d.info);
  if (int64_t{width} * height > CeImaging::kMaxPixels) return CeImaging::Result::badData;
  const bool mayHaveAlpha = (png_get_color_type(d.png, d.info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                            png_get_valid(d.png, d.info, PNG_INFO_tRNS) != 0;
  const int passes = requestArgb(d.png);
  png_read_update_info(d.png, d.info);
  if (png_get_rowbytes(d.png, d.info) != size_t{width} * 4) return CeImaging::Result::badData;
  if (!sink.begin(static_cast<int32_t>(width), static_cast<int32_t>(height), mayHaveAlpha)) {
    return CeImaging::Result::outOfMemory;
  }
  return passes > 1 ? readInterlaced(d, sink, width, height) : readRows(d, sink, width, height);
}

void finish(Decode& d) {
  if (d.png != nullptr) png_destroy_read_struct(&d.png, d.info ? &d.info : nullptr, nullptr);
  CeProcessHeap::release(d.rows);
  CeProcessHeap::release(d.pixels);
}

// Gathers the rows of a decode in one block of the process heap.
class BitmapSink final : public CeImaging::RowSink {
 public:
  CeImaging::Bitmap bitmap;

  bool begin(int32_t width, int32_t height, bool) override {
    bitmap.pixels = static_cast<uint32_t*>(CeProcessHeap::allocate(size_t(width) * size_t(height) * 4));
    bitmap.width = width;
    bitmap.height = height;
    return bitmap.pixels != nullptr;
  }
  void row(int32_t y, const uint32_t* argb) override {
    std::memcpy(bitmap.pixels + size_t(y) * size_t(bitmap.width), argb, size_t(bitmap.width) * 4);
  }
};

}  // namespace

CeImaging::Result CeImaging::decode(const uint8_t* bytes, size_t length, RowSink& sink) {
  if (bytes == nullptr || length < 8 || png_sig_cmp(bytes, 0, 8) != 0) return Result::badData;
  Decode d;
  d.bytes = bytes;
  d.length = length;
  d.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &d, onError, onWarning, &d,
                                   allocateBlock, releaseBlock);
  if (d.png != nullptr) d.info = png_create_info_struct(d.png);
  Result result = Result::outOfMemory;
  if (d.png != nullptr && d.info != nullptr) result = readImage(d, sink);
  finish(d);
  return result;
}

CeImaging::Result CeImaging::decode(const uint8_t* bytes, size_t length, Bitmap& out) {
  out = Bitmap{};
  BitmapSink sink;
  const Result result = decode(bytes, length, sink);
  if (result == Result::ok) {
    out = sink.bitmap;
  } else {
    CeProcessHeap::release(sink.bitmap.pixels);
  }
  return result;
}

void CeImaging::release(Bitmap& bitmap) {
  CeProcessHeap::release(bitmap.pixels);
  bitmap = Bitmap{};
}
