#include "contact/ContactRows.h"

#include <algorithm>

namespace Contact {

int FilingSlot(const std::wstring& indexText) {
  if (indexText.empty()) return kOtherSlot;
  wchar_t first = indexText[0];
  if (first >= L'A' && first <= L'Z') return first - L'A';
  if (first >= L'a' && first <= L'z') return first - L'a';
  return kOtherSlot;
}

RECT ContactListRect(int width, int height) {
  return RECT{187, 36, std::max(187, width), std::max(36, height)};
}

std::array<double, kContactColumnCount> ContactColumnFractions(int width) {
  const int span = width - 190;
  // The first column is 40 pixels and the last 120; below that the rule
  // would give the four text columns nothing or less.
  double d = span > 160 ? 40.0 / span : 0.0;
  double rest = 1.0 - 4.0 * d;
  return {d, rest * 3 / 16, rest * 4 / 16, rest * 5 / 16, rest * 4 / 16, 3 * d};
}

void CContactRows::Clear() {
  m_rows.clear();
  m_collapsed.fill(false);
  m_contacts = 0;
}

int CContactRows::InsertHeader(int at, int slot) {
  Row header;
  header.header = true;
  header.slot = slot;
  m_rows.insert(m_rows.begin() + at, std::move(header));
  return at;
}

void CContactRows::AppendContact(const CContactData& contact, int slot) {
  Row& row = m_rows.emplace_back();
  row.slot = slot;
  row.starred = contact.m_starred != 0;
  row.contact = contact;
  ++m_contacts;
}

void CContactRows::FillGrouped(const ContentList& records) {
  m_rows.reserve(m_rows.size() + records.size() + kLetterSlotCount);
  int current = -1;
  for (const CContent* record : records) {
    auto* contact = dynamic_cast<const CContactData*>(record);
    if (!contact) continue;
    int slot = FilingSlot(contact->m_index);
    if (slot != current) {
      InsertHeader(RowCount(), slot);
      current = slot;
    }
    AppendContact(*contact, slot);
  }
}

void CContactRows::AppendUngrouped(const ContentList& records) {
  for (const CContent* record : records) {
    auto* contact = dynamic_cast<const CContactData*>(record);
    if (!contact) continue;
    if (HeaderRow(kOtherSlot) < 0) InsertHeader(RowCount(), kOtherSlot);
    AppendContact(*contact, kOtherSlot);
  }
}

int CContactRows::AddGrouped(const CContactData& contact) {
  const int slot = FilingSlot(contact.m_index);
  int header = HeaderRow(slot);
  if (header < 0) {
    // Before the header of the next later section that has one, else at the end.
    int before = RowCount();
    for (int later = slot + 1; later < kLetterSlotCount; ++later)
      if (int row = HeaderRow(later); row >= 0) {
        before = row;
        break;
      }
    header = InsertHeader(before, slot);
  }
  // The section ends at the next header row.
  int at = header + 1;
  while (at < RowCount() && !m_rows[at].header) ++at;
  Row row;
  row.slot = slot;
  row.starred = contact.m_starred != 0;
  row.contact = contact;
  m_rows.insert(m_rows.begin() + at, std::move(row));
  ++m_contacts;
  return at;
}

bool CContactRows::Remove(ContentId id) {
  int row = FindContact(id);
  if (row < 0) return false;
  m_rows.erase(m_rows.begin() + row);
  --m_contacts;
  int header = row - 1;  // a contact row always has its header above it
  bool emptySection = (row >= RowCount() || m_rows[row].header) && header >= 0 && m_rows[header].header;
  if (emptySection) {
    m_collapsed[m_rows[header].slot] = false;
    m_rows.erase(m_rows.begin() + header);
  }
  return true;
}

int CContactRows::FindContact(ContentId id) const {
  for (int row = 0; row < RowCount(); ++row)
    if (!m_rows[row].header && m_rows[row].contact.m_id == id) return row;
  return -1;
}

int CContactRows::HeaderRow(int slot) const {
  for (int row = 0; row < RowCount(); ++row)
    if (m_rows[row].header && m_rows[row].slot == slot) return row;
  return -1;
}

void CContactRows::SetRowCheck(int row, bool on) {
  if (IsContactRow(row)) m_rows[row].checked = on;
}

void CContactRows::SetAllChecks(bool on) {
  for (Row& row : m_rows)
    if (!row.header) row.checked = on;
}

void CContactRows::SetStarred(int row, bool on) {
  if (!IsContactRow(row)) return;
  m_rows[row].starred = on;
  m_rows[row].contact.m_starred = on ? 1 : 0;
}

void CContactRows::Replace(int row, const CContactData& contact) {
  if (!IsContactRow(row)) return;
  m_rows[row].contact = contact;
  m_rows[row].starred = contact.m_starred != 0;
}

void CContactRows::AddGroupName(int row, const std::wstring& name) {
  if (!IsContactRow(row)) return;
  std::vector<std::wstring>& names = m_rows[row].contact.m_groupNames;
  if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

IdList CContactRows::CheckedIds() const {
  IdList ids;
  for (const Row& row : m_rows)
    if (!row.header && row.checked) ids.push_back(row.contact.m_id);
  return ids;
}

int CContactRows::CheckedCount() const {
  return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(),
                                        [](const Row& row) { return !row.header && row.checked; }));
}

void CContactRows::GetCell(int row, int column, CQsGridCell& cell) const {
  if (row < 0 || row >= RowCount()) return;
  const Row& entry = m_rows[row];
  if (entry.header) {
    if (column == 0)
      cell.text = entry.slot == kOtherSlot ? m_look.otherText : std::wstring(1, static_cast<wchar_t>(L'A' + entry.slot));
    return;
  }
  const CContactData& contact = entry.contact;
  switch (column) {
    case kColumnCheck:
      // The first column is the row's star, a box the user clicks to star or
      // unstar the contact; while rows are being checked for deletion it is
      // the deletion check box instead.
      cell.check = true;
      if (m_checkMode) {
        cell.text = entry.checked ? L"1" : L"0";
      } else {
        cell.text = entry.starred ? L"1" : L"0";
        cell.image = entry.starred ? m_look.starOn : m_look.starOff;
      }
      break;
    case kColumnName:
      cell.text = contact.m_name[0];
      break;
    case kColumnPhone:
      cell.text = contact.GetFirstPhone();
      break;
    case kColumnEmail:
      cell.text = contact.GetFirstEmail();
      break;
    case kColumnGroups:
      for (const std::wstring& group : contact.m_groupNames) cell.text += group + L"  ";
      break;
    case kColumnActions:
      cell.actions = {{m_look.editText, nullptr}, {m_look.deleteText, nullptr}};
      break;
    default:
      break;
  }
}

void CContactRows::GetCollapsedSections(std::vector<int>& sectionRows) const {
  for (int row = 0; row < RowCount(); ++row)
    if (m_rows[row].header && m_collapsed[m_rows[row].slot]) sectionRows.push_back(row);
}

void CContactRows::OnSectionToggle(int sectionRow) {
  if (IsSectionRow(sectionRow)) m_collapsed[m_rows[sectionRow].slot] = !m_collapsed[m_rows[sectionRow].slot];
}

}  // namespace Contact
