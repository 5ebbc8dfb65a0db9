// Images (decoded by the platform's image decoder through the pack) and
// sounds (the canonical WAV header the platform reads at fixed offsets).
#include <cstring>

#include "CheckSupport.h"
#include "ContentValidator.h"
#include "tq_Resources.h"

namespace content {

namespace {

uint32_t be32(const Bytes& b, size_t at) {
  return static_cast<uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}
uint32_t le32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint32_t le16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }
bool tagAt(const Bytes& b, size_t at, const char* tag) { return std::memcmp(b.data() + at, tag, 4) == 0; }

}  // namespace

std::string pngOrderProblem(const Bytes& png) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (png.size() < 8 || std::memcmp(png.data(), kSignature, 8) != 0) return "is not a PNG";
  std::vector<std::string> chunks;
  for (size_t at = 8; chunks.empty() || chunks.back() != "IEND";) {
    if (png.size() - at < 12) return "its chunks run past the end";
    const uint64_t length = be32(png, at);
    chunks.emplace_back(reinterpret_cast<const char*>(png.data() + at + 4), 4);
    if (length > png.size() - at - 12) return "its " + chunks.back() + " chunk runs past the end";
    at += 12 + length;
  }
  if (chunks[0] != "IHDR") return "its first chunk is " + chunks[0] + ", not IHDR";
  const bool palette = png.size() > 25 && png[25] == 3;  // the IHDR colour type
  for (size_t i = 1; i < chunks.size(); ++i) {
    if (chunks[i] == "PLTE" && i != 1) return "PLTE does not follow IHDR right away (" + chunks[1] + " comes between)";
    if (chunks[i] == "tRNS" && palette && chunks[i - 1] != "PLTE") {
      return "tRNS does not follow PLTE right away (" + chunks[i - 1] + " comes between)";
    }
  }
  return "";
}

void ContentValidator::checkPngOrder(const ManifestResource& r, const Bytes& png, const std::string& what) {
  const std::string problem = pngOrderProblem(png);
  if (!problem.empty()) fault(r, what.empty() ? problem : what + ": " + problem);
}

void ContentValidator::checkImage(const ManifestResource& r) {
  try {
    tq::Resources::getImage(r.id);
  } catch (java::lang::Throwable* thrown) {
    return fault(r, "does not decode as an image: " + check::describe(thrown));
  }
  if (r.has(Rule::PngOrder)) checkPngOrder(r, engineResourceBytes(r.id), "");
}

void ContentValidator::checkSound(const ManifestResource& r) {
  const Bytes wav = engineResourceBytes(r.id);
  if (wav.size() < 44 || !tagAt(wav, 0, "RIFF") || !tagAt(wav, 8, "WAVE") || !tagAt(wav, 12, "fmt ") ||
      !tagAt(wav, 36, "data")) {
    return fault(r, "is not a WAV with the canonical 44-byte header (RIFF, WAVE, fmt at 12, data at 36)");
  }
  const uint32_t channels = le16(wav, 22), rate = le32(wav, 24), byteRate = le32(wav, 28);
  const uint32_t blockAlign = le16(wav, 32), bits = le16(wav, 34);
  if (le32(wav, 16) != 16 || le16(wav, 20) != 1) return fault(r, "is not 16-byte PCM format (format 1)");
  if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16) || rate == 0) {
    return fault(r, "has " + std::to_string(channels) + " channels of " + std::to_string(bits) +
                        " bits at " + std::to_string(rate) + " Hz; 1 or 2 channels of 8 or 16 bits are played");
  }
  if (blockAlign != channels * bits / 8 || byteRate != rate * blockAlign) {
    return fault(r, "its block align or byte rate disagrees with its channels, bits and rate");
  }
  if (!r.has(Rule::Limits)) return;
  const size_t samples = wav.size() - 44;
  if (le32(wav, 4) != wav.size() - 8) fault(r, "its RIFF size is not the file's size less 8");
  if (le32(wav, 40) != samples) fault(r, "its data size is not the " + std::to_string(samples) + " bytes after the header");
  if (samples == 0 || samples % blockAlign != 0) fault(r, "its samples are not a whole number of frames, at least one");
}

}  // namespace content
