#pragma once

#include <string>
#include <vector>

#include "AnimationSetWriter.h"
#include "DescriptionFile.h"
#include "GlyphFontWriter.h"
#include "LevelWriter.h"
#include "SpriteSetWriter.h"

namespace content {

// The description sources of the manifest (docs/content.md, "Sources"),
// read into the writers' structs. Each refuses a statement it does not
// take, naming "<file>:<line>"; ranges are left to the writers, which name
// the item.

// sprite / grid / layout lines. The sheet and the declared-empty flags come
// from the manifest.
SpriteSet readSpriteDescription(const DescriptionFile& file);
// metrics / glyph lines.
GlyphFont readGlyphDescription(const DescriptionFile& file);
// durations / frame / part / box / animation / step lines.
AnimationSet readAnimationDescription(const DescriptionFile& file);
// filler / header / map / palette / size / row / entities / group / entity.
Level readLevelDescription(const DescriptionFile& file);

// A text file: UTF-8, one text per line, with the escapes \n \t \\ and
// \uXXXX; a leading byte order mark is skipped. Refuses malformed UTF-8
// and characters outside the Basic Multilingual Plane, naming the line.
std::vector<std::u16string> readTextFile(const Bytes& bytes, const std::string& name);

}  // namespace content
