#include "HALExitURL.h"

#include <new>
#include <spawn.h>
#include <string>

#include "HALString.h"
#include "HALUTF8.h"

extern char** environ;

namespace {

HALString* exitURL = nullptr;

// Hands the URL to the desktop's opener as its only argument, never through
// a shell. A URL that the opener would read as an option (a leading '-') or
// that holds control characters is refused.
bool openWithDesktop(const char* url) {
  if (url[0] == '-') return false;
  for (const char* p = url; *p; ++p) {
    if (static_cast<unsigned char>(*p) < 0x20 || *p == 0x7F) return false;
  }
  char program[] = "xdg-open";
  char* argv[] = {program, const_cast<char*>(url), nullptr};
  pid_t child;
  return posix_spawnp(&child, program, nullptr, nullptr, argv, environ) == 0;
}

HALBrowserLauncher launcher = openWithDesktop;

std::string toUTF8(const HALString& text) {
  std::string out;
  for (int32_t i = 0; i < text.length(); ++i) {
    uint32_t c = text.charAt(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.length() && text.charAt(i + 1) >= 0xDC00 &&
        text.charAt(i + 1) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text.charAt(++i) - 0xDC00);
    }
    HAL_appendUTF8(out, c);
  }
  return out;
}

}  // namespace

void HAL_setExitURL(const HALString* url) {
  HALString::release(exitURL);
  exitURL = nullptr;
  if (!url || url->length() == 0) return;
  auto* copy = new (std::nothrow) HALString();
  if (copy && !copy->initCopy(url)) {
    HALString::release(copy);
    copy = nullptr;
  }
  exitURL = copy;
}

const HALString* HAL_getExitURL() { return exitURL; }

void HAL_launchExitURL() {
  if (exitURL && exitURL->length() > 0) launcher(toUTF8(*exitURL).c_str());
  HALString::release(exitURL);
  exitURL = nullptr;
}

HALStatus HAL_openURL(const char16_t* url, int32_t length, uint8_t* mustExit) {
  if (length < 0 || (length > 0 && !url)) return HAL_ILLEGAL_ARGUMENT_ERR;
  HALString text;
  if (length > 0 && !text.initFromChars(url, length)) return HAL_OUT_OF_MEMORY_ERR;
  HAL_setExitURL(&text);
  if (length > 0 && !exitURL) return HAL_OUT_OF_MEMORY_ERR;
  if (mustExit) *mustExit = 1;
  return HAL_OK;
}

void HAL_setBrowserLauncher(HALBrowserLauncher replacement) {
  launcher = replacement ? replacement : openWithDesktop;
}
