#pragma once

#include <cstdint>

#include "HALStatus.h"

class RasterImage;

// Images of the platform layer: RGB565 surfaces behind RasterImage handles,
// decoded from encoded bytes or a resource file, built from ARGB pixels, or
// made blank as drawing targets.
//
// Ownership: every function that hands out a handle (*out) gives the caller
// one reference, which the caller drops with HAL_releaseImage. On failure
// *out is null and nothing is held. Handles are used only by threads that
// hold the global VM lock.
//
// Pixel memory comes from the image allocator (HAL_allocateImageBuffer),
// so images count against the heap limit. Decoding never reads outside
// the bytes it is given, and its memory is bounded (see CeImaging). Data
// that cannot be decoded is HAL_BAD_FORMAT_ERR. Every function that makes
// an image's pixels, when memory runs out, collects garbage once and tries
// once more before it reports HAL_OUT_OF_MEMORY_ERR.

// Decodes `length` bytes at `bytes` into an immutable image (alpha type from
// its pixels); its size in *width and *height (either may be null).
// HAL_ILLEGAL_ARGUMENT_ERR for a null `out` or `bytes` or a negative length;
// no bytes at all are bad data.
HALStatus HAL_createImageWithData(RasterImage** out, const uint8_t* bytes, int32_t length,
                                  int32_t* width, int32_t* height);

// Reads the resource file `name` (`nameLength` UTF-16 units, a path under
// "rsc") whole and decodes it as above. HAL_NOT_FOUND_ERR when it cannot be
// opened, HAL_IO_ERR when it is empty or cannot be read,
// HAL_OUT_OF_MEMORY_ERR when no buffer can hold it, HAL_BAD_FORMAT_ERR
// without reading it when it is larger than any image the codec takes
// (256 MiB).
HALStatus HAL_createImageWithResource(RasterImage** out, const char16_t* name, int32_t nameLength,
                                      int32_t* width, int32_t* height);

// An immutable image of width x height pixels from `argb` (`length` ints,
// rows `width` apart). With processAlpha the alpha type follows the
// alphas; without it the image is opaque. HAL_ILLEGAL_ARGUMENT_ERR for a
// null `out` or `argb`, a length below 1, a side below 1 or an array
// shorter than width x height.
HALStatus HAL_createImageWithRGB(RasterImage** out, const int32_t* argb, int32_t length,
                                 int32_t width, int32_t height, int processAlpha);

// An immutable image of an immutable `source`: the same handle with one
// more reference (an immutable image never changes, so it can be shared).
HALStatus HAL_createImageWithImmutableImage(RasterImage** out, RasterImage* source);
// An immutable image of a mutable `source`: a copy of its pixels as they
// are now, so later drawing into the source does not change it.
HALStatus HAL_createImageWithMutableImage(RasterImage** out, RasterImage* source);

// A mutable, opaque image filled white. HAL_ILLEGAL_ARGUMENT_ERR for a side
// below 1 or above 32767.
HALStatus HAL_createMutableImage(RasterImage** out, int32_t width, int32_t height);
// A mutable image with an alpha plane, fully transparent (colour and alpha
// zero). Sides as above.
HALStatus HAL_createTransparentMutableImage(RasterImage** out, int32_t width, int32_t height);

// Copies the width x height pixels at (x, y) as 0xAARRGGBB into `data`
// (`dataLength` ints): row r goes to data[offset + r * scanlength ...].
// HAL_ILLEGAL_ARGUMENT_ERR, with nothing written, for a null argument, a
// region outside the image or a row outside the array (checked in 64 bits).
HALStatus HAL_getImmutableRGB(RasterImage* image, int32_t* data, int32_t dataLength, int32_t offset,
                              int32_t scanlength, int32_t x, int32_t y, int32_t width, int32_t height);
HALStatus HAL_getMutableRGB(RasterImage* image, int32_t* data, int32_t dataLength, int32_t offset,
                            int32_t scanlength, int32_t x, int32_t y, int32_t width, int32_t height);

// *hasAlpha = 1 when the image's alpha type is not opaque.
// HAL_ILLEGAL_ARGUMENT_ERR for a null argument.
HALStatus HAL_getImmutableHasAlpha(RasterImage* image, uint8_t* hasAlpha);
HALStatus HAL_getMutableHasAlpha(RasterImage* image, uint8_t* hasAlpha);

// Drops one reference; null is ignored.
void HAL_releaseImage(RasterImage* image);
