#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ByteWriter.h"

namespace content {

// A description source (docs/content.md): text lines of blank-separated
// words, '#' comments, one statement per line, each statement a keyword
// and its words. Every error names "<file>:<line>".
class DescriptionFile {
 public:
  struct Line {
    int number = 0;
    std::string keyword;
    std::vector<std::string> words;  // after the keyword, without key=value options
    std::map<std::string, std::string> options;
  };

  DescriptionFile(const std::string& text, std::string name);
  static DescriptionFile read(const std::filesystem::path& path);

  const std::vector<Line>& lines() const { return lines_; }
  const std::string& name() const { return name_; }
  std::string where(const Line& line) const;
  [[noreturn]] void fail(const Line& line, const std::string& problem) const;

  // Word `i` of the line as a number in lo..hi ("what" names it).
  long long number(const Line& line, size_t i, long long lo, long long hi, const std::string& what) const;
  // Requires exactly `n` words, or between `n` and `most`.
  void requireWords(const Line& line, size_t n, size_t most = 0) const;
  // An option's value as a number, or `fallback` when absent.
  long long option(const Line& line, const std::string& key, long long lo, long long hi, long long fallback) const;
  // Refuses options other than `known`.
  void requireOptions(const Line& line, const std::vector<std::string>& known) const;

 private:
  std::string name_;
  std::vector<Line> lines_;
};

// A number of text; nullopt unless it is all a decimal or 0x number.
std::optional<long long> parseNumber(const std::string& word);

// The whole file; ContentError naming the file when it cannot be read.
Bytes readFileBytes(const std::filesystem::path& path);

}  // namespace content
