// Fuzz target: the HTTP date reader over arbitrary text (the bytes taken
// as Latin-1 characters). It returns a time or throws
// IllegalArgumentException "Error parsing date"; anything else, a crash or
// a hang is a fault.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "VMTestEnv.h"
#include "com_ravelstone_brume_midp_io_protocol_http_Protocol.h"
#include "java_lang_IllegalArgumentException.h"
#include "java_lang_String.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VMTestEnv::start();
  std::u16string text(size, u'\0');
  for (size_t i = 0; i < size; ++i) text[i] = data[i];
  VMPtr<java::lang::String> s = java::lang::String::_VM_fromUTF16(text.data(), static_cast<int32_t>(text.size()));
  try {
    com::ravelstone::brume::midp::io::protocol::http::Protocol::parseDate(s);
  } catch (java::lang::IllegalArgumentException* e) {
    VMPtr<java::lang::IllegalArgumentException> caught(e);
    if (!caught->getMessage()->_VM_equals("Error parsing date")) std::abort();
  }
  return 0;
}
