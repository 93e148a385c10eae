#include "calendar/CalendarRows.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace Calendar {
namespace {

// The fixed columns, in pixels.
constexpr double kCheckWidth = 40;
constexpr double kActionsWidth = 80;
// A header this many days or more away from the selected day is never the nearest.
constexpr int kNearestLimit = 1000;

struct Ymd {
  int year = 0, month = 0, day = 0;
  bool operator==(const Ymd&) const = default;
};

Ymd DayOf(const std::wstring& timeText) { return {TimeYear(timeText), TimeMonth(timeText), TimeDay(timeText)}; }
Ymd DayOf(const CCHSDate& date) { return {date.Year(), date.Month(), date.Day()}; }

}  // namespace

std::array<double, kCalendarColumnCount> CalendarColumnFractions(int listWidth) {
  double unit = listWidth > 3 * kCheckWidth ? kCheckWidth / listWidth : 1.0 / 3;
  double rest = 1 - 3 * unit;
  return {unit, rest * 20 / 85, rest * 25 / 85, rest * 20 / 85, rest * 20 / 85, 2 * unit};
}

std::wstring DayLabel(const std::wstring& timeText, const CCHSDate& today, const CalendarDayWords& words) {
  Ymd day = DayOf(timeText);
  if (day == DayOf(today)) return words.today;
  CCHSDate tomorrow = today;
  if (tomorrow.NextDay() && day == DayOf(tomorrow)) return words.tomorrow;
  wchar_t text[32];
  std::swprintf(text, std::size(text), L"%04d-%02d-%02d", day.year, day.month, day.day);
  return text;
}

std::wstring EventTimeText(const CCalendarData& event) {
  if (event.IsAllDay()) return L"00:00-23:59";
  return HourMinuteText(event.m_start) + L"-" + HourMinuteText(event.m_end);
}

std::wstring AttendeeNames(const CCalendarData& event) {
  std::wstring names;
  for (const CAttendee& attendee : event.m_attendees) {
    if (!names.empty()) names += L";";
    names += attendee.m_name;
  }
  return names;
}

void CCalendarRows::Clear() {
  m_rows.clear();
  m_collapsed.clear();
  m_events = 0;
}

void CCalendarRows::AppendHeader(const std::wstring& day, const CCHSDate& selected, int& nearest,
                                 int& nearestDistance) {
  Ymd ymd = DayOf(day);
  int distance = std::abs(CCHSDate::DiffDays(CCHSDate(ymd.year, ymd.month, ymd.day), selected));
  if (distance < nearestDistance) {
    nearestDistance = distance;
    nearest = RowCount();
  }
  Row row;
  row.header = true;
  row.event.m_start = day;
  m_rows.push_back(std::move(row));
}

void CCalendarRows::AppendEvent(const CCalendarData& event) {
  Row row;
  row.event = event;
  m_rows.push_back(std::move(row));
  ++m_events;
}

int CCalendarRows::FillGrouped(const GroupedContent& days, const CCHSDate& selected) {
  Clear();
  int nearest = -1, nearestDistance = kNearestLimit;
  for (const auto& [day, events] : days) {
    AppendHeader(day, selected, nearest, nearestDistance);
    for (const CContent* record : events)
      if (auto* event = dynamic_cast<const CCalendarData*>(record)) AppendEvent(*event);
  }
  return nearest;
}

int CCalendarRows::FillFlat(const ContentList& events, const CCHSDate& selected) {
  Clear();
  int nearest = -1, nearestDistance = kNearestLimit;
  Ymd last;
  for (const CContent* record : events) {
    auto* event = dynamic_cast<const CCalendarData*>(record);
    if (!event) continue;
    Ymd day = DayOf(event->m_start);
    if (m_rows.empty() || !(day == last)) AppendHeader(event->m_start.substr(0, 8), selected, nearest, nearestDistance);
    last = day;
    AppendEvent(*event);
  }
  return nearest;
}

std::wstring CCalendarRows::LabelOf(int row) const {
  if (!IsSectionRow(row)) return {};
  return DayLabel(m_rows[row].event.m_start, m_today, m_look.days);
}

void CCalendarRows::SetTick(int row, bool on) {
  if (IsEventRow(row)) m_rows[row].ticked = on;
}

void CCalendarRows::SetAllTicks(bool on) {
  for (Row& row : m_rows)
    if (!row.header) row.ticked = on;
}

int CCalendarRows::TickedCount() const {
  return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(), [](const Row& r) { return !r.header && r.ticked; }));
}

IdList CCalendarRows::TickedIds() const {
  IdList ids;
  for (const Row& row : m_rows)
    if (!row.header && row.ticked) ids.push_back(row.event.m_id);
  return ids;
}

IdList CCalendarRows::IdsOf(const std::vector<int>& rows) const {
  IdList ids;
  for (int row : rows)
    if (IsEventRow(row)) ids.push_back(m_rows[row].event.m_id);
  return ids;
}

int CCalendarRows::NextEventRow(int row, bool down) const {
  const int step = down ? 1 : -1;
  if (row < 0 && !down) return -1;
  for (int next = row < 0 ? 0 : row + step; next >= 0 && next < RowCount(); next += step)
    if (!m_rows[next].header) return next;
  return -1;
}

void CCalendarRows::OnSectionToggle(int sectionRow) {
  if (!IsSectionRow(sectionRow)) return;
  auto at = std::lower_bound(m_collapsed.begin(), m_collapsed.end(), sectionRow);
  if (at != m_collapsed.end() && *at == sectionRow)
    m_collapsed.erase(at);
  else
    m_collapsed.insert(at, sectionRow);
}

void CCalendarRows::GetCell(int row, int column, CQsGridCell& cell) const {
  if (row < 0 || row >= RowCount()) return;
  const Row& entry = m_rows[row];
  if (entry.header) {
    if (column == 0) cell.text = LabelOf(row);
    return;
  }
  const CCalendarData& event = entry.event;
  switch (column) {
    case kColumnCheck:
      cell.check = true;
      cell.text = entry.ticked ? L"1" : L"0";
      break;
    case kColumnTime:
      cell.text = EventTimeText(event);
      cell.image = m_look.eventImage;
      break;
    case kColumnTopic:
      cell.text = event.m_topic;
      break;
    case kColumnAddress:
      cell.text = event.m_address;
      break;
    case kColumnPeople:
      cell.text = AttendeeNames(event);
      break;
    case kColumnActions:
      cell.actions = {{m_look.editText, nullptr}, {m_look.deleteText, nullptr}};
      break;
    default:
      break;
  }
}

}  // namespace Calendar
