#pragma once

// The first difference between a description read back and the one
// written, named as the writers name items ("entity group 2, entity 5"),
// for the failure messages of the round trips; empty when they are equal.

#include <string>

#include "AnimationSetWriter.h"
#include "GlyphFontWriter.h"
#include "LevelWriter.h"

namespace contentrt {

std::string difference(const content::Level& got, const content::Level& want);
std::string difference(const content::AnimationSet& got, const content::AnimationSet& want);
std::string difference(const content::GlyphFont& got, const content::GlyphFont& want);

}  // namespace contentrt
