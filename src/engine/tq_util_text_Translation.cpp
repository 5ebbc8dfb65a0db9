#include "tq_util_text_Translation.h"

#include "java_lang_Exception.h"

VM_REGISTER_CLASS(tq::util::text::Translation, "tq.util.text.Translation", "java.lang.Object", 0);

namespace tq::util::text {

using java::lang::Exception;

VMStatic<java::lang::StringBuffer> Translation::sharedBuffer;

namespace {

// Bytes a sequence takes by the high nibble of its lead byte.
constexpr int8_t kSequenceLength[16] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 3, 1};

char16_t decodeOne(const int8_t* p, int32_t n) {
  const int32_t b = p[0] & 0xFF;
  if (b < 0x80) return static_cast<char16_t>(b);
  if (n == 2) return static_cast<char16_t>((b & 0x1F) << 6 | (p[1] & 0x3F));
  if (n == 3) return static_cast<char16_t>((b & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
  return u'\0';
}

}  // namespace

VMPtr<Translation> Translation::_VM_init(VMPtr<java::io::DataInputStream> in, int32_t size) {
  Base::_VM_init();
  try {
    readTable(in, size);
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
  }
  return VMPtr<Translation>(this);
}

void Translation::readTable(VMPtr<java::io::DataInputStream> in, int32_t size) {
  const int32_t n = in->readChar();
  if (size > 65535) {
    offsets32 = VMArray<int32_t>::create(n + 1);
  } else {
    offsets16 = VMArray<char16_t>::create(n + 1);
  }
  data = Bytes::create(size - 2 * (n + 1));
  count = n;
  VMPtr<Bytes> pool = data;
  int32_t pos = 0;
  for (int32_t i = 0; i < n; ++i) {
    setOffset(i, pos);
    const int32_t len = in->readShort();
    if (len <= 0) continue;
    in->readFully(pool, pos, len);
    pos += len;
  }
  setOffset(n, pos);
}

void Translation::setOffset(int32_t i, int32_t value) {
  if (offsets16) {
    VMPtr<VMArray<char16_t>>(offsets16)->at(i) = static_cast<char16_t>(value);
  } else {
    VMPtr<VMArray<int32_t>>(offsets32)->at(i) = value;
  }
}

int32_t Translation::offset(int32_t i) {
  if (offsets16) return VMPtr<VMArray<char16_t>>(offsets16)->at(i);
  return VMPtr<VMArray<int32_t>>(offsets32)->at(i);
}

int32_t Translation::byteLength(int32_t i) { return offset(i + 1) - offset(i); }

void Translation::_VM_markReferences(int colour) {
  _VM_mark(offsets16, colour);
  _VM_mark(data, colour);
  _VM_mark(strings, colour);
  _VM_mark(offsets32, colour);
  Base::_VM_markReferences(colour);
}

void Translation::decodeUtf8(VMPtr<Bytes> bytes, int32_t off, int32_t len, VMPtr<StringBuffer> sb, int32_t pos) {
  for (int32_t i = 0; i < len;) {
    const int32_t at = off + i;
    const int32_t n = kSequenceLength[(bytes->at(at) & 0xFF) >> 4];
    if (at + n > bytes->length) return;  // cut off by the end of the pool
    sb->insert(pos++, decodeOne(bytes->elements() + at, n));
    i += n;
  }
}

VMPtr<java::lang::StringBuffer> Translation::insertText(int32_t id, VMPtr<StringBuffer> sb, int32_t pos) {
  VMPtr<VMArray<String>> decoded = strings;
  if (decoded) {
    sb->insert(pos, decoded->get(id));
    return sb;
  }
  try {
    decodeUtf8(data, offset(id), byteLength(id), sb, pos);
  } catch (Exception* e) {
    VMPtr<Exception> dropped(e);
  }
  return sb;
}

VMPtr<java::lang::StringBuffer> Translation::appendText(int32_t id, VMPtr<StringBuffer> sb) {
  return insertText(id, sb, sb->length());
}

VMPtr<java::lang::StringBuffer> Translation::getText(int32_t id, VMPtr<StringBuffer> sb) {
  sb->setLength(0);
  return insertText(id, sb, 0);
}

VMPtr<java::lang::String> Translation::getString(int32_t id) {
  VMPtr<VMArray<String>> decoded = strings;
  if (decoded) return decoded->get(id);
  const int32_t len = byteLength(id);
  VMPtr<StringBuffer> sb;
  if (len > kSharedLimit) {
    sb = StringBuffer::_VM_new();
    sb->_VM_init(len);
  } else {
    _VM_clinitCheck();
    if (!sharedBuffer) {
      VMPtr<StringBuffer> made = StringBuffer::_VM_new();
      sharedBuffer = made->_VM_init();
    }
    sb = sharedBuffer;
  }
  return getText(id, sb)->toString();
}

void Translation::decodeAll() {
  if (strings || !data) return;
  VMPtr<VMArray<String>> decoded = VMArray<String>::create(count);
  for (int32_t id = count - 1; id >= 0; --id) {
    const int32_t len = byteLength(id);
    VMPtr<StringBuffer> sb = StringBuffer::_VM_new();
    sb->_VM_init(len > 0 ? len : 0);
    decoded->set(id, getText(id, sb)->toString());
  }
  strings = decoded;
  data = nullptr;
  offsets16 = nullptr;
  offsets32 = nullptr;
}

}  // namespace tq::util::text
