// The constant-only interfaces of the build: registered as interfaces with
// no superclass, and the build properties' 371 strings.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "JavaTestSupport.h"
#include "VMClassRegistry.h"
#include "VMTestEnv.h"
#include "generated_Build.h"
#include "java_lang_Class.h"

namespace {

using generated::Build;

TEST(Constants, EveryConstantClassIsAnInterfaceWithoutSuperclass) {
  VMTestEnv::start();
  for (const char* name :
       {"generated.Build", "generated.entity.BeachBarrier", "generated.entity.CaveBarrier",
        "generated.entity.CaveLandscape", "generated.entity.CaveLandscapeB", "generated.entity.DuneBarrier",
        "generated.entity.DuneLandscape", "generated.entity.DuneLandscapeB", "generated.entity.FieldBarrier",
        "generated.entity.FieldLandscape", "generated.entity.MountainBarrier", "generated.entity.SpecialItem",
        "generated.LevelEntity", "generated.prop.PropNum", "generated.RP", "generated.Texts",
        "global.GameGlobals", "global.GameScene"}) {
    java::lang::Class* c = _VM_findClass(name);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_TRUE(c->isInterface()) << name;
    EXPECT_EQ(_VM_getSuperclass(c), nullptr) << name;
    EXPECT_STREQ(c->_VM_superName.c_str(), "") << name;
  }
}

TEST(Constants, BuildFillsItsStringsOnFirstUse) {
  VMTestEnv::start();
  std::map<std::u16string, int> counts;
  int empty = 0;
  for (int32_t i = 0; i < Build::kFieldCount; ++i) {
    VMPtr<java::lang::String> s = Build::get(i);
    ASSERT_TRUE(s) << i;
    EXPECT_EQ(s.get(), _VM_intern(Build::literal(i)).get()) << "interned " << i;
    if (s->length() == 0) {
      ++empty;
    } else {
      ++counts[java_test::text(s)];
    }
  }
  EXPECT_EQ(empty, 315);
  EXPECT_FALSE(Build::get(-1));
  EXPECT_FALSE(Build::get(Build::kFieldCount));
  EXPECT_EQ(java_test::text(Build::get(Build::kGameVersion)), u"1.32.0");
  EXPECT_EQ(java_test::text(Build::get(Build::kMidletClass)), u"main.CommonMIDlet");
  EXPECT_EQ(counts[u"WAV"], 4);
  EXPECT_EQ(counts[u"Quo"], 2);
  EXPECT_EQ(counts[u"Windows Mobile"], 2);
  EXPECT_EQ(counts[u"6.5"], 2);
  int valued = 0;
  for (const auto& [value, n] : counts) valued += n;
  EXPECT_EQ(valued, 56);
  EXPECT_EQ(java_test::text(Build::get(Build::kKeypadMap)),
            u"48: 46\u00a749: 117\u00a750: 105\u00a751: 111\u00a752: 106\u00a753: 107\u00a754: 108\u00a755: 109"
            u"\u00a756: 246\u00a757: 228\u00a735: 229\u00a742: 44");
  // Twelve groups of the code 3, a keypad key and its character.
  const std::u16string packed = java_test::text(Build::get(Build::kPackedKeypadMap));
  const std::u16string keys = u"0123456789#*";
  const std::u16string chars = u".uiojklm\u00f6\u00e4\u00e5,";
  ASSERT_EQ(packed.size(), 36u);
  for (size_t g = 0; g < 12; ++g) {
    EXPECT_EQ(packed[3 * g], u'\003') << g;
    EXPECT_EQ(packed[3 * g + 1], keys[g]) << g;
    EXPECT_EQ(packed[3 * g + 2], chars[g]) << g;
  }
}

}  // namespace
