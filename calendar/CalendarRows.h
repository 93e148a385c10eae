// The rows of the calendar list: a header row for each day, then that day's
// events, and their cells as the super grid asks for them. Plain code: no
// window, no resource call (the day words, action texts and images are handed
// in through the look).
#pragma once
#include <array>
#include <string>
#include <vector>

#include "calendar/CHSDate.h"
#include "calendar/CalendarData.h"
#include "content/Content.h"
#include "controls/GridModel.h"

namespace Calendar {

// The columns of the calendar list, left to right.
enum CalendarColumn { kColumnCheck, kColumnTime, kColumnTopic, kColumnAddress, kColumnPeople, kColumnActions,
                      kCalendarColumnCount };
// The row actions of the operations column.
enum CalendarAction { kActionEdit = 0, kActionDelete = 1 };

// Column widths as fractions of a list `listWidth` pixels wide: the check box
// gets 40 pixels, the operations 80, and the time, topic, address and people
// share the rest 20 : 25 : 20 : 20. A list narrower than the fixed columns
// gives them all of it.
std::array<double, kCalendarColumnCount> CalendarColumnFractions(int listWidth);

// How a day header is labelled: the words for today and tomorrow, other days
// as 2026-03-07.
struct CalendarDayWords {
  std::wstring today;     // "pim_calendar_today"
  std::wstring tomorrow;  // "pim.calendar.tomorrow"
};
// The label of the day of `timeText` (a time text or a day text).
std::wstring DayLabel(const std::wstring& timeText, const CCHSDate& today, const CalendarDayWords& words);

// The time cell: "00:00-23:59" for an all-day event, else start-end as HH:MM-HH:MM.
std::wstring EventTimeText(const CCalendarData& event);
// The attendees' names joined by ";".
std::wstring AttendeeNames(const CCalendarData& event);

struct CalendarRowLook {
  CalendarDayWords days;
  Gdiplus::Image* eventImage = nullptr;  // "pim_calendar_icon.png", before the time
  std::wstring editText;                 // "common.edit"
  std::wstring deleteText;               // "common.delete"
};

class CCalendarRows : public IQsGridModel {
 public:
  struct Row {
    bool header = false;  // a day header row
    bool ticked = false;  // the row's check box
    // The event of an event row. A header row keeps only its day, in the
    // start text ("YYYYMMDD"), so that its label follows "today".
    CCalendarData event;
  };

  void SetLook(const CalendarRowLook& look) { m_look = look; }
  const CalendarRowLook& Look() const { return m_look; }
  // The day that headers call "today" (tomorrow is the day after).
  void SetToday(const CCHSDate& today) { m_today = today; }

  void Clear();
  // A day-grouped answer: per day a header, then its events in answer order.
  // Answers the header row nearest to `selected` (-1 when no day lies within
  // 1000 days of it).
  int FillGrouped(const GroupedContent& days, const CCHSDate& selected);
  // A flat answer (a search): events in answer order, a header wherever the
  // day of an event's start differs from the one before. Answers as above.
  int FillFlat(const ContentList& events, const CCHSDate& selected);

  int RowCount() const { return static_cast<int>(m_rows.size()); }
  const Row& At(int row) const { return m_rows[row]; }
  bool IsEventRow(int row) const { return row >= 0 && row < RowCount() && !m_rows[row].header; }
  int EventCount() const { return m_events; }
  // The label of a header row (empty for other rows).
  std::wstring LabelOf(int row) const;

  void SetTick(int row, bool on);
  void SetAllTicks(bool on);
  int TickedCount() const;
  IdList TickedIds() const;
  // The ids of the event rows among `rows` (others are skipped).
  IdList IdsOf(const std::vector<int>& rows) const;
  // The event row one step down (or up) from `row`, stepping over headers;
  // -1 when there is none. From -1, down is the first event row.
  int NextEventRow(int row, bool down) const;

  // IQsGridModel
  int GetRowCount() const override { return RowCount(); }
  bool IsSectionRow(int row) const override { return row >= 0 && row < RowCount() && m_rows[row].header; }
  void GetCell(int row, int column, CQsGridCell& cell) const override;
  void GetCollapsedSections(std::vector<int>& sectionRows) const override { sectionRows = m_collapsed; }
  void OnSectionToggle(int sectionRow) override;

 private:
  // Appends a header for `day` ("YYYYMMDD..."); keeps it as the nearest when
  // it is nearer to `selected` than `nearestDistance`.
  void AppendHeader(const std::wstring& day, const CCHSDate& selected, int& nearest, int& nearestDistance);
  void AppendEvent(const CCalendarData& event);

  std::vector<Row> m_rows;
  std::vector<int> m_collapsed;  // sorted header rows
  int m_events = 0;
  CCHSDate m_today;
  CalendarRowLook m_look;
};

}  // namespace Calendar
