#pragma once

// Helpers of the string tests: conversions between Java Strings and
// std::u16string, exception checks, and the reader of the Java reference
// tables in tests/strings/data (written by tools/javagen/generate.sh).

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "VMRef.h"
#include "java_lang_String.h"
#include "java_lang_Throwable.h"

namespace strings_test {

inline VMPtr<java::lang::String> jstr(const std::u16string& text) {
  return java::lang::String::_VM_fromUTF16(text.data(), static_cast<int32_t>(text.size()));
}

inline std::u16string text(const VMPtr<java::lang::String>& s) {
  if (s->count == 0) return {};
  return std::u16string(s->_VM_chars(), static_cast<size_t>(s->count));
}

// Readable form of UTF-16 text for failure messages: ASCII as is, every
// other unit as \uXXXX.
inline std::string show(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out;
}

inline std::u16string u16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// The message of a caught throwable, or "<null>".
inline std::string messageOf(java::lang::Throwable* t) {
  VMPtr<java::lang::Throwable> e(t);
  VMPtr<java::lang::String> m = e->getMessage();
  return m ? show(text(m)) : "<null>";
}

// Runs `body`, which must throw E; returns the message ("<null>" for none).
template <class E, class F>
std::string thrownMessage(F&& body) {
  try {
    body();
  } catch (E* e) {
    return messageOf(e);
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> other(t);
    ADD_FAILURE() << "threw " << t->_VM_getClass()->_VM_name.c_str() << " instead";
    return "<wrong exception>";
  }
  ADD_FAILURE() << "nothing thrown";
  return "<nothing thrown>";
}

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

// The rows of tests/strings/data/<name>, comments skipped.
inline std::vector<Row> readTable(const std::string& name) {
  std::ifstream in(std::string(JME_TEST_DATA_DIR) + "/" + name);
  EXPECT_TRUE(in.good()) << "cannot read " << name;
  std::vector<Row> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    Row row;
    size_t start = 0;
    for (;;) {
      const size_t tab = line.find('\t', start);
      row.push_back(unescape(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    rows.push_back(std::move(row));
  }
  EXPECT_FALSE(rows.empty()) << name << " has no cases";
  return rows;
}

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
