#include "tq_io_resource_Chunk.h"

#include "VMCollector.h"
#include "VMThrow.h"
#include "java_io_IOException.h"
#include "java_lang_StringBuffer.h"
#include "tq_io_resource_ChunkVirtualFileSystemOrganization.h"

VM_REGISTER_CLASS(tq::io::resource::Chunk, "tq.io.resource.Chunk", "java.lang.Object", 0);

namespace tq::io::resource {

using java::io::ByteArrayOutputStream;
using java::io::DataOutputStream;

VMPtr<Chunk> Chunk::_VM_init(int32_t id) {
  Base::_VM_init();
  value = 1;
  this->id = id;
  VMPtr<ByteArrayOutputStream> b = ByteArrayOutputStream::_VM_new();
  b->_VM_init();
  body = b;
  VMPtr<DataOutputStream> o = DataOutputStream::_VM_new();
  o->_VM_init(b);
  out = o;
  return VMPtr<Chunk>(this);
}

VMPtr<Chunk> Chunk::_VM_init(int32_t id, VMPtr<java::io::DataInputStream> in) {
  _VM_init(id);
  const int32_t length = in->readInt();
  value = in->readInt();
  if (length < 0 || length > in->available()) {
    _VM_throwNew<java::io::IOException>("Invalid RP chunk length");
  }
  VMPtr<Bytes> bytes = Bytes::create(length);
  in->readFully(bytes);
  VMPtr<DataOutputStream>(out)->write(bytes);
  return VMPtr<Chunk>(this);
}

void Chunk::write(VMPtr<DataOutputStream> to) {
  to->writeInt(id);
  to->writeInt(getDataSize());
  to->writeInt(value);
  to->write(getData());
}

uint8_t Chunk::isId(int32_t id) { return this->id == id; }

VMPtr<Chunk::Bytes> Chunk::getData() { return VMPtr<ByteArrayOutputStream>(body)->toByteArray(); }

int32_t Chunk::getDataSize() { return VMPtr<ByteArrayOutputStream>(body)->size(); }

void Chunk::setValue(int32_t value) { this->value = value; }

VMPtr<Chunk::Bytes> Chunk::toByteArray() {
  VMPtr<ByteArrayOutputStream> b = ByteArrayOutputStream::_VM_new();
  b->_VM_init(getDataSize() + 12);
  VMPtr<DataOutputStream> o = DataOutputStream::_VM_new();
  o->_VM_init(b);
  write(o);
  return b->toByteArray();
}

VMPtr<DataOutputStream> Chunk::getOutput() { return VMPtr<DataOutputStream>(out); }

int32_t Chunk::getValue() { return value; }

VMPtr<Chunk> Chunk::read(VMPtr<java::io::DataInputStream> in) {
  const int32_t id = in->readInt();
  if (id == kFileTable) {
    VMPtr<ChunkVirtualFileSystemOrganization> table = ChunkVirtualFileSystemOrganization::_VM_new();
    return table->_VM_init(in);
  }
  if (id != kIndex && id != kSplitMap) {
    VMPtr<java::lang::StringBuffer> m = java::lang::StringBuffer::_VM_new();
    m->_VM_init("Unknown RP chunk id '");
    m->append(idToString(id))->append(u'\'');
    _VM_throwNew<java::io::IOException>(m->toString());
  }
  VMPtr<Chunk> chunk = _VM_new();
  return chunk->_VM_init(id, in);
}

VMPtr<java::lang::String> Chunk::idToString(int32_t id) {
  char16_t text[4];
  for (int i = 0; i < 4; ++i) text[i] = static_cast<char16_t>((static_cast<uint32_t>(id) >> (8 * i)) & 0xFF);
  return java::lang::String::_VM_fromUTF16(text, 4);
}

void Chunk::_VM_markReferences(int colour) {
  _VM_mark(body, colour);
  _VM_mark(out, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq::io::resource
