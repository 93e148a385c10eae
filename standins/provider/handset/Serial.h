// The handset file's binary encoding: little-endian integers, texts as UTF-16
// with a 32-bit length, sequences with a 32-bit count. The reader never reads
// past its end: a short or damaged buffer makes it fail, and it stays failed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "calendar/CalendarData.h"
#include "contact/ContactData.h"
#include "content/SimCard.h"
#include "message/MessageData.h"

namespace handset {

class ByteWriter {
 public:
  void U8(uint8_t value) { m_bytes.push_back(value); }
  void U32(uint32_t value);
  void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
  void U64(uint64_t value);
  void Text(const std::wstring& text);
  void Bytes(const void* data, size_t size);
  std::vector<uint8_t>& bytes() { return m_bytes; }

 private:
  std::vector<uint8_t> m_bytes;
};

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  uint8_t U8();
  uint32_t U32();
  int32_t I32() { return static_cast<int32_t>(U32()); }
  uint64_t U64();
  std::wstring Text();
  // A count of items that each take at least `minimumItemSize` bytes: a count
  // the rest of the buffer cannot hold fails the reader (no huge allocation).
  uint32_t Count(size_t minimumItemSize);
  bool ok() const { return m_ok; }
  bool AtEnd() const { return m_position == m_size; }
  void Fail() { m_ok = false; }

 private:
  bool Take(size_t size);
  const uint8_t* m_data;
  size_t m_size;
  size_t m_position = 0;
  bool m_ok = true;
};

void Write(ByteWriter& out, const Contact::CContactData& contact);
void Write(ByteWriter& out, const Contact::CGroupData& group);
void Write(ByteWriter& out, const Message::CSMSData& message);
void Write(ByteWriter& out, const Message::CFolder& folder);
void Write(ByteWriter& out, const Calendar::CCalendarData& event);
void Write(ByteWriter& out, const CSimInfo& card);

void Read(ByteReader& in, Contact::CContactData& contact);
void Read(ByteReader& in, Contact::CGroupData& group);
void Read(ByteReader& in, Message::CSMSData& message);
void Read(ByteReader& in, Message::CFolder& folder);
void Read(ByteReader& in, Calendar::CCalendarData& event);
void Read(ByteReader& in, CSimInfo& card);

// CRC-32 (IEEE) of a buffer, to tell a damaged file from a good one.
uint32_t Crc32(const uint8_t* data, size_t size);

}  // namespace handset
