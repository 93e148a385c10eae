#include "calendar/MonthGrid.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "calendar/LunarNames.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Text.h"

namespace Calendar {

// ---- days and months ------------------------------------------------------

namespace {

int MonthNumber(const CCHSDate& day) { return day.Year() * 12 + day.Month() - 1; }

int FloorDiv(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

CCHSDate FirstOfMonth(const CCHSDate& day) { return CCHSDate(day.Year(), day.Month(), 1); }

CCHSDate AddDays(const CCHSDate& day, int days) {
  CCHSDate moved = day;
  moved.SubDays(-days);
  return moved;
}

CCHSDate GridStart(const CCHSDate& anyDayOfMonth) {
  CCHSDate first = FirstOfMonth(anyDayOfMonth);
  first.SubDays(first.WeekDay());
  return first;
}

bool SameMonth(const CCHSDate& a, const CCHSDate& b) { return a.Year() == b.Year() && a.Month() == b.Month(); }

int MonthsBetween(const CCHSDate& from, const CCHSDate& to) { return MonthNumber(to) - MonthNumber(from); }

CCHSDate StepMonth(const CCHSDate& day, int months) {
  const int target = MonthNumber(day) + months;
  const int year = FloorDiv(target, 12);
  const int month = target - year * 12 + 1;
  return CCHSDate(year, month, std::min(day.Day(), GetDaysOfMonth(month, year)));
}

CCHSDate StepYear(const CCHSDate& day, int years) { return StepMonth(day, 12 * years); }

DayRange MonthViewQueryRange(const CCHSDate& selected) {
  const CCHSDate start = GridStart(selected);
  return {AddDays(start, -42), AddDays(start, 90)};
}

bool IsNeighbourMonth(const CCHSDate& shownMonth, const CCHSDate& selected) {
  const int apart = MonthsBetween(shownMonth, selected);
  return apart >= -1 && apart <= 1;
}

MonthQueryPlan PlanMonthQuery(const CCHSDate& shownMonth, const CCHSDate& selected, bool force) {
  MonthQueryPlan plan;
  plan.ask = force || !SameMonth(shownMonth, selected);
  plan.range = MonthViewQueryRange(selected);
  plan.redrawOnAnswer = IsNeighbourMonth(shownMonth, selected) ? force : true;
  plan.shownMonth = FirstOfMonth(selected);
  return plan;
}

// ---- fonts, colours, images -----------------------------------------------

std::unique_ptr<Gdiplus::Font> MakeViewFont(const ViewFont& font) {
  // Under Wine the generic face ("Microsoft Sans Serif") may be missing as
  // well, so the skin's own face comes first.
  const float points = font.points > 0 ? font.points : 9;
  for (const wchar_t* face : {font.face.c_str(), L"Tahoma"}) {
    if (!*face) continue;
    Gdiplus::FontFamily family(face);
    if (family.GetLastStatus() != Gdiplus::Ok) continue;
    auto made = std::make_unique<Gdiplus::Font>(&family, points, font.style, Gdiplus::UnitPoint);
    if (made->GetLastStatus() == Gdiplus::Ok) return made;
  }
  return std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(), points, font.style,
                                         Gdiplus::UnitPoint);
}

ViewFont LoadViewFont(const wchar_t* key, const ViewFont& fallback) {
  std::wstring face;
  double points = 0;
  int32_t style = 0;
  if (!GetFontEx(key, face, points, style) || face.empty() || points <= 0) return fallback;
  return {face, static_cast<float>(points), style};
}

Gdiplus::ARGB LoadViewColour(const wchar_t* key, Gdiplus::ARGB fallback) {
  BYTE a = 0, r = 0, g = 0, b = 0;
  if (!GetColorARGB(key, a, r, g, b)) return fallback;
  return Gdiplus::Color::MakeARGB(a, r, g, b);
}

std::wstring LoadViewText(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

Gdiplus::Image* LoadViewImage(const wchar_t* name) {
  Gdiplus::Image* image = nullptr;
  GetImage(name, image);
  return image;
}

void DrawImageFrame(Gdiplus::Graphics& g, Gdiplus::Image* image, int frames, int frame, const RECT& at) {
  if (!image || frames <= 0) return;
  const int frameWidth = static_cast<int>(image->GetWidth()) / frames;
  const int height = static_cast<int>(image->GetHeight());
  if (frameWidth <= 0 || height <= 0) return;
  frame = std::clamp(frame, 0, frames - 1);
  g.DrawImage(image, Gdiplus::Rect(at.left, at.top, at.right - at.left, at.bottom - at.top), frame * frameWidth, 0,
              frameWidth, height, Gdiplus::UnitPixel);
}

bool PointInRect(const RECT& rc, POINT pt) {
  return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

Gdiplus::RectF ToRectF(const RECT& rc) {
  return Gdiplus::RectF(static_cast<float>(rc.left), static_cast<float>(rc.top), static_cast<float>(rc.right - rc.left),
                        static_cast<float>(rc.bottom - rc.top));
}

void FillViewRect(Gdiplus::Graphics& g, Gdiplus::ARGB colour, const RECT& rc) {
  Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
  g.FillRectangle(&brush, Gdiplus::Rect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top));
}

// The brush is a pixel taller at each end, or
// GDI+ wraps the bottom colour into the first row.
void FillViewGradient(Gdiplus::Graphics& g, Gdiplus::ARGB top, Gdiplus::ARGB bottom, const RECT& rc) {
  if (rc.right <= rc.left || rc.bottom <= rc.top) return;
  Gdiplus::LinearGradientBrush brush(Gdiplus::Rect(rc.left, rc.top - 1, rc.right - rc.left, rc.bottom - rc.top + 2),
                                     Gdiplus::Color(top), Gdiplus::Color(bottom), Gdiplus::LinearGradientModeVertical);
  g.FillRectangle(&brush, Gdiplus::Rect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top));
}

void DrawViewText(Gdiplus::Graphics& g, const std::wstring& text, const Gdiplus::Font& font, Gdiplus::ARGB colour,
                  const Gdiplus::RectF& rc, Gdiplus::StringAlignment align) {
  if (text.empty() || rc.Width <= 0 || rc.Height <= 0) return;
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
  format.SetAlignment(align);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
  g.DrawString(text.c_str(), static_cast<INT>(text.size()), &font, rc, &format, &brush);
}

float ViewTextWidth(Gdiplus::Graphics& g, const std::wstring& text, const Gdiplus::Font& font) {
  Gdiplus::RectF box;
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
  g.MeasureString(text.c_str(), static_cast<INT>(text.size()), &font, Gdiplus::PointF(0, 0), &format, &box);
  return box.Width;
}

// ---- month body -----------------------------------------------------------

MonthBodyLayout LayoutMonthBody(const MonthBodyInput& input) {
  namespace c = month_colours;
  MonthBodyLayout layout;
  layout.width = input.width;
  layout.height = input.height;
  layout.gridStart = GridStart(input.selected);
  const int cellWidth = input.width / kMonthColumns;
  const int cellHeight = input.height / kMonthRows;

  layout.cells.reserve(kMonthCells);
  CCHSDate day = layout.gridStart;
  for (int i = 0; i < kMonthRows; ++i) {
    for (int j = 0; j < kMonthColumns; ++j) {
      MonthCell cell;
      const int left = j * input.width / kMonthColumns, top = i * input.height / kMonthRows;
      cell.rect = {left, top, left + cellWidth, top + cellHeight};
      cell.strip = {left, top, left + cellWidth, top + std::min(kDayStripHeight, cellHeight)};
      cell.day = day;
      // Today keeps its own colours even when it is also the selected day.
      if (day == input.today) {
        cell.fill = c::kTodayFill, cell.text = c::kTodayText;
      } else if (day == input.selected) {
        cell.fill = c::kSelectedFill, cell.text = c::kSelectedText;
      } else if (SameMonth(day, input.selected)) {
        cell.fill = c::kMonthFill, cell.text = c::kMonthText;
      } else {
        cell.fill = c::kOtherFill, cell.text = c::kOtherText;
      }
      cell.number = std::to_wstring(day.Day());
      if (input.lunarNames) cell.lunar = day.GetLunarCellText(*input.lunarNames, input.languageId);
      layout.cells.push_back(std::move(cell));
      day.NextDay();
    }
  }

  // The events of each shown day; a day the provider named twice keeps both lists.
  std::array<std::vector<const CCalendarData*>, kMonthCells> events;
  if (input.days) {
    for (const DayModel& model : *input.days) {
      const int index = CCHSDate::DiffDays(model.day, layout.gridStart);
      if (index < 0 || index >= kMonthCells) continue;
      for (const CCalendarData& event : model.events) events[static_cast<size_t>(index)].push_back(&event);
    }
  }

  // A line is drawn only when all of it lies inside the cell.
  const int lineHeight = input.lineHeight > 0 ? input.lineHeight : kEventLineHeight;
  layout.linesPerCell = std::max(0, (cellHeight - kDayStripHeight - kEventInset) / lineHeight);
  const int lineWidth = std::max(0, cellWidth - kEventLineTrim);

  // Event lines are recorded before any day cell: a line lies inside its
  // cell, and the first recorded item that holds a point wins, so recorded
  // after the cell a line could never be hit and a double-click on an event
  // would select its day instead of opening the event.
  for (int index = 0; index < kMonthCells; ++index) {
    MonthCell& cell = layout.cells[static_cast<size_t>(index)];
    const auto& dayEvents = events[static_cast<size_t>(index)];
    cell.eventCount = static_cast<int>(dayEvents.size());
    const Gdiplus::ARGB colour = cell.day < input.today ? c::kPastEventText : c::kEventText;
    const int shown = std::min(cell.eventCount, layout.linesPerCell);
    for (int k = 0; k < shown; ++k) {
      const int x = cell.rect.left + kEventInset;
      const int y = cell.rect.top + kDayStripHeight + kEventInset + k * lineHeight;
      MonthEventLine line;
      line.rect = {x, y, x + lineWidth, y + lineHeight};
      line.cell = index;
      line.topic = dayEvents[static_cast<size_t>(k)]->m_topic;
      line.colour = colour;
      layout.lines.push_back(line);
      layout.hits.push_back({line.rect, MonthHitKind::Event, cell.day, *dayEvents[static_cast<size_t>(k)]});
    }
    if (cell.eventCount > layout.linesPerCell) {
      cell.marker = true;
      cell.markerRect = {cell.rect.right - kCountMarkerSize, cell.rect.bottom - kCountMarkerSize, cell.rect.right,
                         cell.rect.bottom};
    }
  }
  for (const MonthCell& cell : layout.cells) layout.hits.push_back({cell.rect, MonthHitKind::Day, cell.day, {}});
  return layout;
}

const MonthHitItem* HitTestMonthBody(const MonthBodyLayout& layout, POINT pt) {
  for (const MonthHitItem& item : layout.hits)
    if (PointInRect(item.rect, pt)) return &item;
  return nullptr;
}

MonthLook LoadMonthLook() {
  MonthLook look;
  look.dayFont = LoadViewFont(L"tamix_font_gdiplusone", look.dayFont);
  look.markerFont = LoadViewFont(L"tamix_font_gdiplusfive", look.markerFont);
  return look;
}

void PaintMonthBody(Gdiplus::Graphics& g, const MonthBodyLayout& layout, const MonthLook& look) {
  const auto dayFont = MakeViewFont(look.dayFont);
  const auto eventFont = MakeViewFont(look.eventFont);
  const auto markerFont = MakeViewFont(look.markerFont);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
  FillViewRect(g, look.background, RECT{0, 0, layout.width, layout.height});

  for (const MonthCell& cell : layout.cells) {
    FillViewRect(g, cell.fill, cell.rect);
    Gdiplus::RectF strip = ToRectF(cell.strip);
    strip.X += kEventInset;
    strip.Width -= kEventInset;
    DrawViewText(g, cell.number, *dayFont, cell.text, strip, Gdiplus::StringAlignmentNear);
    if (!cell.lunar.empty()) {
      const float after = ViewTextWidth(g, cell.number, *dayFont);
      strip.X += after;
      strip.Width -= after;
      DrawViewText(g, cell.lunar, *dayFont, cell.text, strip, Gdiplus::StringAlignmentNear);
    }
  }
  for (const MonthEventLine& line : layout.lines)
    DrawViewText(g, line.topic, *eventFont, line.colour, ToRectF(line.rect), Gdiplus::StringAlignmentNear);
  for (const MonthCell& cell : layout.cells) {
    if (!cell.marker) continue;
    FillViewRect(g, month_colours::kMarkerFill, cell.markerRect);
    DrawViewText(g, std::to_wstring(cell.eventCount), *markerFont, month_colours::kMarkerText, ToRectF(cell.markerRect),
             Gdiplus::StringAlignmentCenter);
  }
}

// ---- month header ---------------------------------------------------------

namespace {

constexpr int kButtonGap = 4;  // between the two buttons of a side
constexpr int kTitleGap = 8;   // between a button and the title
constexpr int kTitleWidth = 100;

}  // namespace

MonthHeaderLayout LayoutMonthHeader(int width, const CCHSDate& selected, SIZE buttonSize) {
  MonthHeaderLayout layout;
  layout.width = width;
  const int bw = buttonSize.cx, bh = buttonSize.cy;
  const int cluster = 4 * bw + 2 * kButtonGap + 2 * kTitleGap + kTitleWidth;
  int x = (width - cluster) / 2;
  const int top = (kMonthTitleHeight - bh) / 2;
  auto place = [&](MonthHeaderButton which, int gapAfter) {
    layout.buttons[static_cast<int>(which)] = {x, top, x + bw, top + bh};
    x += bw + gapAfter;
  };
  place(MonthHeaderButton::PrevYear, kButtonGap);
  place(MonthHeaderButton::PrevMonth, kTitleGap);
  layout.title = {x, 0, x + kTitleWidth, kMonthTitleHeight};
  x += kTitleWidth + kTitleGap;
  place(MonthHeaderButton::NextMonth, kButtonGap);
  place(MonthHeaderButton::NextYear, 0);
  layout.titleText = wf::FormatText(L"%04d-%02d", selected.Year(), selected.Month());

  layout.weekRow = {0, kMonthTitleHeight, width, kMonthHeaderLineY};
  for (int j = 0; j < kMonthColumns; ++j) {
    const int left = j * width / kMonthColumns;
    layout.weekdays[j] = {left, kMonthTitleHeight, left + width / kMonthColumns, kMonthHeaderLineY};
  }
  return layout;
}

MonthHeaderButton HitTestMonthHeader(const MonthHeaderLayout& layout, POINT pt) {
  for (int i = 0; i < 4; ++i)
    if (PointInRect(layout.buttons[i], pt)) return static_cast<MonthHeaderButton>(i);
  return MonthHeaderButton::None;
}

CCHSDate ApplyMonthHeaderButton(MonthHeaderButton button, const CCHSDate& selected) {
  switch (button) {
    case MonthHeaderButton::PrevYear: return StepYear(selected, -1);
    case MonthHeaderButton::PrevMonth: return StepMonth(selected, -1);
    case MonthHeaderButton::NextMonth: return StepMonth(selected, 1);
    case MonthHeaderButton::NextYear: return StepYear(selected, 1);
    case MonthHeaderButton::None: break;
  }
  return selected;
}

MonthHeaderLook LoadMonthHeaderLook() {
  MonthHeaderLook look;
  look.backTop = LoadViewColour(L"tamix_color_calendar_right_month_bk_top", look.backTop);
  look.backBottom = LoadViewColour(L"tamix_color_calendar_right_month_bk_bottom", look.backBottom);
  look.weekTop = LoadViewColour(L"tamix_color_calendar_right_week_bk_top", look.weekTop);
  look.weekBottom = LoadViewColour(L"tamix_color_calendar_right_week_bk_bottom", look.weekBottom);
  look.text = LoadViewColour(L"tamix_color_calendar_default_text", look.text);
  look.titleFont = LoadViewFont(L"tamix_font_gdiplustwo", look.titleFont);
  look.weekFont = LoadViewFont(L"tamix_font_gdiplusone", look.weekFont);
  static const wchar_t* const kDays[7] = {L"calendar.sunday.full",   L"calendar.monday.full", L"calendar.tuesday.full",
                                          L"calendar.wednesday.full", L"calendar.thursday.full",
                                          L"calendar.friday.full",    L"calendar.saturday.full"};
  for (int i = 0; i < 7; ++i) look.weekdayNames[i] = LoadViewText(kDays[i]);
  static const wchar_t* const kImages[4] = {L"pim_calendar_prevyear.png", L"pim_calendar_prev.png",
                                            L"pim_calendar_next.png", L"pim_calendar_nextyear.png"};
  for (int i = 0; i < 4; ++i) look.buttonImages[i] = LoadViewImage(kImages[i]);
  return look;
}

void PaintMonthHeader(Gdiplus::Graphics& g, const MonthHeaderLayout& layout, const MonthHeaderLook& look,
                      MonthHeaderButton hot, bool pressed) {
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
  FillViewGradient(g, look.backTop, look.backBottom, RECT{0, 0, layout.width, kMonthHeaderHeight});
  for (int i = 0; i < 4; ++i) {
    const int frame = static_cast<int>(hot) == i ? (pressed ? 2 : 1) : 0;
    DrawImageFrame(g, look.buttonImages[i], look.buttonFrames, frame, layout.buttons[i]);
  }
  const auto titleFont = MakeViewFont(look.titleFont);
  DrawViewText(g, layout.titleText, *titleFont, look.text, ToRectF(layout.title), Gdiplus::StringAlignmentCenter);

  FillViewGradient(g, look.weekTop, look.weekBottom, layout.weekRow);
  const auto weekFont = MakeViewFont(look.weekFont);
  for (int j = 0; j < kMonthColumns; ++j)
    DrawViewText(g, look.weekdayNames[j], *weekFont, look.text, ToRectF(layout.weekdays[j]),
             Gdiplus::StringAlignmentCenter);
  FillViewRect(g, month_colours::kHeaderLine, RECT{0, kMonthHeaderLineY, layout.width, kMonthHeaderLineY + 1});
}

}  // namespace Calendar
