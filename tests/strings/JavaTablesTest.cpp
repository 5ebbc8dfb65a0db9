// The behaviour that strings, string buffers, integer text and the array
// copy share with Java SE 17, checked against tables that Java 17 printed
// (tools/javagen/StringTables.java). The tables hold only inputs on which
// the two agree by design; where this system deliberately differs (case
// mapping beyond Latin-1, '+' signs and non-ASCII digits in parseInt,
// exception messages, the capacity after shortening a shared buffer), the
// other test files check this system's own behaviour.

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "StringTestSupport.h"
#include "VMArray.h"
#include "VMTestEnv.h"
#include "java_lang_Integer.h"
#include "java_lang_Long.h"
#include "java_lang_NumberFormatException.h"
#include "java_lang_String.h"
#include "java_lang_StringBuffer.h"
#include "java_lang_System.h"

using java::lang::Integer;
using java::lang::Long;
using java::lang::Object;
using java::lang::String;
using java::lang::StringBuffer;
using java::lang::System;
using java::lang::Throwable;
using namespace strings_test;

namespace {

// The simple name of a throwable's class, as the tables write it.
std::string simpleName(Throwable* t) {
  const std::string name = t->_VM_getClass()->_VM_name.c_str();
  return name.substr(name.rfind('.') + 1);
}

// One String per distinct text, so that large tables allocate little (the
// stress mode collects at every allocation).
class StringCache {
 public:
  VMPtr<String> get(const Field& f) {
    if (f.isNull) return VMPtr<String>();
    auto it = strings_.find(f.text);
    if (it == strings_.end()) it = strings_.emplace(f.text, jstr(f.text)).first;
    return it->second;
  }

 private:
  std::map<std::u16string, VMPtr<String>> strings_;
};

TEST(JavaTables, StringSearchAndHash) {
  VMTestEnv::start();
  StringCache cache;
  for (const Row& row : readTable("string_search.txt")) {
    SCOPED_TRACE(showRow(row));
    const std::string op = row[0].ascii();
    VMPtr<String> s = cache.get(row[1]);
    if (op == "hashCode") {
      EXPECT_EQ(s->hashCode(), row[2].int32());
    } else if (op == "indexOf") {
      EXPECT_EQ(s->indexOf(row[2].int32(), row[3].int32()), row[4].int32());
    } else if (op == "lastIndexOf") {
      EXPECT_EQ(s->lastIndexOf(row[2].int32(), row[3].int32()), row[4].int32());
    } else if (op == "startsWith") {
      EXPECT_EQ(s->startsWith(cache.get(row[2]), row[3].int32()), row[4].int32());
    } else if (op == "regionMatches") {
      EXPECT_EQ(s->regionMatches(static_cast<uint8_t>(row[2].int32()), row[3].int32(), cache.get(row[4]),
                                 row[5].int32(), row[6].int32()),
                row[7].int32());
    } else if (op == "equals") {
      EXPECT_EQ(s->equals(cache.get(row[2])), row[3].int32());
    } else {
      ADD_FAILURE() << "unknown operation";
    }
  }
}

TEST(JavaTables, CaseInsensitiveMatchingAndLowerCase) {
  VMTestEnv::start();
  StringCache cache;
  std::set<std::pair<int, int>> matching;
  for (const Row& row : readTable("string_case.txt")) {
    SCOPED_TRACE(showRow(row));
    const std::string op = row[0].ascii();
    if (op == "ciPair") {
      matching.emplace(row[1].int32(), row[2].int32());
    } else if (op == "equalsIgnoreCase") {
      EXPECT_EQ(cache.get(row[1])->equalsIgnoreCase(cache.get(row[2])), row[3].int32());
    } else if (op == "toLowerCase") {
      EXPECT_EQ(show(text(cache.get(row[1])->toLowerCase())), show(row[2].text));
    } else {
      ADD_FAILURE() << "unknown operation";
    }
  }
  // Every pair of one-character Strings of Latin-1 but U+00B5 and U+00FF
  // (whose upper case lies outside Latin-1 in Java SE).
  std::vector<VMPtr<String>> single;
  for (int c = 0; c < 256; ++c) single.push_back(String::valueOf(static_cast<char16_t>(c)));
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      if (a == b || a == 0xB5 || a == 0xFF || b == 0xB5 || b == 0xFF) continue;
      EXPECT_EQ(single[a]->equalsIgnoreCase(single[b]), matching.count({a, b}) ? 1 : 0) << a << " " << b;
    }
  }
}

TEST(JavaTables, SubstringTrimAndReplace) {
  VMTestEnv::start();
  StringCache cache;
  for (const Row& row : readTable("string_slice.txt")) {
    SCOPED_TRACE(showRow(row));
    const std::string op = row[0].ascii();
    VMPtr<String> s = cache.get(row[1]);
    std::string result;
    try {
      if (op == "substring") {
        result = show(text(s->substring(row[2].int32(), row[3].int32())));
      } else if (op == "trim") {
        result = show(text(s->trim()));
      } else if (op == "replace") {
        result = show(text(s->replace(static_cast<char16_t>(row[2].int32()), static_cast<char16_t>(row[3].int32()))));
      } else {
        ADD_FAILURE() << "unknown operation";
      }
    } catch (Throwable* t) {
      result = "!" + simpleName(t);
    }
    EXPECT_EQ(result, show(row.back().text));
  }
}

TEST(JavaTables, IntegerAndLongText) {
  VMTestEnv::start();
  for (const Row& row : readTable("int_format.txt")) {
    SCOPED_TRACE(showRow(row));
    const std::string op = row[0].ascii();
    VMPtr<String> s;
    if (op == "int") {
      s = Integer::toString(row[1].int32(), row[2].int32());
    } else if (op == "long") {
      s = Long::toString(row[1].number(), row[2].int32());
    } else if (op == "hex") {
      s = Integer::toHexString(row[1].int32());
    } else {
      ADD_FAILURE() << "unknown operation";
      continue;
    }
    EXPECT_EQ(show(text(s)), show(row.back().text));
  }
}

TEST(JavaTables, ParseIntInEveryRadix) {
  VMTestEnv::start();
  StringCache cache;
  for (const Row& row : readTable("parse_int.txt")) {
    SCOPED_TRACE(showRow(row));
    std::string result;
    try {
      result = std::to_string(Integer::parseInt(cache.get(row[1]), row[2].int32()));
    } catch (java::lang::NumberFormatException* e) {
      VMPtr<Throwable> bound(e);
      result = "!NumberFormatException";
    }
    EXPECT_EQ(result, row[3].ascii());
  }
}

// Runs the buffer scripts of the table: each step, then the capacity and
// the text (or the exception), as the Java program printed them.
TEST(JavaTables, StringBufferScripts) {
  VMTestEnv::start();
  VMPtr<StringBuffer> sb;
  std::vector<VMPtr<String>> taken;
  int script = -1;
  for (const Row& row : readTable("string_buffer.txt")) {
    SCOPED_TRACE(showRow(row));
    if (row[0].int32() != script) {
      script = row[0].int32();
      sb = nullptr;
      taken.clear();
    }
    // The step: its words, the text argument being the rest of the line.
    const std::u16string& step = row[1].text;
    std::vector<std::u16string> w;
    for (size_t start = 0;;) {
      const size_t blank = step.find(u' ', start);
      w.push_back(step.substr(start, blank == std::u16string::npos ? std::u16string::npos : blank - start));
      if (blank == std::u16string::npos) break;
      start = blank + 1;
    }
    auto number = [](const std::u16string& t) { return std::stoi(std::string(t.begin(), t.end())); };
    auto rest = [&](size_t from) {
      std::u16string r;
      for (size_t i = from; i < w.size(); ++i) r += (i > from ? u" " : u"") + w[i];
      return r;
    };
    const std::string op(w[0].begin(), w[0].end());
    const std::string kind = w.size() > 1 ? std::string(w[1].begin(), w[1].end()) : "";
    std::string capacity;
    std::string contents;
    try {
      if (op == "new") {
        sb = StringBuffer::_VM_new();
        sb->_VM_init();
      } else if (op == "newCap") {
        sb = StringBuffer::_VM_new();
        sb->_VM_init(number(w[1]));
      } else if (op == "newStr") {
        sb = StringBuffer::_VM_new();
        sb->_VM_init(jstr(rest(1)));
      } else if (op == "append" && kind == "s") {
        sb->append(jstr(rest(2)));
      } else if (op == "append" && kind == "c") {
        sb->append(static_cast<char16_t>(number(w[2])));
      } else if (op == "append" && kind == "i") {
        sb->append(static_cast<int32_t>(number(w[2])));
      } else if (op == "append" && kind == "null") {
        sb->append(VMPtr<String>());
      } else if (op == "insert" && kind == "s") {
        sb->insert(number(w[2]), jstr(rest(3)));
      } else if (op == "insert" && kind == "c") {
        sb->insert(number(w[2]), static_cast<char16_t>(number(w[3])));
      } else if (op == "insert" && kind == "i") {
        sb->insert(number(w[2]), static_cast<int32_t>(number(w[3])));
      } else if (op == "insert" && kind == "null") {
        sb->insert(number(w[2]), VMPtr<String>());
      } else if (op == "setLength") {
        sb->setLength(number(w[1]));
      } else if (op == "toString") {
        taken.push_back(sb->toString());
      } else if (op != "strings") {
        ADD_FAILURE() << "unknown step";
      }
      if (op == "strings") {
        capacity = "-";
        for (size_t i = 0; i < taken.size(); ++i) contents += (i > 0 ? "|" : "") + show(text(taken[i]));
      } else {
        capacity = std::to_string(sb->value->length);
        contents = show(std::u16string(sb->value->elements(), static_cast<size_t>(sb->count)));
      }
    } catch (Throwable* t) {
      capacity = "!" + simpleName(t);
    }
    EXPECT_EQ(capacity, row[2].ascii());
    EXPECT_EQ(contents, show(row[3].text));
  }
}

// ---------------------------------------------------------------- arraycopy

// Builds the arrays of one arraycopy case from the table's notation (see
// tools/javagen/StringTables.java) and writes them back in that notation.
class ArrayNotation {
 public:
  VMPtr<Object> build(const std::string& notation) {
    if (notation == "null") return VMPtr<Object>();
    if (notation == "str") return jstr(u"str");
    const size_t open = notation.find('[');
    const std::string type = notation.substr(0, open);
    std::vector<std::string> items;
    const std::string body = notation.substr(open + 1, notation.size() - open - 2);
    for (size_t start = 0; !body.empty();) {
      const size_t comma = body.find(',', start);
      items.push_back(body.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    if (type == "int") return primitive<int32_t>(items);
    if (type == "byte") return primitive<int8_t>(items);
    if (type == "short") return primitive<int16_t>(items);
    if (type == "char") return primitive<char16_t>(items);
    if (type == "long") return primitive<int64_t>(items);
    if (type == "float") return primitive<float>(items);
    if (type == "double") return primitive<double>(items);
    if (type == "boolean") return primitive<uint8_t>(items);
    if (type == "Object") return references<Object, 1>(items);
    if (type == "String") return references<String, 1>(items);
    if (type == "Integer") return references<Integer, 1>(items);
    if (type == "int2") return references<int32_t, 2>(items);
    ADD_FAILURE() << "unknown array type " << type;
    return VMPtr<Object>();
  }

  std::string show(Object* o) {
    auto* a = dynamic_cast<VMArray_Base*>(o);
    if (a == nullptr) return "-";
    const std::string name = a->_VM_getClass()->_VM_name.c_str();
    if (name == "[I") return "int" + primitives<int32_t>(a);
    if (name == "[B") return "byte" + primitives<int8_t>(a);
    if (name == "[S") return "short" + primitives<int16_t>(a);
    if (name == "[C") return "char" + primitives<char16_t>(a);
    if (name == "[J") return "long" + primitives<int64_t>(a);
    if (name == "[F") return "float" + primitives<float>(a);
    if (name == "[D") return "double" + primitives<double>(a);
    if (name == "[Z") return "boolean" + primitives<uint8_t>(a);
    std::string out = name == "[[I" ? "int2[" : name == "[Ljava.lang.String;" ? "String[" :
                      name == "[Ljava.lang.Integer;" ? "Integer[" : "Object[";
    for (int32_t i = 0; i < a->length; ++i) {
      if (i > 0) out += ",";
      Object* e = a->getObject(i);
      if (e == nullptr) {
        out += "null";
      } else if (auto* s = dynamic_cast<String*>(e)) {
        out += "s:" + strings_test::show(text(VMPtr<String>(s)));
      } else if (auto* n = dynamic_cast<Integer*>(e)) {
        out += "i:" + std::to_string(n->value);
      } else {
        out += "r:" + std::to_string(rowIndex(e));
      }
    }
    return out + "]";
  }

 private:
  template <class T>
  VMPtr<Object> primitive(const std::vector<std::string>& items) {
    VMPtr<VMArray<T>> a = VMArray<T>::create(static_cast<int32_t>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) a->at(static_cast<int32_t>(i)) = static_cast<T>(std::stoll(items[i]));
    return a;
  }

  template <class T, int N>
  VMPtr<Object> references(const std::vector<std::string>& items) {
    VMPtr<VMArray<T, N>> a = VMArray<T, N>::create(static_cast<int32_t>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
      VMPtr<Object> e = element(items[i]);
      a->setObject(static_cast<int32_t>(i), e.get());
    }
    return a;
  }

  VMPtr<Object> element(const std::string& item) {
    if (item == "null") return VMPtr<Object>();
    if (item.rfind("s:", 0) == 0) return jstr(u16(item.substr(2)));
    if (item.rfind("i:", 0) == 0) {
      VMPtr<Integer> n = Integer::_VM_new();
      n->_VM_init(std::stoi(item.substr(2)));
      return n;
    }
    const size_t k = std::stoul(item.substr(2));
    while (rows_.size() <= k) {
      VMPtr<VMArray<int32_t>> row = VMArray<int32_t>::create(1);
      row->at(0) = static_cast<int32_t>(rows_.size());
      rows_.push_back(row);
    }
    return rows_[k];
  }

  size_t rowIndex(Object* row) {
    for (size_t k = 0; k < rows_.size(); ++k) {
      if (rows_[k].get() == row) return k;
    }
    ADD_FAILURE() << "unknown row";
    return 99;
  }

  template <class T>
  static std::string primitives(VMArray_Base* base) {
    auto* a = dynamic_cast<VMArray<T>*>(base);
    std::string out = "[";
    for (int32_t i = 0; i < a->length; ++i) {
      if (i > 0) out += ",";
      out += std::to_string(static_cast<int64_t>(a->at(i)));
    }
    return out + "]";
  }

  std::deque<VMPtr<VMArray<int32_t>>> rows_;
};

TEST(JavaTables, ArraycopyOutcomes) {
  VMTestEnv::start();
  for (const Row& row : readTable("arraycopy.txt")) {
    SCOPED_TRACE(showRow(row));
    ArrayNotation arrays;
    VMPtr<Object> src = arrays.build(row[0].ascii());
    VMPtr<Object> dst = row[2].ascii() == "same" ? src : arrays.build(row[2].ascii());
    std::string outcome = "ok";
    try {
      System::arraycopy(src, row[1].int32(), dst, row[3].int32(), row[4].int32());
    } catch (Throwable* t) {
      outcome = "!" + simpleName(t);
    }
    EXPECT_EQ(outcome, row[5].ascii());
    EXPECT_EQ(arrays.show(dst.get()), row[6].ascii());
  }
}

}  // namespace
