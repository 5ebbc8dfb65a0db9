#pragma once

// Makes `size` bytes of `data` resource 0 of the current pack, from a pack
// image built in memory (no files): what fuzz targets feed to a reader by
// id. Aborts when the pack does not load, which would be a fault.

#include <cstddef>
#include <cstdint>

void loadInMemoryPack(const uint8_t* data, size_t size);
