// Contact records: a contact with its typed entries (numbers, addresses,
// accounts...) and a contact group, as the data-provider library and the
// shared contact editor exchange them.
//
// Binary contract with the data-provider library: the order and types of the
// fields and of the virtual operations must not change. Every field travels
// with the record and is copied with it, also those the plug-in never reads.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "content/Content.h"

namespace Contact {

// One typed entry of a contact: a label code, the value, the user's own label
// (used when the code has no text of its own) and a preferred-entry mark.
template <class T>
class CCommonData {
 public:
  CCommonData() = default;
  CCommonData(int32_t type, T data, std::wstring label = {}, bool primary = false)
      : m_type(type), m_data(std::move(data)), m_label(std::move(label)), m_primary(primary) {}
  CCommonData(const CCommonData&) = default;
  CCommonData& operator=(const CCommonData&) = default;

  // The text that names label `code`: the entry's own label unless the kind of
  // entry has a table text for that code. The entry's one virtual operation,
  // so the first slot of its table.
  virtual const std::wstring& GetTypeLabel(int code) const {
    (void)code;
    return m_label;
  }

  bool operator==(const CCommonData&) const = default;

  int32_t m_type = 0;   // label code; 0 = the user's own label
  T m_data{};
  std::wstring m_label;
  bool m_primary = false;

 protected:
  // Entries are held by value in a contact's vectors and never deleted through
  // this base, so the destructor takes no slot in front of GetTypeLabel. The
  // entry kinds are final: nothing derives from them either.
  ~CCommonData() = default;
};

// Entry kinds with a label table look a code up only within the table's range
// (1 to its last code); code 0 and codes outside use the entry's own label.
// The table texts are fixed English words.
class CPhoneData final : public CCommonData<std::wstring> {
 public:
  using CCommonData::CCommonData;
  const std::wstring& GetTypeLabel(int code) const override;
  static constexpr int32_t kMobile = 2;
};

class CEmailData final : public CCommonData<std::wstring> {
 public:
  using CCommonData::CCommonData;
  const std::wstring& GetTypeLabel(int code) const override;
};

class CIMData final : public CCommonData<std::wstring> {
 public:
  using CCommonData::CCommonData;
  // Labels name the protocol of the account.
  const std::wstring& GetTypeLabel(int code) const override;
  bool operator==(const CIMData&) const = default;
  int32_t m_protocol = 0;
};

class CWebsiteData final : public CCommonData<std::wstring> {
 public:
  using CCommonData::CCommonData;
};

class CNicknameData final : public CCommonData<std::wstring> {
 public:
  using CCommonData::CCommonData;
};

// Seven texts of a postal address, as the handset stores them.
struct CPostalBaseData {
  std::wstring m_street;
  std::wstring m_poBox;
  std::wstring m_neighborhood;
  std::wstring m_city;
  std::wstring m_region;
  std::wstring m_postcode;
  std::wstring m_country;
  bool operator==(const CPostalBaseData&) const = default;
};

// Seven texts of an organization entry.
struct COrganizationBaseData {
  std::wstring m_company;
  std::wstring m_title;
  std::wstring m_department;
  std::wstring m_jobDescription;
  std::wstring m_symbol;
  std::wstring m_phoneticName;
  std::wstring m_officeLocation;
  bool operator==(const COrganizationBaseData&) const = default;
};

class CPostalData final : public CCommonData<CPostalBaseData> {
 public:
  using CCommonData::CCommonData;
  const std::wstring& GetTypeLabel(int code) const override;
};

class COrganizationData final : public CCommonData<COrganizationBaseData> {
 public:
  using CCommonData::CCommonData;
};

// An entry of a kind the plug-in does not know; the handset's own.
struct CExtraData {
  std::wstring m_name;
  int32_t m_kind = 0;
  std::vector<std::wstring> m_values;
  std::wstring m_mimeType;
  bool operator==(const CExtraData&) const = default;
};

// The texts of a contact's name. The list shows and searches the display
// name; the full name is composed from family, middle and given name.
enum NameText : int {
  kDisplayName = 0,
  kFamilyName = 1,
  kGivenName = 2,
  kNamePrefix = 3,
  kMiddleName = 4,
  kNameSuffix = 5,
  kFullName = 6,
  kPhoneticFamilyName = 7,
  kPhoneticGivenName = 8,
  kPhoneticMiddleName = 9,
  kPhoneticFullName = 10,
  kNameTextCount = 11,
};

class CContactData : public CRemoteContent {
 public:
  CContactData() = default;
  CContactData(const CContactData&) = default;
  CContactData& operator=(const CContactData&) = default;
  CContactData(CContactData&&) noexcept = default;
  CContactData& operator=(CContactData&&) noexcept = default;
  ~CContactData() override = default;

  // Completes the name: the full name from its parts, or else the number or
  // address to show, so that a contact without a name is still named.
  bool Prepare() override;
  CContent* Clone() const override { return new CContactData(*this); }

  bool operator==(const CContactData&) const = default;

  // Copies every field of `other` (inherited id and flag included).
  void Copy(const CContactData& other);
  // The same; false when either side is missing.
  static bool Copy(CContactData* target, const CContactData* source);

  // The number to show: the first primary number, else the first Mobile one,
  // else the first one; empty when there is none.
  std::wstring GetFirstPhone() const;
  // The address to show: the first primary one, else the first one.
  std::wstring GetFirstEmail() const;
  // Whether `keyword` occurs, ignoring case, in the display name, the given
  // name, a number, an e-mail address or the index text.
  bool Matches(const std::wstring& keyword) const;

  std::wstring m_sourceAccount;  // stored and copied only
  std::wstring m_sourceType;
  std::wstring m_sourceId;
  int32_t m_version = 0;
  std::wstring m_name[kNameTextCount];
  std::vector<CNicknameData> m_nicknames;
  std::wstring m_photo;
  std::vector<std::wstring> m_notes;
  std::vector<CPhoneData> m_phones;
  std::vector<CEmailData> m_emails;
  std::vector<CPostalData> m_postals;
  std::vector<COrganizationData> m_organizations;
  std::vector<CIMData> m_ims;
  std::vector<CExtraData> m_extras;
  std::vector<CWebsiteData> m_websites;
  std::wstring m_ringtone;
  int32_t m_sendToVoicemail = 0;
  std::vector<std::wstring> m_groupNames;  // names of the groups it belongs to
  int32_t m_timesContacted = 0;
  std::wstring m_index;                    // the text it is filed and found by
  int32_t m_starred = 0;                   // non-zero: a favourite
};

class CGroupData : public CRemoteContent {
 public:
  CGroupData() = default;
  CGroupData(const CGroupData&) = default;
  CGroupData& operator=(const CGroupData&) = default;
  ~CGroupData() override = default;

  CContent* Clone() const override { return new CGroupData(*this); }
  bool operator==(const CGroupData&) const = default;
  void Copy(const CGroupData& other);
  static bool Copy(CGroupData* target, const CGroupData* source);

  int32_t m_version = 0;  // stored and copied only, except name and remark
  std::wstring m_sourceAccount;
  std::wstring m_sourceType;
  std::wstring m_sourceId;
  int32_t m_visible = 0;
  std::wstring m_name;
  std::wstring m_remark;
  std::wstring m_systemId;
  int32_t m_deleted = 0;
  int32_t m_shouldSync = 0;
  std::wstring m_syncData1;
  std::wstring m_syncData2;
};

}  // namespace Contact
