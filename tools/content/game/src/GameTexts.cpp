#include "GameTexts.h"

#include <fstream>

#include "ContentError.h"
#include "TextTableWriter.h"

namespace gamecontent {

using content::require;

const std::vector<int>& usedTextIds() {
  static const std::vector<int> ids = {
      0,  1,  3,  6,  7,  8,  9,  10, 11, 12, 13, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 32,
      37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 50, 51, 52, 53, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67,
      68, 69, 70, 71, 72};
  return ids;
}

const std::vector<TableSource>& tableSources() {
  static const std::vector<TableSource> sources = {
      {0x5000, "de.txt"}, {0x5001, "en.txt"}, {0x5002, "fr.txt"}, {0x5003, "es.txt"}, {0x5004, "it.txt"}};
  return sources;
}

namespace {

// The length of the UTF-8 sequence that starts with `lead`, 0 when `lead`
// cannot start one.
int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Replaces "\n" by a line break and "\\" by a backslash.
std::u16string unescape(const std::u16string& text, const std::string& item) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\\') {
      out += text[i];
      continue;
    }
    require(i + 1 < text.size(), item, "a backslash ends the text");
    const char16_t next = text[++i];
    require(next == u'n' || next == u'\\', item, "unknown escape \\" + std::string(1, static_cast<char>(next)));
    out += next == u'n' ? u'\n' : u'\\';
  }
  return out;
}

}  // namespace

std::u16string decodeUtf8(const std::string& bytes, const std::string& item) {
  std::u16string out;
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int n = sequenceLength(lead);
    require(n != 0 && i + n <= bytes.size(), item, "bad UTF-8 at byte " + std::to_string(i));
    char32_t c = n == 1 ? lead : lead & (0x7F >> n);
    for (int k = 1; k < n; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + k]);
      require((b & 0xC0) == 0x80, item, "bad UTF-8 at byte " + std::to_string(i + k));
      c = (c << 6) | (b & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    require(c >= least[n], item, "overlong UTF-8 at byte " + std::to_string(i));
    require(c < 0xD800 || (c > 0xDFFF && c <= 0xFFFF), item,
            "character at byte " + std::to_string(i) + " is outside the Basic Multilingual Plane");
    out += static_cast<char16_t>(c);
    i += n;
  }
  return out;
}

std::vector<std::u16string> parseTexts(std::istream& in, const std::string& name) {
  std::vector<std::u16string> texts;
  std::string line;
  for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
    const std::string item = name + ":" + std::to_string(lineNumber);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    size_t digits = 0;
    while (digits < line.size() && digits < 6 && line[digits] >= '0' && line[digits] <= '9') ++digits;
    require(digits > 0, item, "a line starts with a text id");
    const int id = std::stoi(line.substr(0, digits));
    require(id == static_cast<int>(texts.size()), item,
            "text id " + std::to_string(id) + " where " + std::to_string(texts.size()) + " is due");
    require(id < kTextCount, item, "text id " + std::to_string(id) + " is beyond the last, " +
                                       std::to_string(kTextCount - 1));
    require(digits == line.size() || line[digits] == ' ', item, "a space separates the id from the text");
    const std::string body = digits == line.size() ? std::string() : line.substr(digits + 1);
    texts.push_back(unescape(decodeUtf8(body, item), item));
  }
  require(static_cast<int>(texts.size()) == kTextCount, name,
          "has " + std::to_string(texts.size()) + " texts, not " + std::to_string(kTextCount));
  return texts;
}

std::vector<std::u16string> readTexts(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  require(in.good(), file.string(), "cannot be opened");
  return parseTexts(in, file.filename().string());
}

std::vector<TextTable> readTables(const std::filesystem::path& folder) {
  std::vector<TextTable> tables;
  for (const TableSource& s : tableSources()) {
    tables.push_back(TextTable{s.resourceId, s.file, readTexts(folder / "texts" / s.file)});
  }
  return tables;
}

content::Bytes tableResource(const TextTable& table) { return content::writeTranslationTable(table.texts); }

}  // namespace gamecontent
