// Every class of the engine's text and sound is registered under its Java
// name with its superclass, kind and interfaces; the rich font is made by
// Class.newInstance in system mode.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VMClassRegistry.h"
#include "VMTestEnv.h"
#include "java_lang_Class.h"
#include "tq_MediaManagerImpl.h"
#include "tq_util_text_RichFont.h"

using java::lang::Class;

namespace {

TEST(Registration, EveryClassOfTextAndSound) {
  VMTestEnv::start();
  struct Entry {
    const char* name;
    bool isInterface;
    bool instantiable;
    std::vector<const char*> interfaces;
  };
  const Entry table[] = {
      {"tq.util.text.RichFont", false, true, {}},
      {"tq.util.text.Translation", false, false, {}},
      {"tq.util.text.WrappedText", false, false, {}},
      {"tq.util.text.StringHelper", false, false, {}},
      {"tq.MediaManagerImpl", false, false, {"tq.MediaManager", "tq.MediaManagerVideo", "java.lang.Runnable"}},
      {"tq.MediaManagerVideo", true, false, {}},
  };
  for (const Entry& e : table) {
    SCOPED_TRACE(e.name);
    Class* c = _VM_findClass(e.name);
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->_VM_superName.c_str(), "java.lang.Object");
    EXPECT_EQ(c->_VM_isInterface, e.isInterface);
    EXPECT_EQ(c->_VM_instantiator != nullptr, e.instantiable);
    for (const char* i : e.interfaces) EXPECT_TRUE(VMPtr<Class>(_VM_findClass(i))->isAssignableFrom(VMPtr<Class>(c))) << i;
  }
  VMPtr<java::lang::Object> o = VMPtr<Class>(_VM_findClass("tq.util.text.RichFont"))->newInstance();
  VMPtr<tq::util::text::RichFont> font(dynamic_cast<tq::util::text::RichFont*>(o.get()));
  ASSERT_TRUE(font);
  EXPECT_EQ(font->getSystemFontIndex(), 1);
  EXPECT_FALSE(font->hasGlyphs());
}

}  // namespace
