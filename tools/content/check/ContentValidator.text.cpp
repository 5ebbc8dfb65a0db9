// Levels, translation tables and the canvas's text table.
#include "CheckSupport.h"
#include "ContentCanvas.h"
#include "ContentValidator.h"
#include "PlayRules.h"
#include "java_io_EOFException.h"
#include "tq_Resources.h"
#include "tq_util_text_Translation.h"

namespace content {

namespace {

// Whether bytes are UTF-8 of 1- to 3-byte characters (no surrogates, no
// overlong forms), the only characters the engine's decoders take.
bool isEngineUtf8(const Bytes& b, size_t at, size_t end) {
  while (at < end) {
    const uint8_t lead = b[at];
    const size_t more = lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1 : lead >= 0xE0 && lead < 0xF0 ? 2 : 3;
    if (more == 3 || more > end - at - 1) return false;
    uint32_t c = more == 0 ? lead : lead & (0x3F >> more);
    for (size_t k = 1; k <= more; ++k) {
      if ((b[at + k] & 0xC0) != 0x80) return false;
      c = c << 6 | (b[at + k] & 0x3F);
    }
    if ((more == 2 && c < 0x800) || (c >= 0xD800 && c <= 0xDFFF)) return false;
    at += more + 1;
  }
  return true;
}

// A table's records (count, then per text a signed 16-bit length and its
// bytes): the problems of each, and the bytes after the last.
struct TableWalk {
  std::vector<std::string> problems;
  long count = 0;
  long textBytes = 0;
  size_t trailing = 0;
};

TableWalk walkTable(const Bytes& bytes, bool signedCount) {
  TableWalk walk;
  check::RawReader in(bytes);
  walk.count = signedCount ? in.s16() : static_cast<long>(in.u16());
  if (in.cut()) {
    walk.problems.push_back("is cut short before its count");
    return walk;
  }
  if (walk.count < 0) walk.problems.push_back("its count " + std::to_string(walk.count) + " is negative");
  for (long i = 0; i < walk.count; ++i) {
    const std::string item = "text " + std::to_string(i);
    const int32_t length = in.s16();
    if (in.cut() || length < 0 || static_cast<size_t>(length) > in.left()) {
      walk.problems.push_back(in.cut() ? item + " is cut short" : length < 0 ? item + " has a negative length"
                                                                             : item + " runs past the end");
      return walk;
    }
    if (!isEngineUtf8(bytes, in.position(), in.position() + static_cast<size_t>(length))) {
      walk.problems.push_back(item + " is not UTF-8 of 1- to 3-byte characters");
    }
    in.skip(static_cast<size_t>(length));
    walk.textBytes += length;
  }
  walk.trailing = in.left();
  return walk;
}

}  // namespace

void ContentValidator::checkLevel(const ManifestResource& r) {
  int64_t bits = 0;
  const ManifestResource read = r.has(Rule::PlayLevel) ? check::withGameFields(r) : r;
  try {
    bits = check::ContentCanvas::shared()->readLevel(read);
  } catch (java::io::EOFException* thrown) {
    VMPtr<java::lang::Throwable> bound(thrown);
    return fault(r, "is cut short: the stream ends before its last field");
  }
  const int64_t size = tq::Resources::getSize(r.id);
  const int64_t used = (bits + 7) / 8;
  if (r.has(Rule::Limits) && used < size) fault(r, check::bytesAfter(size - used, "its last field"));
  if (r.has(Rule::PlayLevel)) {
    for (const std::string& p : check::playLevelProblems(r.id, engineResourceBytes(r.id))) fault(r, p);
  }
}

void ContentValidator::checkTranslationTable(const ManifestResource& r) {
  const TableWalk walk = walkTable(engineResourceBytes(r.id), false);
  for (const std::string& problem : walk.problems) fault(r, problem);
  if (r.has(Rule::Limits) && walk.problems.empty() && walk.trailing > 0) {
    fault(r, check::bytesAfter(walk.trailing, "its last text"));
  }
  VMPtr<tq::util::text::Translation> table = tq::Resources::getTranslation(r.id);
  if (table->count != walk.count && walk.problems.empty()) {
    return fault(r, "the engine reads " + std::to_string(table->count) + " texts of its " + std::to_string(walk.count));
  }
  for (int32_t i = 0; i < table->count; ++i) table->getString(i);
}

void ContentValidator::checkCanvasTextTable(const ManifestResource& r) {
  const TableWalk walk = walkTable(engineResourceBytes(r.id), true);
  for (const std::string& problem : walk.problems) fault(r, problem);
  if (r.has(Rule::Limits) && walk.problems.empty()) {
    if (walk.trailing > 0) fault(r, check::bytesAfter(walk.trailing, "its last text"));
    if (walk.textBytes > 65535) fault(r, "its texts hold " + std::to_string(walk.textBytes) + " bytes, past the 65535 its offsets reach");
  }
  VMPtr<check::ContentCanvas> canvas = check::ContentCanvas::shared();
  canvas->loadTexts(r.id);
  for (long i = 0; walk.problems.empty() && i < walk.count; ++i) {
    if (!canvas->getText(static_cast<int32_t>(i))) return fault(r, "text " + std::to_string(i) + " does not decode in the canvas");
  }
  canvas->loadTexts(-1);
}

}  // namespace content
