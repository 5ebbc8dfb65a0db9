#include "RmsTestSupport.h"

#include <fstream>
#include <iterator>

namespace rms_test {

std::vector<uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint32_t> metadataWords(const std::filesystem::path& storeFolder) {
  const std::vector<uint8_t> b = fileBytes(storeFolder / "metadata.info");
  std::vector<uint32_t> words;
  for (size_t i = 0; i + 4 <= b.size(); i += 4) {
    words.push_back(b[i] | b[i + 1] << 8 | b[i + 2] << 16 | static_cast<uint32_t>(b[i + 3]) << 24);
  }
  return words;
}

}  // namespace rms_test
