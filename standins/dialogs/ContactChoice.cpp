#include "ContactChoice.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <iterator>
#include <utility>

#include "contact/ContactData.h"
#include "framework/Text.h"

namespace jorv {
namespace {

constexpr size_t kEntryChars = sizeof(JorvContactEntry::text) / sizeof(wchar_t);

std::wstring Trimmed(const std::wstring& text) {
  const auto blank = [](wchar_t c) { return std::iswspace(c) != 0; };
  auto first = std::find_if_not(text.begin(), text.end(), blank);
  auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  return first < last ? std::wstring(first, last) : std::wstring();
}

std::wstring DigitsOf(const std::wstring& number) {
  std::wstring digits;
  for (wchar_t c : number)
    if (c >= L'0' && c <= L'9') digits += c;
  return digits;
}

}  // namespace

PickableContact PickableContactOf(const Contact::CContactData& contact) {
  PickableContact row;
  row.id = contact.m_id;
  for (const std::wstring& candidate : {contact.m_name[Contact::kDisplayName], contact.m_name[Contact::kFullName],
                                        contact.GetFirstPhone(), contact.GetFirstEmail()}) {
    if (!Trimmed(candidate).empty()) {
      row.name = candidate;
      break;
    }
  }
  std::wstring search = row.name + L'\n' + contact.m_name[Contact::kGivenName] + L'\n' +
                        contact.m_name[Contact::kFamilyName] + L'\n' + contact.m_name[Contact::kFullName];
  for (const Contact::CPhoneData& phone : contact.m_phones) {
    if (phone.m_data.empty()) continue;
    if (!row.numbers.empty()) row.numbers += L", ";
    row.numbers += phone.m_data;
    // "138 0013-8000" is found by "13800138000" too.
    search += L'\n' + phone.m_data + L'\n' + DigitsOf(phone.m_data);
  }
  for (const Contact::CEmailData& email : contact.m_emails) search += L'\n' + email.m_data;
  search += L'\n' + contact.m_index;
  row.search = wf::ToLower(search);
  return row;
}

std::wstring EntryText(const JorvContactEntry& entry) {
  return std::wstring(entry.text, wcsnlen(entry.text, kEntryChars));
}

JorvContactEntry MakeEntry(const std::wstring& text, uint32_t value) {
  JorvContactEntry entry{};
  const size_t length = std::min(text.size(), kEntryChars - 1);
  std::copy_n(text.begin(), length, entry.text);
  entry.text[length] = L'\0';
  entry.value = value;
  return entry;
}

CContactChoice::CContactChoice(const std::list<JorvContactEntry>& given) : m_given(given.begin(), given.end()) {
  ListGivenAlone();
  SetFilter(m_filter);
}

void CContactChoice::ListGivenAlone() {
  m_rows.clear();
  m_ticked.clear();
  m_givenRow.clear();
  for (const JorvContactEntry& entry : m_given) {
    PickableContact row;
    row.id = entry.value;
    row.name = EntryText(entry);
    row.search = wf::ToLower(row.name);
    row.onHandset = false;
    m_givenRow.push_back(m_rows.size());
    m_rows.push_back(std::move(row));
    m_ticked.push_back(1);
  }
}

void CContactChoice::SetContacts(std::vector<PickableContact> contacts) {
  // What each entry handed in shows now, so that a tick the user changed
  // while the contacts were read is kept.
  std::vector<char> givenTicked;
  for (size_t row : m_givenRow) givenTicked.push_back(m_ticked[row]);

  std::vector<PickableContact> alone;
  std::vector<char> aloneTicked, contactTicked(contacts.size(), 0);
  std::vector<std::pair<bool, size_t>> where;  // per entry handed in: (on a contact, index)
  for (size_t g = 0; g < m_given.size(); ++g) {
    const uint32_t value = m_given[g].value;
    auto match = value == 0 ? contacts.end()
                            : std::find_if(contacts.begin(), contacts.end(),
                                           [value](const PickableContact& c) { return c.id == value; });
    if (match != contacts.end()) {
      const size_t index = static_cast<size_t>(match - contacts.begin());
      contactTicked[index] = contactTicked[index] || givenTicked[g];
      where.emplace_back(true, index);
    } else {
      aloneTicked.push_back(givenTicked[g]);
      where.emplace_back(false, alone.size());
      alone.push_back(m_rows[m_givenRow[g]]);
    }
  }

  // The entries that match no contact first, then the contacts.
  m_rows = std::move(alone);
  m_ticked = std::move(aloneTicked);
  const size_t offset = m_rows.size();
  for (size_t i = 0; i < contacts.size(); ++i) {
    contacts[i].onHandset = true;
    m_rows.push_back(std::move(contacts[i]));
    m_ticked.push_back(contactTicked[i]);
  }
  m_givenRow.clear();
  for (const auto& [onContact, index] : where) m_givenRow.push_back(onContact ? offset + index : index);
  m_hasContacts = true;
  SetFilter(m_filter);
}

void CContactChoice::SetFilter(const std::wstring& keyword) {
  m_filter = wf::ToLower(Trimmed(keyword));
  m_shown.clear();
  for (size_t i = 0; i < m_rows.size(); ++i)
    if (m_filter.empty() || m_rows[i].search.find(m_filter) != std::wstring::npos) m_shown.push_back(i);
}

void CContactChoice::GetCell(int row, int column, CQsGridCell& cell) const {
  if (row < 0 || row >= GetRowCount()) return;
  const PickableContact& contact = At(row);
  switch (column) {
    case kColumnCheck:
      cell.check = true;
      cell.text = IsTicked(row) ? L"1" : L"0";
      break;
    case kColumnName: cell.text = contact.name; break;
    case kColumnNumbers: cell.text = contact.numbers; break;
    default: break;
  }
}

const PickableContact& CContactChoice::At(int row) const { return m_rows[m_shown.at(static_cast<size_t>(row))]; }

bool CContactChoice::IsTicked(int row) const {
  return row >= 0 && row < GetRowCount() && m_ticked[m_shown[static_cast<size_t>(row)]] != 0;
}

void CContactChoice::SetTicked(int row, bool ticked) {
  if (row >= 0 && row < GetRowCount()) m_ticked[m_shown[static_cast<size_t>(row)]] = ticked ? 1 : 0;
}

void CContactChoice::TickAllShown(bool ticked) {
  for (size_t index : m_shown) m_ticked[index] = ticked ? 1 : 0;
}

bool CContactChoice::AllShownTicked() const {
  return !m_shown.empty() && std::all_of(m_shown.begin(), m_shown.end(), [this](size_t i) { return m_ticked[i] != 0; });
}

size_t CContactChoice::TickedCount() const {
  return static_cast<size_t>(std::count(m_ticked.begin(), m_ticked.end(), 1));
}

std::list<JorvContactEntry> CContactChoice::Chosen() const {
  std::list<JorvContactEntry> chosen;
  std::vector<char> taken(m_rows.size(), 0);
  for (size_t g = 0; g < m_given.size(); ++g) {
    const size_t row = m_givenRow[g];
    if (!m_ticked[row] || taken[row]) continue;
    taken[row] = 1;
    chosen.push_back(MakeEntry(m_rows[row].name, m_given[g].value));
  }
  for (size_t row = 0; row < m_rows.size(); ++row)
    if (m_ticked[row] && !taken[row]) chosen.push_back(MakeEntry(m_rows[row].name, m_rows[row].id));
  return chosen;
}

}  // namespace jorv
