#include "message/MessageRows.h"

#include <algorithm>
#include <unordered_set>

#include "message/MessageTexts.h"
#include "message/MessageTime.h"

namespace Message {

std::array<double, kMessageColumnCount> MessageColumnFractions(int width) {
  std::array<double, kMessageColumnCount> fractions{0.05, 0.05, 0.15, 0.25, 0.2, 0.2, 0.1};
  if (width > 0 && width * fractions[kColumnAction] < 60) {
    double action = std::min(60.0 / width, fractions[kColumnAction] + fractions[kColumnBody]);
    fractions[kColumnBody] -= action - fractions[kColumnAction];
    fractions[kColumnAction] = action;
  }
  return fractions;
}

void CMessageRows::Clear() {
  m_rows.clear();
  m_messages = 0;
  m_streamHeader = false;
}

void CMessageRows::AppendHeader(const std::wstring& label) {
  Row row;
  row.header = true;
  row.label = label;
  m_rows.push_back(std::move(row));
}

void CMessageRows::AppendMessage(const CSMSData& message) {
  Row row;
  row.locked = message.m_lock != 0;
  row.read = message.m_read != 0;
  row.message = message;
  m_rows.push_back(std::move(row));
  ++m_messages;
}

int CMessageRows::AppendStreamed(const ContentList& batch, int32_t folderId) {
  int appended = 0;
  for (const CContent* record : batch) {
    auto* message = dynamic_cast<const CSMSData*>(record);
    if (!message || message->m_folderId != folderId) continue;
    if (!m_streamHeader) {
      AppendHeader(L"");
      m_streamHeader = true;
    }
    AppendMessage(*message);
    ++appended;
  }
  return appended;
}

void CMessageRows::FillByDay(const ContentList& messages) {
  Clear();
  m_rows.reserve(messages.size() + messages.size() / 8 + 1);
  std::wstring lastLabel;
  bool anyHeader = false;
  for (const CContent* record : messages) {
    auto* message = dynamic_cast<const CSMSData*>(record);
    if (!message) continue;
    std::wstring day = DayKey(message->m_time);
    if (!anyHeader || day != lastLabel) {
      AppendHeader(day);
      lastLabel = std::move(day);
      anyHeader = true;
    }
    AppendMessage(*message);
  }
}

int CMessageRows::FindMessage(ContentId id) const {
  for (int row = 0; row < RowCount(); ++row)
    if (!m_rows[row].header && m_rows[row].message.m_id == id) return row;
  return -1;
}

void CMessageRows::Replace(int row, const CSMSData& message) {
  if (!IsMessageRow(row)) return;
  Row& entry = m_rows[row];
  entry.message = message;
  entry.locked = message.m_lock != 0;
  entry.read = message.m_read != 0;
}

int CMessageRows::Remove(const IdList& ids) {
  std::unordered_set<ContentId> gone(ids.begin(), ids.end());
  std::vector<Row> kept;
  kept.reserve(m_rows.size());
  int removed = 0;
  for (Row& row : m_rows) {
    if (!row.header && gone.count(row.message.m_id)) {
      ++removed;
      continue;
    }
    // A header whose messages all went is dropped when the next header (or
    // the end) shows it has none left.
    if (row.header && !kept.empty() && kept.back().header) kept.pop_back();
    kept.push_back(std::move(row));
  }
  if (!kept.empty() && kept.back().header) kept.pop_back();
  m_rows = std::move(kept);
  m_messages -= removed;
  if (m_rows.empty()) m_streamHeader = false;
  return removed;
}

void CMessageRows::SetRowCheck(int row, bool on) {
  if (IsMessageRow(row)) m_rows[row].checked = on;
}

void CMessageRows::SetAllChecks(bool on) {
  for (Row& row : m_rows)
    if (!row.header) row.checked = on;
}

int CMessageRows::CheckedCount() const {
  return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(), [](const Row& r) { return !r.header && r.checked; }));
}

IdList CMessageRows::CheckedIds() const {
  IdList ids;
  for (const Row& row : m_rows)
    if (!row.header && row.checked) ids.push_back(row.message.m_id);
  return ids;
}

void CMessageRows::GetCell(int row, int column, CQsGridCell& cell) const {
  if (row < 0 || row >= RowCount()) return;
  const Row& entry = m_rows[row];
  if (entry.header) {
    if (column == 0) cell.text = entry.label;
    return;
  }
  const CSMSData& message = entry.message;
  switch (column) {
    case kColumnLock:
      // The lock image, a click on which locks or unlocks the message; while
      // rows are checked for deletion, the deletion box instead.
      if (m_checkMode) {
        cell.check = true;
        cell.text = entry.checked ? L"1" : L"0";
      } else {
        // A clickable image: the grid tells the click like a row action's.
        cell.actions = {{std::wstring(), entry.locked ? m_look.locked : m_look.unlocked}};
      }
      break;
    case kColumnRead:
      cell.image = entry.read ? m_look.read : m_look.unread;
      break;
    case kColumnParty:
      cell.text = PartyShown(message);
      break;
    case kColumnBody:
      cell.text = message.m_body;
      break;
    case kColumnTime:
      cell.text = TimeShown(message.m_time);
      break;
    case kColumnNetwork: {
      auto found = m_look.networkByCard.find(message.m_cardId);
      cell.text = found != m_look.networkByCard.end() ? found->second : m_look.unknownNetwork;
      break;
    }
    case kColumnAction:
      cell.actions = {{m_look.deleteText, m_look.action}};
      break;
    default:
      break;
  }
}

}  // namespace Message
