#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "ByteWriter.h"
#include "Manifest.h"
#include "tq_AnimSet.h"

namespace content {

// One fault of a built resource folder: the resource it is about and what
// is wrong, as "resource <id> (pack <p>, index <i>): <problem>".
struct ContentFault {
  int id = 0;
  std::string text;
};

// Checks a built resource folder against its manifest through the
// engine's own readers: the pack of each resource opens and holds its
// index, its type byte is the manifest's, it parses (sprite and glyph
// sets through Resources::loadGobs, animation sets through AnimSet::load,
// levels through TqCanvas::loadLevel into a canvas whose hooks read the
// game's fields, tables through Translation and the canvas's text table,
// images through the image decoder), its references resolve (a set's
// sheet, an animation set's paired sprite set and the sprite indices of
// its parts), and every rule the manifest switches on for it holds
// (docs/content.md, "Rules"). Faults of one resource do not stop the
// others.
//
// Needs a running VM on the calling thread (VMTestEnv::start()); points
// the device profile's program directory at the folder's parent (through
// a temporary folder with a link named "rsc" when the folder has another
// name) and closes the current pack before and after.
class ContentValidator {
 public:
  ContentValidator(const Manifest& manifest, std::filesystem::path folder);
  std::vector<ContentFault> run();

 private:
  void checkResource(const ManifestResource& r);
  void checkSpriteSet(const ManifestResource& r);
  void checkGlyphSet(const ManifestResource& r);
  void checkAnimationSet(const ManifestResource& r);
  void checkLevel(const ManifestResource& r);
  void checkTranslationTable(const ManifestResource& r);
  void checkCanvasTextTable(const ManifestResource& r);
  void checkImage(const ManifestResource& r);
  void checkSound(const ManifestResource& r);
  // The game's own rules (ContentValidator.game.cpp), for a resource that
  // passed the checks of its kind.
  void checkGameRules(const ManifestResource& r);
  void checkInterfaceBoxes(const ManifestResource& r, const VMPtr<tq::AnimSet>& set);
  void checkScreenAnimations(const ManifestResource& r, const VMPtr<tq::AnimSet>& set);
  void checkPickups(const ManifestResource& r, const VMPtr<tq::AnimSet>& set);
  void checkResultsFrame(const ManifestResource& r, const VMPtr<tq::AnimSet>& set);
  void checkCharset(const ManifestResource& r);
  void checkTextIds(const ManifestResource& r);

  // Whether pack `pack` opened with an index (the reason otherwise).
  bool packOpens(int pack, std::string& reason);
  // The sheet a set names: its stored index resolves in the set's pack and
  // decodes, and agrees with the manifest; false after a fault.
  bool checkSheet(const ManifestResource& r, const Bytes& set);
  void checkPngOrder(const ManifestResource& r, const Bytes& png, const std::string& what);
  void fault(const ManifestResource& r, const std::string& problem);

  const Manifest& manifest_;
  std::filesystem::path folder_;
  std::vector<ContentFault> faults_;
};

// The bytes of resource `id` as the engine's pack gives them.
Bytes engineResourceBytes(int id);

// The PNG chunk order rule over `png`: "" when PLTE (if any) comes right
// after IHDR and tRNS (if any, in a palette image) right after PLTE, else
// what is wrong.
std::string pngOrderProblem(const Bytes& png);

}  // namespace content
