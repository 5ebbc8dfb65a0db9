// Covariant arrays: an array of references used as an array of a
// supertype is the same object, every store is checked against the array's
// real element class, and a C++ cast to an array type agrees with Java's
// type test for every pair of array and array type.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "VMArray.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMJava.h"
#include "VMTestEnv.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_ArrayStoreException.h"
#include "java_lang_ClassCastException.h"
#include "java_lang_Integer.h"
#include "java_lang_String.h"
#include "java_lang_System.h"
#include "java_util_Vector.h"

using namespace java::lang;

namespace cov {

// A small hierarchy: Circle extends Shape implements Drawable.
class Drawable : public virtual Object {
  VM_INTERFACE_CLASS(Drawable)
};
class Shape : public virtual Object {
  VM_CLASS(Shape, Object)

 public:
  int32_t corners;
};
class Circle : public Shape, public virtual Drawable {
  VM_CLASS(Circle, Shape)

 public:
  int32_t radius;
};

// A holder of an Object[] field (the field's trace must reach the array
// whatever its real class).
class Holder : public virtual Object {
  VM_CLASS(Holder, Object)

 public:
  void _VM_markReferences(int colour) override {
    _VM_mark(items, colour);
    Object::_VM_markReferences(colour);
  }
  VMField<VMArray<Object>> items;
};

}  // namespace cov

VM_REGISTER_CLASS(cov::Drawable, "cov.Drawable", "java.lang.Object", VM_INTERFACE);
VM_REGISTER_CLASS(cov::Shape, "cov.Shape", "java.lang.Object", VM_INSTANTIABLE);
VM_REGISTER_CLASS(cov::Circle, "cov.Circle", "cov.Shape", VM_INSTANTIABLE);
VM_IMPLEMENTS(cov::Circle, "cov.Drawable");
VM_REGISTER_CLASS(cov::Holder, "cov.Holder", "java.lang.Object", VM_INSTANTIABLE);

namespace {

using java::util::Vector;

VMPtr<String> text(const char* s) { return String::_VM_fromUTF8(s); }

VMPtr<Integer> integer(int32_t value) {
  VMPtr<Integer> i = Integer::_VM_new();
  i->_VM_init(value);
  return i;
}

// Counts the strings of an Object[] (an Object[] parameter given a String[]).
int32_t countStrings(VMPtr<VMArray<Object>> items) {
  int32_t n = 0;
  for (int32_t i = 0; i < items->length; ++i) n += _VM_instanceOf(items->get(i).get(), String::_VM_class);
  return n;
}

TEST(ArrayCovariance, AStringArrayIsAnObjectArrayWithoutACopy) {
  VMTestEnv::start();
  VMPtr<VMArray<String>> strings = VMArray<String>::create(3);
  strings->set(0, text("a"));
  VMPtr<VMArray<Object>> objects = strings;  // Object[] objects = strings;
  EXPECT_EQ(objects.getObject(), strings.getObject());
  EXPECT_EQ(objects->length, 3);
  EXPECT_EQ(objects->_VM_getClass(), VMArray<String>::classObject());
  // A store through one view is seen through the other.
  objects->set(1, text("b"));
  EXPECT_TRUE(strings->get(1)->_VM_equals("b"));
  EXPECT_TRUE(_VM_cast<String>(objects->get(0))->_VM_equals("a"));
  // A store of something that is not a String fails and changes nothing.
  EXPECT_THROW(objects->set(2, integer(7)), ArrayStoreException*);
  EXPECT_THROW(objects->set(2, Object::_VM_new()), ArrayStoreException*);
  EXPECT_TRUE(strings->get(2).isNull());
  objects->set(1, nullptr);
  EXPECT_TRUE(strings->get(1).isNull());
  // As a parameter.
  strings->set(2, text("c"));
  EXPECT_EQ(countStrings(strings), 2);
  // And back: a cast of the Object[] view to String[] gives the same array.
  VMPtr<VMArray<String>> back = _VM_cast<VMArray<String>>(objects);
  EXPECT_EQ(back.getObject(), strings.getObject());
}

TEST(ArrayCovariance, ClassAndInterfaceArraysAreSupertypeArrays) {
  VMTestEnv::start();
#ifndef VM_KIT_HAS_DIRECT_BASES
  GTEST_SKIP() << "this compiler cannot list C++ bases: arrays are covariant to Object[] only";
#else
  VMPtr<VMArray<cov::Circle>> circles = VMArray<cov::Circle>::create(2);
  VMPtr<cov::Circle> c = cov::Circle::_VM_new();
  c->radius = 5;
  VMPtr<VMArray<cov::Shape>> shapes = circles;
  VMPtr<VMArray<cov::Drawable>> drawables = circles;
  shapes->set(0, c);
  // Read through every view: the same object, each as its own C++ part.
  EXPECT_EQ(circles->get(0).get(), c.get());
  EXPECT_EQ(shapes->get(0).get(), static_cast<cov::Shape*>(c.get()));
  EXPECT_EQ(drawables->get(0).get(), static_cast<cov::Drawable*>(c.get()));
  EXPECT_EQ(_VM_cast<cov::Circle>(drawables->get(0))->radius, 5);
  // A Shape that is not a Circle does not fit a Circle[] seen as Shape[].
  EXPECT_THROW(shapes->set(1, cov::Shape::_VM_new()), ArrayStoreException*);
  // A Drawable that is a Circle does.
  drawables->set(1, VMPtr<cov::Drawable>(cov::Circle::_VM_new()));
  EXPECT_NE(circles->get(1).get(), nullptr);
  // A Shape[] made as Shape[] takes any Shape.
  VMPtr<VMArray<cov::Shape>> plain = VMArray<cov::Shape>::create(2);
  plain->set(0, cov::Shape::_VM_new());
  plain->set(1, c);
  EXPECT_EQ(plain->get(1).get(), static_cast<cov::Shape*>(c.get()));
#endif
}

TEST(ArrayCovariance, TwoDimensionalArraysTakeCovariantRows) {
  VMTestEnv::start();
  // Object[][] grid = new Object[2][]; grid[0] = new String[2];
  VMPtr<VMArray<Object, 2>> grid = VMArray<Object, 2>::createMulti(1, 2);
  VMPtr<VMArray<String>> row = VMArray<String>::create(2);
  grid->set(0, row);
  EXPECT_EQ(grid->get(0).getObject(), row.getObject());
  grid->get(0)->set(1, text("x"));
  EXPECT_TRUE(row->get(1)->_VM_equals("x"));
  EXPECT_THROW(grid->get(0)->set(0, integer(1)), ArrayStoreException*);
  // An int[] is an Object but not an Object[]: no row of an Object[][].
  VMPtr<VMArray_Base> untypedGrid = grid;
  EXPECT_THROW(untypedGrid->setObject(1, VMArray<int32_t>::create(1).get()), ArrayStoreException*);
  // A String[][] is an Object[][] and an Object[].
  VMPtr<VMArray<String, 2>> table = VMArray<String, 2>::createMulti(2, 2, 1);
  VMPtr<VMArray<Object, 2>> asGrid = table;
  VMPtr<VMArray<Object>> asObjects = table;
  EXPECT_EQ(asGrid->get(1).getObject(), table->get(1).getObject());
  EXPECT_EQ(asObjects->get(1).getObject(), table->get(1).getObject());
  // Its rows must stay String[]: an Object[] row does not fit.
  EXPECT_THROW(asGrid->set(0, VMArray<Object>::create(1)), ArrayStoreException*);
  EXPECT_THROW(asObjects->set(0, text("not a row")), ArrayStoreException*);
  asGrid->set(0, VMArray<String>::create(3));
  EXPECT_EQ(table->get(0)->length, 3);
}

TEST(ArrayCovariance, ArraycopyConvertsAndChecksEveryElement) {
  VMTestEnv::start();
  VMPtr<VMArray<String, 2>> from = VMArray<String, 2>::createMulti(2, 3, 1);
  VMPtr<VMArray<Object, 2>> to = VMArray<Object, 2>::createMulti(1, 3);
  System::arraycopy(from, 0, to, 0, 3);
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(to->get(i).getObject(), from->get(i).getObject());
  // Back the other way: every row is a String[] ...
  VMPtr<VMArray<String, 2>> again = VMArray<String, 2>::createMulti(1, 3);
  System::arraycopy(to, 0, again, 0, 3);
  EXPECT_EQ(again->get(2).getObject(), from->get(2).getObject());
  // ... until one is not: the elements before it are copied, as Java does.
  to->set(1, VMArray<Object>::create(1));
  VMPtr<VMArray<String, 2>> partial = VMArray<String, 2>::createMulti(1, 3);
  EXPECT_THROW(System::arraycopy(to, 0, partial, 0, 3), ArrayStoreException*);
  EXPECT_EQ(partial->get(0).getObject(), from->get(0).getObject());
  EXPECT_TRUE(partial->get(1).isNull());
  EXPECT_TRUE(partial->get(2).isNull());
  // String[] into Object[] and Object[] holding Strings into String[].
  VMPtr<VMArray<String>> words = VMArray<String>::create(2);
  words->set(0, text("p"));
  words->set(1, text("q"));
  VMPtr<VMArray<Object>> objects = VMArray<Object>::create(3);
  System::arraycopy(words, 0, objects, 1, 2);
  EXPECT_EQ(objects->get(2).getObject(), words->get(1).getObject());
  VMPtr<VMArray<String>> copy = VMArray<String>::create(2);
  System::arraycopy(objects, 1, copy, 0, 2);
  EXPECT_TRUE(copy->get(0)->_VM_equals("p"));
  // Within one String[] seen as Object[]: one array, overlapping ranges.
  VMPtr<VMArray<Object>> same = words;
  System::arraycopy(same, 0, words, 1, 1);
  EXPECT_TRUE(words->get(1)->_VM_equals("p"));
}

TEST(ArrayCovariance, VectorCopyIntoTakesAStringArray) {
  VMTestEnv::start();
  VMPtr<Vector> v = Vector::_VM_new();
  v->_VM_init();
  v->addElement(text("one"));
  v->addElement(text("two"));
  VMPtr<VMArray<String>> out = VMArray<String>::create(2);
  v->copyInto(out);
  EXPECT_TRUE(out->get(1)->_VM_equals("two"));
  v->addElement(integer(3));
  VMPtr<VMArray<String>> three = VMArray<String>::create(3);
  EXPECT_THROW(v->copyInto(three), ArrayStoreException*);
  EXPECT_TRUE(three->get(1)->_VM_equals("two")) << "the elements before the misfit are stored";
}

TEST(ArrayCovariance, AFieldHoldingASubtypeArrayIsTraced) {
  VMTestEnv::start();
  VMPtr<cov::Holder> holder = cov::Holder::_VM_new();
  {
    VMPtr<VMArray<String>> strings = VMArray<String>::create(1);
    strings->set(0, text("kept"));
    holder->items = strings;
  }
  _VM_collect(_VM_vm);
  EXPECT_TRUE(_VM_cast<String>(holder->items->get(0))->_VM_equals("kept"));
}

// Through the view of a supertype the index is checked first too: an index
// outside the array fails the same way on every view, before the store
// check, and changes nothing; an empty array has no element on any view.
TEST(ArrayCovariance, AnIndexOutsideFailsThroughEveryView) {
  VMTestEnv::start();
  VMPtr<VMArray<String>> strings = VMArray<String>::create(2);
  strings->set(0, text("a"));
  strings->set(1, text("b"));
  VMPtr<VMArray<String>> none = VMArray<String>::create(0);
  VMPtr<VMArray<String, 2>> table = VMArray<String, 2>::createMulti(2, 2, 1);
  std::vector<std::pair<const char*, VMPtr<VMArray<Object>>>> views = {
      {"String[] as Object[]", strings}, {"empty String[] as Object[]", none}, {"String[][] as Object[]", table}};
  for (auto& [name, view] : views) {
    for (int32_t index : {-1, view->length, INT32_MIN, INT32_MAX}) {
      EXPECT_THROW(view->get(index), ArrayIndexOutOfBoundsException*) << name << " " << index;
      EXPECT_THROW(view->set(index, nullptr), ArrayIndexOutOfBoundsException*) << name << " " << index;
      EXPECT_THROW(view->set(index, integer(1)), ArrayIndexOutOfBoundsException*) << name << " " << index;
    }
  }
  VMPtr<VMArray<Object, 2>> grid = table;
  EXPECT_THROW(grid->get(2), ArrayIndexOutOfBoundsException*);
  EXPECT_THROW(grid->set(-1, VMArray<String>::create(1)), ArrayIndexOutOfBoundsException*);
#ifdef VM_KIT_HAS_DIRECT_BASES
  VMPtr<VMArray<cov::Circle>> circles = VMArray<cov::Circle>::create(1);
  VMPtr<VMArray<cov::Drawable>> drawables = circles;
  EXPECT_THROW(drawables->get(1), ArrayIndexOutOfBoundsException*);
  EXPECT_THROW(drawables->set(-1, VMPtr<cov::Drawable>(cov::Circle::_VM_new())), ArrayIndexOutOfBoundsException*);
#endif
  EXPECT_TRUE(strings->get(0)->_VM_equals("a"));
  EXPECT_TRUE(strings->get(1)->_VM_equals("b"));
  EXPECT_EQ(table->get(1)->length, 1);
}

// A loop that loads and stores through the view of a supertype keeps its
// other values (integers, floating point, pointers) in registers across the
// converting roads, which claim to change nothing but their result and the
// slot: they must come out as from the same loop over the array's own type.
template <class Array>
std::string walk(const VMPtr<Array>& array, const std::vector<Object*>& expected) {
  int64_t mix = 17;
  uint32_t bits = 0x9e3779b9u;
  double weight = 0.5;
  float scale = 1.0f;
  int32_t same = 0;
  int32_t present = 0;
  const Object* const* want = expected.data();
  for (int32_t i = 0; i < array->length; ++i) {
    array->set(i, array->get(i));
    Object* element = array->get(i).get();
    same += element == want[i];
    present += element != nullptr;
    mix = mix * 31 + i;
    bits = (bits ^ (bits << 5)) + static_cast<uint32_t>(i);
    weight = weight * 1.25 + i;
    scale = scale * 0.75f + static_cast<float>(i & 7);
  }
  return std::to_string(same) + " " + std::to_string(present) + " " + std::to_string(mix) + " " +
         std::to_string(bits) + " " + std::to_string(weight) + " " + std::to_string(scale);
}

TEST(ArrayCovariance, AccessThroughAViewKeepsTheLoopsValues) {
  VMTestEnv::start();
  VMPtr<VMArray<String>> strings = VMArray<String>::create(40);
  std::vector<Object*> expected(40, nullptr);
  int32_t present = 0;
  for (int32_t i = 0; i < 40; i += 1 + i % 2) {
    strings->set(i, text(std::to_string(i).c_str()));
    expected[i] = strings->get(i).get();
    ++present;
  }
  VMPtr<VMArray<Object>> objects = strings;
  const std::string own = walk(strings, expected);
  EXPECT_EQ(own.rfind("40 " + std::to_string(present) + " ", 0), 0u) << own;
  EXPECT_EQ(walk(objects, expected), own);
}

TEST(ArrayCovarianceDeathTest, TheRawBlockOfAnotherViewIsAFault) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  VMTestEnv::start();
  VMPtr<VMArray<String>> strings = VMArray<String>::create(1);
  EXPECT_NE(strings->elements(), nullptr) << "the array's own type may use the block";
  VMPtr<VMArray<Object>> objects = strings;
  EXPECT_EXIT(objects->elements(), testing::ExitedWithCode(1), "");
}

// Every pair of array and array type: the C++ cast succeeds exactly when
// Java's type test says yes, and a failed cast is a ClassCastException.
TEST(ArrayCovariance, CastsAgreeWithTypeTestsForEveryArray) {
  VMTestEnv::start();
#ifndef VM_KIT_HAS_DIRECT_BASES
  GTEST_SKIP() << "this compiler cannot list C++ bases: arrays are covariant to Object[] only";
#endif
  struct Made {
    const char* name;
    VMPtr<Object> array;
  };
  std::vector<Made> arrays;
  arrays.push_back({"Object[]", VMArray<Object>::create(1)});
  arrays.push_back({"String[]", VMArray<String>::create(1)});
  arrays.push_back({"Shape[]", VMArray<cov::Shape>::create(1)});
  arrays.push_back({"Circle[]", VMArray<cov::Circle>::create(1)});
  arrays.push_back({"Drawable[]", VMArray<cov::Drawable>::create(1)});
  arrays.push_back({"int[]", VMArray<int32_t>::create(1)});
  arrays.push_back({"Object[][]", VMArray<Object, 2>::create(1)});
  arrays.push_back({"String[][]", VMArray<String, 2>::create(1)});
  arrays.push_back({"Circle[][]", VMArray<cov::Circle, 2>::create(1)});
  arrays.push_back({"int[][]", VMArray<int32_t, 2>::create(1)});
  arrays.push_back({"String[][][]", VMArray<String, 3>::create(1)});
  arrays.push_back({"int[][][]", VMArray<int32_t, 3>::create(1)});

  struct Target {
    const char* name;
    Class* type;
    std::function<bool(const VMPtr<Object>&)> casts;
  };
  auto target = [](const char* name, Class* type, auto* tag) {
    using T = std::remove_pointer_t<decltype(tag)>;
    return Target{name, type, [](const VMPtr<Object>& o) {
                    try {
                      VMPtr<T> cast = _VM_cast<T>(o);
                      EXPECT_EQ(cast.getObject(), o.getObject());
                      return true;
                    } catch (ClassCastException* e) {
                      VMPtr<ClassCastException> error(e);
                      return false;
                    }
                  }};
  };
  std::vector<Target> targets = {
      target("Object[]", VMArray<Object>::classObject(), static_cast<VMArray<Object>*>(nullptr)),
      target("String[]", VMArray<String>::classObject(), static_cast<VMArray<String>*>(nullptr)),
      target("Shape[]", VMArray<cov::Shape>::classObject(), static_cast<VMArray<cov::Shape>*>(nullptr)),
      target("Circle[]", VMArray<cov::Circle>::classObject(), static_cast<VMArray<cov::Circle>*>(nullptr)),
      target("Drawable[]", VMArray<cov::Drawable>::classObject(), static_cast<VMArray<cov::Drawable>*>(nullptr)),
      target("int[]", VMArray<int32_t>::classObject(), static_cast<VMArray<int32_t>*>(nullptr)),
      target("Object[][]", VMArray<Object, 2>::classObject(), static_cast<VMArray<Object, 2>*>(nullptr)),
      target("String[][]", VMArray<String, 2>::classObject(), static_cast<VMArray<String, 2>*>(nullptr)),
      target("Shape[][]", VMArray<cov::Shape, 2>::classObject(), static_cast<VMArray<cov::Shape, 2>*>(nullptr)),
      target("Drawable[][]", VMArray<cov::Drawable, 2>::classObject(),
             static_cast<VMArray<cov::Drawable, 2>*>(nullptr)),
      target("int[][]", VMArray<int32_t, 2>::classObject(), static_cast<VMArray<int32_t, 2>*>(nullptr)),
      target("Object[][][]", VMArray<Object, 3>::classObject(), static_cast<VMArray<Object, 3>*>(nullptr)),
  };
  int yes = 0;
  for (const Made& a : arrays) {
    for (const Target& t : targets) {
      const bool java = _VM_instanceOf(a.array.get(), t.type);
      EXPECT_EQ(t.casts(a.array), java) << a.name << " as " << t.name;
      yes += java;
    }
  }
  // Spot checks of the table itself, so that it cannot agree by both sides
  // saying no.
  EXPECT_TRUE(_VM_instanceOf(arrays[1].array.get(), VMArray<Object>::classObject()));
  EXPECT_TRUE(_VM_instanceOf(arrays[7].array.get(), VMArray<Object, 2>::classObject()));
  EXPECT_TRUE(_VM_instanceOf(arrays[8].array.get(), VMArray<cov::Drawable, 2>::classObject()));
  EXPECT_FALSE(_VM_instanceOf(arrays[5].array.get(), VMArray<Object>::classObject()));
  EXPECT_TRUE(_VM_instanceOf(arrays[9].array.get(), VMArray<Object>::classObject()));
  EXPECT_GT(yes, 25);
}

}  // namespace
