// Properties files, the two stores, the built-in table and System.getProperty.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "DeviceProfile.h"
#include "HALDevice.h"
#include "HALProperties.h"
#include "HALString.h"
#include "JavaTestSupport.h"
#include "VMTestEnv.h"
#include "java_lang_System.h"

namespace {

using java_test::show;

// The value of `key` in a store, or "<absent>".
std::u16string valueOf(int store, const std::u16string& key) {
  const auto length = store == HAL_SYSTEM_PROPERTIES
                          ? HAL_getSystemPropertyLength(key.data(), static_cast<int32_t>(key.size()))
                          : HAL_getApplicationPropertyLength(key.data(), static_cast<int32_t>(key.size()));
  if (length < 0) return u"<absent>";
  std::u16string value(static_cast<size_t>(length), u'\0');
  int32_t n = length;
  const HALStatus status =
      store == HAL_SYSTEM_PROPERTIES
          ? HAL_getSystemProperty(key.data(), static_cast<int32_t>(key.size()), value.data(), &n)
          : HAL_getApplicationProperty(key.data(), static_cast<int32_t>(key.size()), value.data(), &n);
  EXPECT_EQ(status, HAL_OK);
  EXPECT_EQ(n, length);
  return value;
}

void addText(int store, const std::string& text) {
  HAL_addPropertiesText(store, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// A program folder of its own with a "properties" folder in it.
class PropertiesFolder {
 public:
  PropertiesFolder() {
    root_ = std::filesystem::temp_directory_path() / ("jme-props-" + std::to_string(getpid()));
    std::filesystem::create_directories(root_ / "properties");
    DeviceProfile::instance().setProgramDirectory(root_.string());
  }
  ~PropertiesFolder() { std::filesystem::remove_all(root_); }
  void write(const char* name, const std::string& text) {
    std::ofstream(root_ / "properties" / name, std::ios::binary) << text;
  }

 private:
  std::filesystem::path root_;
};

struct LineCase {
  const char* text;
  const char16_t* key;
  const char16_t* value;
};

TEST(Properties, LinesBecomeKeysAndValues) {
  const LineCase cases[] = {
      {"MIDlet-1: A, B, C\n", u"MIDlet-1", u"A, B, C"},
      {"k:value\n", u"k", u"alue"},             // the character after the colon is skipped
      {"k:  value\n", u"k", u" value"},         // only one blank is
      {"k: last", u"k", u"last"},               // no line end: the last character stays
      {"k: crlf\r\n", u"k", u"crlf"},
      {"k: inner\rcr\n", u"k", u"inner\rcr"},   // a lone CR is text
      {" k : v\n", u" k ", u"v"},               // blanks before the colon belong to the key
      {"k: a:b\n", u"k", u"a:b"},               // the first colon splits
      {"k:\n", u"k", u""},
      {"k: \n", u"k", u""},
      {"k:x", u"k", u""},
      {": v\n", u"", u"v"},
      {"name: caf\xC3\xA9\n", u"name", u"caf\u00e9"},
      {"name: caf\xE9\n", u"name", u"caf\u00e9"},             // not UTF-8: Latin-1
      {"name: \xE2\x82\n", u"name", u"\u00e2\u0082"},          // a cut sequence: Latin-1 bytes
      {"name: \xC0\xAF\n", u"name", u"\u00c0\u00af"},          // overlong: Latin-1 bytes
      {"name: \xF0\x9F\x98\x80\n", u"name", u"\U0001F600"},    // beyond 16 bits: a surrogate pair
      {"\xEF\xBB\xBFMIDlet-Name: Bom\n", u"MIDlet-Name", u"Bom"},
  };
  for (const LineCase& c : cases) {
    HAL_freeProperties();
    addText(HAL_APPLICATION_PROPERTIES, c.text);
    EXPECT_EQ(HAL_getPropertyCount(HAL_APPLICATION_PROPERTIES), 1) << c.text;
    EXPECT_EQ(show(valueOf(HAL_APPLICATION_PROPERTIES, c.key)), show(c.value)) << c.text;
  }
}

TEST(Properties, LinesWithoutColonAreSkippedAndLongLinesReadWhole) {
  const std::string longValue(10000, 'x');
  addText(HAL_SYSTEM_PROPERTIES, "no colon\n\n\r\nlong: " + longValue + "\nafter: 1\n");
  EXPECT_EQ(HAL_getPropertyCount(HAL_SYSTEM_PROPERTIES), 2);
  EXPECT_EQ(valueOf(HAL_SYSTEM_PROPERTIES, u"long"), std::u16string(longValue.begin(), longValue.end()));
  EXPECT_EQ(valueOf(HAL_SYSTEM_PROPERTIES, u"after"), u"1");
}

TEST(Properties, LaterLinesWinAndKeysMatchExactly) {
  addText(HAL_APPLICATION_PROPERTIES, "MIDlet-Name: A\nMIDlet-Name: B\nmidlet-name: c\n");
  EXPECT_EQ(valueOf(HAL_APPLICATION_PROPERTIES, u"MIDlet-Name"), u"B");
  EXPECT_EQ(valueOf(HAL_APPLICATION_PROPERTIES, u"midlet-name"), u"c");
  EXPECT_EQ(valueOf(HAL_APPLICATION_PROPERTIES, u"MIDlet-Nam"), u"<absent>");
  EXPECT_EQ(valueOf(HAL_SYSTEM_PROPERTIES, u"MIDlet-Name"), u"<absent>");
}

TEST(Properties, ReadsReportTheirErrors) {
  addText(HAL_SYSTEM_PROPERTIES, "key: value\n");
  char16_t buffer[8] = {};
  int32_t n = 3;
  EXPECT_EQ(HAL_getSystemProperty(u"key", 3, buffer, &n), HAL_OK);  // cut to the buffer
  EXPECT_EQ(n, 3);
  EXPECT_EQ(std::u16string(buffer, 3), u"val");
  n = 8;
  EXPECT_EQ(HAL_getSystemProperty(u"nokey", 5, buffer, &n), HAL_NOT_FOUND_ERR);
  EXPECT_EQ(HAL_getSystemPropertyLength(u"nokey", 5), -1);
  EXPECT_EQ(HAL_getSystemProperty(nullptr, 1, buffer, &n), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_getSystemPropertyLength(nullptr, 1), -1);
  EXPECT_EQ(HAL_getSystemProperty(u"key", 3, buffer, nullptr), HAL_ILLEGAL_ARGUMENT_ERR);
  n = 4;
  EXPECT_EQ(HAL_getSystemProperty(u"key", 3, nullptr, &n), HAL_ILLEGAL_ARGUMENT_ERR);
  n = 0;
  EXPECT_EQ(HAL_getSystemProperty(u"key", 3, nullptr, &n), HAL_OK);
  EXPECT_EQ(n, 0);
  n = -1;
  EXPECT_EQ(HAL_getSystemProperty(u"key", 3, buffer, &n), HAL_ILLEGAL_ARGUMENT_ERR);
  EXPECT_EQ(HAL_getSystemPropertyLength(u"key", -3), -1);
}

TEST(Properties, FilesFillTheStoresAndDeviceEntriesComeLast) {
  PropertiesFolder folder;
  folder.write("sys.prop", "os.arch: x86\r\nWinceDisplayOrientation0: rotate90cw\r\n");
  folder.write("app.prop", "MIDlet-Name: Game\nMIDlet-1: Game, /i.png, main.CommonMIDlet");
  HAL_loadProperties();
  EXPECT_EQ(HAL_getPropertyCount(HAL_SYSTEM_PROPERTIES), 2 + 6);
  EXPECT_EQ(valueOf(HAL_SYSTEM_PROPERTIES, u"os.arch"), u"arm");
  EXPECT_EQ(valueOf(HAL_SYSTEM_PROPERTIES, u"WinceDisplayOrientation0"), u"rotate90cw");
  EXPECT_EQ(valueOf(HAL_SYSTEM_PROPERTIES, u"device.manufacturer"), HAL_getManufacturer());
  EXPECT_EQ(valueOf(HAL_SYSTEM_PROPERTIES, u"os.name"), u"WinCE (WM PocketPC)");
  EXPECT_EQ(valueOf(HAL_SYSTEM_PROPERTIES, u"os.version"), u"5.2");
  EXPECT_EQ(valueOf(HAL_APPLICATION_PROPERTIES, u"MIDlet-1"), u"Game, /i.png, main.CommonMIDlet");
  HALString* name = HAL_getMIDletName();
  EXPECT_EQ(std::u16string(name->chars()), u"Game");
  HALString::release(name);

  // Loading again starts from empty stores.
  HAL_loadProperties();
  EXPECT_EQ(HAL_getPropertyCount(HAL_APPLICATION_PROPERTIES), 2);
  HAL_freeProperties();
  EXPECT_EQ(HAL_getPropertyCount(HAL_SYSTEM_PROPERTIES), 0);
  EXPECT_EQ(HAL_getPropertyCount(HAL_APPLICATION_PROPERTIES), 0);
}

TEST(Properties, MissingFilesLeaveEmptyStoresAndTheDefaultName) {
  PropertiesFolder folder;
  HAL_loadProperties();
  EXPECT_EQ(HAL_getPropertyCount(HAL_SYSTEM_PROPERTIES), 6);
  EXPECT_EQ(HAL_getPropertyCount(HAL_APPLICATION_PROPERTIES), 0);
  HALString* name = HAL_getMIDletName();
  EXPECT_EQ(std::u16string(name->chars()), u"_TQ_set_your_MIDlet-Name");
  HALString::release(name);
  // An empty name counts as none.
  addText(HAL_APPLICATION_PROPERTIES, "MIDlet-Name: \n");
  name = HAL_getMIDletName();
  EXPECT_EQ(std::u16string(name->chars()), u"_TQ_set_your_MIDlet-Name");
  HALString::release(name);
}

TEST(Properties, BuiltinTableAndSystemGetProperty) {
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.uniqueId = std::vector<uint8_t>(20, 0xA5); });
  DeviceProfile::instance().setLanguageId(u"0410");
  VMTestEnv::start();
  addText(HAL_SYSTEM_PROPERTIES, "microedition.profiles: MIDP-1.0\nfrom.file: yes\n");
  std::u16string id = u"Wind";
  for (int i = 0; i < 20; ++i) id += u"a5";
  const struct {
    const char* key;
    std::u16string value;
  } cases[] = {
      {"microedition.configuration", u"CLDC-1.1"},
      {"microedition.platform", u"RavelstoneBrume/PLATFORM_BRIDGE_VERSION"},
      {"microedition.encoding", u"UTF-8"},
      {"microedition.profiles", u"MIDP-2.0"},  // the built-in table comes first
      {"microedition.locale", u"it-it"},
      {"microedition.commports", u""},
      {"microedition.hostname", u""},
      {"javax.microedition.io.Connector.protocolpath", u"com.ravelstone.brume.midp.io.protocol"},
      {"com.ravelstone.brume.software.version", u"PLATFORM_BRIDGE_VERSION"},
      {"com.ravelstone.brume.hal.platform", u"WindowsMobile"},
      {"com.ravelstone.brume.hal.version", u"1"},
      {"com.ravelstone.brume.hal.uniqueid", id},
      {"from.file", u"yes"},
  };
  for (const auto& c : cases) {
    VMPtr<java::lang::String> value = java::lang::System::getProperty(java::lang::String::_VM_fromUTF8(c.key));
    ASSERT_FALSE(value.isNull()) << c.key;
    EXPECT_EQ(show(java_test::text(value)), show(c.value)) << c.key;
  }
  EXPECT_TRUE(java::lang::System::getProperty(java::lang::String::_VM_fromUTF8("absent")).isNull());
  EXPECT_EQ(HAL_getBuiltinProperties(), HAL_getBuiltinProperties());
}

TEST(Properties, NoDeviceIdAndNoLocaleGiveNoEntries) {
  DeviceProfile::instance().updateFacts([](DeviceProfile::Facts& f) { f.uniqueId = std::nullopt; });
  DeviceProfile::instance().setLanguageId(u"");
  VMTestEnv::start();
  HALStringMap* table = HAL_getBuiltinProperties();
  EXPECT_EQ(HAL_findBuiltinProperty(table, "com.ravelstone.brume.hal.uniqueid"), nullptr);
  EXPECT_EQ(HAL_findBuiltinProperty(table, "microedition.locale"), nullptr);
  EXPECT_STREQ(HAL_findBuiltinProperty(table, "microedition.encoding"), "UTF-8");
  EXPECT_EQ(HAL_findBuiltinProperty(nullptr, "microedition.encoding"), nullptr);
}

}  // namespace
