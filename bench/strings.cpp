// Strings, string buffers and integer text, each side by side with the
// natural C++ alternative doing the same work:
//
//   Append*:     build a text of 20000 characters from 4000 appends of a
//                four-letter String and 4000 of one character, then take it
//                as a String (StringBuffer / std::u16string).
//   HashCode*:   the 31 * h + c hash of a 10000-character text (String /
//                the same loop over a std::u16string; std::hash for scale).
//   IndexOf*:    find the only occurrence of a character at the end of a
//                10000-character text (String / std::u16string::find).
//   Equals*:     compare two equal 10000-character texts in different arrays
//                (String / std::u16string ==).
//   FormatInt*:  decimal text of 1000 ints of all sizes as a new String /
//                std::to_chars into a std::u16string.
//   ParseInt*:   1000 decimal texts back to ints (Integer.parseInt /
//                std::from_chars).
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "VMTestEnv.h"
#include "java_lang_Integer.h"
#include "java_lang_String.h"
#include "java_lang_StringBuffer.h"

namespace {

using java::lang::Integer;
using java::lang::String;
using java::lang::StringBuffer;

constexpr int kAppends = 4000;
constexpr int kLongText = 10000;
constexpr int kNumbers = 1000;

void startVM() { VMTestEnv::start(64ull << 20, 256ull << 20); }

std::u16string longText() {
  std::u16string s;
  for (int i = 0; i < kLongText - 1; ++i) s += static_cast<char16_t>(u'a' + i % 26);
  return s + u'!';
}

VMPtr<String> javaString(const std::u16string& s) {
  return String::_VM_fromUTF16(s.data(), static_cast<int32_t>(s.size()));
}

// Ints of every length, both signs.
std::vector<int32_t> numbers() {
  std::mt19937 random(7);
  std::vector<int32_t> out;
  for (int i = 0; i < kNumbers; ++i) {
    const auto bits = static_cast<int32_t>(random());
    out.push_back(bits >> (random() % 32));
  }
  return out;
}

void AppendRuntime(benchmark::State& state) {
  startVM();
  VMPtr<String> word = javaString(u"word");
  for (auto _ : state) {
    VMPtr<StringBuffer> sb = StringBuffer::_VM_new();
    sb->_VM_init();
    for (int i = 0; i < kAppends; ++i) {
      sb->append(word);
      sb->append(u' ');
    }
    VMPtr<String> s = sb->toString();
    benchmark::DoNotOptimize(s.get());
  }
}
BENCHMARK(AppendRuntime);

void AppendStd(benchmark::State& state) {
  const std::u16string word = u"word";
  for (auto _ : state) {
    std::u16string sb;
    for (int i = 0; i < kAppends; ++i) {
      sb += word;
      sb += u' ';
    }
    std::u16string s = std::move(sb);
    benchmark::DoNotOptimize(s.data());
  }
}
BENCHMARK(AppendStd);

void HashCodeRuntime(benchmark::State& state) {
  startVM();
  VMPtr<String> s = javaString(longText());
  for (auto _ : state) benchmark::DoNotOptimize(s->hashCode());
}
BENCHMARK(HashCodeRuntime);

void HashCodeStd(benchmark::State& state) {
  const std::u16string s = longText();
  for (auto _ : state) {
    uint32_t h = 0;
    for (char16_t c : s) h = 31 * h + c;
    benchmark::DoNotOptimize(h);
  }
}
BENCHMARK(HashCodeStd);

void HashCodeStdHash(benchmark::State& state) {
  const std::u16string s = longText();
  for (auto _ : state) benchmark::DoNotOptimize(std::hash<std::u16string>{}(s));
}
BENCHMARK(HashCodeStdHash);

void IndexOfRuntime(benchmark::State& state) {
  startVM();
  VMPtr<String> s = javaString(longText());
  for (auto _ : state) benchmark::DoNotOptimize(s->indexOf(u'!'));
}
BENCHMARK(IndexOfRuntime);

void IndexOfStd(benchmark::State& state) {
  const std::u16string s = longText();
  for (auto _ : state) benchmark::DoNotOptimize(s.find(u'!'));
}
BENCHMARK(IndexOfStd);

void EqualsRuntime(benchmark::State& state) {
  startVM();
  VMPtr<String> a = javaString(longText());
  VMPtr<java::lang::Object> b = javaString(longText());
  for (auto _ : state) benchmark::DoNotOptimize(a->equals(b));
}
BENCHMARK(EqualsRuntime);

void EqualsStd(benchmark::State& state) {
  const std::u16string a = longText();
  const std::u16string b = longText();
  for (auto _ : state) benchmark::DoNotOptimize(a == b);
}
BENCHMARK(EqualsStd);

void FormatIntRuntime(benchmark::State& state) {
  startVM();
  const std::vector<int32_t> values = numbers();
  for (auto _ : state) {
    for (int32_t v : values) {
      VMPtr<String> s = String::valueOf(v);
      benchmark::DoNotOptimize(s.get());
    }
  }
}
BENCHMARK(FormatIntRuntime);

void FormatIntStd(benchmark::State& state) {
  const std::vector<int32_t> values = numbers();
  for (auto _ : state) {
    for (int32_t v : values) {
      char buffer[12];
      const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, v);
      std::u16string s(buffer, r.ptr);
      benchmark::DoNotOptimize(s.data());
    }
  }
}
BENCHMARK(FormatIntStd);

void ParseIntRuntime(benchmark::State& state) {
  startVM();
  const std::vector<int32_t> values = numbers();
  std::vector<VMPtr<String>> texts;
  texts.reserve(values.size());
  for (int32_t v : values) texts.push_back(String::valueOf(v));
  for (auto _ : state) {
    for (const VMPtr<String>& s : texts) benchmark::DoNotOptimize(Integer::parseInt(s));
  }
}
BENCHMARK(ParseIntRuntime);

void ParseIntStd(benchmark::State& state) {
  const std::vector<int32_t> values = numbers();
  std::vector<std::string> texts;
  for (int32_t v : values) texts.push_back(std::to_string(v));
  for (auto _ : state) {
    for (const std::string& s : texts) {
      int32_t v = 0;
      std::from_chars(s.data(), s.data() + s.size(), v);
      benchmark::DoNotOptimize(v);
    }
  }
}
BENCHMARK(ParseIntStd);

}  // namespace
