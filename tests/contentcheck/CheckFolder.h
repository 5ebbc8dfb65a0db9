#pragma once

// A resource folder and its manifest made together in a test: entries by
// id, each with its manifest kind and options and the bytes its pack holds,
// so that a test can break one resource (or one file) and see what the
// validator says about it.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "AnimationSetWriter.h"
#include "ByteWriter.h"
#include "ContentValidator.h"

namespace contentcheck {

struct Entry {
  int id = 0;
  std::string kind;
  std::string options;  // the manifest line's options
  int type = 0;
  content::Bytes bytes;
  bool inPack = true;   // false: listed in the manifest only
};

struct CheckFolder {
  std::map<int, std::string> packs;  // pack number -> its manifest settings
  std::map<int, Entry> entries;      // by id
  std::vector<std::string> removed;  // files deleted after writing

  Entry& at(int id) { return entries.at(id); }
  std::string manifest() const;
  // Writes the packs into `folder` with the writers, in each pack's layout.
  void write(const std::filesystem::path& folder) const;
  // Writes the folder and the manifest under `root` ("rsc/", "manifest.txt")
  // and runs the validator over them.
  std::vector<content::ContentFault> check(const std::filesystem::path& root) const;
};

// Every kind with the rules for it switched on, all sound: pack 2 (simple)
// with images, a sprite set, a glyph set, animation sets (one an interface
// set), a level, a translation and a text table and a raw resource; pack 5
// (split over two part files), pack 18 (a file table) and pack 20.
CheckFolder soundFolder();

// The sound folder's interface set (box i of every frame has type i),
// written as sprite data.
content::AnimationSet panelSet();

// Ids of the sound folder.
inline constexpr int kImage = 2048, kSprites = 2049, kGlyphSheet = 2050, kGlyphs = 2051, kAnims = 2052,
                     kLevel = 2053, kTranslation = 2054, kTexts = 2055, kRaw = 2056, kPanel = 2057,
                     kSplitTable = 5120, kSplitImage = 5121, kSound = 18432, kFileImage = 18433, kLonePack = 20480;

// A fresh folder of its own under the system's temporary folder, removed
// with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& path, const content::Bytes& bytes);
void writeText(const std::filesystem::path& path, const std::string& text);

}  // namespace contentcheck
