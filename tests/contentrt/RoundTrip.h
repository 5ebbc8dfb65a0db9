#pragma once

// What the round trips share: content written by the writers put where
// the engine reads it (pack files in a program folder, a resource of an
// in-memory pack), and what the engine gives back turned into plain values
// to compare with the writers' descriptions.

#include <cstdint>
#include <string>
#include <vector>

#include "ByteWriter.h"
#include "PackFiles.h"
#include "PackFixtures.h"
#include "PngWriter.h"
#include "SimplePackWriter.h"
#include "javax_microedition_lcdui_Image.h"

namespace contentrt {

using content::Bytes;
using Image = javax::microedition::lcdui::Image;

// Writes every file into the folder's rsc/.
void putFiles(const pack_fixtures::ProgramFolder& folder, const content::PackFiles& files);

// Makes `resources` the current pack, read from memory with its data (ids
// below 1024 address it).
void loadPack(const std::vector<content::PackResource>& resources);

// A resource's bytes as the engine hands them out.
Bytes bytesOf(int32_t id);

// The image's pixels as 0xAARRGGBB words (getRGB, rows top first).
std::vector<uint32_t> pixels(const VMPtr<Image>& image);

// What the platform's surfaces keep of a colour: 5, 6 and 5 bits, and the
// alpha of a pixel that is not fully transparent. A fully transparent
// pixel keeps no colour.
uint32_t surfaceColour(uint32_t argb);
std::vector<uint32_t> surfaceColours(const std::vector<uint32_t>& argb);

// The region's pixels of a palette image, as ARGB words.
std::vector<uint32_t> regionOf(const content::IndexedImage& image, int x, int y, int width, int height);

// A w x h palette image of 256 colours that RGB565 keeps apart, laid out
// so that neighbouring regions differ: a sheet to cut sprites from.
content::IndexedImage distinctSheet(int width, int height);

// "name[i]" for failure messages of table cases.
std::string caseName(const std::string& name, size_t i);

}  // namespace contentrt
