// Fuzz target: the reply header parser over arbitrary bytes (what a server
// may send as its header block). Every record must have a value; record 0
// (the status line) has no key; a key never holds ':', line ends or
// surrounding blanks in its value; every key is found again by name
// (ignoring letter case) at its own index or an earlier one with the same
// name.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "HALHttpHeaders.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  const auto headers = HAL_parseHTTPHeaders(raw);
  check(headers.size() <= size);
  for (size_t i = 0; i < headers.size(); ++i) {
    const HALHttpHeader& h = headers[i];
    check(h.value.has_value());
    check(h.value->find(u'\n') == std::u16string::npos);
    check(i != 0 || !h.key);
    if (!h.key) continue;
    check(h.key->find(u':') == std::u16string::npos && h.key->find(u'\n') == std::u16string::npos);
    if (!h.value->empty()) {
      check(h.value->front() != u' ' && h.value->front() != u'\t');
      check(h.value->back() != u' ' && h.value->back() != u'\t');
    }
    const int32_t found = HAL_findHTTPHeader(headers, *h.key);
    check(found >= 0 && static_cast<size_t>(found) <= i);
  }
  return 0;
}
