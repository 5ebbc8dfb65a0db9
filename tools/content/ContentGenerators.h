#pragma once

#include <string>
#include <variant>
#include <vector>

#include "AnimationSetWriter.h"
#include "ByteWriter.h"
#include "GlyphFontWriter.h"
#include "LevelWriter.h"
#include "Manifest.h"
#include "PngWriter.h"
#include "SpriteSetWriter.h"
#include "WavWriter.h"

namespace content {

// What a generator gives for a manifest source "gen:<name>": the
// description of its kind, or finished bytes (images, sounds, raw).
using Texts = std::vector<std::u16string>;
using GeneratedContent =
    std::variant<Bytes, SpriteSet, AnimationSet, GlyphFont, RgbaImage, IndexedImage, Level, Texts, PcmSound>;
using ContentGenerator = GeneratedContent (*)(const ManifestResource&);

// Registers a generator under its name while the program starts; a name
// registered twice keeps the first.
struct ContentGeneratorRegistration {
  ContentGeneratorRegistration(const char* name, ContentGenerator generator);
};

// The generator of that name, or null.
ContentGenerator findContentGenerator(const std::string& name);

}  // namespace content

// Defines and registers a generator; the body follows the macro:
//   JME_CONTENT_GENERATOR(hero_sheet)(const content::ManifestResource& r) { ... }
// The file must be compiled into the program itself (tools/content/tool/ or
// tools/content/game/), not taken from a static library, or its
// registration would be dropped.
#define JME_CONTENT_GENERATOR(name)                                                         \
  static content::GeneratedContent jmeContentGenerator_##name(const content::ManifestResource&); \
  static const content::ContentGeneratorRegistration jmeContentGeneratorRegistration_##name(     \
      #name, jmeContentGenerator_##name);                                                   \
  static content::GeneratedContent jmeContentGenerator_##name
