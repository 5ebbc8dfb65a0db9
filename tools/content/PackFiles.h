#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "ByteWriter.h"

namespace content {

// The files of one resource pack by name ("RP2.rp", "RP18part3.wav"), as
// they lie in the resource folder.
using PackFiles = std::map<std::string, Bytes>;

// The file name of a pack's main file (part -1) or of one of its part
// files: "RP" pack ["part" part] "." extension, the numbers in decimal.
std::string packFileName(int pack, int part = -1, const std::string& extension = "rp");

// Whether the engine reads pack `pack` as a chunked ("%RP%") file: 1..32
// with bit pack-1 of 0x67DFD set. Every other pack is a simple pack file.
bool isChunkedPack(int pack);

// The extension a file-table entry's file type gives its part file
// ("wav" for 1, "png" for -3); "rp" for a type the table lacks.
std::string fileTypeExtension(int fileType);

// Writes every file into `folder` (created when missing), replacing files
// of the same names. Throws ContentError naming the file on failure.
void writePackFiles(const std::filesystem::path& folder, const PackFiles& files);

// Throws unless `pack` can be a pack number (1 up; 0 means the current pack).
void requirePackNumber(int pack);

}  // namespace content
