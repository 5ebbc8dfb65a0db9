// The data streams: the bytes written for every kind of value and the
// values read back are checked against Java 17 (data_output.txt,
// read_utf.txt, made by tools/javagen/IoTables.java). This system
// deliberately differs from Java SE in two places, checked here on their
// own: writeFloat and writeDouble keep a NaN's payload bits (Java writes the
// canonical NaN), and readUTF decodes a group whose continuation byte is
// not 10xxxxxx as U+0080 (Java rejects it).

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <string>
#include <vector>

#include "IoTestSupport.h"
#include "VMTestEnv.h"
#include "java_io_ByteArrayInputStream.h"
#include "java_io_ByteArrayOutputStream.h"
#include "java_io_DataInputStream.h"
#include "java_io_DataOutputStream.h"
#include "java_io_EOFException.h"
#include "java_io_IOException.h"
#include "java_io_UTFDataFormatException.h"
#include "java_lang_IndexOutOfBoundsException.h"

using java::io::ByteArrayInputStream;
using java::io::ByteArrayOutputStream;
using java::io::DataInputStream;
using java::io::DataOutputStream;
using java::io::EOFException;
using java::io::UTFDataFormatException;
using test::io::ScriptedInputStream;
using namespace io_test;

namespace {

// "41,e9" -> u"A\u00e9"; "-" is the empty text.
std::u16string unitsOf(const std::string& field) {
  std::u16string out;
  if (field == "-") return out;
  size_t start = 0;
  for (;;) {
    const size_t comma = field.find(',', start);
    out += static_cast<char16_t>(std::stoul(field.substr(start, comma - start), nullptr, 16));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return out;
}

struct Writer {
  VMPtr<ByteArrayOutputStream> bytes;
  VMPtr<DataOutputStream> data;
  Writer() : bytes(ByteArrayOutputStream::_VM_new()), data(DataOutputStream::_VM_new()) {
    bytes->_VM_init();
    data->_VM_init(bytes);
  }
  std::vector<uint8_t> written() { return values(bytes->toByteArray()); }
};

VMPtr<DataInputStream> reader(const std::vector<uint8_t>& content) {
  VMPtr<ByteArrayInputStream> in = ByteArrayInputStream::_VM_new();
  in->_VM_init(bytes(content));
  VMPtr<DataInputStream> data = DataInputStream::_VM_new();
  data->_VM_init(in);
  return data;
}

VMPtr<DataInputStream> reader(const VMPtr<ScriptedInputStream>& in) {
  VMPtr<DataInputStream> data = DataInputStream::_VM_new();
  data->_VM_init(in);
  return data;
}

TEST(DataStreamTables, BytesWrittenAndReadBackAsJavaDoes) {
  VMTestEnv::start();
  for (const Row& row : readTable("data_output.txt")) {
    SCOPED_TRACE(showRow(row));
    ASSERT_EQ(row.size(), 4u);
    const std::string& type = row[0];
    const std::string& value = row[1];
    Writer w;
    VMPtr<DataInputStream> in;
    auto readBack = [&] {
      in = reader(w.written());
    };
    if (type == "boolean") {
      w.data->writeBoolean(static_cast<uint8_t>(std::stoi(value)));
      readBack();
      EXPECT_EQ(in->readBoolean(), std::stoi(value));
    } else if (type == "byte") {
      w.data->writeByte(std::stoi(value));
      readBack();
      EXPECT_EQ(in->readByte(), static_cast<int8_t>(std::stoi(value)));
      in->reset();
      EXPECT_EQ(in->readUnsignedByte(), std::stoi(value) & 0xFF);
    } else if (type == "short") {
      w.data->writeShort(std::stoi(value));
      readBack();
      EXPECT_EQ(in->readShort(), static_cast<int16_t>(std::stoi(value)));
      in->reset();
      EXPECT_EQ(in->readUnsignedShort(), std::stoi(value) & 0xFFFF);
    } else if (type == "char") {
      w.data->writeChar(std::stoi(value, nullptr, 16));
      readBack();
      EXPECT_EQ(in->readChar(), static_cast<char16_t>(std::stoi(value, nullptr, 16)));
    } else if (type == "int") {
      w.data->writeInt(static_cast<int32_t>(std::stol(value)));
      readBack();
      EXPECT_EQ(in->readInt(), std::stol(value));
    } else if (type == "long") {
      w.data->writeLong(std::stoll(value));
      readBack();
      EXPECT_EQ(in->readLong(), std::stoll(value));
    } else if (type == "float") {
      const auto bits = static_cast<uint32_t>(std::stoul(value, nullptr, 16));
      w.data->writeFloat(std::bit_cast<float>(bits));
      readBack();
      EXPECT_EQ(std::bit_cast<uint32_t>(in->readFloat()), bits);
    } else if (type == "double") {
      const auto bits = static_cast<uint64_t>(std::stoull(value, nullptr, 16));
      w.data->writeDouble(std::bit_cast<double>(bits));
      readBack();
      EXPECT_EQ(std::bit_cast<uint64_t>(in->readDouble()), bits);
    } else if (type == "chars") {
      w.data->writeChars(jstr(unitsOf(value)));
      readBack();
      std::u16string back;
      while (in->available() > 0) back += in->readChar();
      EXPECT_EQ(back, unitsOf(value));
    } else if (type == "utf") {
      w.data->writeUTF(jstr(unitsOf(value)));
      readBack();
      EXPECT_EQ(show(in->readUTF()), show(unitsOf(value)));
    } else {
      FAIL() << "unknown type";
    }
    EXPECT_EQ(toHex(w.written()), row[3]);
    EXPECT_EQ(in->read(), -1) << "bytes left over";
  }
}

TEST(DataStreamTables, ReadUTFAsJavaDoes) {
  VMTestEnv::start();
  for (const Row& row : readTable("read_utf.txt")) {
    SCOPED_TRACE(showRow(row));
    VMPtr<DataInputStream> in = reader(fromHex(row[0]));
    const std::string& expected = row[2];
    if (expected == "UTFDataFormatException") {
      thrownMessage<UTFDataFormatException>([&] { in->readUTF(); });
      EXPECT_EQ(in->read(), -1);  // all L bytes were consumed first
    } else if (expected == "EOFException") {
      thrownMessage<EOFException>([&] { in->readUTF(); });
    } else {
      EXPECT_EQ(show(in->readUTF()), show(unitsOf(expected)));
    }
  }
}

TEST(DataOutputStream, WriteUTFStopsAt65535EncodedBytes) {
  VMTestEnv::start();
  Writer tooLong;
  EXPECT_EQ(thrownMessage<UTFDataFormatException>([&] { tooLong.data->writeUTF(jstr(std::u16string(21846, u'\u0800'))); }),
            "<null>");
  EXPECT_EQ(tooLong.bytes->size(), 0);

  Writer longest;
  const std::u16string text(21845, u'\u0800');
  longest.data->writeUTF(jstr(text));
  const std::vector<uint8_t> written = longest.written();
  ASSERT_EQ(written.size(), 65537u);
  EXPECT_EQ(written[0], 0xFF);
  EXPECT_EQ(written[1], 0xFF);
  EXPECT_EQ(written[2], 0xE0);
  EXPECT_TRUE(reader(written)->readUTF()->equals(jstr(text)));
}

TEST(DataOutputStream, WritesUTFInOneArrayWrite) {
  VMTestEnv::start();
  VMPtr<test::io::RecordingOutputStream> sink = test::io::RecordingOutputStream::_VM_new();
  sink->_VM_init();
  VMPtr<DataOutputStream> data = DataOutputStream::_VM_new();
  data->_VM_init(sink);
  data->writeUTF(jstr(std::u16string(u"a\0", 2)));
  data->writeInt(1);
  data->write(bytes({7, 8}));
  data->flush();
  data->close();
  EXPECT_EQ(toHex(sink->data), "000361c080000000010708");
  EXPECT_EQ(sink->arrayWrites, (std::vector<int32_t>{5, 2}));
  EXPECT_EQ(sink->flushes, 1);
  EXPECT_EQ(sink->closes, 1);
}

TEST(DataOutputStream, KeepsNaNPayloads) {
  // Deliberately unlike Java SE, which writes the canonical NaN.
  VMTestEnv::start();
  Writer w;
  w.data->writeFloat(std::bit_cast<float>(0x7F800001u));
  w.data->writeDouble(std::bit_cast<double>(0xFFF0000000000123ull));
  EXPECT_EQ(toHex(w.written()), "7f800001fff0000000000123");
}

TEST(DataInputStream, AValueCutShortConsumesWhatWasThere) {
  VMTestEnv::start();
  VMPtr<ScriptedInputStream> source = ScriptedInputStream::_VM_new();
  source->_VM_init({1, 2, 3});
  VMPtr<DataInputStream> in = reader(source);
  thrownMessage<EOFException>([&] { in->readInt(); });
  EXPECT_EQ(source->reads, 4);  // every byte of the value was asked for
  EXPECT_EQ(in->read(), -1);

  const std::vector<std::function<void(DataInputStream*)>> reads = {
      [](DataInputStream* d) { d->readBoolean(); },       [](DataInputStream* d) { d->readByte(); },
      [](DataInputStream* d) { d->readUnsignedByte(); },  [](DataInputStream* d) { d->readShort(); },
      [](DataInputStream* d) { d->readUnsignedShort(); }, [](DataInputStream* d) { d->readChar(); },
      [](DataInputStream* d) { d->readLong(); },          [](DataInputStream* d) { d->readFloat(); },
      [](DataInputStream* d) { d->readDouble(); },        [](DataInputStream* d) { d->readUTF(); },
  };
  for (size_t i = 0; i < reads.size(); ++i) {
    SCOPED_TRACE(i);
    VMPtr<DataInputStream> empty = reader(std::vector<uint8_t>{});
    EXPECT_EQ(thrownMessage<EOFException>([&] { reads[i](empty.get()); }), "<null>");
  }
}

TEST(DataInputStream, ReadUTFOfMalformedGroups) {
  VMTestEnv::start();
  // A continuation byte that is not 10xxxxxx: U+0080, no error (Java SE
  // rejects these).
  EXPECT_EQ(text(reader({0x00, 0x02, 0xC3, 0x41})->readUTF()), u"\u0080");
  EXPECT_EQ(text(reader({0x00, 0x04, 0xE2, 0x41, 0x41, 0x42})->readUTF()), u"\u0080B");
  // A group cut short by the end of the data is an error, also when the
  // lead byte is the last one.
  for (const std::vector<uint8_t>& data : std::vector<std::vector<uint8_t>>{
           {0x00, 0x02, 0xE2, 0x82}, {0x00, 0x01, 0xC3}, {0x00, 0x03, 0x41, 0x42, 0xDF}, {0x00, 0x01, 0x80}}) {
    SCOPED_TRACE(toHex(data));
    thrownMessage<UTFDataFormatException>([&] { reader(data)->readUTF(); });
  }
}

TEST(DataInputStream, ReadFullyAndSkipBytes) {
  VMTestEnv::start();
  VMPtr<DataInputStream> in = reader({1, 2, 3, 4, 5, 6});
  VMPtr<Bytes> b = Bytes::create(4);
  in->readFully(b, 1, 3);
  EXPECT_EQ(values(b), (std::vector<uint8_t>{0, 1, 2, 3}));
  in->readFully(b, 0, 0);
  thrownMessage<java::lang::IndexOutOfBoundsException>([&] { in->readFully(b, 0, -1); });
  thrownMessage<java::lang::IndexOutOfBoundsException>([&] { in->readFully(b, -1, 2); });
  thrownMessage<java::lang::IndexOutOfBoundsException>([&] { in->readFully(b, 3, 2); });
  EXPECT_EQ(in->skipBytes(0), 0);
  EXPECT_EQ(in->skipBytes(-3), 0);
  EXPECT_EQ(in->skipBytes(1), 1);
  thrownMessage<EOFException>([&] { in->readFully(b); });
  EXPECT_EQ(b->at(0), 5);  // the bytes before the end were stored
  EXPECT_EQ(in->skipBytes(10), 0);

  VMPtr<ScriptedInputStream> stuck = ScriptedInputStream::_VM_new();
  stuck->_VM_init({1, 2, 3});
  stuck->skipNothing = true;
  EXPECT_EQ(reader(stuck)->skipBytes(10), 0);
}

TEST(DataInputStream, StreamOperationsForwardToTheSource) {
  VMTestEnv::start();
  VMPtr<DataInputStream> in = reader({1, 2, 3, 4});
  EXPECT_TRUE(in->markSupported());
  EXPECT_EQ(in->available(), 4);
  EXPECT_EQ(in->read(), 1);
  in->mark(100);
  EXPECT_EQ(in->skip(2), 2);
  in->reset();
  VMPtr<Bytes> b = Bytes::create(3);
  EXPECT_EQ(in->read(b), 3);
  EXPECT_EQ(values(b), (std::vector<uint8_t>{2, 3, 4}));
  EXPECT_EQ(in->read(b, 0, 3), -1);
  in->close();

  VMPtr<ScriptedInputStream> plain = ScriptedInputStream::_VM_new();
  plain->_VM_init({});
  VMPtr<DataInputStream> noMark = reader(plain);
  EXPECT_FALSE(noMark->markSupported());
  thrownMessage<java::io::IOException>([&] { noMark->reset(); });
}

}  // namespace
