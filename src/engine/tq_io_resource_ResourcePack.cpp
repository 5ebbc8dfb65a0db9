#include "tq_io_resource_ResourcePack.h"

#include <cstdio>

#include "VMCollector.h"
#include "VMThrow.h"
#include "java_io_EOFException.h"
#include "java_io_IOException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_Class.h"
#include "java_lang_Exception.h"
#include "java_lang_OutOfMemoryError.h"
#include "java_lang_RuntimeException.h"
#include "java_lang_System.h"
#include "tq_Resources.h"
#include "tq_TqCanvas.h"

VM_REGISTER_CLASS(tq::io::resource::ResourcePack, "tq.io.resource.ResourcePack", "java.lang.Object",
                  VM_INSTANTIABLE | VM_HAS_CLINIT);

namespace tq::io::resource {

using java::lang::Exception;
using java::lang::OutOfMemoryError;
using Sizes = VMArray<int32_t>;

int32_t ResourcePack::currentPack;
VMStatic<java::lang::StringBuffer> ResourcePack::nameBuffer;

void ResourcePack::_VM_clinit() {
  currentPack = -1;
  VMPtr<java::lang::StringBuffer> b = java::lang::StringBuffer::_VM_new();
  b->_VM_init(8);
  nameBuffer = b;
}

VMPtr<ResourcePack> ResourcePack::_VM_init() {
  Base::_VM_init();
  _VM_clinitCheck();
  return VMPtr<ResourcePack>(this);
}

VMPtr<Sizes> ResourcePack::loadedSizes() {
  VMPtr<Sizes> s(sizes);
  if (!s) _VM_throwNew<java::lang::RuntimeException>("no resource pack");
  return s;
}

int32_t ResourcePack::sizeOf(int32_t id) {
  VMPtr<Sizes> s = loadedSizes();
  const int32_t index = id & 0x3FF;
  if (index >= s->length) throwNotInPack(index);
  return s->at(index);
}

void ResourcePack::throwNotInPack(int32_t index) {
  char message[64];
  std::snprintf(message, sizeof message, "no resource %d in pack %d", (currentPack << 10) | index, currentPack);
  _VM_throwNew<java::lang::ArrayIndexOutOfBoundsException>(message);
}

VMPtr<ResourcePack::Image> ResourcePack::getImage(int32_t id, VMPtr<Bytes> palette) {
  ensurePack(id);
  const int32_t size = sizeOf(id);
  VMPtr<Bytes> a = getDataArray(id & 0x3FF);
  return decodeWithPalette(a, getOffset(id & 0x3FF), size, palette);
}

VMPtr<ResourcePack::Image> ResourcePack::decodeWithPalette(VMPtr<Bytes> a, int32_t off, int32_t size,
                                                           VMPtr<Bytes> palette) {
  tq::Resources::swapPalette(a, off, palette);
  VMPtr<Image> image;
  try {
    image = tq::Resources::createImage(a, off, size);
  } catch (java::lang::Throwable* t) {
    VMPtr<java::lang::Throwable> thrown(t);
    tq::Resources::swapPalette(a, off, palette);
    _VM_throw(thrown);
  }
  tq::Resources::swapPalette(a, off, palette);
  return image;
}

void ResourcePack::unload() {
  _VM_clinitCheck();
  types = nullptr;
  sizes = nullptr;
  data = nullptr;
  currentPack = -1;
  onUnload();
}

VMPtr<ResourcePack::Bytes> ResourcePack::getBytes(int32_t id) {
  ensurePack(id);
  const int32_t index = id & 0x3FF;
  VMPtr<Bytes> b = Bytes::create(sizeOf(index));
  if (singleFile) {
    java::lang::System::arraycopy(VMPtr<Bytes>(data), getOffset(index), b, 0, b->length);
  } else {
    readResourceFile(index, b);
  }
  return b;
}

VMPtr<ResourcePack::String> ResourcePack::getResourceFileName(int32_t id) {
  if (singleFile) return VMPtr<String>();
  _VM_clinitCheck();
  return getFileName(id >> 10, id & 0x3FF);
}

VMPtr<ResourcePack::String> ResourcePack::getFileName(int32_t pack, int32_t part, VMPtr<String> extension) {
  _VM_clinitCheck();
  VMPtr<java::lang::StringBuffer> b(nameBuffer);
  b->setLength(0);
  b->append(u'/');
  b->append("RP");
  tq::TqCanvas::appendNumber(b, pack);
  if (part != -1) {
    b->append("part");
    tq::TqCanvas::appendNumber(b, part);
  }
  b->append(u'.');
  if (extension) {
    b->append(extension);
  } else {
    b->append("rp");
  }
  return b->toString();
}

VMPtr<ResourcePack::String> ResourcePack::getFileName(int32_t pack, int32_t part) {
  return getFileName(pack, part, VMPtr<String>());
}

uint8_t ResourcePack::readIndex(VMPtr<Stream> in) {
  unload();
  currentPack = 0;
  try {
    readTables(in);
    return 1;
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
  } catch (OutOfMemoryError* e) {
    VMPtr<OutOfMemoryError> dropped(e);
  }
  unload();
  return 0;
}

namespace {

// The unsigned big-endian number of `width` bytes at `at`.
int64_t unsignedAt(const int8_t* at, int32_t width) {
  uint32_t v = 0;
  for (int32_t i = 0; i < width; ++i) v = (v << 8) | static_cast<uint8_t>(at[i]);
  return v;
}

[[noreturn]] void refuse(const char* what) { _VM_throwNew<java::io::IOException>(what); }

}  // namespace

// The tables are built aside and stored only once all of them were read.
void ResourcePack::readTables(const VMPtr<Stream>& in) {
  const int32_t width = ((in->read() & 1) + 1) * 2;
  const int32_t n = in->readChar();
  VMPtr<Bytes> raw = Bytes::create(n * width);
  in->readFully(raw);
  VMPtr<Sizes> s = Sizes::create(n);
  int64_t sum = 0;
  for (int32_t i = 0; i < n; ++i) {
    const int64_t size = unsignedAt(raw->elements() + i * width, width);
    if (size > INT32_MAX) refuse("Invalid RP index: negative size");
    s->at(i) = static_cast<int32_t>(size);
    sum += size;
  }
  VMPtr<Bytes> t = Bytes::create(n);
  in->readFully(t);
  VMPtr<Bytes> d;
  if (dataInMemory) {
    const int32_t total = in->readInt();
    if (total < 0 || sum > total) refuse("Invalid RP index: sizes do not fit the total");
    if (total > in->available()) refuse("Invalid RP index: data cut short");
    d = Bytes::create(total);
    in->readFully(d);
  } else if (sum > INT32_MAX) {
    refuse("Invalid RP index: sizes do not fit the total");
  }
  types = t;
  sizes = s;
  data = d;
}

void ResourcePack::ensurePack(int32_t id) {
  _VM_clinitCheck();
  const int32_t p = id >> 10;
  if (p == 0 || p == currentPack) return;
  unload();
  if (p < 0) return;
  try {
    VMPtr<Stream> s = openPack(p);
    if (s) {
      readIndex(s);
      s->close();
    }
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
    unload();
  } catch (OutOfMemoryError* e) {
    VMPtr<OutOfMemoryError> dropped(e);
    unload();
  }
  currentPack = p;
}

VMPtr<ResourcePack::Stream> ResourcePack::getStream(int32_t id) {
  ensurePack(id);
  const int32_t index = id & 0x3FF;
  const int32_t size = sizeOf(index);
  VMPtr<Bytes> a = getDataArray(index);
  return tq::Resources::openStream(a, getOffset(index), size);
}

int32_t ResourcePack::loadToReadBuffer(int32_t id) {
  ensurePack(id);
  const int32_t index = id & 0x3FF;
  const int32_t size = sizeOf(index);
  VMPtr<Bytes> a = getDataArray(index);
  const int32_t offset = getOffset(index);
  tq::TqCanvas::_VM_clinitCheck();
  tq::TqCanvas::readBuffer = a;
  tq::TqCanvas::readPosition = offset;
  return size;
}

void ResourcePack::readResourceFile(int32_t index, VMPtr<Bytes> dest) {
  _VM_clinitCheck();
  readFile(getFileName(currentPack, index), 0, dest);
}

void ResourcePack::closeQuietly(const VMPtr<Stream>& s) {
  if (!s) return;
  try {
    s->close();
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
  }
}

void ResourcePack::readFile(VMPtr<String> name, int32_t offset, const VMPtr<Bytes>& dest) {
  VMPtr<Stream> s;
  try {
    s = openFile(name);
    if (!s) _VM_throwNew<java::io::IOException>(name);
    if (offset < 0 || s->skipBytes(offset) != offset) _VM_throwNew<java::io::EOFException>();
    s->readFully(dest, 0, dest->length);
  } catch (Exception* e) {
    VMPtr<Exception> cause(e);
    closeQuietly(s);
    _VM_throwNew<java::lang::RuntimeException>(cause->toString());
  }
  closeQuietly(s);
}

int32_t ResourcePack::getType(int32_t id) {
  ensurePack(id);
  VMPtr<Bytes> t(types);
  if (!t) _VM_throwNew<java::lang::RuntimeException>("no resource pack");
  if ((id & 0x3FF) >= t->length) throwNotInPack(id & 0x3FF);
  return t->at(id & 0x3FF);
}

VMPtr<ResourcePack::Stream> ResourcePack::openPack(int32_t pack) {
  singleFile = 1;
  dataInMemory = 1;
  return openFile(getFileName(pack, -1));
}

VMPtr<ResourcePack::Stream> ResourcePack::openFile(VMPtr<String> name) {
  VMPtr<java::io::InputStream> raw = getClass()->getResourceAsStream(name);
  if (!raw) return VMPtr<Stream>();
  VMPtr<Stream> s = Stream::_VM_new();
  s->_VM_init(raw);
  return s;
}

VMPtr<ResourcePack::Bytes> ResourcePack::getDataArray(int32_t id) {
  ensurePack(id);
  loadedSizes();
  if (singleFile) return VMPtr<Bytes>(data);
  return getBytes(id);
}

int32_t ResourcePack::getSize(int32_t id) {
  ensurePack(id);
  return sizeOf(id);
}

int32_t ResourcePack::getOffset(int32_t id) {
  ensurePack(id);
  VMPtr<Sizes> s = loadedSizes();
  const int32_t index = id & 0x3FF;
  if (index >= s->length) throwNotInPack(index);
  if (!singleFile) return 0;
  int32_t offset = 0;
  for (int32_t i = 0; i < index; ++i) offset += s->at(i);
  return offset;
}

void ResourcePack::noteName(VMPtr<String>) {}

void ResourcePack::onUnload() {}

void ResourcePack::readExtension(VMPtr<Stream>) {}

uint8_t ResourcePack::loadIndex(VMPtr<Stream> in, uint8_t separateFiles) {
  if (!in) {
    unload();
    return 0;
  }
  if (!separateFiles) {
    singleFile = 1;
    dataInMemory = 1;
  }
  return readIndex(in);
}

void ResourcePack::_VM_markReferences(int colour) {
  _VM_mark(types, colour);
  _VM_mark(sizes, colour);
  _VM_mark(data, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq::io::resource
