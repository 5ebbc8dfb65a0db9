#include "com_ravelstone_brume_cldc_io_ResourceInputStream.h"

#include <algorithm>

#include "HALResource.h"
#include "VMThrow.h"
#include "java_io_IOException.h"
#include "java_lang_StringBuffer.h"

VM_REGISTER_CLASS(com::ravelstone::brume::cldc::io::ResourceInputStream,
                  "com.ravelstone.brume.cldc.io.ResourceInputStream", "java.io.InputStream", 0);

namespace {

[[noreturn]] void throwResourceError(HALStatus status) {
  VMPtr<java::lang::StringBuffer> text = java::lang::StringBuffer::_VM_new();
  text->_VM_init("Resource error: ");
  text->append(static_cast<int32_t>(status));
  _VM_throwNew<java::io::IOException>(text->toString());
}

// Class.getResourceAsStream's way in: the stream, or null when the
// resource cannot be opened.
VMPtr<java::io::InputStream> openResourceStream(const char* path) {
  using com::ravelstone::brume::cldc::io::ResourceInputStream;
  VMPtr<java::lang::String> name = java::lang::String::_VM_fromUTF8(path);
  try {
    VMPtr<ResourceInputStream> stream = ResourceInputStream::_VM_new();
    stream->_VM_init(name);
    return stream;
  } catch (java::io::IOException*) {
    return VMPtr<java::io::InputStream>();
  }
}

// Installs the opener before the program starts.
struct OpenerInstaller {
  OpenerInstaller() { _VM_openResourceStream = openResourceStream; }
} openerInstaller;

}  // namespace

namespace com::ravelstone::brume::cldc::io {

ResourceInputStream::~ResourceInputStream() { HAL_closeResource(handle); }

VMPtr<ResourceInputStream> ResourceInputStream::_VM_init(VMPtr<java::lang::String> name) {
  java::io::InputStream::_VM_init();
  HALResource* opened = nullptr;
  const HALStatus status = HAL_openResource(&opened, name->_VM_chars(), name->count);
  if (status != HAL_OK) throwResourceError(status);
  if (opened == nullptr) _VM_throwNew<java::io::IOException>();
  handle = opened;
  size = HAL_getResourceSize(handle);
  pos = 0;
  markPos = 0;
  return VMPtr<ResourceInputStream>(this);
}

void ResourceInputStream::ensureOpen() {
  if (handle == nullptr) _VM_throwNew<java::io::IOException>();
}

int32_t ResourceInputStream::readAt(uint8_t* destination, int32_t count) {
  const HALStatus status = HAL_readResource(handle, destination, pos, &count);
  if (status != HAL_OK) throwResourceError(status);
  pos += count;
  return count;
}

int32_t ResourceInputStream::read() {
  ensureOpen();
  if (pos >= size) return -1;
  uint8_t byte = 0;
  if (readAt(&byte, 1) == 0) return -1;  // the file shrank
  return byte;
}

int32_t ResourceInputStream::read(VMPtr<Bytes> b, int32_t off, int32_t len) {
  ensureOpen();
  _VM_checkRange(b, off, len);
  if (len == 0) return 0;
  if (pos >= size) return -1;
  len = std::min(len, size - pos);
  const int32_t count = readAt(reinterpret_cast<uint8_t*>(b->elements()) + off, len);
  return count == 0 ? -1 : count;  // 0 only when the file shrank
}

int64_t ResourceInputStream::skip(int64_t n) {
  ensureOpen();
  if (n <= 0) return 0;
  n = std::clamp<int64_t>(size - pos, 0, n);
  pos += static_cast<int32_t>(n);
  return n;
}

int32_t ResourceInputStream::available() { return size - pos; }

void ResourceInputStream::close() {
  if (handle == nullptr) return;
  HAL_closeResource(handle);
  handle = nullptr;
}

void ResourceInputStream::mark(int32_t) { markPos = pos; }

void ResourceInputStream::reset() {
  ensureOpen();
  pos = markPos;
}

uint8_t ResourceInputStream::markSupported() { return 1; }

}  // namespace com::ravelstone::brume::cldc::io
