#include "CeImaging.h"

#include <png.h>

#include <bit>
#include <csetjmp>
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
  uint32_t* pixels = nullptr;
  png_bytep* rows = nullptr;
  bool outOfMemory = false;
};

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
// native 0xAARRGGBB word; 16-bit samples keep their high byte.
void requestArgb(png_structp png) {
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  if constexpr (std::endian::native == std::endian::little) {
    png_set_bgr(png);
  } else {
    png_set_swap_alpha(png);
  }
  png_set_interlace_handling(png);
}

// The body that may leave by a long jump; only plain values live here.
CeImaging::Result readImage(Decode& d, CeImaging::Bitmap& out) {
  if (setjmp(png_jmpbuf(d.png))) {
    return d.outOfMemory ? CeImaging::Result::outOfMemory : CeImaging::Result::badData;
  }
  limitWhatIsRead(d.png);
  png_set_read_fn(d.png, &d, readBytes);
  png_read_info(d.png, d.info);
  const png_uint_32 width = png_get_image_width(d.png, d.info);
  const png_uint_32 height = png_get_image_height(d.png, d.info);
  if (int64_t{width} * height > CeImaging::kMaxPixels) return CeImaging::Result::badData;
  requestArgb(d.png);
  png_read_update_info(d.png, d.info);
  if (png_get_rowbytes(d.png, d.info) != size_t{width} * 4) return CeImaging::Result::badData;

  d.pixels = static_cast<uint32_t*>(CeProcessHeap::allocate(size_t{width} * height * 4));
  d.rows = static_cast<png_bytep*>(CeProcessHeap::allocate(sizeof(png_bytep) * height));
  if (d.pixels == nullptr || d.rows == nullptr) return CeImaging::Result::outOfMemory;
  for (png_uint_32 y = 0; y < height; ++y) {
    d.rows[y] = reinterpret_cast<png_bytep>(d.pixels + size_t{y} * width);
  }
  png_read_image(d.png, d.rows);
  out.width = static_cast<int32_t>(width);
  out.height = static_cast<int32_t>(height);
  return CeImaging::Result::ok;
}

void finish(Decode& d, bool keepPixels) {
  if (d.png != nullptr) png_destroy_read_struct(&d.png, d.info ? &d.info : nullptr, nullptr);
  CeProcessHeap::release(d.rows);
  if (!keepPixels) CeProcessHeap::release(d.pixels);
}

}  // namespace

CeImaging::Result CeImaging::decode(const uint8_t* bytes, size_t length, Bitmap& out) {
  out = Bitmap{};
  if (bytes == nullptr || length < 8 || png_sig_cmp(bytes, 0, 8) != 0) return Result::badData;
  Decode d;
  d.bytes = bytes;
  d.length = length;
  d.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &d, onError, onWarning, &d,
                                   allocateBlock, releaseBlock);
  if (d.png != nullptr) d.info = png_create_info_struct(d.png);
  if (d.png == nullptr || d.info == nullptr) {
    finish(d, false);
    return Result::outOfMemory;
  }
  Bitmap decoded;
  const Result result = readImage(d, decoded);
  finish(d, result == Result::ok);
  if (result == Result::ok) {
    decoded.pixels = d.pixels;
    out = decoded;
  }
  return result;
}

void CeImaging::release(Bitmap& bitmap) {
  CeProcessHeap::release(bitmap.pixels);
  bitmap = Bitmap{};
}
