// Scoped references: the lists they live in, out-of-order destruction,
// conversion through interface bases and Java ==.
#include <gtest/gtest.h>

#include <optional>

#include "VMClassKit.h"
#include "VMTestEnv.h"
#include "VMThread.h"
#include "java_lang_NullPointerException.h"
#include "java_lang_String.h"

using java::lang::Object;

namespace {

int listLength(const VMRefList& list) {
  int n = 0;
  for (VMRef* r = list.head; r != nullptr; r = r->_VM_next()) ++n;
  return n;
}

bool listHolds(const VMRefList& list, const VMRef* ref) {
  for (VMRef* r = list.head; r != nullptr; r = r->_VM_next()) {
    if (r == ref) return true;
  }
  return false;
}

const VMRefList& stack() { return VMTestEnv::mainThread()->stackList; }

TEST(Reference, DefaultIsANullStackReference) {
  VMTestEnv::start();
  const int before = listLength(stack());
  {
    VMPtr<Object> r;
    EXPECT_TRUE(r.isNull());
    EXPECT_EQ(r.getObject(), nullptr);
    EXPECT_EQ(r.scope(), VMScopeKind::Stack);
    EXPECT_EQ(listLength(stack()), before + 1);
  }
  EXPECT_EQ(listLength(stack()), before);
}

TEST(Reference, OutOfOrderDestructionUnlinksOnlyThatReference) {
  VMTestEnv::start();
  const int before = listLength(stack());
  std::optional<VMPtr<Object>> a(Object::_VM_new());
  std::optional<VMPtr<Object>> b(Object::_VM_new());
  std::optional<VMPtr<Object>> c(Object::_VM_new());
  const VMRef* aRef = &*a;
  const VMRef* cRef = &*c;
  b.reset();  // in the middle
  EXPECT_EQ(listLength(stack()), before + 2);
  EXPECT_TRUE(listHolds(stack(), aRef));
  EXPECT_TRUE(listHolds(stack(), cRef));
  a.reset();  // at the end
  EXPECT_TRUE(listHolds(stack(), cRef));
  EXPECT_FALSE(listHolds(stack(), aRef));
  c.reset();  // the head
  EXPECT_EQ(listLength(stack()), before);
}

TEST(Reference, GlobalScopesKeepTheirOwnListsAndCopiesAreStackReferences) {
  VMTestEnv::start();
  VMPtr<Object> o = Object::_VM_new();
  const int stackBefore = listLength(stack());
  const int nativeBefore = listLength(_VM_nativeList);
  {
    VMStatic<Object> s(o);
    VMNative<Object> n(o);
    VMWeak<Object> w(o);
    EXPECT_EQ(s.scope(), VMScopeKind::Static);
    EXPECT_EQ(n.scope(), VMScopeKind::Native);
    EXPECT_EQ(w.scope(), VMScopeKind::Weak);
    EXPECT_TRUE(listHolds(_VM_staticList, &s));
    EXPECT_TRUE(listHolds(_VM_nativeList, &n));
    EXPECT_TRUE(listHolds(_VM_weakList, &w));
    EXPECT_EQ(listLength(stack()), stackBefore);
    VMPtr<Object> copy = n;  // a copy of a global reference is a local one
    EXPECT_EQ(copy.scope(), VMScopeKind::Stack);
    EXPECT_EQ(listLength(_VM_nativeList), nativeBefore + 1);
  }
  EXPECT_EQ(listLength(_VM_nativeList), nativeBefore);
  EXPECT_STREQ(_VM_scopeName(VMScopeKind::Instance), "instance scope");
  EXPECT_STREQ(_VM_scopeName(VMScopeKind::Weak), "weak scope");
}

// An interface as a virtual base, and a class implementing two of them.
class Named : public virtual Object {
  VM_INTERFACE_CLASS(Named)
};
class Counted : public virtual Object {
  VM_INTERFACE_CLASS(Counted)
};
class Item : public virtual Object, public virtual Named, public virtual Counted {
  VM_CLASS(Item, Object)
};

TEST(Reference, ConversionThroughAnInterfaceBaseKeepsIdentity) {
  VMTestEnv::start();
  VMPtr<Item> item(new Item());
  _VM_endConstruction(item.get());
  VMPtr<Counted> counted = item;
  VMPtr<Object> object = counted;
  EXPECT_EQ(object.get(), static_cast<Object*>(item.get()));
  EXPECT_NE(static_cast<void*>(counted.get()), static_cast<void*>(item.get())) << "a real base-pointer adjustment";
  EXPECT_TRUE(item == object);
  EXPECT_TRUE(counted == item);
  EXPECT_FALSE(object != counted);
  VMPtr<Named> none = VMPtr<Item>();
  EXPECT_TRUE(none.isNull());
  EXPECT_TRUE(none == nullptr);
}

TEST(Reference, AssignmentStoresTheTargetOnly) {
  VMTestEnv::start();
  VMNative<Object> pin;
  VMPtr<Object> o = Object::_VM_new();
  pin = o;
  EXPECT_EQ(pin.scope(), VMScopeKind::Native);
  EXPECT_TRUE(pin == o);
  pin = nullptr;
  EXPECT_TRUE(pin.isNull());
}

TEST(Reference, NullDereferenceThrowsNullPointerException) {
  VMTestEnv::start();
  VMPtr<Object> none;
  EXPECT_THROW(none->hashCode(), java::lang::NullPointerException*);
  VMField<Object> field;
  EXPECT_THROW(field->hashCode(), java::lang::NullPointerException*);
}

TEST(ReferenceDeathTest, StackReferenceWithoutAThreadIsFatal) {
  EXPECT_EXIT({ VMPtr<Object> r; }, testing::ExitedWithCode(1), "");
}

}  // namespace

VM_REGISTER_CLASS(Named, "test.Named", "java.lang.Object", VM_INTERFACE);
VM_REGISTER_CLASS(Counted, "test.Counted", "java.lang.Object", VM_INTERFACE);
VM_REGISTER_CLASS(Item, "test.Item", "java.lang.Object", 0);
VM_IMPLEMENTS(Item, "test.Named");
VM_IMPLEMENTS(Item, "test.Counted");
