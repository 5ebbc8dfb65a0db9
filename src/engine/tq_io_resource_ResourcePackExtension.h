#pragma once

#include <cstdint>

#include "tq_io_resource_ResourcePack.h"

namespace tq::io::resource {

// A resource pack that may carry a second block of bytes per resource,
// the extension, read after an index by readExtension:
//   sizes  2 x n   one unsigned 16-bit size per resource of the index
//   bytes  sum     the extensions back to back in index order
// Every unload drops the extension.
class ResourcePackExtension : public ResourcePack {
  VM_CLASS(ResourcePackExtension, ResourcePack)

 public:
  VMPtr<ResourcePackExtension> _VM_init();

  void onUnload() override;
  // Reads the extension of the loaded index; IOException when the sizes
  // add up to more bytes than the stream holds.
  void readExtension(VMPtr<Stream> in) override;

  // A new array with the resource's extension; null without extension.
  virtual VMPtr<Bytes> getExtensionBytes(int32_t id);
  // A stream over the resource's extension, in place; null without one.
  virtual VMPtr<Stream> getExtensionStream(int32_t id);
  // 0 to 65535; -1 without extension.
  virtual int32_t getExtensionSize(int32_t id);
  virtual uint8_t hasExtension();

  // The sum of the extension sizes before `index`.
  int32_t getExtensionOffset(int32_t index);

  void _VM_markReferences(int colour) override;

  VMField<Bytes> extData;
  VMField<VMArray<char16_t>> extSizes;
};

}  // namespace tq::io::resource
