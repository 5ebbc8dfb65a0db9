#include <gtest/gtest.h>

#include <string>

#include "CeProcessHeap.h"
#include "DeviceProfile.h"
#include "HALLocale.h"
#include "HALMemory.h"
#include "ScopedEnv.h"

namespace {

// The locale name for a language id, freed again; "(null)" for null.
std::string localeNameFor(const char16_t* languageId) {
  DeviceProfile::instance().setLanguageId(languageId);
  char* name = HAL_getLocaleName();
  std::string result = name ? name : "(null)";
  HAL_freeBuffer(name);
  return result;
}

TEST(HALLocaleTest, LanguageIdsMapExactlyToLocaleNames) {
  struct Case {
    const char16_t* id;
    const char* name;
  };
  const Case cases[] = {
      {u"0410", "it-it"}, {u"040C", "fr-fr"}, {u"0816", "pt-pt"}, {u"0407", "de-de"},
      {u"0C0A", "es-es"}, {u"0419", "ru"},    {u"0409", "en-us"}, {u"0809", "en-us"},
      {u"040c", "en-us"},  // the comparison is case-sensitive
      {u"0c0a", "en-us"}, {u"0410 ", "en-us"}, {u"041", "en-us"},
      {u"", "(null)"},  // the locale cannot be read
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(k.name, localeNameFor(k.id));
  }
}

TEST(HALLocaleTest, NameIsACountedBuffer) {
  DeviceProfile::instance().setLanguageId(u"0419");
  const uint64_t before = HAL_getAllocatedMemory();
  char* name = HAL_getLocaleName();
  ASSERT_NE(nullptr, name);
  EXPECT_STREQ("ru", name);
  EXPECT_EQ(before + 3 + 16, HAL_getAllocatedMemory());
  HAL_freeBuffer(name);
  EXPECT_EQ(before, HAL_getAllocatedMemory());

  CeProcessHeap::setAllocationsLeft(0);
  EXPECT_EQ(nullptr, HAL_getLocaleName());
  CeProcessHeap::setAllocationsLeft(CeProcessHeap::kUnlimited);
}

TEST(HALLocaleTest, DefaultLanguageComesFromTheHostLocale) {
  struct Case {
    const char* lcAll;
    const char* lang;
    const char* name;
  };
  const Case cases[] = {
      {nullptr, "it_IT.UTF-8", "it-it"},
      {"", "fr_CA", "fr-fr"},  // an empty LC_ALL counts as unset
      {"de_DE.UTF-8", "ru_RU.UTF-8", "de-de"},  // LC_ALL wins
      {nullptr, "pt_BR.UTF-8", "pt-pt"},
      {nullptr, "es_ES@euro", "es-es"},
      {nullptr, "ru", "ru"},
      {nullptr, "en_GB.UTF-8", "en-us"},
      {nullptr, "C.UTF-8", "en-us"},
      {nullptr, "POSIX", "en-us"},
      {nullptr, nullptr, "en-us"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ScopedEnv lcAll("LC_ALL", k.lcAll);
    ScopedEnv lang("LANG", k.lang);
    DeviceProfile::instance().loadDefaults();
    char* name = HAL_getLocaleName();
    ASSERT_NE(nullptr, name);
    EXPECT_STREQ(k.name, name);
    HAL_freeBuffer(name);
  }
}

TEST(DeviceProfileTest, LocaleNamesMapToLanguageIds) {
  EXPECT_EQ(u"0410", DeviceProfile::languageIdForLocale("it_IT.UTF-8"));
  EXPECT_EQ(u"040C", DeviceProfile::languageIdForLocale("FR"));
  EXPECT_EQ(u"0816", DeviceProfile::languageIdForLocale("pt-PT"));
  EXPECT_EQ(u"0407", DeviceProfile::languageIdForLocale("de_AT"));
  EXPECT_EQ(u"0C0A", DeviceProfile::languageIdForLocale("es"));
  EXPECT_EQ(u"0419", DeviceProfile::languageIdForLocale("ru_UA.KOI8-U"));
  EXPECT_EQ(u"0409", DeviceProfile::languageIdForLocale("itx_IT"));
  EXPECT_EQ(u"0409", DeviceProfile::languageIdForLocale(""));
}

}  // namespace
