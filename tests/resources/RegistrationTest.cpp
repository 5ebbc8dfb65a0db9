// Every class of the packs, resource loading and engine utilities is
// registered under its Java name with its superclass, kind and source
// file, and the instantiable ones give a working object through
// Class.newInstance.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "VMClassRegistry.h"
#include "VMTestEnv.h"
#include "java_lang_Class.h"

using java::lang::Class;

namespace {

TEST(Registration, EveryEngineClassOfResourcesAndUtilities) {
  VMTestEnv::start();
  enum Kind { kPlain, kInstantiable, kInterface };
  struct Entry {
    const char* name;
    const char* super;
    Kind kind;
    const char* file;
  };
  const Entry table[] = {
      {"tq.io.resource.ResourcePack", "java.lang.Object", kInstantiable, "tq_io_resource_ResourcePack"},
      {"tq.io.resource.ResourcePackExtension", "tq.io.resource.ResourcePack", kInstantiable,
       "tq_io_resource_ResourcePackExtension"},
      {"tq.io.resource.ResourcePackChunked", "tq.io.resource.ResourcePackExtension", kInstantiable,
       "tq_io_resource_ResourcePackChunked"},
      {"tq.io.resource.ResourcePackSaver", "java.lang.Object", kInstantiable, "tq_io_resource_ResourcePackSaver"},
      {"tq.io.resource.Chunk", "java.lang.Object", kPlain, "tq_io_resource_Chunk"},
      {"tq.io.resource.ChunkVirtualFileSystemOrganization", "tq.io.resource.Chunk", kPlain,
       "tq_io_resource_ChunkVirtualFileSystemOrganization"},
      {"tq.io.FastInputStream", "java.io.InputStream", kPlain, "tq_io_FastInputStream"},
      {"tq.Resources", "java.lang.Object", kInstantiable, "tq_Resources"},
      {"tq.ResourcesExt", "java.lang.Object", kInstantiable, "tq_ResourcesExt"},
      {"tq.Resources$Type", "java.lang.Object", kInterface, "tq_Resources_TQC_Type"},
      {"tq.Resources$Type$Audio", "java.lang.Object", kInterface, "tq_Resources_TQC_Type_TQC_Audio"},
      {"tq.Resources$Type$Image", "java.lang.Object", kInterface, "tq_Resources_TQC_Type_TQC_Image"},
      {"tq.Resources$Type$Ravelstone", "java.lang.Object", kInterface, "tq_Resources_TQC_Type_TQC_Ravelstone"},
      {"tq.Resources$Type$Video", "java.lang.Object", kInterface, "tq_Resources_TQC_Type_TQC_Video"},
      {"tq.util.IntHashtable", "java.lang.Object", kPlain, "tq_util_IntHashtable"},
      {"tq.util.IntHashtable$Entry", "java.lang.Object", kPlain, "tq_util_IntHashtable_TQC_Entry"},
      {"tq.util.FastRandom", "java.util.Random", kInstantiable, "tq_util_FastRandom"},
  };
  for (const Entry& e : table) {
    SCOPED_TRACE(e.name);
    Class* c = _VM_findClass(e.name);
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->_VM_superName.c_str(), e.super);
    EXPECT_EQ(c->_VM_isInterface, e.kind == kInterface);
    EXPECT_FALSE(c->_VM_isAbstract);
    EXPECT_EQ(c->_VM_instantiator != nullptr, e.kind == kInstantiable);
    // The path as the compiler was given it, from the source folder or the
    // build folder.
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
