#pragma once

// Helpers of the string tests: the shared conversions and exception checks
// of JavaTestSupport.h, and the fields of the Java reference tables in
// tests/strings/data (written by tools/javagen/generate.sh) with their
// escapes resolved.

#include <cstdint>
#include <string>
#include <vector>

#include "JavaTestSupport.h"

namespace strings_test {

using java_test::jstr;
using java_test::messageOf;
using java_test::show;
using java_test::text;
using java_test::thrownMessage;
using java_test::u16;

// One field of a reference table: text with its escapes resolved, or null.
struct Field {
  std::u16string text;
  bool isNull = false;

  int64_t number() const { return std::stoll(std::string(text.begin(), text.end())); }
  int32_t int32() const { return static_cast<int32_t>(number()); }
  std::string ascii() const { return std::string(text.begin(), text.end()); }
};
using Row = std::vector<Field>;

inline Field unescape(const std::string& raw) {
  Field f;
  if (raw == "\\N") {
    f.isNull = true;
    return f;
  }
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '\\') {
      f.text += static_cast<char16_t>(static_cast<unsigned char>(raw[i]));
    } else if (raw[i + 1] == '\\') {
      f.text += u'\\';
      ++i;
    } else {
      f.text += static_cast<char16_t>(std::stoul(raw.substr(i + 2, 4), nullptr, 16));
      i += 5;
    }
  }
  return f;
}

// The rows of tests/strings/data/<name>, comments skipped, each field
// unescaped.
inline std::vector<Row> readTable(const std::string& name) { return java_test::readTable(name, unescape); }

// "a<TAB>b<TAB>c" for failure messages.
inline std::string showRow(const Row& row) {
  std::string out;
  for (const Field& f : row) {
    if (!out.empty()) out += " | ";
    out += f.isNull ? "null" : show(f.text);
  }
  return out;
}

}  // namespace strings_test
