#include "HALResource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <new>
#include <string>
#include <string_view>

#include "CeText.h"
#include "DeviceProfile.h"

struct HALResource {
  int fd;
};

namespace {

bool isSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// The host path of a resource name inside the "rsc" folder, with every '\'
// turned into '/'. False when the name cannot name a file inside the
// folder: it starts with a separator, has a ".." step, or holds a NUL unit
// or a lone surrogate.
bool resourcePath(const char16_t* name, int32_t length, std::string& path) {
  if (isSeparator(name[0])) return false;
  path = DeviceProfile::instance().programDirectory();
  path += "/rsc/";
  const std::u16string_view text(name, static_cast<size_t>(length));
  size_t stepStart = 0;
  for (size_t i = 0; i <= text.size();) {
    if (i == text.size() || isSeparator(text[i])) {
      if (text.substr(stepStart, i - stepStart) == u"..") return false;
      if (i < text.size()) path += '/';
      stepStart = ++i;
      continue;
    }
    if (text[i] == 0) return false;
    const char32_t c = CeText::nextCodePoint(text, i, CeTextPolicy::kRefuse);
    if (c == CeText::kRefused) return false;
    CeText::appendUTF8(path, c);
  }
  return true;
}

}  // namespace

HALStatus HAL_openResource(HALResource** handle, const char16_t* name, int32_t length) {
  if (handle == nullptr || name == nullptr || length <= 0) return HAL_ILLEGAL_ARGUMENT_ERR;
  *handle = nullptr;
  std::string path;
  try {
    if (!resourcePath(name, length, path)) return HAL_NOT_FOUND_ERR;
  } catch (const std::bad_alloc&) {
    return HAL_OUT_OF_MEMORY_ERR;
  }
  // Non-blocking, so that naming a pipe cannot hang; it is refused below.
  int fd;
  do {
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return HAL_NOT_FOUND_ERR;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return HAL_NOT_FOUND_ERR;
  }
  HALResource* resource = new (std::nothrow) HALResource{fd};
  if (resource == nullptr) {
    close(fd);
    return HAL_OUT_OF_MEMORY_ERR;
  }
  *handle = resource;
  return HAL_OK;
}

HALStatus HAL_readResource(HALResource* handle, uint8_t* destination, int32_t offset, int32_t* count) {
  if (handle == nullptr || destination == nullptr || count == nullptr || offset < 0 || *count < 0) {
    return HAL_ILLEGAL_ARGUMENT_ERR;
  }
  int32_t done = 0;
  while (done < *count) {
    const ssize_t n = pread(handle->fd, destination + done, static_cast<size_t>(*count - done),
                            static_cast<off_t>(offset) + done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return HAL_IO_ERR;
    }
    if (n == 0) break;  // the end of the file
    done += static_cast<int32_t>(n);
  }
  *count = done;
  return HAL_OK;
}

int32_t HAL_getResourceSize(HALResource* handle) {
  if (handle == nullptr) return -1;
  struct stat info;
  if (fstat(handle->fd, &info) != 0) return -1;
  return info.st_size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(info.st_size);
}

void HAL_closeResource(HALResource* handle) {
  if (handle == nullptr) return;
  close(handle->fd);
  delete handle;
}

const char* HAL_getPlatformName() { return "WindowsMobile"; }

const char* HAL_getPlatformVersion() { return "1"; }
