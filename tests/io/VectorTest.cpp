// Vector and its enumeration: capacities, sizes and contents after scripted
// operations are checked against Java 17 (vector.txt, made by
// tools/javagen/IoTables.java); exception messages, the checks of negative
// indices and the live enumeration are this system's own and checked here.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "IoTestSupport.h"
#include "VMCollector.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_IndexOutOfBoundsException.h"
#include "java_lang_NullPointerException.h"
#include "java_util_Enumeration.h"
#include "java_util_NoSuchElementException.h"
#include "java_util_Vector.h"

using java::lang::ArrayIndexOutOfBoundsException;
using java::lang::Object;
using java::lang::String;
using java::util::Enumeration;
using java::util::NoSuchElementException;
using java::util::Vector;
using namespace io_test;

namespace {

VMPtr<Vector> vector(int32_t capacity, int32_t increment) {
  VMPtr<Vector> v = Vector::_VM_new();
  v->_VM_init(capacity, increment);
  return v;
}

// A vector of the given texts ("" stands for null).
VMPtr<Vector> vectorOf(std::initializer_list<const char*> items) {
  VMPtr<Vector> v = Vector::_VM_new();
  v->_VM_init();
  for (const char* item : items) {
    if (*item == 0) {
      v->addElement(VMPtr<Object>());
    } else {
      v->addElement(jstr(item));
    }
  }
  return v;
}

std::string textOf(const VMPtr<Object>& o) { return o ? show(o->toString()) : "null"; }

// Java's toString without the blank after each comma, as the table has it.
std::string compact(const VMPtr<Vector>& v) {
  std::string s = show(v->toString());
  for (size_t at; (at = s.find(", ")) != std::string::npos;) s.erase(at + 1, 1);
  return s;
}

TEST(VectorTable, CapacitiesSizesAndContentsAsJavaHasThem) {
  VMTestEnv::start();
  VMPtr<Vector> v;
  for (const Row& row : readTable("vector.txt")) {
    SCOPED_TRACE(showRow(row));
    const std::string& op = row[0];
    if (op == "new") {
      v = vector(std::stoi(row[1]), std::stoi(row[2]));
      continue;
    }
    if (op == "string") {
      EXPECT_EQ(compact(v), row[2]);
      continue;
    }
    if (op == "add") {
      v->addElement(jstr(row[1].c_str()));
    } else if (op == "insert") {
      v->insertElementAt(jstr(row[2].c_str()), std::stoi(row[1]));
    } else if (op == "remove") {
      v->removeElementAt(std::stoi(row[1]));
    } else if (op == "ensure") {
      v->ensureCapacity(std::stoi(row[1]));
    } else if (op == "setSize") {
      v->setSize(std::stoi(row[1]));
    } else if (op == "trim") {
      v->trimToSize();
    } else if (op == "removeAll") {
      v->removeAllElements();
    } else {
      FAIL() << "unknown operation";
    }
    const size_t n = row.size();
    EXPECT_EQ(v->capacity(), std::stoi(row[n - 2]));
    EXPECT_EQ(v->size(), std::stoi(row[n - 1]));
    for (int32_t i = v->size(); i < v->capacity(); ++i) {
      EXPECT_EQ(v->elementData->elements()[i], nullptr) << "slot " << i << " past the end";
    }
  }
}

TEST(Vector, GrowthFromZeroAndByIncrement) {
  VMTestEnv::start();
  VMPtr<Vector> zero = vector(0, 0);
  std::vector<int32_t> capacities;
  for (int i = 0; i < 3; ++i) {
    zero->addElement(jstr("x"));
    capacities.push_back(zero->capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int32_t>{1, 2, 4}));

  VMPtr<Vector> stepped = vector(4, 3);
  capacities.clear();
  for (int i = 0; i < 8; ++i) {
    stepped->addElement(jstr("x"));
    capacities.push_back(stepped->capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int32_t>{4, 4, 4, 4, 7, 7, 7, 10}));
  VMPtr<Vector> jump = vector(4, 3);
  jump->ensureCapacity(5);
  jump->ensureCapacity(20);
  EXPECT_EQ(jump->capacity(), 20);

  EXPECT_EQ(thrownMessage<java::lang::IllegalArgumentException>([] { vector(-1, 0); }), "Negative initialCapacity");
}

TEST(Vector, IndexErrorsCarryTheirMessages) {
  VMTestEnv::start();
  VMPtr<Vector> v = vectorOf({"a", "b", "c", "d", "e"});
  EXPECT_EQ(thrownMessage<java::lang::IndexOutOfBoundsException>([&] { v->lastIndexOf(jstr("a"), 5); }),
            "index >= elementCount");
  EXPECT_EQ(v->indexOf(jstr("a"), 5), -1);
  EXPECT_EQ(v->lastIndexOf(jstr("a"), -1), -1);
  const char* tooFar = "index >= elementCount";
  EXPECT_EQ(thrownMessage<ArrayIndexOutOfBoundsException>([&] { v->elementAt(5); }), tooFar);
  EXPECT_EQ(thrownMessage<ArrayIndexOutOfBoundsException>([&] { v->setElementAt(jstr("x"), 5); }), tooFar);
  EXPECT_EQ(thrownMessage<ArrayIndexOutOfBoundsException>([&] { v->removeElementAt(5); }), tooFar);
  EXPECT_EQ(thrownMessage<ArrayIndexOutOfBoundsException>([&] { v->insertElementAt(jstr("x"), 6); }), tooFar);
  EXPECT_EQ(thrownMessage<ArrayIndexOutOfBoundsException>([&] { v->setSize(-1); }), "new size is negative");

  v->insertElementAt(jstr("f"), v->size());  // at size(): appends
  EXPECT_EQ(show(v->toString()), "[a, b, c, d, e, f]");
}

// A negative index is refused before the vector changes: no growth, no
// shift, no store.
TEST(Vector, NegativeIndicesChangeNothing) {
  VMTestEnv::start();
  const std::vector<std::pair<const char*, std::function<void(Vector*)>>> calls = {
      {"elementAt", [](Vector* v) { v->elementAt(-1); }},
      {"setElementAt", [](Vector* v) { v->setElementAt(jstr("x"), -1); }},
      {"insertElementAt", [](Vector* v) { v->insertElementAt(jstr("x"), -1); }},
      {"removeElementAt", [](Vector* v) { v->removeElementAt(-1); }},
      {"indexOf", [](Vector* v) { v->indexOf(jstr("a"), -1); }},
      {"indexOf of null", [](Vector* v) { v->indexOf(VMPtr<Object>(), -2); }},
  };
  for (const auto& entry : calls) {
    SCOPED_TRACE(entry.first);
    VMPtr<Vector> full = vector(2, 0);
    full->addElement(jstr("a"));
    full->addElement(jstr("b"));
    const int32_t index = std::string(entry.first) == "indexOf of null" ? -2 : -1;
    EXPECT_EQ(thrownMessage<ArrayIndexOutOfBoundsException>([&] { entry.second(full.get()); }),
              "Array index out of range: " + std::to_string(index));
    EXPECT_EQ(full->capacity(), 2);
    EXPECT_EQ(show(full->toString()), "[a, b]");
  }
}

TEST(Vector, SearchesMatchByEqualsAndNullByNull) {
  VMTestEnv::start();
  VMPtr<Vector> v = vectorOf({"a", "", "b", "a", ""});
  EXPECT_EQ(v->indexOf(VMPtr<Object>()), 1);
  EXPECT_EQ(v->lastIndexOf(VMPtr<Object>()), 4);
  EXPECT_EQ(v->indexOf(jstr("a")), 0);  // another String object of the same text
  EXPECT_EQ(v->indexOf(jstr("a"), 1), 3);
  EXPECT_EQ(v->lastIndexOf(jstr("a"), 2), 0);
  EXPECT_TRUE(v->contains(jstr("b")));
  EXPECT_FALSE(v->contains(jstr("c")));
  EXPECT_EQ(show(v->toString()), "[a, null, b, a, null]");

  EXPECT_TRUE(v->removeElement(jstr("a")));
  EXPECT_FALSE(v->removeElement(jstr("c")));
  EXPECT_EQ(show(v->toString()), "[null, b, a, null]");
  EXPECT_EQ(v->elementData->elements()[4], nullptr);  // the freed slot
  EXPECT_EQ(textOf(v->firstElement()), "null");
  EXPECT_EQ(textOf(v->lastElement()), "null");
  EXPECT_EQ(textOf(v->elementAt(2)), "a");
}

TEST(Vector, SetSizeClearsDroppedSlotsAndRemoveAllKeepsTheCapacity) {
  VMTestEnv::start();
  VMPtr<Vector> v = vectorOf({"a", "b", "c", "d", "e"});
  v->setSize(2);
  EXPECT_EQ(v->size(), 2);
  for (int32_t i = 2; i < 5; ++i) EXPECT_EQ(v->elementData->elements()[i], nullptr);
  v->setSize(4);
  EXPECT_EQ(show(v->toString()), "[a, b, null, null]");
  v->removeAllElements();
  EXPECT_TRUE(v->isEmpty());
  EXPECT_EQ(v->capacity(), 10);
  EXPECT_EQ(show(v->toString()), "[]");
  EXPECT_EQ(thrownMessage<NoSuchElementException>([&] { v->firstElement(); }), "<null>");
  EXPECT_EQ(thrownMessage<NoSuchElementException>([&] { v->lastElement(); }), "<null>");
  v->trimToSize();
  EXPECT_EQ(v->capacity(), 0);
  v->addElement(jstr("z"));
  EXPECT_EQ(v->capacity(), 1);
}

TEST(Vector, CopyInto) {
  VMTestEnv::start();
  VMPtr<Vector> v = vectorOf({"a", "", "b"});
  VMPtr<Vector::Objects> target = Vector::Objects::create(4);
  target->set(3, jstr("keep"));
  v->copyInto(target);
  EXPECT_EQ(textOf(target->get(0)), "a");
  EXPECT_EQ(textOf(target->get(1)), "null");
  EXPECT_EQ(textOf(target->get(2)), "b");
  EXPECT_EQ(textOf(target->get(3)), "keep");
  VMPtr<Vector::Objects> small = Vector::Objects::create(2);
  EXPECT_EQ(thrownMessage<ArrayIndexOutOfBoundsException>([&] { v->copyInto(small); }), "destination array too small");
  EXPECT_EQ(small->get(0), nullptr);
  thrownMessage<java::lang::NullPointerException>([&] { v->copyInto(VMPtr<Vector::Objects>()); });
}

TEST(Vector, EnumerationReadsTheLiveVector) {
  VMTestEnv::start();
  VMPtr<Vector> v = vectorOf({"a", "b", "c"});
  VMPtr<Enumeration> e = v->elements();
  EXPECT_TRUE(e->hasMoreElements());
  EXPECT_EQ(textOf(e->nextElement()), "a");
  v->removeElementAt(0);  // "b" moves to the position already walked
  EXPECT_EQ(textOf(e->nextElement()), "c");
  EXPECT_FALSE(e->hasMoreElements());
  v->addElement(jstr("d"));
  EXPECT_TRUE(e->hasMoreElements());
  EXPECT_EQ(textOf(e->nextElement()), "d");
  EXPECT_EQ(thrownMessage<NoSuchElementException>([&] { e->nextElement(); }), "VectorEnumerator");
}

TEST(Vector, ElementsAndEnumerationSurviveACollection) {
  VMTestEnv::start();
  VMPtr<Enumeration> e;
  {
    VMPtr<Vector> v = vector(1, 0);
    for (int i = 0; i < 20; ++i) v->addElement(jstr(("item" + std::to_string(i)).c_str()));
    e = v->elements();
  }
  _VM_collect();
  for (int i = 0; i < 20; ++i) EXPECT_EQ(textOf(e->nextElement()), "item" + std::to_string(i));
}

}  // namespace
