// Content records: every record exchanged with the data-provider library
// derives from CContent. Records travel in lists of pointers; the receiver
// knows the concrete class from the content URI of the request or reply.
//
// This header is a binary contract between separately built modules (the
// plug-in and the data-provider library): the order of the virtual
// operations and of the fields must not change.
#pragma once
#include <cstdint>
#include <list>
#include <string>
#include <utility>

// The handset's identity of a record (contact, group, message, folder, event).
using ContentId = uint32_t;

class CContent {
 public:
  CContent() = default;
  CContent(const CContent&) = default;
  CContent& operator=(const CContent&) = default;
  CContent(CContent&&) noexcept = default;
  CContent& operator=(CContent&&) noexcept = default;

  // Slot order: destructor, Prepare, Clone.
  virtual ~CContent() = default;
  // Recomputes derived fields; the base has none.
  virtual bool Prepare() { return true; }
  // A new heap copy of the record's own class; the caller owns it.
  virtual CContent* Clone() const { return new CContent(*this); }

  // Field-by-field equality (a record's own class adds its fields).
  bool operator==(const CContent&) const = default;

  ContentId m_id = 0;   // the record id
  uint8_t m_flag = 0;   // carried unchanged; the plug-in gives it no meaning
};

// A record that lives on the phone and is addressed by an identifier.
class CRemoteContent : public CContent {
 public:
  CContent* Clone() const override { return new CRemoteContent(*this); }
  bool operator==(const CRemoteContent&) const = default;
};

// A list of records; requests and replies pass it by constant reference.
// Records in a reply belong to the library for the duration of the callback.
using ContentList = std::list<CContent*>;

// The argument of delete, star, membership, lock, read, move and export requests.
using IdList = std::list<ContentId>;

// Records grouped under a key: conversations (phone number → its messages)
// and calendar days ("YYYYMMDD" → the events of that day), in answer order.
using GroupedContent = std::list<std::pair<std::wstring, ContentList>>;

// Member counts per group: (group id, number of members).
using GroupCountList = std::list<std::pair<ContentId, uint32_t>>;

// Day texts "YYYYMMDD" (the days that hold events).
using DayList = std::list<std::wstring>;

// Deletes the records of a list that the caller owns and empties it.
inline void DeleteContents(ContentList& list) {
  for (CContent* record : list) delete record;
  list.clear();
}
