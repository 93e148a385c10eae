#include "Serial.h"

#include <array>
#include <cstring>

namespace handset {

void ByteWriter::U32(uint32_t value) {
  for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void ByteWriter::U64(uint64_t value) {
  for (int i = 0; i < 8; ++i) m_bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void ByteWriter::Text(const std::wstring& text) {
  U32(static_cast<uint32_t>(text.size()));
  for (wchar_t c : text) {
    m_bytes.push_back(static_cast<uint8_t>(c));
    m_bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
}

void ByteWriter::Bytes(const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  m_bytes.insert(m_bytes.end(), p, p + size);
}

bool ByteReader::Take(size_t size) {
  if (!m_ok || m_size - m_position < size) {
    m_ok = false;
    return false;
  }
  return true;
}

uint8_t ByteReader::U8() {
  if (!Take(1)) return 0;
  return m_data[m_position++];
}

uint32_t ByteReader::U32() {
  if (!Take(4)) return 0;
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(m_data[m_position++]) << (8 * i);
  return value;
}

uint64_t ByteReader::U64() {
  if (!Take(8)) return 0;
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value |= static_cast<uint64_t>(m_data[m_position++]) << (8 * i);
  return value;
}

std::wstring ByteReader::Text() {
  uint32_t length = Count(2);
  if (!m_ok) return {};
  std::wstring text(length, L'\0');
  for (uint32_t i = 0; i < length; ++i) {
    text[i] = static_cast<wchar_t>(m_data[m_position] | (m_data[m_position + 1] << 8));
    m_position += 2;
  }
  return text;
}

uint32_t ByteReader::Count(size_t minimumItemSize) {
  uint32_t count = U32();
  if (m_ok && minimumItemSize > 0 && count > (m_size - m_position) / minimumItemSize) m_ok = false;
  return m_ok ? count : 0;
}

// --- records -------------------------------------------------------------
// Each record writes its fields in declaration order; the base fields first.

namespace {

void WriteBase(ByteWriter& out, const CContent& record) {
  out.U32(record.m_id);
  out.U8(record.m_flag);
}
void ReadBase(ByteReader& in, CContent& record) {
  record.m_id = in.U32();
  record.m_flag = in.U8();
}

void WriteTexts(ByteWriter& out, const std::vector<std::wstring>& texts) {
  out.U32(static_cast<uint32_t>(texts.size()));
  for (const auto& text : texts) out.Text(text);
}
void ReadTexts(ByteReader& in, std::vector<std::wstring>& texts) {
  uint32_t count = in.Count(4);
  texts.resize(count);
  for (auto& text : texts) text = in.Text();
}

template <class T, class WriteValue>
void WriteEntries(ByteWriter& out, const std::vector<T>& entries, WriteValue writeValue) {
  out.U32(static_cast<uint32_t>(entries.size()));
  for (const T& entry : entries) {
    out.I32(entry.m_type);
    writeValue(entry);
    out.Text(entry.m_label);
    out.U8(entry.m_primary ? 1 : 0);
  }
}
template <class T, class ReadValue>
void ReadEntries(ByteReader& in, std::vector<T>& entries, ReadValue readValue) {
  uint32_t count = in.Count(13);
  entries.resize(count);
  for (T& entry : entries) {
    entry.m_type = in.I32();
    readValue(entry);
    entry.m_label = in.Text();
    entry.m_primary = in.U8() != 0;
  }
}

template <class T>
void WriteTextEntries(ByteWriter& out, const std::vector<T>& entries) {
  WriteEntries(out, entries, [&](const T& e) { out.Text(e.m_data); });
}
template <class T>
void ReadTextEntries(ByteReader& in, std::vector<T>& entries) {
  ReadEntries(in, entries, [&](T& e) { e.m_data = in.Text(); });
}

}  // namespace

void Write(ByteWriter& out, const Contact::CContactData& c) {
  WriteBase(out, c);
  out.Text(c.m_sourceAccount);
  out.Text(c.m_sourceType);
  out.Text(c.m_sourceId);
  out.I32(c.m_version);
  for (const auto& name : c.m_name) out.Text(name);
  WriteTextEntries(out, c.m_nicknames);
  out.Text(c.m_photo);
  WriteTexts(out, c.m_notes);
  WriteTextEntries(out, c.m_phones);
  WriteTextEntries(out, c.m_emails);
  WriteEntries(out, c.m_postals, [&](const Contact::CPostalData& e) {
    const auto& d = e.m_data;
    for (const std::wstring* t : {&d.m_street, &d.m_poBox, &d.m_neighborhood, &d.m_city, &d.m_region, &d.m_postcode,
                                  &d.m_country})
      out.Text(*t);
  });
  WriteEntries(out, c.m_organizations, [&](const Contact::COrganizationData& e) {
    const auto& d = e.m_data;
    for (const std::wstring* t : {&d.m_company, &d.m_title, &d.m_department, &d.m_jobDescription, &d.m_symbol,
                                  &d.m_phoneticName, &d.m_officeLocation})
      out.Text(*t);
  });
  WriteEntries(out, c.m_ims, [&](const Contact::CIMData& e) {
    out.Text(e.m_data);
    out.I32(e.m_protocol);
  });
  out.U32(static_cast<uint32_t>(c.m_extras.size()));
  for (const auto& extra : c.m_extras) {
    out.Text(extra.m_name);
    out.I32(extra.m_kind);
    WriteTexts(out, extra.m_values);
    out.Text(extra.m_mimeType);
  }
  WriteTextEntries(out, c.m_websites);
  out.Text(c.m_ringtone);
  out.I32(c.m_sendToVoicemail);
  WriteTexts(out, c.m_groupNames);
  out.I32(c.m_timesContacted);
  out.Text(c.m_index);
  out.I32(c.m_starred);
}

void Read(ByteReader& in, Contact::CContactData& c) {
  ReadBase(in, c);
  c.m_sourceAccount = in.Text();
  c.m_sourceType = in.Text();
  c.m_sourceId = in.Text();
  c.m_version = in.I32();
  for (auto& name : c.m_name) name = in.Text();
  ReadTextEntries(in, c.m_nicknames);
  c.m_photo = in.Text();
  ReadTexts(in, c.m_notes);
  ReadTextEntries(in, c.m_phones);
  ReadTextEntries(in, c.m_emails);
  ReadEntries(in, c.m_postals, [&](Contact::CPostalData& e) {
    auto& d = e.m_data;
    for (std::wstring* t : {&d.m_street, &d.m_poBox, &d.m_neighborhood, &d.m_city, &d.m_region, &d.m_postcode,
                            &d.m_country})
      *t = in.Text();
  });
  ReadEntries(in, c.m_organizations, [&](Contact::COrganizationData& e) {
    auto& d = e.m_data;
    for (std::wstring* t : {&d.m_company, &d.m_title, &d.m_department, &d.m_jobDescription, &d.m_symbol,
                            &d.m_phoneticName, &d.m_officeLocation})
      *t = in.Text();
  });
  ReadEntries(in, c.m_ims, [&](Contact::CIMData& e) {
    e.m_data = in.Text();
    e.m_protocol = in.I32();
  });
  c.m_extras.resize(in.Count(16));
  for (auto& extra : c.m_extras) {
    extra.m_name = in.Text();
    extra.m_kind = in.I32();
    ReadTexts(in, extra.m_values);
    extra.m_mimeType = in.Text();
  }
  ReadTextEntries(in, c.m_websites);
  c.m_ringtone = in.Text();
  c.m_sendToVoicemail = in.I32();
  ReadTexts(in, c.m_groupNames);
  c.m_timesContacted = in.I32();
  c.m_index = in.Text();
  c.m_starred = in.I32();
}

void Write(ByteWriter& out, const Contact::CGroupData& g) {
  WriteBase(out, g);
  out.I32(g.m_version);
  out.Text(g.m_sourceAccount);
  out.Text(g.m_sourceType);
  out.Text(g.m_sourceId);
  out.I32(g.m_visible);
  out.Text(g.m_name);
  out.Text(g.m_remark);
  out.Text(g.m_systemId);
  out.I32(g.m_deleted);
  out.I32(g.m_shouldSync);
  out.Text(g.m_syncData1);
  out.Text(g.m_syncData2);
}

void Read(ByteReader& in, Contact::CGroupData& g) {
  ReadBase(in, g);
  g.m_version = in.I32();
  g.m_sourceAccount = in.Text();
  g.m_sourceType = in.Text();
  g.m_sourceId = in.Text();
  g.m_visible = in.I32();
  g.m_name = in.Text();
  g.m_remark = in.Text();
  g.m_systemId = in.Text();
  g.m_deleted = in.I32();
  g.m_shouldSync = in.I32();
  g.m_syncData1 = in.Text();
  g.m_syncData2 = in.Text();
}

void Write(ByteWriter& out, const Message::CSMSData& m) {
  WriteBase(out, m);
  out.I32(m.m_folderId);
  out.Text(m.m_opaqueText1);
  out.Text(m.m_phoneNumber);
  out.I32(m.m_contactId);
  out.Text(m.m_contactName);
  out.Text(m.m_time);
  out.I32(m.m_opaqueInt1);
  out.I32(m.m_read);
  out.I32(m.m_draftMarker);
  out.I32(m.m_state);
  out.I32(m.m_opaqueInt2);
  out.Text(m.m_opaqueText2);
  out.Text(m.m_body);
  out.Text(m.m_opaqueText3);
  out.I32(m.m_lock);
  out.I32(m.m_opaqueInt3);
  out.I32(m.m_cardId);
  out.Text(m.m_simText);
}

void Read(ByteReader& in, Message::CSMSData& m) {
  ReadBase(in, m);
  m.m_folderId = in.I32();
  m.m_opaqueText1 = in.Text();
  m.m_phoneNumber = in.Text();
  m.m_contactId = in.I32();
  m.m_contactName = in.Text();
  m.m_time = in.Text();
  m.m_opaqueInt1 = in.I32();
  m.m_read = in.I32();
  m.m_draftMarker = in.I32();
  m.m_state = in.I32();
  m.m_opaqueInt2 = in.I32();
  m.m_opaqueText2 = in.Text();
  m.m_body = in.Text();
  m.m_opaqueText3 = in.Text();
  m.m_lock = in.I32();
  m.m_opaqueInt3 = in.I32();
  m.m_cardId = in.I32();
  m.m_simText = in.Text();
}

void Write(ByteWriter& out, const Message::CFolder& f) {
  WriteBase(out, f);
  out.I32(f.m_orderKey);
  out.Text(f.m_name);
  out.Text(f.m_opaqueText1);
  out.I32(f.m_total);
  out.I32(f.m_unread);
  out.I32(f.m_opaqueInt2);
  out.I32(f.m_opaqueInt3);
  out.I32(f.m_system);
  out.I32(f.m_opaqueInt4);
  out.I32(f.m_opaqueInt5);
}

void Read(ByteReader& in, Message::CFolder& f) {
  ReadBase(in, f);
  f.m_orderKey = in.I32();
  f.m_name = in.Text();
  f.m_opaqueText1 = in.Text();
  f.m_total = in.I32();
  f.m_unread = in.I32();
  f.m_opaqueInt2 = in.I32();
  f.m_opaqueInt3 = in.I32();
  f.m_system = in.I32();
  f.m_opaqueInt4 = in.I32();
  f.m_opaqueInt5 = in.I32();
}

void Write(ByteWriter& out, const Calendar::CCalendarData& e) {
  WriteBase(out, e);
  out.Text(e.m_topic);
  out.Text(e.m_address);
  out.Text(e.m_remark);
  out.I32(e.m_reserved1);
  out.I32(e.m_allDay);
  out.I32(e.m_reserved2);
  out.Text(e.m_start);
  out.Text(e.m_reservedText);
  out.Text(e.m_end);
  out.Text(e.m_zone);
  out.U32(static_cast<uint32_t>(e.m_attendees.size()));
  for (const auto& a : e.m_attendees) {
    WriteBase(out, a);
    out.Text(a.m_name);
    out.Text(a.m_text2);
    for (int32_t r : a.m_reserved) out.I32(r);
  }
  out.U32(static_cast<uint32_t>(e.m_recurrences.size()));
  for (const auto& r : e.m_recurrences) {
    WriteBase(out, r);
    out.I32(r.m_dayOfMonth);
    out.I32(r.m_weekdayMask);
    out.I32(r.m_reserved1);
    out.Text(r.m_repeatStart);
    out.Text(r.m_reservedText1);
    out.I32(r.m_interval);
    out.I32(r.m_monthOfYear);
    out.I32(r.m_repeatCount);
    out.U8(r.m_repeatFlag);
    out.Text(r.m_reservedText2);
    out.Text(r.m_reservedText3);
    out.I32(r.m_type);
    out.I32(r.m_reserved2);
  }
  out.U32(static_cast<uint32_t>(e.m_reminders.size()));
  for (const auto& m : e.m_reminders) {
    WriteBase(out, m);
    out.I32(m.m_minutes);
    out.I32(m.m_mode);
  }
}

void Read(ByteReader& in, Calendar::CCalendarData& e) {
  ReadBase(in, e);
  e.m_topic = in.Text();
  e.m_address = in.Text();
  e.m_remark = in.Text();
  e.m_reserved1 = in.I32();
  e.m_allDay = in.I32();
  e.m_reserved2 = in.I32();
  e.m_start = in.Text();
  e.m_reservedText = in.Text();
  e.m_end = in.Text();
  e.m_zone = in.Text();
  e.m_attendees.resize(in.Count(29));
  for (auto& a : e.m_attendees) {
    ReadBase(in, a);
    a.m_name = in.Text();
    a.m_text2 = in.Text();
    for (int32_t& r : a.m_reserved) r = in.I32();
  }
  e.m_recurrences.resize(in.Count(54));
  for (auto& r : e.m_recurrences) {
    ReadBase(in, r);
    r.m_dayOfMonth = in.I32();
    r.m_weekdayMask = in.I32();
    r.m_reserved1 = in.I32();
    r.m_repeatStart = in.Text();
    r.m_reservedText1 = in.Text();
    r.m_interval = in.I32();
    r.m_monthOfYear = in.I32();
    r.m_repeatCount = in.I32();
    r.m_repeatFlag = in.U8();
    r.m_reservedText2 = in.Text();
    r.m_reservedText3 = in.Text();
    r.m_type = in.I32();
    r.m_reserved2 = in.I32();
  }
  e.m_reminders.resize(in.Count(13));
  for (auto& m : e.m_reminders) {
    ReadBase(in, m);
    m.m_minutes = in.I32();
    m.m_mode = in.I32();
  }
}

void Write(ByteWriter& out, const CSimInfo& card) {
  out.I32(card.m_cardId);
  out.Text(card.m_cardText);
  out.Text(card.m_network);
  out.Text(card.m_operator);
  out.Text(card.m_imsi);
}

void Read(ByteReader& in, CSimInfo& card) {
  card.m_cardId = in.I32();
  card.m_cardText = in.Text();
  card.m_network = in.Text();
  card.m_operator = in.Text();
  card.m_imsi = in.Text();
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

}  // namespace handset
