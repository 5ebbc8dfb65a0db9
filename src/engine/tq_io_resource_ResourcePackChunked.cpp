#include "tq_io_resource_ResourcePackChunked.h"

#include "VMCollector.h"
#include "VMJava.h"
#include "VMThrow.h"
#include "java_io_ByteArrayInputStream.h"
#include "java_io_IOException.h"
#include "java_lang_Exception.h"
#include "java_lang_OutOfMemoryError.h"
#include "java_lang_RuntimeException.h"
#include "java_lang_StringBuffer.h"

VM_REGISTER_CLASS(tq::io::resource::ResourcePackChunked, "tq.io.resource.ResourcePackChunked",
                  "tq.io.resource.ResourcePackExtension", VM_INSTANTIABLE);

namespace tq::io::resource {

using java::io::IOException;
using java::lang::StringBuffer;
using VFSO = ChunkVirtualFileSystemOrganization;

namespace {

constexpr int32_t kChunkedPacks = 0x67DFD;
constexpr int32_t kVersion = 4;

VMPtr<java::io::DataInputStream> streamOver(const VMPtr<VMArray<int8_t>>& bytes) {
  VMPtr<java::io::ByteArrayInputStream> b = java::io::ByteArrayInputStream::_VM_new();
  b->_VM_init(bytes);
  VMPtr<java::io::DataInputStream> d = java::io::DataInputStream::_VM_new();
  d->_VM_init(b);
  return d;
}

// "<what>'<expected>' instead of '<found>'"
[[noreturn]] void mismatch(const char* what, VMPtr<java::lang::String> expected, VMPtr<java::lang::String> found) {
  VMPtr<StringBuffer> m = StringBuffer::_VM_new();
  m->_VM_init(what);
  m->append(u'\'')->append(expected)->append("' instead of '")->append(found)->append(u'\'');
  _VM_throwNew<IOException>(m->toString());
}

}  // namespace

VMPtr<ResourcePackChunked> ResourcePackChunked::_VM_init() {
  Base::_VM_init();
  return VMPtr<ResourcePackChunked>(this);
}

bool ResourcePackChunked::isChunked(int32_t pack) { return pack >= 1 && pack <= 32 && ((kChunkedPacks >> (pack - 1)) & 1); }

VMPtr<ResourcePackChunked::Stream> ResourcePackChunked::openPack(int32_t pack) {
  chunks = nullptr;
  fileTable = nullptr;
  if (!isChunked(pack)) return Base::openPack(pack);
  VMPtr<Stream> s;
  try {
    s = openFile(getFileName(pack, -1));
    readChunked(pack, s);
  } catch (java::lang::Exception* e) {
    failOpen(VMPtr<java::lang::Throwable>(e), s);
  } catch (java::lang::OutOfMemoryError* e) {
    failOpen(VMPtr<java::lang::Throwable>(e), s);
  }
  closeQuietly(s);
  chunks = nullptr;
  return VMPtr<Stream>();
}

void ResourcePackChunked::failOpen(const VMPtr<java::lang::Throwable>& cause, const VMPtr<Stream>& s) {
  closeQuietly(s);
  chunks = nullptr;
  unload();
  cause->printStackTrace();
  _VM_throwNew<java::lang::RuntimeException>(cause->toString());
}

void ResourcePackChunked::readChunked(int32_t pack, const VMPtr<Stream>& s) {
  if (!s) _VM_throwNew<IOException>(getFileName(pack, -1));
  const int32_t marker = s->readInt();
  if (marker != Chunk::kMarker) {
    mismatch("Invalid chunked RP file marker, expecting ", Chunk::idToString(Chunk::kMarker), Chunk::idToString(marker));
  }
  const char16_t version = s->readChar();
  if (version != kVersion) {
    mismatch("Invalid RP version, expecting ", java::lang::String::valueOf(kVersion),
             java::lang::String::valueOf(version));
  }
  const int32_t count = s->readChar();
  chunks = VMArray<Chunk>::create(count);
  for (int32_t i = 0; i < count; ++i) VMPtr<VMArray<Chunk>>(chunks)->set(i, Chunk::read(s));

  dataInMemory = 0;
  if (!readIndex(streamOver(getChunk(Chunk::kIndex)->getData()))) _VM_throwNew<IOException>("Invalid RP index");
  VMPtr<VFSO> table = _VM_cast<VFSO>(findChunk(Chunk::kFileTable));
  if (table) {
    if (table->getEntryCount() < VMPtr<VMArray<int32_t>>(sizes)->length) {
      _VM_throwNew<IOException>("Invalid RP file table");
    }
    singleFile = 0;
    fileTable = table;
  } else {
    readSplitData(pack, getChunk(Chunk::kSplitMap));
  }
}

void ResourcePackChunked::readSplitData(int32_t pack, const VMPtr<Chunk>& splitMap) {
  VMPtr<Stream> map = streamOver(splitMap->getData());
  const int32_t total = map->readInt();
  const int32_t parts = map->readInt();
  if (total < 0 || parts < 0 || parts > map->available() / 4) _VM_throwNew<IOException>("Invalid RP split map");
  VMPtr<VMArray<int32_t>> partSizes = VMArray<int32_t>::create(parts);
  int64_t sum = 0;
  for (int32_t i = 0; i < parts; ++i) {
    partSizes->at(i) = map->readInt();
    if (partSizes->at(i) < 0) _VM_throwNew<IOException>("Invalid RP split map");
    sum += partSizes->at(i);
  }
  int64_t indexed = 0;
  VMPtr<VMArray<int32_t>> s(sizes);
  for (int32_t i = 0; i < s->length; ++i) indexed += s->at(i);
  if (sum != total || indexed > total) _VM_throwNew<IOException>("Invalid RP split map");

  singleFile = 1;
  VMPtr<Bytes> d = Bytes::create(total);
  int32_t position = 0;
  for (int32_t i = 0; i < parts; ++i) {
    VMPtr<Stream> part = openFile(getFileName(pack, i + 1));
    if (!part) _VM_throwNew<IOException>(getFileName(pack, i + 1));
    try {
      part->readFully(d, position, partSizes->at(i));
    } catch (java::lang::Throwable* t) {
      VMPtr<java::lang::Throwable> thrown(t);
      closeQuietly(part);
      _VM_throw(thrown);
    }
    closeQuietly(part);
    position += partSizes->at(i);
  }
  data = d;
}

VMPtr<Chunk> ResourcePackChunked::findChunk(int32_t id) {
  VMPtr<VMArray<Chunk>> all(chunks);
  if (!all) return VMPtr<Chunk>();
  for (int32_t i = 0; i < all->length; ++i) {
    VMPtr<Chunk> c = all->get(i);
    if (c->isId(id)) return c;
  }
  return VMPtr<Chunk>();
}

uint8_t ResourcePackChunked::hasChunk(int32_t id) { return static_cast<bool>(findChunk(id)); }

VMPtr<Chunk> ResourcePackChunked::getChunk(int32_t id) {
  VMPtr<Chunk> c = findChunk(id);
  if (!c) {
    VMPtr<StringBuffer> m = StringBuffer::_VM_new();
    m->_VM_init("Missing RP chunk '");
    m->append(Chunk::idToString(id))->append(u'\'');
    _VM_throwNew<IOException>(m->toString());
  }
  return c;
}

void ResourcePackChunked::onUnload() {
  fileTable = nullptr;
  Base::onUnload();
}

VMPtr<ResourcePackChunked::String> ResourcePackChunked::getResourceFileName(int32_t id) {
  ensurePack(id);
  VMPtr<VFSO> table(fileTable);
  if (!table) return Base::getResourceFileName(id);
  return getFileName(currentPack, table->getPart(id), table->getExtension(id));
}

void ResourcePackChunked::readResourceFile(int32_t index, VMPtr<Bytes> dest) {
  VMPtr<VFSO> table(fileTable);
  if (!table) {
    Base::readResourceFile(index, dest);
    return;
  }
  readFile(getResourceFileName(index), table->getFileOffset(index), dest);
}

VMPtr<ResourcePackChunked::Image> ResourcePackChunked::getImage(int32_t id, VMPtr<Bytes> palette) {
  ensurePack(id);
  sizeOf(id);  // an id past the tables fails as every lookup does
  VMPtr<VFSO> table(fileTable);
  if (table && !palette && table->getFileOffset(id) == 0) {
    try {
      VMPtr<Image> image = Image::createImage(getFileName(currentPack, table->getPart(id), table->getExtension(id)));
      if (image) return image;
    } catch (IOException* e) {
      VMPtr<IOException> dropped(e);
    }
  }
  return Base::getImage(id, palette);
}

void ResourcePackChunked::_VM_markReferences(int colour) {
  _VM_mark(chunks, colour);
  _VM_mark(fileTable, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq::io::resource
