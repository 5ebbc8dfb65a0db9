#pragma once

#include <cstdint>

// The flags of a blit (RasterContext::blit, HAL_replaceBlit and
// Graphics.drawRegion): a MIDP transform in bits 0..2 and, in bits 8..15,
// an alpha type that replaces the source's when it is not zero.

// The three transform bits; every MIDP transform is a combination of them.
constexpr int32_t HAL_TRANSFORM_MIRROR_ROWS = 1;     // source rows taken bottom-up
constexpr int32_t HAL_TRANSFORM_MIRROR_COLUMNS = 2;  // source columns taken right to left
constexpr int32_t HAL_TRANSFORM_SWAP_AXES = 4;       // destination x runs along source rows
constexpr int32_t HAL_TRANSFORM_BITS = 7;

// The eight MIDP transforms (the values of Sprite's TRANS_ constants).
constexpr int32_t HAL_TRANS_NONE = 0;
constexpr int32_t HAL_TRANS_MIRROR_ROT180 = HAL_TRANSFORM_MIRROR_ROWS;
constexpr int32_t HAL_TRANS_MIRROR = HAL_TRANSFORM_MIRROR_COLUMNS;
constexpr int32_t HAL_TRANS_ROT180 = HAL_TRANSFORM_MIRROR_ROWS | HAL_TRANSFORM_MIRROR_COLUMNS;
constexpr int32_t HAL_TRANS_MIRROR_ROT270 = HAL_TRANSFORM_SWAP_AXES;
constexpr int32_t HAL_TRANS_ROT90 = HAL_TRANSFORM_SWAP_AXES | HAL_TRANSFORM_MIRROR_ROWS;
constexpr int32_t HAL_TRANS_ROT270 = HAL_TRANSFORM_SWAP_AXES | HAL_TRANSFORM_MIRROR_COLUMNS;
constexpr int32_t HAL_TRANS_MIRROR_ROT90 = HAL_TRANSFORM_BITS;

// The alpha type that replaces the source's: (flags >> shift) & mask, 0 for
// the source's own.
constexpr int32_t HAL_BLIT_ALPHA_TYPE_SHIFT = 8;
constexpr int32_t HAL_BLIT_ALPHA_TYPE_MASK = 0xFF;

// What the blit's source rectangle becomes on the destination.
constexpr bool HAL_transformSwapsAxes(int32_t flags) { return (flags & HAL_TRANSFORM_SWAP_AXES) != 0; }
constexpr bool HAL_transformMirrorsRows(int32_t flags) { return (flags & HAL_TRANSFORM_MIRROR_ROWS) != 0; }
constexpr bool HAL_transformMirrorsColumns(int32_t flags) { return (flags & HAL_TRANSFORM_MIRROR_COLUMNS) != 0; }
