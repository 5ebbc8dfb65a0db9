#include "tq_Resources.h"

#include "VMThrow.h"
#include "java_io_ByteArrayInputStream.h"
#include "java_lang_Exception.h"
#include "tq_TqCanvas.h"
#include "tq_io_resource_ResourcePackChunked.h"
#include "tq_io_resource_ResourcePackSaver.h"

VM_REGISTER_CLASS(tq::Resources, "tq.Resources", "java.lang.Object", VM_INSTANTIABLE | VM_HAS_CLINIT);

namespace tq {

using tq::io::resource::ResourcePack;

VMStatic<ResourcePack> Resources::pack;
int32_t Resources::paletteOffset;

void Resources::_VM_clinit() {
  VMPtr<tq::io::resource::ResourcePackChunked> p = tq::io::resource::ResourcePackChunked::_VM_new();
  p->_VM_init();
  pack = p;
}

VMPtr<ResourcePack> Resources::currentPack() {
  _VM_clinitCheck();
  return VMPtr<ResourcePack>(pack);
}

VMPtr<Resources::Bytes> Resources::getBytes(int32_t id) { return currentPack()->getBytes(id); }

VMPtr<Resources::Bytes> Resources::getDataArray(int32_t id) { return currentPack()->getDataArray(id); }

int32_t Resources::getOffset(int32_t id) { return currentPack()->getOffset(id); }

VMPtr<Resources::Stream> Resources::getStream(int32_t id) {
  VMPtr<Stream> s = currentPack()->getStream(id);
  if (s->markSupported()) s->mark(0);
  return s;
}

int32_t Resources::getType(int32_t id) { return currentPack()->getType(id); }

int32_t Resources::getSize(int32_t id) { return currentPack()->getSize(id); }

VMPtr<Resources::Image> Resources::getImage(int32_t id) { return getImage(id, VMPtr<Bytes>()); }

VMPtr<Resources::Image> Resources::getImage(int32_t id, VMPtr<Bytes> palette) {
  return currentPack()->getImage(id, palette);
}

uint8_t Resources::loadIndex(VMPtr<Stream> in) { return currentPack()->loadIndex(in, 0); }

uint8_t Resources::loadIndexFromRecord(int32_t recordId) {
  VMPtr<Bytes> data;
  TqCanvas::_VM_clinitCheck();
  VMPtr<TqCanvas> canvas = TqCanvas::instance;
  if (recordId != -1 && canvas) data = canvas->readRecord(recordId);
  VMPtr<Stream> in;
  if (data) in = openStream(data, 0, data->length);
  return loadIndex(in);
}

void Resources::closePack() { currentPack()->unload(); }

VMPtr<Resources::Bytes> Resources::buildPack(VMPtr<VMArray<int8_t, 2>> data, VMPtr<Bytes> types) {
  return tq::io::resource::ResourcePackSaver::build(data, types);
}

VMPtr<Resources::Image> Resources::createImage(VMPtr<Bytes> data, int32_t offset, int32_t length) {
  return Image::createImage(data, offset, length);
}

VMPtr<Resources::Stream> Resources::openStream(VMPtr<Bytes> data, int32_t offset, int32_t length) {
  VMPtr<java::io::ByteArrayInputStream> bytes = java::io::ByteArrayInputStream::_VM_new();
  bytes->_VM_init(data, offset, length);
  VMPtr<Stream> s = Stream::_VM_new();
  s->_VM_init(bytes);
  return s;
}

}  // namespace tq
