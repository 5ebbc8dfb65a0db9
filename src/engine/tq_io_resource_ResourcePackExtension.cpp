#include "tq_io_resource_ResourcePackExtension.h"

#include "VMCollector.h"
#include "VMThrow.h"
#include "java_io_IOException.h"
#include "java_lang_System.h"
#include "tq_Resources.h"

VM_REGISTER_CLASS(tq::io::resource::ResourcePackExtension, "tq.io.resource.ResourcePackExtension",
                  "tq.io.resource.ResourcePack", VM_INSTANTIABLE);

namespace tq::io::resource {

using Chars = VMArray<char16_t>;

VMPtr<ResourcePackExtension> ResourcePackExtension::_VM_init() {
  Base::_VM_init();
  return VMPtr<ResourcePackExtension>(this);
}

void ResourcePackExtension::onUnload() {
  extSizes = nullptr;
  extData = nullptr;
}

void ResourcePackExtension::readExtension(VMPtr<Stream> in) {
  const int32_t n = VMPtr<VMArray<int32_t>>(sizes)->length;
  VMPtr<Bytes> raw = Bytes::create(2 * n);
  in->readFully(raw);
  VMPtr<Chars> s = Chars::create(n);
  int32_t total = 0;
  for (int32_t i = 0; i < n; ++i) {
    s->at(i) = static_cast<char16_t>((static_cast<uint8_t>(raw->at(2 * i)) << 8) | static_cast<uint8_t>(raw->at(2 * i + 1)));
    total += s->at(i);
  }
  if (total > in->available()) _VM_throwNew<java::io::IOException>("Invalid RP extension: data cut short");
  VMPtr<Bytes> d = Bytes::create(total);
  in->readFully(d);
  extSizes = s;
  extData = d;
}

VMPtr<ResourcePackExtension::Bytes> ResourcePackExtension::getExtensionBytes(int32_t id) {
  ensurePack(id);
  if (!extData) return VMPtr<Bytes>();
  const int32_t index = id & 0x3FF;
  VMPtr<Bytes> b = Bytes::create(VMPtr<Chars>(extSizes)->at(index));
  java::lang::System::arraycopy(VMPtr<Bytes>(extData), getExtensionOffset(index), b, 0, b->length);
  return b;
}

VMPtr<ResourcePackExtension::Stream> ResourcePackExtension::getExtensionStream(int32_t id) {
  ensurePack(id);
  if (!extData) return VMPtr<Stream>();
  const int32_t index = id & 0x3FF;
  return tq::Resources::openStream(VMPtr<Bytes>(extData), getExtensionOffset(index),
                                   VMPtr<Chars>(extSizes)->at(index));
}

int32_t ResourcePackExtension::getExtensionSize(int32_t id) {
  ensurePack(id);
  if (!extData) return -1;
  return VMPtr<Chars>(extSizes)->at(id & 0x3FF);
}

uint8_t ResourcePackExtension::hasExtension() { return static_cast<bool>(extData); }

int32_t ResourcePackExtension::getExtensionOffset(int32_t index) {
  VMPtr<Chars> s(extSizes);
  s->_VM_checkIndex(index);
  int32_t offset = 0;
  for (int32_t i = 0; i < index; ++i) offset += s->at(i);
  return offset;
}

void ResourcePackExtension::_VM_markReferences(int colour) {
  _VM_mark(extData, colour);
  _VM_mark(extSizes, colour);
  Base::_VM_markReferences(colour);
}

}  // namespace tq::io::resource
