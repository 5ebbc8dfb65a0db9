#include "tq_io_resource_ChunkVirtualFileSystemOrganization.h"

#include "VMCollector.h"
#include "VMJava.h"
#include "VMThrow.h"
#include "java_io_ByteArrayInputStream.h"
#include "java_io_IOException.h"

VM_REGISTER_CLASS(tq::io::resource::ChunkVirtualFileSystemOrganization,
                  "tq.io.resource.ChunkVirtualFileSystemOrganization", "tq.io.resource.Chunk", 0);

namespace tq::io::resource {

using VFSO = ChunkVirtualFileSystemOrganization;
using java::lang::String;

VMStatic<tq::util::IntHashtable> VFSO::fileTypes;

namespace {

constexpr int32_t kEntryBytes = 12;

struct FileType {
  int32_t key;
  const char* extension;
};

constexpr FileType kFileTypes[] = {
    {0, "mid"},   {1, "wav"},   {2, "mp3"},  {3, "amr"},   {4, "aac"},  {5, "au"},   {6, "qcp"},
    {7, "ott"},   {8, "jts"},   {9, "imy"},  {10, "mmf"},  {11, "cmx"}, {12, "adp"}, {14, "3gp"},
    {15, "3g2"},  {16, "263"},  {17, "264"}, {18, "mpg"},  {19, "mp4"}, {20, "rv"},  {21, "wmv"},
    {22, "mov"},  {23, "wbxml"}, {24, "gif"}, {25, "caf"}, {26, "ogg"}, {27, "wma"}, {28, "m4a"},
    {-1, "rp"},   {-3, "png"},  {-4, "jpg"}, {-6, "utf"},  {-7, "txt"}, {-12, "rp"},
};

}  // namespace

VMPtr<VFSO> VFSO::_VM_init(VMPtr<java::io::DataInputStream> in) {
  Base::_VM_init(kFileTable, in);
  VMPtr<java::io::ByteArrayInputStream> bytes = java::io::ByteArrayInputStream::_VM_new();
  bytes->_VM_init(getData());
  VMPtr<java::io::DataInputStream> body = java::io::DataInputStream::_VM_new();
  body->_VM_init(bytes);
  headerValue = body->readInt();
  const int32_t n = body->readInt();
  if (n < 0 || n > body->available() / kEntryBytes) {
    _VM_throwNew<java::io::IOException>("Invalid RP file table");
  }
  VMPtr<VMArray<int32_t>> e = VMArray<int32_t>::create(4 * n);
  for (int32_t i = 0; i < n; ++i) {
    e->at(4 * i) = body->readByte();
    body->readByte();
    e->at(4 * i + 1) = body->readChar();
    e->at(4 * i + 2) = body->readInt();
    e->at(4 * i + 3) = body->readInt();
  }
  entries = e;
  entryCount = n;
  return VMPtr<VFSO>(this);
}

int32_t VFSO::field(int32_t id, int32_t which) { return VMPtr<VMArray<int32_t>>(entries)->at(4 * (id & 0x3FF) + which); }

int32_t VFSO::getPart(int32_t id) { return field(id, 1); }

int32_t VFSO::getHeaderValue() { return headerValue; }

VMPtr<String> VFSO::getExtension(int32_t id) {
  VMPtr<String> extension = _VM_cast<String>(getFileTypes()->get(getFileType(id)));
  return extension ? extension : String::_VM_fromUTF8("rp");
}

int32_t VFSO::getEntryCount() { return entryCount; }

int32_t VFSO::getFileType(int32_t id) { return field(id, 0); }

int32_t VFSO::getEntryValue(int32_t id) { return field(id, 3); }

int32_t VFSO::getFileOffset(int32_t id) { return field(id, 2); }

VMPtr<tq::util::IntHashtable> VFSO::getFileTypes() {
  _VM_clinitCheck();
  if (!fileTypes) {
    VMPtr<tq::util::IntHashtable> table = tq::util::IntHashtable::_VM_new();
    table->_VM_init(128);
    for (const FileType& type : kFileTypes) table->put(type.key, _VM_intern(type.extension));
    fileTypes = table;
  }
  return VMPtr<tq::util::IntHashtable>(fileTypes);
}

void VFSO::_VM_markReferences(int colour) {
  _VM_mark(entries, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq::io::resource
