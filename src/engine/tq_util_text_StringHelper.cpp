#include "tq_util_text_StringHelper.h"

VM_REGISTER_CLASS(tq::util::text::StringHelper, "tq.util.text.StringHelper", "java.lang.Object", 0);

namespace tq::util::text {

int32_t StringHelper::lastIndexOf(VMPtr<java::lang::String> s, char16_t c, int32_t from, int32_t to) {
  for (int32_t k = to; k >= from; --k) {
    if (s->charAt(k) == c) return k;
  }
  return -1;
}

}  // namespace tq::util::text
