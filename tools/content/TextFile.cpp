#include "ContentError.h"
#include "Descriptions.h"

namespace content {

namespace {

// Decodes one line's UTF-8 (1 to 4 bytes; 4-byte characters are outside
// the Basic Multilingual Plane and refused) and its escapes.
class TextLineReader {
 public:
  TextLineReader(const Bytes& bytes, size_t begin, size_t end, std::string where)
      : bytes_(bytes), at_(begin), end_(end), where_(std::move(where)) {}

  std::u16string read() {
    std::u16string text;
    while (at_ < end_) {
      char32_t c = next();
      if (c == '\\') c = escape();
      text.push_back(static_cast<char16_t>(c));
    }
    return text;
  }

 private:
  [[noreturn]] void fail(const std::string& problem) const { throw ContentError(where_, problem); }

  char32_t next() {
    const uint8_t lead = bytes_[at_++];
    if (lead < 0x80) return lead;
    const int more = lead >= 0xC2 && lead < 0xE0 ? 1 : lead >= 0xE0 && lead < 0xF0 ? 2 : lead >= 0xF0 && lead < 0xF5 ? 3 : -1;
    if (more < 0) fail("malformed UTF-8 (byte " + std::to_string(lead) + ")");
    char32_t c = lead & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
      if (at_ >= end_ || (bytes_[at_] & 0xC0) != 0x80) fail("malformed UTF-8 (a sequence is cut short)");
      c = c << 6 | (bytes_[at_++] & 0x3F);
    }
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[more]) fail("malformed UTF-8 (an overlong sequence)");
    if (c > 0xFFFF) fail("a character outside the Basic Multilingual Plane");
    if (c >= 0xD800 && c <= 0xDFFF) fail("malformed UTF-8 (a surrogate)");
    return c;
  }

  char32_t escape() {
    if (at_ >= end_) fail("a backslash ends the line; write \\\\ for a backslash");
    const char32_t c = next();
    if (c == 'n') return '\n';
    if (c == 't') return '\t';
    if (c == '\\') return '\\';
    if (c != 'u') fail("unknown escape \\" + std::string(1, static_cast<char>(c < 0x80 ? c : '?')));
    if (end_ - at_ < 4) fail("\\u needs four hexadecimal digits");
    char32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const char d = static_cast<char>(bytes_[at_++]);
      const int digit = d >= '0' && d <= '9' ? d - '0' : d >= 'a' && d <= 'f' ? d - 'a' + 10 : d >= 'A' && d <= 'F' ? d - 'A' + 10 : -1;
      if (digit < 0) fail("\\u needs four hexadecimal digits");
      v = v << 4 | static_cast<char32_t>(digit);
    }
    if (v >= 0xD800 && v <= 0xDFFF) fail("\\u names a surrogate, which is no character of its own");
    return v;
  }

  const Bytes& bytes_;
  size_t at_, end_;
  std::string where_;
};

}  // namespace

std::vector<std::u16string> readTextFile(const Bytes& bytes, const std::string& name) {
  std::vector<std::u16string> texts;
  size_t at = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
  for (int line = 1; at < bytes.size(); ++line) {
    size_t end = at;
    while (end < bytes.size() && bytes[end] != '\n') ++end;
    const size_t next = end + 1;
    if (end > at && bytes[end - 1] == '\r') --end;  // a line of a file with CR LF line ends
    texts.push_back(TextLineReader(bytes, at, end, name + ":" + std::to_string(line)).read());
    at = next;
  }
  return texts;
}

}  // namespace content
