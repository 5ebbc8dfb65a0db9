// Every drawable class is registered under its Java name with its
// superclass, kind and source file; the instantiable ones give a working
// object through Class.newInstance.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "VMClassRegistry.h"
#include "VMTestEnv.h"
#include "java_lang_Class.h"

using java::lang::Class;

namespace {

TEST(Registration, EveryDrawableClass) {
  VMTestEnv::start();
  enum Kind { kPlain, kInstantiable, kAbstract, kInterface };
  struct Entry {
    const char* name;
    const char* super;
    Kind kind;
    const char* file;
  };
  const Entry table[] = {
      {"tq.Paintable", "java.lang.Object", kAbstract, "tq_Paintable"},
      {"tq.graphics.CollisionBox", "tq.Paintable", kInstantiable, "tq_graphics_CollisionBox"},
      {"tq.graphics.Rect", "tq.graphics.CollisionBox", kInstantiable, "tq_graphics_Rect"},
      {"tq.graphics.Color", "java.lang.Object", kInstantiable, "tq_graphics_Color"},
      {"tq.graphics.RGBFilter", "java.lang.Object", kAbstract, "tq_graphics_RGBFilter"},
      {"tq.platform.PlatformExtension", "java.lang.Object", kInterface, "tq_platform_PlatformExtension"},
      {"tq.platform.ExtendedGraphics", "java.lang.Object", kInstantiable, "tq_platform_ExtendedGraphics"},
      {"tq.KeyMapping", "java.lang.Object", kInterface, "tq_KeyMapping"},
      {"tq.Gob", "tq.Paintable", kInstantiable, "tq_Gob"},
      {"tq.GobAlphaImage", "tq.Gob", kPlain, "tq_GobAlphaImage"},
      {"tq.GobSet", "java.lang.Object", kInstantiable, "tq_GobSet"},
      {"tq.GobTextureHelper", "java.lang.Object", kInstantiable, "tq_GobTextureHelper"},
      {"tq.AnimSet", "java.lang.Object", kPlain, "tq_AnimSet"},
      {"tq.Frame", "tq.Paintable", kPlain, "tq_Frame"},
      {"tq.AnimPlayer", "tq.Paintable", kInstantiable, "tq_AnimPlayer"},
  };
  for (const Entry& e : table) {
    SCOPED_TRACE(e.name);
    Class* c = _VM_findClass(e.name);
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->_VM_superName.c_str(), e.super);
    EXPECT_EQ(c->_VM_isInterface, e.kind == kInterface);
    EXPECT_EQ(c->_VM_isAbstract, e.kind == kAbstract);
    EXPECT_EQ(c->_VM_instantiator != nullptr, e.kind == kInstantiable);
    const std::string file = c->_VM_sourceFile.c_str();
    const std::string expected = std::string("src/engine/") + e.file;
    EXPECT_EQ(file.substr(file.size() - std::min(file.size(), expected.size())), expected);
    if (e.kind == kInstantiable) {
      VMPtr<java::lang::Object> o = VMPtr<Class>(c)->newInstance();
      EXPECT_EQ(o->_VM_getClass(), c);
    }
  }
}

}  // namespace
