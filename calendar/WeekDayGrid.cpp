#include "calendar/WeekDayGrid.h"

#include <algorithm>
#include <cmath>

#include "calendar/LunarNames.h"
#include "framework/Text.h"

namespace Calendar {

namespace {

// Days compared as numbers that sort as the dates do, without building a
// date (which derives the lunar date) for every event.
int DayKey(int year, int month, int day) { return (year * 100 + month) * 100 + day; }
int DayKey(const CCHSDate& day) { return DayKey(day.Year(), day.Month(), day.Day()); }
int TextDayKey(const std::wstring& timeText) {
  return DayKey(TimeYear(timeText), TimeMonth(timeText), TimeDay(timeText));
}

constexpr float kTolerance = 0.5f;  // positions this close count as the same

// Overlapping boxes share the column. Each box starts with the column's x
// and width; a box only moves boxes that came before it.
void ShareColumn(std::vector<EventBox>& boxes, float left, float width) {
  const size_t count = boxes.size();
  std::vector<std::vector<size_t>> overlaps(count);  // each box's earlier overlapping boxes, by x
  std::vector<char> isCollected(count, 0);
  for (size_t i = 0; i < count; ++i) {
    Gdiplus::RectF& box = boxes[i].rect;
    std::vector<size_t>& collected = overlaps[i];
    // The day's order is the provider's, by start time, so an earlier box
    // that ends below this one's top overlaps it.
    for (size_t j = 0; j < i; ++j)
      if (box.Y < boxes[j].rect.Y + boxes[j].rect.Height) collected.push_back(j);
    std::stable_sort(collected.begin(), collected.end(),
                     [&](size_t a, size_t b) { return boxes[a].rect.X < boxes[b].rect.X; });
    if (collected.empty()) continue;  // the whole column

    // Walk from the column's left over the boxes that stand edge to edge.
    float x = left, seen = 0;
    size_t walked = 0;
    for (; walked < collected.size(); ++walked) {
      const Gdiplus::RectF& other = boxes[collected[walked]].rect;
      if (std::fabs(other.X - x) > kTolerance) break;
      x += other.Width;
      seen += other.Width;
    }
    if (width - seen >= kTolerance) {
      const float right = walked < collected.size() ? boxes[collected[walked]].rect.X : left + width;
      // A walk stopped by a box left of the running x (boxes on top of one
      // another) found no gap: share the column as when it is full.
      if (right - x >= kTolerance) {
        box.X = x;
        box.Width = right - x;
        continue;
      }
    }

    // No room: this box and the ones it overlaps get equal slots, in their
    // x order, this one rightmost. A box that an overlapped box overlaps and
    // that lies between them in the day's order is narrowed to a slot too.
    const size_t k = collected.size();
    const float slot = width / static_cast<float>(k + 1);
    for (size_t c : collected) isCollected[c] = 1;
    const size_t firstOrder = collected.front(), lastOrder = collected.back();
    for (size_t n = 0; n < k; ++n) {
      EventBox& other = boxes[collected[n]];
      other.rect.X = left + static_cast<float>(n) * slot;
      other.rect.Width = slot;
      // A box p here comes before `other` in the day's order, so for the
      // first slot it never lies after the first entry: n - 1 >= 0.
      for (size_t p : overlaps[collected[n]]) {
        if (isCollected[p] || p <= firstOrder || p >= lastOrder) continue;
        if (std::fabs(boxes[p].rect.Width - slot) <= kTolerance) continue;
        boxes[p].rect.Width = slot;
        boxes[p].rect.X = left + static_cast<float>(static_cast<int>(n) - 1) * slot;
      }
    }
    for (size_t c : collected) isCollected[c] = 0;
    box.X = left + static_cast<float>(k) * slot;
    box.Width = slot;
  }
}

// The boxes of `events` (the timed ones that reach into `day`) in their order.
std::vector<EventBox> LayoutColumn(const CCHSDate& day, const std::vector<const CCalendarData*>& events, float left,
                                   float width, int column, std::vector<const CCalendarData*>* boxed) {
  std::vector<EventBox> boxes;
  for (size_t k = 0; k < events.size(); ++k) {
    TimeSpan span;
    if (!PlaceTimedEvent(*events[k], day, span)) continue;
    EventBox box;
    box.rect = Gdiplus::RectF(left, span.y, width, span.height);
    box.column = column;
    box.order = static_cast<int>(k);
    box.topic = events[k]->m_topic;
    boxes.push_back(std::move(box));
    if (boxed) boxed->push_back(events[k]);
  }
  ShareColumn(boxes, left, width);
  return boxes;
}

// The events of `day` in the answer; a day the provider named twice keeps
// both lists, one after the other.
void EventsOf(const std::vector<DayModel>* days, const CCHSDate& day, std::vector<const CCalendarData*>& out) {
  out.clear();
  if (!days) return;
  for (const DayModel& model : *days)
    if (model.day == day)
      for (const CCalendarData& event : model.events) out.push_back(&event);
}

}  // namespace

// ---- the time grid --------------------------------------------------------

int MinuteOfDay(const std::wstring& timeText) {
  return std::clamp(TimeHour(timeText) * 60 + TimeMinute(timeText), 0, 24 * 60);
}

bool PlaceTimedEvent(const CCalendarData& event, const CCHSDate& day, TimeSpan& span) {
  if (event.IsAllDay()) return false;
  const int on = DayKey(day);
  const int first = TextDayKey(event.m_start);
  // An end that cannot be read, or lies before the start, ends the event on
  // its first day.
  const int last = std::max(first, TextDayKey(event.m_end));
  if (on < first || on > last) return false;
  constexpr float kGrid = kTimeGridHeight;
  constexpr float kMinutes = 24 * 60;
  const int start = MinuteOfDay(event.m_start), end = MinuteOfDay(event.m_end);
  if (first == on && last == on) {
    span = {kGrid * static_cast<float>(start) / kMinutes, kGrid * static_cast<float>(end - start) / kMinutes};
  } else if (first == on) {
    span = {kGrid * static_cast<float>(start) / kMinutes, kGrid * static_cast<float>(24 * 60 - start) / kMinutes};
  } else if (last == on) {
    span = {0, kGrid * static_cast<float>(end) / kMinutes};
  } else {
    span = {0, kGrid};
  }
  return span.height > 0;
}

std::vector<EventBox> LayoutDayEvents(const CCHSDate& day, const std::vector<CCalendarData>& events, float left,
                                      float width, int column) {
  std::vector<const CCalendarData*> pointers;
  pointers.reserve(events.size());
  for (const CCalendarData& event : events) pointers.push_back(&event);
  return LayoutColumn(day, pointers, left, width, column, nullptr);
}

// ---- days shown and asked for ---------------------------------------------

CCHSDate WeekStart(const CCHSDate& day) { return AddDays(day, -day.WeekDay()); }

TimeQueryPlan PlanWeekQuery(const CCHSDate& shownWeek, const CCHSDate& selected, bool force) {
  TimeQueryPlan plan;
  const CCHSDate week = WeekStart(selected);
  plan.ask = force || week != shownWeek;
  plan.range = {AddDays(week, -7), AddDays(week, 14)};
  const int apart = CCHSDate::DiffDays(week, shownWeek);
  plan.redrawOnAnswer = (apart == 0 || apart == 7 || apart == -7) ? force : true;
  plan.shownFirst = week;
  return plan;
}

TimeQueryPlan PlanDayQuery(const CCHSDate& shownDay, const CCHSDate& selected, bool force) {
  TimeQueryPlan plan;
  plan.ask = force || selected != shownDay;
  plan.range = {AddDays(selected, -1), AddDays(selected, 1)};
  const int apart = CCHSDate::DiffDays(selected, shownDay);
  plan.redrawOnAnswer = (apart >= -1 && apart <= 1) ? force : true;
  plan.shownFirst = selected;
  return plan;
}

CCHSDate ApplyWeekHeaderButton(TimeHeaderButton button, const CCHSDate& selected) {
  CCHSDate day = selected;
  if (button == TimeHeaderButton::Prev) day.SubDays(7);
  if (button == TimeHeaderButton::Next) day.NextWeek();
  return day;
}

CCHSDate ApplyDayHeaderButton(TimeHeaderButton button, const CCHSDate& selected) {
  CCHSDate day = selected;
  if (button == TimeHeaderButton::Prev) day.SubDays(1);
  if (button == TimeHeaderButton::Next) day.NextDay();
  return day;
}

// ---- texts ----------------------------------------------------------------

TimeViewTexts LoadTimeViewTexts() {
  TimeViewTexts texts;
  static const wchar_t* const kDays[7] = {L"calendar.sunday.full",   L"calendar.monday.full", L"calendar.tuesday.full",
                                          L"calendar.wednesday.full", L"calendar.thursday.full",
                                          L"calendar.friday.full",    L"calendar.saturday.full"};
  for (int i = 0; i < 7; ++i) texts.weekdayNames[i] = LoadViewText(kDays[i]);
  texts.weekTitleFormat = LoadViewText(L"calendar_weekview_format");
  texts.allDay = LoadViewText(L"pim.calendar.allday");
  return texts;
}

// ---- headers --------------------------------------------------------------

namespace {

constexpr int kButtonGap = 8;  // between a button and the title
constexpr int kTitleWidth = 180;
constexpr int kAllDayInset = 2;
constexpr int kAllDayLineTrim = 21;  // a line leaves room for the count marker
constexpr int kMarkerSize = 18;

void PlaceTitleRow(TimeHeaderLayout& layout, SIZE button) {
  const int bw = button.cx, bh = button.cy;
  int x = (layout.width - (2 * bw + 2 * kButtonGap + kTitleWidth)) / 2;
  const int top = (kTimeTitleHeight - bh) / 2;
  layout.buttons[0] = {x, top, x + bw, top + bh};
  x += bw + kButtonGap;
  layout.title = {x, 0, x + kTitleWidth, kTimeTitleHeight};
  x += kTitleWidth + kButtonGap;
  layout.buttons[1] = {x, top, x + bw, top + bh};
}

// The all-day lines of one column of the strip, and a count marker when
// they do not all fit.
void PlaceAllDay(TimeHeaderLayout& layout, const TimeHeaderInput& input, const CCHSDate& day, int column, int left,
                 int width) {
  std::vector<const CCalendarData*> events;
  EventsOf(input.days, day, events);
  std::erase_if(events, [](const CCalendarData* e) { return !e->IsAllDay(); });
  if (events.empty()) return;
  const RECT& strip = layout.allDayStrip;
  const int lines = std::max(0, static_cast<int>(strip.bottom - strip.top) - kAllDayInset) / kAllDayLineHeight;
  const int shown = std::min(static_cast<int>(events.size()), lines);
  const Gdiplus::ARGB colour = day < input.today ? month_colours::kPastEventText : month_colours::kEventText;
  const int lineWidth = std::max(0, width - kAllDayLineTrim);
  for (int k = 0; k < shown; ++k) {
    const int x = left + kAllDayInset, y = strip.top + kAllDayInset + k * kAllDayLineHeight;
    AllDayLine line;
    line.rect = {x, y, x + lineWidth, y + kAllDayLineHeight};
    line.column = column;
    line.topic = events[static_cast<size_t>(k)]->m_topic;
    line.colour = colour;
    TimeHitItem hit;
    hit.rect = line.rect;
    hit.kind = TimeHitKind::Event;
    hit.day = day;
    hit.event = *events[static_cast<size_t>(k)];
    layout.allDay.push_back(std::move(line));
    layout.hits.push_back(std::move(hit));
  }
  if (static_cast<int>(events.size()) > shown)
    layout.markers.push_back({{left + width - kMarkerSize, strip.bottom - kMarkerSize, left + width, strip.bottom},
                              static_cast<int>(events.size())});
}

void PlaceAllDayLabel(TimeHeaderLayout& layout, const TimeHeaderInput& input, int stripTop) {
  layout.allDayStrip = {0, stripTop, layout.width, layout.height - 1};  // the closing line below
  // The label stands beside the first line.
  layout.allDayLabel = {0, stripTop + kAllDayInset, kTimeLabelWidth, stripTop + kAllDayInset + kAllDayLineHeight};
  if (input.texts) layout.allDayText = input.texts->allDay;
}

int WeekColumnWidth(int width) { return std::max(0, width - kTimeLabelWidth) / 7; }

}  // namespace

TimeHeaderLayout LayoutWeekHeader(const TimeHeaderInput& input) {
  TimeHeaderLayout layout;
  layout.width = input.width;
  layout.height = kWeekHeaderHeight;
  PlaceTitleRow(layout, input.buttonSize);
  const CCHSDate& selected = input.selected;
  if (input.texts && !input.texts->weekTitleFormat.empty())
    layout.titleText = wf::FormatText(input.texts->weekTitleFormat.c_str(), selected.Year(), selected.Month(),
                                      CCHSDate::GetWeekOfYear(selected.Year(), selected.Month(), selected.Day()));

  layout.titleRow = {0, kTimeTitleHeight, input.width, kWeekColumnTitlesBottom};
  PlaceAllDayLabel(layout, input, kWeekColumnTitlesBottom);
  const int columnWidth = WeekColumnWidth(input.width);
  CCHSDate day = WeekStart(selected);
  for (int d = 0; d < 7; ++d, day.NextDay()) {
    const int left = kTimeLabelWidth + d * columnWidth;
    WeekColumnTitle title;
    title.rect = {left, kTimeTitleHeight, left + columnWidth, kWeekColumnTitlesBottom};
    title.day = day;
    if (input.texts) title.name = input.texts->weekdayNames[day.WeekDay()];
    title.date = day.FormatDate(false);
    if (input.lunarNames) title.lunar = day.GetLunarCellText(*input.lunarNames, input.languageId);
    title.today = day == input.today;
    title.selected = day == selected;
    title.weekend = day.WeekDay() == 0 || day.WeekDay() == 6;
    layout.columns.push_back(std::move(title));
    PlaceAllDay(layout, input, day, d, left, columnWidth);
  }
  return layout;
}

TimeHeaderLayout LayoutDayHeader(const TimeHeaderInput& input) {
  TimeHeaderLayout layout;
  layout.width = input.width;
  layout.height = kDayHeaderHeight;
  PlaceTitleRow(layout, input.buttonSize);
  const CCHSDate& day = input.selected;
  if (input.texts) layout.titleText = input.texts->weekdayNames[day.WeekDay() % 7] + L" ";
  layout.titleText += day.FormatDate(true);
  PlaceAllDayLabel(layout, input, kTimeTitleHeight);
  PlaceAllDay(layout, input, day, 0, kDayViewColumnLeft, std::max(0, input.width - kDayViewColumnLeft));
  return layout;
}

TimeHeaderButton HitTestTimeHeader(const TimeHeaderLayout& layout, POINT pt) {
  for (int i = 0; i < 2; ++i)
    if (PointInRect(layout.buttons[i], pt)) return static_cast<TimeHeaderButton>(i);
  return TimeHeaderButton::None;
}

const TimeHitItem* HitTestAllDay(const TimeHeaderLayout& layout, POINT pt) {
  for (const TimeHitItem& item : layout.hits)
    if (PointInRect(item.rect, pt)) return &item;
  return nullptr;
}

TimeHeaderLook LoadTimeHeaderLook() {
  TimeHeaderLook look;
  look.backTop = LoadViewColour(L"tamix_color_calendar_right_month_bk_top", look.backTop);
  look.backBottom = LoadViewColour(L"tamix_color_calendar_right_month_bk_bottom", look.backBottom);
  look.weekTop = LoadViewColour(L"tamix_color_calendar_right_week_bk_top", look.weekTop);
  look.weekBottom = LoadViewColour(L"tamix_color_calendar_right_week_bk_bottom", look.weekBottom);
  look.titleText = LoadViewColour(L"tamix_color_calendar_left_month_text", look.titleText);
  look.dayText = LoadViewColour(L"tamix_color_calendar_default_text", look.dayText);
  look.todayFill = LoadViewColour(L"tamix_color_calendar_left_body_today_bk", look.todayFill);
  look.todayText = LoadViewColour(L"tamix_color_calendar_left_body_today_text", look.todayText);
  look.selectedFill = LoadViewColour(L"tamix_color_calendar_left_body_seldate_bk", look.selectedFill);
  look.weekendText = LoadViewColour(L"tamix_color_calendar_right_week_dayoff_text", look.weekendText);
  look.titleFont = LoadViewFont(L"tamix_font_gdiplustwo", look.titleFont);
  look.dayFont = LoadViewFont(L"tamix_font_gdiplusone", look.dayFont);
  look.allDayFont = LoadViewFont(L"tamix_font_gdiplustwo", look.allDayFont);
  look.markerFont = LoadViewFont(L"tamix_font_gdiplusfive", look.markerFont);
  look.buttonImages[0] = LoadViewImage(L"pim_calendar_prev.png");
  look.buttonImages[1] = LoadViewImage(L"pim_calendar_next.png");
  return look;
}

TitleColours TitleColoursOf(const TimeHeaderLook& look, const WeekColumnTitle& title) {
  TitleColours colours;
  colours.fill = title.today ? look.todayFill : title.selected ? look.selectedFill : 0;
  colours.text = title.today ? look.todayText : title.weekend ? look.weekendText : look.dayText;
  return colours;
}

namespace {

// A box drawn one pixel inside `pixels`: a frame and its fill.
void DrawEventBox(Gdiplus::Graphics& g, const RECT& pixels, Gdiplus::SolidBrush& frame, Gdiplus::SolidBrush& fill) {
  const int left = pixels.left + 1, top = pixels.top + 1, right = pixels.right - 1, bottom = pixels.bottom - 1;
  if (right <= left || bottom <= top) return;
  g.FillRectangle(&frame, Gdiplus::Rect(left, top, right - left, bottom - top));
  if (right - left > 2 && bottom - top > 2)
    g.FillRectangle(&fill, Gdiplus::Rect(left + 1, top + 1, right - left - 2, bottom - top - 2));
}

}  // namespace

void PaintTimeHeader(Gdiplus::Graphics& g, const TimeHeaderLayout& layout, const TimeHeaderLook& look,
                     TimeHeaderButton hot, bool pressed) {
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
  FillViewGradient(g, look.backTop, look.backBottom, RECT{0, 0, layout.width, layout.height});
  for (int i = 0; i < 2; ++i) {
    const int frame = static_cast<int>(hot) == i ? (pressed ? 2 : 1) : 0;
    DrawImageFrame(g, look.buttonImages[i], look.buttonFrames, frame, layout.buttons[i]);
  }
  const bool week = !layout.columns.empty();
  const auto titleFont = MakeViewFont(week ? look.titleFont : look.dayFont);
  DrawViewText(g, layout.titleText, *titleFont, look.titleText, ToRectF(layout.title), Gdiplus::StringAlignmentCenter);

  if (week) {
    FillViewGradient(g, look.weekTop, look.weekBottom, layout.titleRow);
    const auto dayFont = MakeViewFont(look.dayFont);
    for (const WeekColumnTitle& title : layout.columns) {
      const TitleColours colours = TitleColoursOf(look, title);
      if (colours.fill) FillViewRect(g, colours.fill, title.rect);
      // Name over date; with a lunar text they keep the left half.
      Gdiplus::RectF left = ToRectF(title.rect);
      if (!title.lunar.empty()) left.Width /= 2;
      const float half = left.Height / 2;
      DrawViewText(g, title.name, *dayFont, colours.text, Gdiplus::RectF(left.X, left.Y, left.Width, half),
                   Gdiplus::StringAlignmentCenter);
      DrawViewText(g, title.date, *dayFont, colours.text, Gdiplus::RectF(left.X, left.Y + half, left.Width, half),
                   Gdiplus::StringAlignmentCenter);
      if (!title.lunar.empty())
        DrawViewText(g, title.lunar, *dayFont, colours.text,
                     Gdiplus::RectF(left.X + left.Width, left.Y, left.Width, left.Height),
                     Gdiplus::StringAlignmentCenter);
    }
  }

  const auto labelFont = MakeViewFont(look.allDayFont);
  DrawViewText(g, layout.allDayText, *labelFont, look.dayText, ToRectF(layout.allDayLabel),
               Gdiplus::StringAlignmentCenter);
  const auto eventFont = MakeViewFont(look.allDayEventFont);
  Gdiplus::SolidBrush frame{Gdiplus::Color(look.eventFrame)}, fill{Gdiplus::Color(look.eventFill)};
  for (const AllDayLine& line : layout.allDay) {
    DrawEventBox(g, line.rect, frame, fill);
    Gdiplus::RectF text = ToRectF(line.rect);
    text.X += 3;
    text.Width -= 5;
    DrawViewText(g, line.topic, *eventFont, line.colour, text, Gdiplus::StringAlignmentNear);
  }
  const auto markerFont = MakeViewFont(look.markerFont);
  for (const AllDayMarker& marker : layout.markers) {
    FillViewRect(g, month_colours::kMarkerFill, marker.rect);
    DrawViewText(g, std::to_wstring(marker.count), *markerFont, month_colours::kMarkerText, ToRectF(marker.rect),
                 Gdiplus::StringAlignmentCenter);
  }
  FillViewRect(g, month_colours::kHeaderLine, RECT{0, layout.height - 1, layout.width, layout.height});
}

// ---- body -----------------------------------------------------------------

int MaxTimeScroll(int visibleHeight) { return std::max(0, kTimeGridHeight - visibleHeight); }

int ClampTimeScroll(int position, int visibleHeight) {
  return std::clamp(position, 0, MaxTimeScroll(visibleHeight));
}

namespace {

bool Visible(const RECT& rc, int height) { return rc.bottom > 0 && rc.top < height && rc.right > rc.left; }

TimeBodyLayout LayoutTimeBody(const TimeBodyInput& input, const std::vector<TimeColumn>& columns) {
  TimeBodyLayout layout;
  layout.width = input.width;
  layout.height = input.height;
  layout.scroll = input.scroll;
  layout.columns = columns;

  // Boxes, and the events they show for the hit items.
  std::vector<const CCalendarData*> dayEvents, boxed;
  for (size_t c = 0; c < columns.size(); ++c) {
    const TimeColumn& column = columns[c];
    EventsOf(input.days, column.day, dayEvents);
    std::vector<EventBox> boxes =
        LayoutColumn(column.day, dayEvents, static_cast<float>(column.left), static_cast<float>(column.width),
                     static_cast<int>(c), &boxed);
    const Gdiplus::ARGB colour = column.past ? time_colours::kPastEventText : time_colours::kEventText;
    for (EventBox& box : boxes) {
      box.colour = colour;
      layout.boxes.push_back(std::move(box));
    }
  }

  // Hour rows: the label in the row's top left, the row's line at its
  // bottom, across the labels' column too.
  for (int h = 0; h < 24; ++h) {
    const int top = h * kHourHeight - input.scroll;
    if (top >= input.height || top + kHourHeight <= 0) continue;
    layout.labels.push_back({{0, top, kHourLabelWidth, top + kHourLabelHeight}, h});
    const int lineY = top + kHourLabelHeight;
    if (lineY >= 0 && lineY < input.height) layout.lines.push_back({0, lineY, input.width, lineY + 1});
  }
  const int bottom = std::min(input.height, kTimeGridHeight - input.scroll);
  if (bottom > 0) {
    layout.lines.push_back({kHourLabelWidth, 0, kTimeLabelWidth, bottom});
    if (columns.size() > 1)
      for (const TimeColumn& column : columns) {
        const int x = column.left + column.width - 1;
        layout.lines.push_back({x, 0, x + 1, bottom});
      }
  }

  // Hit items: what is drawn last lies on top and wins.
  for (size_t b = layout.boxes.size(); b-- > 0;) {
    const EventBox& box = layout.boxes[b];
    const RECT pixels = BoxPixels(layout, box);
    if (!Visible(pixels, input.height)) continue;
    TimeHitItem hit;
    hit.rect = pixels;
    hit.kind = TimeHitKind::Event;
    hit.day = columns[static_cast<size_t>(box.column)].day;
    hit.event = *boxed[b];
    layout.hits.push_back(std::move(hit));
  }
  for (const TimeColumn& column : columns) {
    for (int half = 0; half < 48; ++half) {
      const int top = half * kHalfHourHeight - input.scroll;
      const RECT cell{column.left, top, column.left + column.width, top + kHalfHourHeight};
      if (!Visible(cell, input.height)) continue;
      TimeHitItem hit;
      hit.rect = cell;
      hit.day = column.day;
      hit.hour = half / 2;
      hit.minute = half % 2 * 30;
      layout.hits.push_back(std::move(hit));
    }
  }
  return layout;
}

}  // namespace

TimeBodyLayout LayoutWeekBody(const TimeBodyInput& input) {
  std::vector<TimeColumn> columns;
  const int width = WeekColumnWidth(input.width);
  CCHSDate day = WeekStart(input.selected);
  for (int d = 0; d < 7; ++d, day.NextDay())
    columns.push_back({day, kTimeLabelWidth + d * width, width, day < input.today});
  return LayoutTimeBody(input, columns);
}

TimeBodyLayout LayoutDayBody(const TimeBodyInput& input) {
  const TimeColumn column{input.selected, kDayViewColumnLeft, std::max(0, input.width - kDayViewColumnLeft),
                          input.selected < input.today};
  return LayoutTimeBody(input, {column});
}

const TimeHitItem* HitTestTimeBody(const TimeBodyLayout& layout, POINT pt) {
  for (const TimeHitItem& item : layout.hits)
    if (PointInRect(item.rect, pt)) return &item;
  return nullptr;
}

RECT BoxPixels(const TimeBodyLayout& layout, const EventBox& box) {
  const Gdiplus::RectF& r = box.rect;
  return {std::lround(r.X), std::lround(r.Y) - layout.scroll, std::lround(r.X + r.Width),
          std::lround(r.Y + r.Height) - layout.scroll};
}

TimeBodyLook LoadTimeBodyLook() {
  TimeBodyLook look;
  look.bodyFirst = LoadViewColour(L"tamix_color_calendar_right_week_body_first", look.bodyFirst);
  look.bodyLast = LoadViewColour(L"tamix_color_calendar_right_week_body_last", look.bodyLast);
  look.hourFont = LoadViewFont(L"tamix_font_gdiplusseven", look.hourFont);
  return look;
}

void PaintTimeBody(Gdiplus::Graphics& g, const TimeBodyLayout& layout, const TimeBodyLook& look) {
  using Gdiplus::Rect;
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
  // The day's colours run from midnight to midnight and scroll with it.
  FillViewRect(g, look.bodyLast, RECT{0, 0, layout.width, layout.height});
  const int dayTop = -layout.scroll;
  const int top = std::max(0, dayTop), bottom = std::min(layout.height, dayTop + kTimeGridHeight);
  if (layout.width > 0 && bottom > top) {
    Gdiplus::LinearGradientBrush day(Rect(0, dayTop - 1, layout.width, kTimeGridHeight + 2),
                                     Gdiplus::Color(look.bodyFirst), Gdiplus::Color(look.bodyLast),
                                     Gdiplus::LinearGradientModeVertical);
    g.FillRectangle(&day, Rect(0, top, layout.width, bottom - top));
  }

  Gdiplus::SolidBrush line{Gdiplus::Color(time_colours::kGridLine)};
  for (const RECT& rc : layout.lines) g.FillRectangle(&line, Rect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top));

  // A label stands at the top of its hour, centred in the column. "00:00"
  // at 13 points nearly fills the 49 pixels: typographic measures (no
  // padding) and no trimming keep it whole.
  const auto hourFont = MakeViewFont(look.hourFont);
  Gdiplus::StringFormat labelFormat(Gdiplus::StringFormat::GenericTypographic());
  labelFormat.SetFormatFlags(labelFormat.GetFormatFlags() | Gdiplus::StringFormatFlagsNoWrap |
                             Gdiplus::StringFormatFlagsNoClip);
  labelFormat.SetAlignment(Gdiplus::StringAlignmentCenter);
  Gdiplus::SolidBrush labelText{Gdiplus::Color(time_colours::kHourText)};
  for (const HourLabel& label : layout.labels) {
    const std::wstring hour = wf::FormatText(L"%02d:00", label.hour);
    Gdiplus::RectF at = ToRectF(label.rect);
    at.Y += 2;
    g.DrawString(hour.c_str(), static_cast<INT>(hour.size()), hourFont.get(), at, &labelFormat, &labelText);
  }

  const auto eventFont = MakeViewFont(look.eventFont);
  Gdiplus::SolidBrush frame{Gdiplus::Color(look.boxFrame)}, fill{Gdiplus::Color(look.boxFill)};
  Gdiplus::SolidBrush text{Gdiplus::Color(time_colours::kEventText)};
  Gdiplus::ARGB textColour = time_colours::kEventText;
  // A long topic wraps inside its box and ends in an ellipsis. A narrow box
  // (side by side with others) keeps it on one line: wrapped there, words
  // would break between their letters. A box too small for a line shows none.
  Gdiplus::StringFormat wrapped(Gdiplus::StringFormatFlagsLineLimit);
  wrapped.SetTrimming(Gdiplus::StringTrimmingEllipsisWord);
  Gdiplus::StringFormat oneLine(Gdiplus::StringFormatFlagsLineLimit | Gdiplus::StringFormatFlagsNoWrap);
  oneLine.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  constexpr int kMinTextWidth = 8, kMinTextHeight = 12, kMinWrapWidth = 60;
  for (const EventBox& box : layout.boxes) {
    const RECT pixels = BoxPixels(layout, box);
    if (!Visible(pixels, layout.height)) continue;
    DrawEventBox(g, pixels, frame, fill);
    const int width = pixels.right - pixels.left - 5, height = pixels.bottom - pixels.top - 3;
    if (box.topic.empty() || width < kMinTextWidth || height < kMinTextHeight) continue;
    const Gdiplus::RectF at(static_cast<float>(pixels.left + 3), static_cast<float>(pixels.top + 2),
                            static_cast<float>(width), static_cast<float>(height));
    if (box.colour != textColour) text.SetColor(Gdiplus::Color(textColour = box.colour));
    g.DrawString(box.topic.c_str(), static_cast<INT>(box.topic.size()), eventFont.get(), at,
                 width >= kMinWrapWidth ? &wrapped : &oneLine, &text);
  }
}

}  // namespace Calendar
