#include "ContentValidator.h"

#include <unistd.h>

#include <cstring>

#include "CheckSupport.h"
#include "ContentError.h"
#include "DeviceProfile.h"
#include "PackFiles.h"
#include "tq_Resources.h"

namespace content {

using check::describe;

namespace {

// Points the program directory at a folder whose "rsc" is the folder to
// check, for as long as it lives.
class ProgramDirectory {
 public:
  explicit ProgramDirectory(const std::filesystem::path& folder) {
    const std::filesystem::path absolute = std::filesystem::absolute(folder).lexically_normal();
    std::filesystem::path root = absolute.parent_path();
    if (absolute.filename() != "rsc") {
      link_ = std::filesystem::temp_directory_path() / ("jme-content-check-" + std::to_string(getpid()));
      std::filesystem::remove_all(link_);
      std::filesystem::create_directories(link_);
      std::filesystem::create_directory_symlink(absolute, link_ / "rsc");
      root = link_;
    }
    DeviceProfile::instance().setProgramDirectory(root.string());
    tq::Resources::closePack();
  }
  ~ProgramDirectory() {
    tq::Resources::closePack();
    std::error_code ignored;
    if (!link_.empty()) std::filesystem::remove_all(link_, ignored);
  }
  ProgramDirectory(const ProgramDirectory&) = delete;
  ProgramDirectory& operator=(const ProgramDirectory&) = delete;

 private:
  std::filesystem::path link_;
};

// The number of resources of the pack the engine has current, or -1.
int loadedCount() {
  VMPtr<VMArray<int32_t>> sizes = tq::Resources::currentPack()->sizes;
  return sizes ? sizes->length : -1;
}

}  // namespace

Bytes engineResourceBytes(int id) {
  VMPtr<VMArray<int8_t>> bytes = tq::Resources::getBytes(id);
  Bytes out(static_cast<size_t>(bytes->length));
  if (!out.empty()) std::memcpy(out.data(), bytes->elements(), out.size());
  return out;
}

ContentValidator::ContentValidator(const Manifest& manifest, std::filesystem::path folder)
    : manifest_(manifest), folder_(std::move(folder)) {}

std::vector<ContentFault> ContentValidator::run() {
  require(std::filesystem::is_directory(folder_), folder_.string(), "is not a folder");
  faults_.clear();
  ProgramDirectory directory(folder_);
  for (const ManifestResource* r : manifest_.resources()) {
    const size_t before = faults_.size();
    checkResource(*r);
    if (faults_.size() == before) checkGameRules(*r);
  }
  return faults_;
}

void ContentValidator::fault(const ManifestResource& r, const std::string& problem) {
  faults_.push_back({r.id, r.name() + ": " + problem});
}

bool ContentValidator::packOpens(int pack, std::string& reason) {
  VMPtr<tq::io::resource::ResourcePack> current = tq::Resources::currentPack();
  current->ensurePack(pack << 10);
  if (loadedCount() >= 0) return true;
  const std::string main = packFileName(pack);
  if (!std::filesystem::exists(folder_ / main)) {
    reason = main + " is missing";
    return false;
  }
  // Open it again to learn why: a chunked pack throws its reason, a simple
  // pack gives its stream but no index.
  reason = main + " holds no index the engine can read";
  try {
    current->openPack(pack);
  } catch (java::lang::Throwable* thrown) {
    reason = main + ": " + describe(thrown);
  }
  current->unload();
  return false;
}

void ContentValidator::checkResource(const ManifestResource& r) {
  std::string reason;
  if (!packOpens(r.id >> 10, reason)) return fault(r, "its pack does not open: " + reason);
  const int count = loadedCount();
  if (r.index >= count) {
    return fault(r, "is missing: its pack holds " + std::to_string(count) + " resources");
  }
  const int type = tq::Resources::getType(r.id);
  if (type != r.type) {
    fault(r, "type byte " + std::to_string(type) + ", where the manifest gives " + std::to_string(r.type));
  }
  try {
    switch (r.kind) {
      case ResourceKind::SpriteSet:
        return checkSpriteSet(r);
      case ResourceKind::GlyphSet:
        return checkGlyphSet(r);
      case ResourceKind::AnimationSet:
        return checkAnimationSet(r);
      case ResourceKind::Level:
        return checkLevel(r);
      case ResourceKind::TranslationTable:
        return checkTranslationTable(r);
      case ResourceKind::CanvasTextTable:
        return checkCanvasTextTable(r);
      case ResourceKind::Image:
        return checkImage(r);
      case ResourceKind::Sound:
        return checkSound(r);
      case ResourceKind::Raw:
        return;
    }
  } catch (java::lang::Throwable* thrown) {
    fault(r, "cannot be read: " + describe(thrown));
  }
}

bool ContentValidator::checkSheet(const ManifestResource& r, const Bytes& set) {
  if (set.size() < 2) return true;  // the reader reports the cut set
  const int stored = set[0] << 8 | set[1];
  const int pack = r.id >> 10;
  std::string reason;
  if (stored > 1023) {
    fault(r, "its sheet index " + std::to_string(stored) + " is past 1023");
    return false;
  }
  const int sheetId = pack << 10 | stored;
  packOpens(pack, reason);
  if (stored >= loadedCount()) {
    fault(r, "its sheet (index " + std::to_string(stored) + ") is missing from pack " + std::to_string(pack));
    return false;
  }
  if (r.sheet && stored != *r.sheet) {
    fault(r, "its sheet is index " + std::to_string(stored) + ", where the manifest gives " + std::to_string(*r.sheet));
    return false;
  }
  try {
    tq::Resources::getImage(sheetId);
  } catch (java::lang::Throwable* thrown) {
    fault(r, "its sheet (index " + std::to_string(stored) + ") does not decode as an image: " + describe(thrown));
    return false;
  }
  // A sheet that has the rule itself reports its own fault.
  const ManifestResource* sheet = manifest_.find(sheetId);
  if (r.has(Rule::PngOrder) && !(sheet && sheet->has(Rule::PngOrder))) {
    checkPngOrder(r, engineResourceBytes(sheetId), "its sheet");
  }
  return true;
}

}  // namespace content
