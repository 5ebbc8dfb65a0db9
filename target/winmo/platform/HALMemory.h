#pragma once

#include <cstddef>
#include <cstdint>

// Memory of the platform layer and, underneath its heap, of the runtime.
// Allocation failure is reported only by a null result.

// Size of the header in front of every block of the buffer allocators. Its
// first 32-bit word holds the block's total size (requested size + header).
constexpr size_t HAL_BUFFER_HEADER_SIZE = 16;
// Size of the start-up reserve.
constexpr size_t HAL_MEMORY_RESERVE_SIZE = 65536;

// A block of the process heap for the runtime's heap, or null. With
// `releaseReserve` 1 the start-up reserve is freed first (if still held).
// When the heap refuses, the shell is asked once to free `size` bytes and
// the allocation is tried once more.
void* HAL_allocateHeap(size_t size, int releaseReserve);
// Returns a block of HAL_allocateHeap to the process heap; null is ignored.
void HAL_freeHeap(void* block);
// Gives unused heap memory back to the system; called after a collection.
void HAL_compactHeap();

// `size` bytes, or null. When the heap refuses: with `mayCollect` set, and
// on a thread that runs Java code, one garbage collection under the global
// VM lock and one more try; then, with `mayAskShell` set, one request to the
// shell to free `size` bytes and one more try. On success the first 32-bit
// word of the block holds `size`; a size that does not fit that word gives
// null.
void* HAL_allocateWithCollect(size_t size, int mayCollect, int mayAskShell);

// Platform-side buffers: `size` usable bytes behind the 16-byte header,
// counted (header included) in HAL_getAllocatedMemory. Null on failure,
// also when `size` + 16 does not fit the header's 32-bit size word.
void* HAL_allocateBuffer(size_t size);
// Frees a buffer of HAL_allocateBuffer; null is ignored.
void HAL_freeBuffer(void* address);
// The same for the pixel planes of raster surfaces, which are counted in
// HAL_getAllocatedImageMemory as well.
void* HAL_allocateImageBuffer(size_t size);
void HAL_freeImageBuffer(void* address);
// Gives back the end of an image buffer, keeping its first `size` bytes,
// and counts it free; returns the buffer's address, which may have moved.
// A `size` not below the buffer's changes nothing. Never fails.
void* HAL_shrinkImageBuffer(void* address, size_t size);

// Bytes (headers included) held in buffers and image buffers.
uint64_t HAL_getAllocatedMemory();
// Bytes (headers included) held in image buffers; part of the count above.
uint64_t HAL_getAllocatedImageMemory();

// Takes the 64 KiB start-up reserve unless it is held already.
void HAL_createMemoryReserve();
// Frees the start-up reserve if it is held.
void HAL_releaseMemoryReserve();

// The entry layer of the runtime's allocator.
void* HAL_allocateMemory(size_t size, int releaseReserve);  // HAL_allocateHeap
void HAL_freeMemory(void* block);                           // HAL_freeHeap
uint64_t HAL_getMemoryInUse();                              // HAL_getAllocatedMemory
void HAL_compactMemory();                                   // HAL_compactHeap
