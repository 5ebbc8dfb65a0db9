#include "tq_io_resource_ResourcePackSaver.h"

#include "VMThrow.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_System.h"

VM_REGISTER_CLASS(tq::io::resource::ResourcePackSaver, "tq.io.resource.ResourcePackSaver", "java.lang.Object",
                  VM_INSTANTIABLE);

namespace tq::io::resource {

namespace {

void putInt(int8_t* at, int32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<int8_t>(static_cast<uint32_t>(v) >> (24 - 8 * i));
}

}  // namespace

VMPtr<ResourcePackSaver::Bytes> ResourcePackSaver::build(VMPtr<VMArray<int8_t, 2>> data, VMPtr<Bytes> types) {
  const int32_t n = _VM_length(data);
  if (_VM_length(types) != n) {
    _VM_throwNew<java::lang::IllegalArgumentException>("one type byte per resource");
  }
  if (n > 0xFFFF) _VM_throwNew<java::lang::IllegalArgumentException>("too many resources");
  const int32_t header = 5 * n + 7;
  int64_t total = 0;
  for (int32_t i = 0; i < n; ++i) total += _VM_length(data->get(i));
  if (total + header > INT32_MAX) _VM_throwNew<java::lang::IllegalArgumentException>("pack too large");

  VMPtr<Bytes> out = Bytes::create(static_cast<int32_t>(total + header));
  int8_t* at = out->elements();
  at[0] = 0x41;
  at[1] = static_cast<int8_t>(n >> 8);
  at[2] = static_cast<int8_t>(n);
  for (int32_t i = 0; i < n; ++i) putInt(at + 3 + 4 * i, data->get(i)->length);
  for (int32_t i = 0; i < n; ++i) at[3 + 4 * n + i] = types->at(i);
  putInt(at + 3 + 5 * n, static_cast<int32_t>(total));
  int32_t offset = header;
  for (int32_t i = 0; i < n; ++i) {
    VMPtr<Bytes> item = data->get(i);
    java::lang::System::arraycopy(item, 0, out, offset, item->length);
    offset += item->length;
  }
  return out;
}

}  // namespace tq::io::resource
