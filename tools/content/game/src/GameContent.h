#pragma once

// The whole of the game's generated content: every resource the generator
// builds from the sources of the game content folder, as named files.

#include <filesystem>
#include <map>
#include <string>

#include "ByteWriter.h"

namespace gamecontent {

// File name -> bytes. Names are "<id>.<ext>" with the resource id in
// lower-case hexadecimal without a prefix ("5001.bin", "4c01.bin",
// "4c02.png" for the sheet at index 2 of pack 19): "bin" for engine
// resources, "png" for images.
using GeneratedFiles = std::map<std::string, content::Bytes>;

// "<id in hex>.<ext>".
std::string resourceFileName(int id, const char* extension);

// Builds everything from `folder` (tools/content/game).
GeneratedFiles generateAll(const std::filesystem::path& folder);

// Writes the files into `out` (created when missing), rewriting only those
// whose bytes changed, so that a rebuild does not touch unchanged outputs.
void writeFiles(const std::filesystem::path& out, const GeneratedFiles& files);

}  // namespace gamecontent
