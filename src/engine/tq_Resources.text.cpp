// Text resources: translation tables.
#include "tq_Resources.h"

namespace tq {

VMPtr<util::text::Translation> Resources::getTranslation(int32_t id) {
  VMPtr<Stream> in = getStream(id);
  const int32_t size = getSize(id);
  VMPtr<util::text::Translation> table = util::text::Translation::_VM_new();
  return table->_VM_init(in, size);
}

}  // namespace tq
