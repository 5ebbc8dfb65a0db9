#pragma once

// Helpers shared by the tests of the Java classes: conversions between Java
// Strings and std::u16string, readable text for failure messages, exception
// checks, and the reader of the Java reference tables in
// tests/<folder>/data (written by the scripts in tools/javagen).
//
// Header only: tests/support/*.cpp is also linked into the benchmarks and
// fuzz targets, which have neither GoogleTest nor a test data folder.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "VMRef.h"
#include "java_lang_String.h"
#include "java_lang_Throwable.h"

namespace java_test {

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

// The lines of tests/<folder>/data/<name> that hold a row: empty lines and
// comments ('#') skipped. The test fails when the file cannot be read or
// holds no rows.
inline std::vector<std::string> readDataLines(const std::string& name) {
  std::ifstream in(std::string(JME_TEST_DATA_DIR) + "/" + name);
  EXPECT_TRUE(in.good()) << "cannot read " << name;
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    lines.push_back(std::move(line));
  }
  EXPECT_FALSE(lines.empty()) << name << " has no cases";
  return lines;
}

// A table field as it stands in the file.
struct KeepField {
  std::string operator()(const std::string& raw) const { return raw; }
};

// The rows of tests/<folder>/data/<name>: tab-separated fields, comments
// skipped. Each field is passed through `decode` (kept as it stands unless
// told otherwise).
template <class Decode = KeepField>
auto readTable(const std::string& name, Decode decode = {}) {
  using Field = decltype(decode(std::string()));
  std::vector<std::vector<Field>> rows;
  for (const std::string& line : readDataLines(name)) {
    std::vector<Field> row;
    size_t start = 0;
    for (;;) {
      const size_t tab = line.find('\t', start);
      row.push_back(decode(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

// The fields of a row of plain text, one blank between them, for failure
// messages.
inline std::string showRow(const std::vector<std::string>& row) {
  std::string out;
  for (const std::string& f : row) out += (out.empty() ? "" : " ") + f;
  return out;
}

}  // namespace java_test
