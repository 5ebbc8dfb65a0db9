// Resource files: the platform functions over the fixture program folder
// tests/io/data/program (its "rsc" folder holds the resources), the
// resource input stream and Class.getResourceAsStream.

#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "DeviceProfile.h"
#include "HALResource.h"
#include "IoTestSupport.h"
#include "VMCollector.h"
#include "VMTestEnv.h"
#include "com_ravelstone_brume_cldc_io_ResourceInputStream.h"
#include "java_io_DataInputStream.h"
#include "java_io_EOFException.h"
#include "java_io_IOException.h"
#include "java_lang_Class.h"
#include "java_lang_IndexOutOfBoundsException.h"
#include "java_lang_NullPointerException.h"
#include "java_util_Vector.h"

using com::ravelstone::brume::cldc::io::ResourceInputStream;
using java::io::IOException;
using namespace io_test;

namespace {

const std::string kProgram = std::string(JME_TEST_DATA_DIR) + "/program";

void start() {
  DeviceProfile::instance().setProgramDirectory(kProgram);
  VMTestEnv::start();
}

VMPtr<ResourceInputStream> openResource(const std::u16string& name) {
  VMPtr<ResourceInputStream> s = ResourceInputStream::_VM_new();
  s->_VM_init(jstr(name));
  return s;
}

// The message of the IOException that opening `name` throws.
std::string openError(const std::u16string& name) {
  return thrownMessage<IOException>([&] { openResource(name); });
}

int openFileCount() {
  int count = 0;
  DIR* dir = opendir("/proc/self/fd");
  while (readdir(dir) != nullptr) ++count;
  closedir(dir);
  return count;
}

TEST(HALResource, OpensOnlyRegularFilesInsideTheResourceFolder) {
  DeviceProfile::instance().setProgramDirectory(kProgram);
  struct Case {
    std::u16string name;
    int status;
  };
  const Case cases[] = {
      {u"ten.bin", 0},
      {u"empty.bin", 0},
      {u"sub/nested.txt", 0},
      {u"sub\\nested.txt", 0},  // '\' separates folders too
      {u"java/util/packaged.txt", 0},
      {u"./ten.bin", 0},
      {u"caf\u00e9.txt", 0},  // UTF-16 names become UTF-8 paths
      {u"missing.bin", 4},
      {u"TEN.BIN", 4},  // names are as case-sensitive as the host's file system
      {u"sub", 4},  // a folder is not a resource
      {u"sub/", 4},
      {u"ten.bin/", 4},
      {u"../outside.txt", 4},  // leaves the folder
      {u"..\\outside.txt", 4},
      {u"sub/../ten.bin", 4},  // any ".." step
      {u"..", 4},
      {u"/ten.bin", 4},  // an absolute path
      {u"\\ten.bin", 4},
      {std::u16string(u"ten.bin\0x", 9), 4},
      {u"caf\xdc00.txt", 4},  // a lone surrogate names no file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(show(c.name));
    HALResource* handle = reinterpret_cast<HALResource*>(1);
    EXPECT_EQ(HAL_openResource(&handle, c.name.data(), static_cast<int32_t>(c.name.size())), c.status);
    EXPECT_EQ(handle == nullptr, c.status != 0);
    HAL_closeResource(handle);
  }

  HALResource* handle = nullptr;
  EXPECT_EQ(HAL_openResource(nullptr, u"ten.bin", 7), 2);
  EXPECT_EQ(HAL_openResource(&handle, nullptr, 7), 2);
  EXPECT_EQ(HAL_openResource(&handle, u"ten.bin", 0), 2);
  EXPECT_EQ(HAL_openResource(&handle, u"ten.bin", -1), 2);
  EXPECT_EQ(HAL_getResourceSize(nullptr), -1);
  HAL_closeResource(nullptr);
}

TEST(HALResource, ReadsAtTheGivenOffset) {
  DeviceProfile::instance().setProgramDirectory(kProgram);
  HALResource* handle = nullptr;
  ASSERT_EQ(HAL_openResource(&handle, u"ten.bin", 7), 0);
  EXPECT_EQ(HAL_getResourceSize(handle), 10);
  uint8_t buffer[16] = {};
  int32_t count = 4;
  EXPECT_EQ(HAL_readResource(handle, buffer, 3, &count), 0);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(std::string(buffer, buffer + 4), "3456");
  count = 16;
  EXPECT_EQ(HAL_readResource(handle, buffer, 8, &count), 0);
  EXPECT_EQ(count, 2);
  count = 5;
  EXPECT_EQ(HAL_readResource(handle, buffer, 10, &count), 0);
  EXPECT_EQ(count, 0);
  count = 5;
  EXPECT_EQ(HAL_readResource(handle, buffer, 1000, &count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(HAL_readResource(nullptr, buffer, 0, &count), 2);
  EXPECT_EQ(HAL_readResource(handle, nullptr, 0, &count), 2);
  EXPECT_EQ(HAL_readResource(handle, buffer, 0, nullptr), 2);
  EXPECT_EQ(HAL_readResource(handle, buffer, -1, &count), 2);
  HAL_closeResource(handle);

  EXPECT_STREQ(HAL_getPlatformName(), "WindowsMobile");
  EXPECT_STREQ(HAL_getPlatformVersion(), "1");
}

TEST(HALResource, TheDefaultProgramDirectoryIsTheExecutablesFolder) {
  DeviceProfile::instance().setProgramDirectory("");
  char path[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", path, sizeof path - 1), 0);
  EXPECT_EQ(DeviceProfile::instance().programDirectory(), std::filesystem::path(path).parent_path().string());
}

TEST(ResourceInputStream, OpenErrors) {
  start();
  EXPECT_EQ(openError(u"missing.bin"), "Resource error: 4");
  EXPECT_EQ(openError(u""), "Resource error: 2");
  EXPECT_EQ(openError(u"sub"), "Resource error: 4");
  thrownMessage<java::lang::NullPointerException>([] {
    VMPtr<ResourceInputStream> s = ResourceInputStream::_VM_new();
    s->_VM_init(VMPtr<java::lang::String>());
  });
}

TEST(ResourceInputStream, AnEmptyResource) {
  start();
  VMPtr<ResourceInputStream> s = openResource(u"empty.bin");
  VMPtr<Bytes> b = Bytes::create(4);
  EXPECT_EQ(s->available(), 0);
  EXPECT_EQ(s->read(), -1);
  EXPECT_EQ(s->read(b, 0, 4), -1);
  EXPECT_EQ(s->read(b, 0, 0), 0);
  EXPECT_EQ(s->skip(5), 0);
  s->close();
}

TEST(ResourceInputStream, ReadsSkipsMarksAndResets) {
  start();
  VMPtr<ResourceInputStream> s = openResource(u"ten.bin");
  EXPECT_TRUE(s->markSupported());
  EXPECT_EQ(s->available(), 10);
  std::string read;
  for (int c; (c = s->read()) != -1;) read += static_cast<char>(c);
  EXPECT_EQ(read, "0123456789");
  EXPECT_EQ(s->read(), -1);
  EXPECT_EQ(s->read(), -1);

  s->reset();  // the mark starts at 0
  EXPECT_EQ(s->skip(2), 2);
  s->mark(0);
  EXPECT_EQ(s->read(), '2');
  EXPECT_EQ(s->read(), '3');
  EXPECT_EQ(s->read(), '4');
  s->reset();
  EXPECT_EQ(s->read(), '2');

  EXPECT_EQ(s->skip(1), 1);  // position 4
  EXPECT_EQ(s->skip(0), 0);
  EXPECT_EQ(s->skip(-3), 0);
  EXPECT_EQ(s->skip(100), 6);
  EXPECT_EQ(s->available(), 0);

  s->reset();
  s->skip(6);  // position 8
  VMPtr<Bytes> b = Bytes::create(100);
  EXPECT_EQ(s->read(b, 0, 100), 2);
  EXPECT_EQ(values(b, 0, 2), (std::vector<uint8_t>{'8', '9'}));
  EXPECT_EQ(s->read(b, 0, 100), -1);
  s->reset();
  EXPECT_EQ(s->read(b), 8);  // read(b) reaches the three-argument form
  EXPECT_EQ(values(b, 0, 3), (std::vector<uint8_t>{'2', '3', '4'}));

  thrownMessage<java::lang::NullPointerException>([&] { s->read(VMPtr<Bytes>(), 0, 1); });
  thrownMessage<java::lang::IndexOutOfBoundsException>([&] { s->read(b, -1, 1); });
  thrownMessage<java::lang::IndexOutOfBoundsException>([&] { s->read(b, 99, 2); });
}

TEST(ResourceInputStream, AClosedStream) {
  start();
  VMPtr<ResourceInputStream> s = openResource(u"sub\\nested.txt");
  EXPECT_EQ(s->read(), 'n');
  s->close();
  EXPECT_EQ(s->handle, nullptr);
  VMPtr<Bytes> b = Bytes::create(4);
  EXPECT_EQ(thrownMessage<IOException>([&] { s->read(); }), "<null>");
  EXPECT_EQ(thrownMessage<IOException>([&] { s->read(b, 0, 4); }), "<null>");
  EXPECT_EQ(thrownMessage<IOException>([&] { s->read(VMPtr<Bytes>(), 0, 4); }), "<null>");  // closed first
  EXPECT_EQ(thrownMessage<IOException>([&] { s->skip(1); }), "<null>");
  EXPECT_EQ(thrownMessage<IOException>([&] { s->reset(); }), "<null>");
  EXPECT_EQ(s->available(), 6);
  s->mark(0);
  EXPECT_TRUE(s->markSupported());
  s->close();  // a second close does nothing
}

// A file that shrinks after it was opened ends the reads at its real end:
// no read reports bytes it did not read, and readFully ends.
TEST(ResourceInputStream, AFileThatShrankEndsEarly) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("jme-rsc-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "rsc");
  const std::filesystem::path file = folder / "rsc" / "shrinks.bin";
  std::ofstream(file, std::ios::binary) << "abcdefgh";
  DeviceProfile::instance().setProgramDirectory(folder.string());
  VMTestEnv::start();

  VMPtr<ResourceInputStream> s = openResource(u"shrinks.bin");
  ASSERT_EQ(s->size, 8);
  EXPECT_EQ(s->read(), 'a');
  std::filesystem::resize_file(file, 3);
  VMPtr<Bytes> b = Bytes::create(8);
  EXPECT_EQ(s->read(b, 0, 8), 2);
  EXPECT_EQ(s->read(), -1);
  EXPECT_EQ(s->read(b, 0, 8), -1);
  EXPECT_EQ(s->pos, 3);
  EXPECT_EQ(s->available(), 5);  // the size recorded at opening

  VMPtr<ResourceInputStream> again = openResource(u"shrinks.bin");
  std::filesystem::resize_file(file, 0);
  VMPtr<java::io::DataInputStream> data = java::io::DataInputStream::_VM_new();
  data->_VM_init(again);
  thrownMessage<java::io::EOFException>([&] { data->readFully(b, 0, 3); });
  std::filesystem::remove_all(folder);
}

TEST(ResourceInputStream, TheCollectorClosesAForgottenStream) {
  start();
  const int before = openFileCount();
  { openResource(u"ten.bin"); }
  EXPECT_EQ(openFileCount(), before + 1);
  _VM_collect();
  EXPECT_EQ(openFileCount(), before);
}

TEST(ClassResources, GetResourceAsStreamResolvesNamesAgainstThePackage) {
  start();
  VMPtr<java::lang::Class> vector(java::util::Vector::_VM_class);
  VMPtr<java::lang::Class> object(java::lang::Object::_VM_class);

  VMPtr<java::io::InputStream> packaged = vector->getResourceAsStream(jstr(u"packaged.txt"));
  ASSERT_TRUE(packaged);
  EXPECT_EQ(packaged->read(), 'i');
  VMPtr<java::io::InputStream> absolute = object->getResourceAsStream(jstr(u"/ten.bin"));
  ASSERT_TRUE(absolute);
  EXPECT_EQ(absolute->available(), 10);
  VMPtr<java::io::InputStream> nested = vector->getResourceAsStream(jstr(u"/sub/nested.txt"));
  ASSERT_TRUE(nested);
  EXPECT_EQ(nested->read(), 'n');
  VMPtr<java::io::InputStream> unicode = vector->getResourceAsStream(jstr(u"/caf\u00e9.txt"));
  ASSERT_TRUE(unicode);

  EXPECT_FALSE(object->getResourceAsStream(jstr(u"ten.bin")));  // looked for in java/lang
  EXPECT_FALSE(vector->getResourceAsStream(jstr(u"/missing.bin")));
  EXPECT_FALSE(vector->getResourceAsStream(jstr(u"/")));
  EXPECT_FALSE(vector->getResourceAsStream(jstr(u"/../outside.txt")));
}

}  // namespace
