#include "DescriptionFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "ContentError.h"

namespace content {

std::optional<long long> parseNumber(const std::string& word) {
  size_t used = 0;
  long long value = 0;
  try {
    value = std::stoll(word, &used, 0);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (used != word.size()) return std::nullopt;
  return value;
}

Bytes readFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  require(in.good(), path.string(), "cannot be read");
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

DescriptionFile::DescriptionFile(const std::string& text, std::string name) : name_(std::move(name)) {
  std::istringstream in(text);
  std::string raw;
  for (int number = 1; std::getline(in, raw); ++number) {
    std::istringstream words(raw.substr(0, raw.find('#')));
    Line line;
    line.number = number;
    for (std::string w; words >> w;) {
      const size_t eq = w.find('=');
      if (line.keyword.empty()) {
        line.keyword = w;
      } else if (eq != std::string::npos && eq > 0) {
        if (line.options.count(w.substr(0, eq))) fail(line, "option " + w.substr(0, eq) + " is given twice");
        line.options[w.substr(0, eq)] = w.substr(eq + 1);
      } else {
        line.words.push_back(w);
      }
    }
    if (!line.keyword.empty()) lines_.push_back(std::move(line));
  }
}

DescriptionFile DescriptionFile::read(const std::filesystem::path& path) {
  Bytes bytes = readFileBytes(path);
  return DescriptionFile(std::string(bytes.begin(), bytes.end()), path.string());
}

std::string DescriptionFile::where(const Line& line) const { return name_ + ":" + std::to_string(line.number); }

void DescriptionFile::fail(const Line& line, const std::string& problem) const {
  throw ContentError(where(line), problem);
}

long long DescriptionFile::number(const Line& line, size_t i, long long lo, long long hi,
                                  const std::string& what) const {
  if (i >= line.words.size()) fail(line, line.keyword + " needs its " + what);
  std::optional<long long> value = parseNumber(line.words[i]);
  if (!value) fail(line, what + " \"" + line.words[i] + "\" is not a number");
  if (*value < lo || *value > hi) {
    fail(line, what + " " + line.words[i] + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
  }
  return *value;
}

void DescriptionFile::requireWords(const Line& line, size_t n, size_t most) const {
  most = std::max(n, most);
  if (line.words.size() < n || line.words.size() > most) {
    fail(line, line.keyword + " takes " + std::to_string(n) + (most > n ? ".." + std::to_string(most) : "") +
                   " words, not " + std::to_string(line.words.size()));
  }
}

long long DescriptionFile::option(const Line& line, const std::string& key, long long lo, long long hi,
                                  long long fallback) const {
  auto it = line.options.find(key);
  if (it == line.options.end()) return fallback;
  std::optional<long long> value = parseNumber(it->second);
  if (!value || *value < lo || *value > hi) {
    fail(line, key + "=" + it->second + " is not a number in " + std::to_string(lo) + ".." + std::to_string(hi));
  }
  return *value;
}

void DescriptionFile::requireOptions(const Line& line, const std::vector<std::string>& known) const {
  for (const auto& [key, value] : line.options) {
    if (std::find(known.begin(), known.end(), key) == known.end()) fail(line, "unknown option " + key);
  }
}

}  // namespace content
