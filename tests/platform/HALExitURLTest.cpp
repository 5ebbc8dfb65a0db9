#include <gtest/gtest.h>

#include <string>

#include "HALExitURL.h"

namespace {

std::string launched;

// The browser gets the URL as UTF-8 with a lone surrogate replaced, the
// same bytes an HTTP connection sends for that text.
TEST(HALExitURLTest, ALoneSurrogateBecomesTheReplacementCharacter) {
  HAL_setBrowserLauncher([](const char* url) {
    launched = url;
    return true;
  });
  const std::u16string url = std::u16string(u"http://a/\xD800") + u"x\U0001F600";
  uint8_t mustExit = 0;
  ASSERT_EQ(HAL_openURL(url.data(), static_cast<int32_t>(url.size()), &mustExit), HAL_OK);
  HAL_launchExitURL();
  EXPECT_EQ(launched, "http://a/\xEF\xBF\xBDx\xF0\x9F\x98\x80");
}

}  // namespace
