#include "HALHttpHeaders.h"

#include <cstdint>

namespace {

std::u16string latin1(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<unsigned char>(bytes[i]);
  return out;
}

std::string_view trimmed(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

char16_t lowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

}  // namespace

std::vector<HALHttpHeader> HAL_parseHTTPHeaders(std::string_view raw) {
  std::vector<HALHttpHeader> headers;
  size_t start = 0;
  while (start < raw.size()) {
    size_t end = raw.find('\n', start);
    const size_t next = end == std::string_view::npos ? raw.size() : end + 1;
    if (end == std::string_view::npos) end = raw.size();
    if (end > start && raw[end - 1] == '\r') --end;
    const std::string_view line = raw.substr(start, end - start);
    if (line.empty()) break;
    HALHttpHeader header;
    // The status line is whole, even when its reason holds a ':'.
    const size_t colon = headers.empty() ? std::string_view::npos : line.find(':');
    if (colon == std::string_view::npos) {
      header.value = latin1(line);
    } else {
      header.key = latin1(line.substr(0, colon));
      header.value = latin1(trimmed(line.substr(colon + 1)));
    }
    headers.push_back(std::move(header));
    start = next;
  }
  return headers;
}

int32_t HAL_findHTTPHeader(const std::vector<HALHttpHeader>& headers, std::u16string_view name) {
  for (size_t i = 0; i < headers.size(); ++i) {
    const auto& key = headers[i].key;
    if (!key || key->size() != name.size()) continue;
    bool same = true;
    for (size_t k = 0; k < name.size() && same; ++k) same = lowerAscii((*key)[k]) == lowerAscii(name[k]);
    if (same) return static_cast<int32_t>(i);
  }
  return -1;
}
