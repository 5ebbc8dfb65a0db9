#include "HALExitURL.h"

#include <new>
#include <string>

#include "CeProcess.h"
#include "CeText.h"
#include "HALString.h"

namespace {

HALString* exitURL = nullptr;

// Starts the browser with the URL (the system refuses URLs it cannot hand
// over safely).
bool openInBrowser(const HALString& url) {
  const std::u16string parameters(url.chars(), static_cast<size_t>(url.length()));
  if (parameters.find(u'\0') != std::u16string::npos) return false;  // it would end the text early
  ce::SHELLEXECUTEINFOW info{};
  info.cbSize = 60;
  info.lpFile = u"iexplore.exe";
  info.lpParameters = parameters.c_str();
  info.nShow = ce::SW_SHOWNORMAL;
  return ce::ShellExecuteExW(&info) != ce::FALSE;
}

HALBrowserLauncher launcher = nullptr;

// The URL as the browser takes it: a lone surrogate becomes U+FFFD, as in
// the URLs of HTTP connections.
std::string toUTF8(const HALString& text) {
  return CeText::toUTF8(std::u16string_view(text.chars(), static_cast<size_t>(text.length())));
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
  if (exitURL && exitURL->length() > 0) {
    if (launcher) {
      launcher(toUTF8(*exitURL).c_str());
    } else {
      openInBrowser(*exitURL);
    }
  }
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
  launcher = replacement;
}
