// Fuzz target: DataInputStream over arbitrary bytes. The input is the
// stream's content; the reads to run are chosen by bytes of the same
// stream, so every read form (readUTF included) meets every kind of data,
// cut short anywhere. A read may end in EOFException,
// UTFDataFormatException or, for ranges taken from the data,
// IndexOutOfBoundsException from the argument checks; anything else, a
// crash or a read outside an array is a fault. A string that readUTF returns must come back unchanged
// through writeUTF and readUTF.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "VMArray.h"
#include "VMCollector.h"
#include "VMContext.h"
#include "VMTestEnv.h"
#include "java_io_ByteArrayInputStream.h"
#include "java_io_ByteArrayOutputStream.h"
#include "java_io_DataInputStream.h"
#include "java_io_DataOutputStream.h"
#include "java_io_EOFException.h"
#include "java_io_UTFDataFormatException.h"
#include "java_lang_ArrayIndexOutOfBoundsException.h"
#include "java_lang_IndexOutOfBoundsException.h"
#include "java_lang_String.h"

using java::io::ByteArrayInputStream;
using java::io::ByteArrayOutputStream;
using java::io::DataInputStream;
using java::io::DataOutputStream;
using Bytes = VMArray<int8_t>;

namespace {

VMPtr<DataInputStream> over(const VMPtr<Bytes>& content) {
  VMPtr<ByteArrayInputStream> bytes = ByteArrayInputStream::_VM_new();
  bytes->_VM_init(content);
  VMPtr<DataInputStream> in = DataInputStream::_VM_new();
  in->_VM_init(bytes);
  return in;
}

// writeUTF, then readUTF: the same text.
void checkRoundTrip(const VMPtr<java::lang::String>& text) {
  VMPtr<ByteArrayOutputStream> sink = ByteArrayOutputStream::_VM_new();
  sink->_VM_init();
  VMPtr<DataOutputStream> out = DataOutputStream::_VM_new();
  out->_VM_init(sink);
  try {
    out->writeUTF(text);
  } catch (java::io::UTFDataFormatException*) {
    return;  // more than 65535 bytes once encoded
  }
  VMPtr<java::lang::String> back = over(sink->toByteArray())->readUTF();
  if (!back->equals(text)) std::abort();
}

// One read chosen by `op`; sizes and positions come from the stream.
void step(const VMPtr<DataInputStream>& in, const VMPtr<Bytes>& buffer, int32_t op) {
  switch (op % 20) {
    case 0: in->readBoolean(); break;
    case 1: in->readByte(); break;
    case 2: in->readUnsignedByte(); break;
    case 3: in->readShort(); break;
    case 4: in->readUnsignedShort(); break;
    case 5: in->readChar(); break;
    case 6: in->readInt(); break;
    case 7: in->readLong(); break;
    case 8: in->readFloat(); break;
    case 9: in->readDouble(); break;
    case 10:
    case 11: checkRoundTrip(in->readUTF()); break;
    case 12: {
      const int32_t off = in->readByte();
      const int32_t len = in->readByte();
      in->readFully(buffer, off, len);
      break;
    }
    case 13: in->readFully(buffer); break;
    case 14: in->skipBytes(in->readShort()); break;
    case 15: in->skip(in->readLong()); break;
    case 16: {
      const int32_t off = in->readByte();
      const int32_t len = in->readByte();
      const int32_t n = in->read(buffer, off, len);
      if (n > len || n < -1) std::abort();
      break;
    }
    case 17: in->mark(in->readUnsignedByte()); break;
    case 18: in->reset(); break;
    default:
      if (in->available() < 0) std::abort();
      in->read(buffer);
      break;
  }
}

// One input: its objects are garbage when this returns.
void run(const uint8_t* data, size_t size) {
  VMPtr<Bytes> content = Bytes::create(static_cast<int32_t>(size));
  if (size > 0) std::memcpy(content->elements(), data, size);
  VMPtr<DataInputStream> in = over(content);
  VMPtr<Bytes> buffer = Bytes::create(48);
  // reset() can move back, so the number of steps is capped. So is the
  // number of failed reads: a mark/reset loop can fail at every step, each
  // failure is a C++ throw (the unwinder was most of the time, under the
  // sanitizers a few hundred microseconds an input), and after a few
  // failures one input shows nothing new.
  constexpr int32_t kMaxSteps = 1024;
  constexpr int32_t kMaxFailures = 8;
  int32_t failures = 0;
  for (int32_t steps = 0; steps < kMaxSteps && failures < kMaxFailures; ++steps) {
    const int32_t op = in->read();
    if (op < 0) break;
    try {
      step(in, buffer, op);
    } catch (java::lang::ArrayIndexOutOfBoundsException*) {
      std::abort();  // a range got past the argument checks
    } catch (java::io::EOFException*) {
      ++failures;
    } catch (java::io::UTFDataFormatException*) {
      ++failures;
    } catch (java::lang::IndexOutOfBoundsException*) {
      ++failures;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool started = (VMTestEnv::start(), true);
  (void)started;
  if (size > 1 << 20) return 0;
  run(data, size);
  // The input's objects are freed now, not at some later collection: with
  // leak detection, libFuzzer runs a whole leak scan after every input that
  // allocated more blocks than it freed, which took it from thousands of
  // inputs a second to a few dozen.
  _VM_collect(_VM_vm);
  return 0;
}
