// Class objects: lookup, type tests, static initialisation and its failure
// road, newInstance and resource names.
#include <gtest/gtest.h>

#include <string>

#include "VMClassKit.h"
#include "VMExitException.h"
#include "VMTestEnv.h"
#include "VMThrow.h"
#include "java_lang_ClassNotFoundException.h"
#include "java_lang_ExceptionInInitializerError.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_InstantiationException.h"
#include "java_lang_NoClassDefFoundError.h"
#include "java_lang_OutOfMemoryError.h"
#include "java_lang_String.h"

using namespace java::lang;

namespace test {

// Classes for the tests below: an interface hierarchy, an abstract class,
// and classes whose static initialisers count their runs or fail.
class Shape : public virtual Object {
  VM_INTERFACE_CLASS(Shape)
};
class Round : public virtual Shape {
  VM_INTERFACE_CLASS(Round)
};
// The Java class "Base" of the default package (in C++ the name Base is
// the class kit's alias of a superclass).
class BaseClass : public virtual Object {
  VM_CLASS(BaseClass, Object)

 public:
  VMPtr<BaseClass> _VM_init() { return VMPtr<BaseClass>(this); }
  static void _VM_clinit() { ++initRuns; }
  static inline int initRuns = 0;
};
class Circle : public BaseClass, public virtual Round {
  VM_CLASS(Circle, test::BaseClass)

 public:
  VMPtr<Circle> _VM_init() { return VMPtr<Circle>(this); }
  // Touches its own statics while initialising: the recursive request returns.
  static void _VM_clinit() {
    ++initRuns;
    _VM_clinitCheck();
    radius = 2;
  }
  static inline int initRuns = 0;
  static inline int radius = 0;
};
class Abstract : public virtual Object {
  VM_CLASS(Abstract, Object)
};
class FailsWithRuntime : public virtual Object {
  VM_CLASS(FailsWithRuntime, Object)

 public:
  static void _VM_clinit() { _VM_throwNew<IllegalArgumentException>(); }
};
class FailsWithError : public virtual Object {
  VM_CLASS(FailsWithError, Object)

 public:
  static void _VM_clinit() { _VM_throwNew<OutOfMemoryError>(); }
};
class FailsWithExit : public virtual Object {
  VM_CLASS(FailsWithExit, Object)

 public:
  static void _VM_clinit() { _VM_throw(VMExitException::_VM_new(0)); }
};

}  // namespace test

VM_REGISTER_CLASS(test::Shape, "test.Shape", "java.lang.Object", VM_INTERFACE);
VM_REGISTER_CLASS(test::Round, "test.Round", "java.lang.Object", VM_INTERFACE);
VM_IMPLEMENTS(test::Round, "test.Shape");
VM_REGISTER_CLASS(test::BaseClass, "Base", "java.lang.Object", VM_INSTANTIABLE | VM_HAS_CLINIT);
VM_REGISTER_CLASS(test::Circle, "test.geometry.Circle", "Base", VM_INSTANTIABLE | VM_HAS_CLINIT);
VM_IMPLEMENTS(test::Circle, "test.Round");
VM_REGISTER_CLASS(test::Abstract, "test.Abstract", "java.lang.Object", VM_ABSTRACT);
VM_REGISTER_CLASS(test::FailsWithRuntime, "test.FailsWithRuntime", "java.lang.Object", VM_HAS_CLINIT);
VM_REGISTER_CLASS(test::FailsWithError, "test.FailsWithError", "java.lang.Object", VM_HAS_CLINIT);
VM_REGISTER_CLASS(test::FailsWithExit, "test.FailsWithExit", "java.lang.Object", VM_HAS_CLINIT);

namespace {

TEST(ClassRegistry, TypeTests) {
  VMTestEnv::start();
  Class* object = Object::_VM_class;
  Class* string = String::_VM_class;
  Class* shape = test::Shape::_VM_class;
  Class* round = test::Round::_VM_class;
  Class* base = test::BaseClass::_VM_class;
  Class* circle = test::Circle::_VM_class;
  Class* ints = VMArray<int32_t>::classObject();
  Class* bytes = VMArray<int8_t>::classObject();
  Class* strings = VMArray<String>::classObject();
  Class* objects = VMArray<Object>::classObject();
  Class* circles = VMArray<test::Circle>::classObject();
  Class* shapes = VMArray<test::Shape>::classObject();
  Class* intRows = VMArray<int32_t, 2>::classObject();
  struct Case {
    Class* from;
    Class* to;
    bool assignable;
  };
  const Case cases[] = {
      {circle, circle, true},   {circle, base, true},     {circle, object, true},  {base, circle, false},
      {circle, round, true},    {circle, shape, true},    {base, shape, false},    {round, shape, true},
      {shape, round, false},    {round, object, true},    {round, base, false},    {string, object, true},
      {strings, objects, true}, {strings, object, true},  {objects, strings, false}, {ints, bytes, false},
      {ints, ints, true},       {ints, objects, false},   {objects, ints, false},   {ints, object, true},
      {circles, shapes, true},  {shapes, circles, false}, {intRows, objects, true}, {circle, objects, false},
      {strings, string, false}, {ints, shape, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(_VM_isAssignableFrom(c.from, c.to), c.assignable)
        << c.from->_VM_name.c_str() << " -> " << c.to->_VM_name.c_str();
  }
  EXPECT_FALSE(_VM_instanceOf(nullptr, object));
  VMPtr<test::Circle> c = test::Circle::_VM_new();
  EXPECT_TRUE(_VM_instanceOf(c.get(), shape));
}

TEST(ClassRegistry, ArrayClassNames) {
  VMTestEnv::start();
  struct Case {
    Class* c;
    const char* name;
    int32_t dimensions;
  };
  const Case cases[] = {
      {VMArray<uint8_t>::classObject(), "[Z", 1}, {VMArray<int8_t>::classObject(), "[B", 1},
      {VMArray<char16_t>::classObject(), "[C", 1}, {VMArray<int16_t>::classObject(), "[S", 1},
      {VMArray<int32_t>::classObject(), "[I", 1}, {VMArray<int64_t>::classObject(), "[J", 1},
      {VMArray<float>::classObject(), "[F", 1}, {VMArray<double>::classObject(), "[D", 1},
      {VMArray<String>::classObject(), "[Ljava.lang.String;", 1},
      {VMArray<int32_t, 2>::classObject(), "[[I", 2},
      {VMArray<String, 3>::classObject(), "[[[Ljava.lang.String;", 3},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(c.c->_VM_name.c_str(), c.name);
    EXPECT_EQ(c.c->_VM_dimensions, c.dimensions);
    EXPECT_STREQ(c.c->_VM_superName.c_str(), "java.lang.Object");
    EXPECT_EQ(_VM_findClass(c.name), c.c) << "registered once under its name";
  }
  EXPECT_EQ(VMArray<String>::classObject()->_VM_elementClass, String::_VM_class);
  using StringRows = VMArray<String, 2>;
  EXPECT_EQ(StringRows::classObject()->_VM_elementClass, VMArray<String>::classObject());
}

TEST(ClassRegistry, StaticInitialiserRunsOnceSuperclassFirst) {
  VMTestEnv::start();
  EXPECT_EQ(test::Circle::_VM_class->_VM_state, Class::kPending);
  test::Circle::_VM_clinitCheck();
  EXPECT_EQ(test::BaseClass::initRuns, 1);
  EXPECT_EQ(test::Circle::initRuns, 1);
  EXPECT_EQ(test::Circle::radius, 2);
  test::Circle::_VM_new();
  test::BaseClass::_VM_new();
  EXPECT_EQ(test::BaseClass::initRuns, 1);
  EXPECT_EQ(test::Circle::initRuns, 1);
  EXPECT_EQ(test::Circle::_VM_class->_VM_state, Class::kReady);
}

TEST(ClassRegistry, FailedInitialiserWrapsThenGivesNoClassDefFound) {
  VMTestEnv::start();
  try {
    test::FailsWithRuntime::_VM_clinitCheck();
    FAIL();
  } catch (ExceptionInInitializerError* e) {
    VMPtr<ExceptionInInitializerError> error(e);
    EXPECT_TRUE(error->getMessage().isNull());
    EXPECT_TRUE(_VM_instanceOf(error->getException().get(), IllegalArgumentException::_VM_class));
  }
  EXPECT_EQ(test::FailsWithRuntime::_VM_class->_VM_state, Class::kFailed);
  try {
    test::FailsWithRuntime::_VM_clinitCheck();
    FAIL();
  } catch (NoClassDefFoundError* e) {
    VMPtr<NoClassDefFoundError> error(e);
    EXPECT_TRUE(error->getMessage().isNull());
  }
  // The initialisation routine itself names the class.
  try {
    _VM_initializeClass(test::FailsWithRuntime::_VM_class);
    FAIL();
  } catch (NoClassDefFoundError* e) {
    VMPtr<NoClassDefFoundError> error(e);
    EXPECT_TRUE(error->getMessage()->_VM_equals("test.FailsWithRuntime"));
  }
}

TEST(ClassRegistry, AnErrorFromAnInitialiserPassesUnwrapped) {
  VMTestEnv::start();
  EXPECT_THROW(test::FailsWithError::_VM_clinitCheck(), OutOfMemoryError*);
  EXPECT_EQ(test::FailsWithError::_VM_class->_VM_state, Class::kFailed);
}

TEST(ClassRegistry, TheExitCarrierFailsTheClassAndGoesOn) {
  VMTestEnv::start();
  EXPECT_THROW(test::FailsWithExit::_VM_clinitCheck(), VMExitException*);
  EXPECT_EQ(test::FailsWithExit::_VM_class->_VM_state, Class::kFailed);
  EXPECT_EQ(test::FailsWithExit::_VM_class->_VM_initThread, 0u);
}

TEST(ClassRegistry, ForNameNewInstanceAndText) {
  VMTestEnv::start();
  VMPtr<Class> circle = Class::forName(String::_VM_fromUTF8("test.geometry.Circle"));
  EXPECT_EQ(circle.get(), test::Circle::_VM_class);
  EXPECT_EQ(circle->_VM_state, Class::kPending) << "forName does not initialise";
  EXPECT_THROW(Class::forName(String::_VM_fromUTF8("test.Missing")), ClassNotFoundException*);
  VMPtr<Object> made = circle->newInstance();
  EXPECT_EQ(made->_VM_getClass(), test::Circle::_VM_class);
  EXPECT_THROW(test::Shape::_VM_class->newInstance(), InstantiationException*);
  EXPECT_THROW(test::Abstract::_VM_class->newInstance(), InstantiationException*);
  EXPECT_THROW(VMArray<int32_t>::classObject()->newInstance(), InstantiationException*);
  EXPECT_TRUE(circle->toString()->_VM_equals("class test.geometry.Circle"));
  EXPECT_TRUE(test::Shape::_VM_class->toString()->_VM_equals("interface test.Shape"));
  EXPECT_TRUE(circle->getName()->_VM_equals("test.geometry.Circle"));
}

TEST(ClassRegistry, ResolveName) {
  VMTestEnv::start();
  EXPECT_STREQ(test::Circle::_VM_class->_VM_resolveName("/a/b.png").c_str(), "a/b.png");
  EXPECT_STREQ(test::Circle::_VM_class->_VM_resolveName("b.png").c_str(), "test/geometry/b.png");
  EXPECT_STREQ(test::BaseClass::_VM_class->_VM_resolveName("b.png").c_str(), "b.png");
}

TEST(ClassRegistryDeathTest, DuplicateAndBadNamesAreFatal) {
  VMTestEnv::start();
  EXPECT_EXIT(_VM_registerClass("java.lang.String", String::_VM_class), testing::ExitedWithCode(1), "");
  EXPECT_EXIT(_VM_registerClass("_VM_bad_array", String::_VM_class), testing::ExitedWithCode(1), "");
  EXPECT_EXIT(_VM_registerInterface(String::_VM_class, "no.such.Interface"), testing::ExitedWithCode(1), "");
}

}  // namespace
