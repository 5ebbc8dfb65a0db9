#include "CeFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

namespace {

constexpr const char* kTemporaryPrefix = ".tmp-";

std::atomic<int64_t> stepLimit{-1};  // -1: every step succeeds
std::atomic<bool> onlyOneFails{false};  // false: every step after the limit fails
std::atomic<int64_t> steps{0};

// Counts one step; false when it is to fail.
bool step() {
  const int64_t taken = steps.fetch_add(1) + 1;
  const int64_t limit = stepLimit.load();
  if (limit < 0) return true;
  return onlyOneFails.load() ? taken - 1 != limit : taken <= limit;
}

// True once the layer stands for a dead process: it then cleans nothing up.
bool stopped() {
  const int64_t limit = stepLimit.load();
  return !onlyOneFails.load() && limit >= 0 && steps.load() >= limit;
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

bool writeAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool syncFolder(const std::string& folder) {
  if (!step()) return false;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

bool CeFiles::makeFolder(const std::string& path) {
  if (isFolder(path)) return true;
  if (stopped()) return false;
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return false;
  return isFolder(path);
}

bool CeFiles::isFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CeFiles::isFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<uint64_t> CeFiles::fileSize(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

std::optional<std::vector<uint8_t>> CeFiles::readFile(const std::string& path, size_t limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) > limit) {
    ::close(fd);
    return std::nullopt;
  }
  // Read to the end whatever the length said: the file may change size.
  std::vector<uint8_t> bytes(static_cast<size_t>(st.st_size));
  size_t got = 0;
  for (;;) {
    if (got == bytes.size()) {
      if (bytes.size() >= limit) break;
      bytes.resize(std::min(limit, bytes.size() + 4096));
    }
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(got);
  return bytes;
}

bool CeFiles::replaceFile(const std::string& path, const void* data, size_t size, bool flushFolder) {
  const std::string folder = folderOf(path);
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::string temporary = folder + "/" + kTemporaryPrefix + name;
  const auto* bytes = static_cast<const uint8_t*>(data);

  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok;
  if (step()) {
    ok = writeAll(fd, bytes, size);
  } else {
    writeAll(fd, bytes, size / 2);  // the process died in the middle of the write
    ok = false;
  }
  ok = ok && step() && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok) {
    if (!stopped()) ::unlink(temporary.c_str());
    return false;
  }
  if (!step() || ::rename(temporary.c_str(), path.c_str()) != 0) {
    if (!stopped()) ::unlink(temporary.c_str());
    return false;
  }
  return !flushFolder || syncFolder(folder);
}

bool CeFiles::flushFolder(const std::string& folder) { return syncFolder(folder); }

bool CeFiles::removeFileUnflushed(const std::string& path) { return step() && ::unlink(path.c_str()) == 0; }

bool CeFiles::removeFile(const std::string& path) {
  if (!step() || ::unlink(path.c_str()) != 0) return false;
  return syncFolder(folderOf(path));
}

bool CeFiles::removeFolder(const std::string& path) {
  if (!step() || ::rmdir(path.c_str()) != 0) return false;
  return syncFolder(folderOf(path));
}

std::vector<CeFiles::Entry> CeFiles::list(const std::string& folder) {
  std::vector<Entry> entries;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return entries;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    entries.push_back({name, isFolder(folder + "/" + name)});
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return entries;
}

bool CeFiles::isTemporaryName(const std::string& name) { return name.rfind(kTemporaryPrefix, 0) == 0; }

void CeFiles::stopAfter(int64_t count) {
  steps = 0;
  onlyOneFails = false;
  stepLimit = count;
}

void CeFiles::failStepAfter(int64_t count) {
  steps = 0;
  onlyOneFails = true;
  stepLimit = count;
}

void CeFiles::resume() {
  stepLimit = -1;
  onlyOneFails = false;
  steps = 0;
}

int64_t CeFiles::stepsTaken() { return steps.load(); }
