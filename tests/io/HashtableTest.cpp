// Hashtable and its enumerations: results, enumeration order and toString
// after scripted operations are checked against Java 17 (hashtable.txt,
// made by tools/javagen/IoTables.java). Java's Hashtable computes its
// threshold as a float product with the load factor 0.75, which equals this
// system's capacity * 75 / 100 for every capacity the script reaches; Java's
// enumerator reports its end as "Hashtable Enumerator" where this system
// says "HashtableEnumerator". The capacities, thresholds and null checks
// are checked here.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "IoTestSupport.h"
#include "VMCollector.h"
#include "VMTestEnv.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_NullPointerException.h"
#include "java_util_Enumeration.h"
#include "java_util_Hashtable.h"
#include "java_util_HashtableEntry.h"
#include "java_util_NoSuchElementException.h"

using java::lang::NullPointerException;
using java::lang::Object;
using java::lang::String;
using java::util::Enumeration;
using java::util::Hashtable;
using java::util::NoSuchElementException;
using namespace io_test;

namespace {

// new Hashtable(), or new Hashtable(capacity).
VMPtr<Hashtable> table() {
  VMPtr<Hashtable> h = Hashtable::_VM_new();
  h->_VM_init();
  return h;
}
VMPtr<Hashtable> table(int32_t capacity) {
  VMPtr<Hashtable> h = Hashtable::_VM_new();
  h->_VM_init(capacity);
  return h;
}

std::string textOf(const VMPtr<Object>& o) { return o ? show(o->toString()) : "null"; }

// "a,b,c" as the table lists an enumeration ("-" when empty).
std::string listOf(VMPtr<Enumeration> e) {
  std::string out;
  while (e->hasMoreElements()) out += (out.empty() ? "" : ",") + textOf(e->nextElement());
  return out.empty() ? "-" : out;
}

std::string compact(const VMPtr<Hashtable>& h) {
  std::string s = show(h->toString());
  for (size_t at; (at = s.find(", ")) != std::string::npos;) s.erase(at + 1, 1);
  return s;
}

TEST(HashtableTable, ResultsAndEnumerationOrderAsJavaHasThem) {
  VMTestEnv::start();
  VMPtr<Hashtable> h;
  for (const Row& row : readTable("hashtable.txt")) {
    SCOPED_TRACE(showRow(row));
    const std::string& op = row[0];
    const std::string result = row.back();
    if (op == "new") {
      h = row[1] == "-" ? table() : table(std::stoi(row[1]));
    } else if (op == "put") {
      EXPECT_EQ(textOf(h->put(jstr(row[1].c_str()), jstr(row[2].c_str()))), result);
    } else if (op == "remove") {
      EXPECT_EQ(textOf(h->remove(jstr(row[1].c_str()))), result);
    } else if (op == "get") {
      EXPECT_EQ(textOf(h->get(jstr(row[1].c_str()))), result);
    } else if (op == "containsKey") {
      EXPECT_EQ(h->containsKey(jstr(row[1].c_str())) ? "true" : "false", result);
    } else if (op == "contains") {
      EXPECT_EQ(h->contains(jstr(row[1].c_str())) ? "true" : "false", result);
    } else if (op == "clear") {
      h->clear();
    } else if (op == "state") {
      ASSERT_EQ(row.size(), 6u);
      EXPECT_EQ(h->size(), std::stoi(row[2]));
      EXPECT_EQ(h->isEmpty(), row[2] == "0");
      EXPECT_EQ(listOf(h->keys()), row[3]);
      EXPECT_EQ(listOf(h->elements()), row[4]);
      EXPECT_EQ(compact(h), row[5]);
    } else {
      FAIL() << "unknown operation";
    }
  }
}

TEST(Hashtable, CapacitiesAndThresholds) {
  VMTestEnv::start();
  VMPtr<Hashtable> zero = table(0);
  EXPECT_EQ(zero->table->length, 1);
  EXPECT_EQ(zero->threshold, 0);
  zero->put(jstr("a"), jstr("1"));  // rehashes before the first insertion
  EXPECT_EQ(zero->table->length, 3);
  EXPECT_EQ(zero->threshold, 2);

  VMPtr<Hashtable> h = table();
  EXPECT_EQ(h->table->length, 11);
  EXPECT_EQ(h->threshold, 8);
  for (int i = 0; i < 8; ++i) h->put(jstr(("k" + std::to_string(i)).c_str()), jstr("v"));
  EXPECT_EQ(h->table->length, 11);
  EXPECT_EQ(textOf(h->put(jstr("k3"), jstr("w"))), "v");  // an existing key never rehashes
  EXPECT_EQ(h->table->length, 11);
  h->put(jstr("k8"), jstr("v"));  // the 9th key: count 8 has reached the threshold
  EXPECT_EQ(h->table->length, 23);
  EXPECT_EQ(h->threshold, 17);
  std::vector<int32_t> capacities;
  for (int i = 9; i < 143; ++i) {
    h->put(jstr(("k" + std::to_string(i)).c_str()), jstr("v"));
    if (capacities.empty() || capacities.back() != h->table->length) capacities.push_back(h->table->length);
  }
  EXPECT_EQ(capacities, (std::vector<int32_t>{23, 47, 95, 191}));
  EXPECT_EQ(h->threshold, 143);
  EXPECT_EQ(h->size(), 143);
  h->clear();
  EXPECT_EQ(h->size(), 0);
  EXPECT_EQ(h->table->length, 191);
  EXPECT_EQ(show(h->toString()), "{}");

  EXPECT_EQ(thrownMessage<java::lang::IllegalArgumentException>([] { Hashtable::_VM_new()->_VM_init(-1); }), "<null>");
}

TEST(Hashtable, NullKeysAndValuesThrow) {
  VMTestEnv::start();
  VMPtr<Hashtable> h = table();
  h->put(jstr("a"), jstr("1"));
  VMPtr<Object> none;
  EXPECT_EQ(thrownMessage<NullPointerException>([&] { h->put(jstr("b"), none); }), "<null>");
  EXPECT_EQ(thrownMessage<NullPointerException>([&] { h->put(none, jstr("1")); }), "<null>");
  EXPECT_EQ(thrownMessage<NullPointerException>([&] { h->put(none, none); }), "<null>");
  EXPECT_EQ(thrownMessage<NullPointerException>([&] { h->get(none); }), "<null>");
  EXPECT_EQ(thrownMessage<NullPointerException>([&] { h->remove(none); }), "<null>");
  EXPECT_EQ(thrownMessage<NullPointerException>([&] { h->containsKey(none); }), "<null>");
  EXPECT_EQ(thrownMessage<NullPointerException>([&] { h->contains(none); }), "<null>");
  EXPECT_EQ(show(h->toString()), "{a=1}");
}

TEST(Hashtable, BucketsOfNegativeHashesAndChainOrder) {
  VMTestEnv::start();
  VMPtr<Hashtable> h = table();
  VMPtr<String> lowest = jstr("polygenelubricants");
  ASSERT_EQ(lowest->hashCode(), INT32_MIN);
  h->put(lowest, jstr("min"));
  EXPECT_TRUE(h->table->get(0));  // (h & 0x7FFFFFFF) mod 11 = 0

  VMPtr<String> negative = jstr("zzzzzzzzzz");
  ASSERT_LT(negative->hashCode(), 0);
  h->put(negative, jstr("neg"));
  const int32_t bucket = (negative->hashCode() & 0x7FFFFFFF) % 11;
  EXPECT_TRUE(h->table->get(bucket)->key->equals(negative));

  // "Aa" and "BB" share a hash code: the newer key comes first.
  VMPtr<Hashtable> pair = table();
  pair->put(jstr("Aa"), jstr("1"));
  pair->put(jstr("BB"), jstr("2"));
  EXPECT_EQ(listOf(pair->keys()), "BB,Aa");
  EXPECT_EQ(listOf(pair->elements()), "2,1");
  EXPECT_EQ(textOf(pair->remove(jstr("BB"))), "2");  // from the chain head
  pair->put(jstr("BB"), jstr("3"));
  EXPECT_EQ(textOf(pair->remove(jstr("Aa"))), "1");  // from behind its predecessor
  EXPECT_EQ(show(pair->toString()), "{BB=3}");
  EXPECT_EQ(textOf(pair->remove(jstr("Aa"))), "null");
  EXPECT_EQ(pair->size(), 1);
}

TEST(Hashtable, EnumeratorEndsWithItsOwnMessage) {
  VMTestEnv::start();
  VMPtr<Hashtable> h = table();
  h->put(jstr("a"), jstr("1"));
  VMPtr<Enumeration> keys = h->keys();
  EXPECT_EQ(textOf(keys->nextElement()), "a");
  EXPECT_FALSE(keys->hasMoreElements());
  EXPECT_EQ(thrownMessage<NoSuchElementException>([&] { keys->nextElement(); }), "HashtableEnumerator");
  EXPECT_EQ(thrownMessage<NoSuchElementException>([&] { table()->elements()->nextElement(); }),
            "HashtableEnumerator");
}

TEST(Hashtable, EntriesAndEnumerationsSurviveACollection) {
  VMTestEnv::start();
  VMPtr<Hashtable> h = table(0);
  VMPtr<Enumeration> values;
  {
    for (int i = 0; i < 40; ++i) h->put(jstr(("key" + std::to_string(i)).c_str()), jstr(("value" + std::to_string(i)).c_str()));
    values = table(3)->elements();  // over a table nothing else holds
  }
  VMPtr<Enumeration> keys = h->keys();
  h->remove(jstr("key7"));
  _VM_collect();
  std::map<std::string, std::string> seen;
  while (keys->hasMoreElements()) {
    const std::string key = textOf(keys->nextElement());
    seen[key] = textOf(h->get(jstr(key.c_str())));
  }
  EXPECT_EQ(seen.size(), 39u);
  EXPECT_EQ(seen["key12"], "value12");
  EXPECT_FALSE(values->hasMoreElements());
}

}  // namespace
