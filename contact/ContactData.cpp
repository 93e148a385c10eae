#include "contact/ContactData.h"

#include "framework/Text.h"

namespace Contact {
namespace {

constexpr const wchar_t* kPhoneLabels[] = {
    L"Custom", L"Home",  L"Mobile", L"Work",  L"Work Fax", L"Home Fax",    L"Pager",
    L"Other",  L"Callback", L"Car",  L"Company Main", L"ISDN", L"Main", L"Other Fax",
    L"Radio",  L"Telex", L"TTY TDD", L"Work Mobile", L"Work Pager", L"Assistant", L"MMS"};
constexpr const wchar_t* kEmailLabels[] = {L"Custom", L"Home", L"Work", L"Other", L"Mobile"};
constexpr const wchar_t* kPostalLabels[] = {L"Custom", L"Home", L"Work", L"Other"};
constexpr const wchar_t* kProtocolLabels[] = {L"Custom", L"AIM", L"Windows Live", L"Yahoo", L"Skype",
                                              L"QQ",     L"Google Talk", L"ICQ", L"Jabber", L"Custom"};

template <size_t N>
std::map<int, std::wstring> MakeTable(const wchar_t* const (&texts)[N]) {
  std::map<int, std::wstring> table;
  for (size_t code = 0; code < N; ++code) table[static_cast<int>(code)] = texts[code];
  return table;
}

// The table's text for `code` when it lies in 1..last, else the own label.
const std::wstring& LabelOr(const std::map<int, std::wstring>& table, int last, int code, const std::wstring& own) {
  return code >= 1 && code <= last ? table.at(code) : own;
}

bool Contains(const std::wstring& field, const std::wstring& loweredKeyword) {
  return wf::ToLower(field).find(loweredKeyword) != std::wstring::npos;
}

}  // namespace

// Each table is built once, on first use.
const std::wstring& CPhoneData::GetTypeLabel(int code) const {
  static const std::map<int, std::wstring> table = MakeTable(kPhoneLabels);
  return LabelOr(table, 20, code, m_label);
}

const std::wstring& CEmailData::GetTypeLabel(int code) const {
  static const std::map<int, std::wstring> table = MakeTable(kEmailLabels);
  return LabelOr(table, 4, code, m_label);
}

const std::wstring& CPostalData::GetTypeLabel(int code) const {
  static const std::map<int, std::wstring> table = MakeTable(kPostalLabels);
  return LabelOr(table, 3, code, m_label);
}

const std::wstring& CIMData::GetTypeLabel(int code) const {
  static const std::map<int, std::wstring> table = MakeTable(kProtocolLabels);
  return LabelOr(table, 9, code, m_label);
}

bool CContactData::Prepare() {
  std::wstring& full = m_name[kFullName];
  if (full.empty()) full = m_name[kFamilyName] + m_name[kMiddleName] + m_name[kGivenName];
  if (full.empty()) {
    std::wstring stand = GetFirstPhone();
    if (stand.empty()) stand = GetFirstEmail();
    m_name[kGivenName] = stand;
    full = stand;
  }
  return true;
}

void CContactData::Copy(const CContactData& other) {
  if (this != &other) *this = other;
}

bool CContactData::Copy(CContactData* target, const CContactData* source) {
  if (!target || !source) return false;
  target->Copy(*source);
  return true;
}

std::wstring CContactData::GetFirstPhone() const {
  for (const CPhoneData& phone : m_phones) {
    if (phone.m_primary) {
      if (!phone.m_data.empty()) return phone.m_data;
      break;  // the first primary entry decides; an empty one falls through
    }
  }
  for (const CPhoneData& phone : m_phones)
    if (phone.m_type == CPhoneData::kMobile) {
      if (!phone.m_data.empty()) return phone.m_data;
      break;
    }
  return m_phones.empty() ? std::wstring() : m_phones.front().m_data;
}

std::wstring CContactData::GetFirstEmail() const {
  for (const CEmailData& email : m_emails)
    if (email.m_primary) {
      if (!email.m_data.empty()) return email.m_data;
      break;
    }
  return m_emails.empty() ? std::wstring() : m_emails.front().m_data;
}

bool CContactData::Matches(const std::wstring& keyword) const {
  std::wstring lowered = wf::ToLower(keyword);
  if (Contains(m_name[kDisplayName], lowered) || Contains(m_name[kGivenName], lowered)) return true;
  for (const CPhoneData& phone : m_phones)
    if (Contains(phone.m_data, lowered)) return true;
  for (const CEmailData& email : m_emails)
    if (Contains(email.m_data, lowered)) return true;
  return Contains(m_index, lowered);
}

void CGroupData::Copy(const CGroupData& other) {
  if (this != &other) *this = other;
}

bool CGroupData::Copy(CGroupData* target, const CGroupData* source) {
  if (!target || !source) return false;
  target->Copy(*source);
  return true;
}

}  // namespace Contact
