// The month view apart from any window: which days a month shows and asks the
// provider for, stepping by months and years, where each day cell, event line
// and count marker of the body lies and in which colours, what a point hits,
// and the header's buttons, title and weekday row. Layout functions answer
// plain structs; the renderers draw a layout with a look (fonts, colours and
// images that the window takes from the resource library) and change nothing.
// The month state and the month body window ask these; tests ask them directly.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "calendar/CHSDate.h"
#include "calendar/CalendarData.h"
#include "calendar/Language.h"
#include "framework/GdiPlus.h"

class CLunarNames;

namespace Calendar {

// ---- days and months ------------------------------------------------------

CCHSDate FirstOfMonth(const CCHSDate& day);
// `days` later (earlier when negative).
CCHSDate AddDays(const CCHSDate& day, int days);
// The Sunday on or before the first day of the day's month: the first cell of
// a month grid.
CCHSDate GridStart(const CCHSDate& anyDayOfMonth);
bool SameMonth(const CCHSDate& a, const CCHSDate& b);
// Months from `from`'s month to `to`'s month; positive when `to` is later.
int MonthsBetween(const CCHSDate& from, const CCHSDate& to);
// The same day `months` months later (earlier when negative), clamped to the
// length of the month reached: 31 January + 1 is 28 or 29 February.
CCHSDate StepMonth(const CCHSDate& day, int months);
// The same, by years: 29 February + 1 year is 28 February.
CCHSDate StepYear(const CCHSDate& day, int years);

struct DayRange {
  CCHSDate from;
  CCHSDate to;
};

// The days the month view asks for: six weeks before the grid's first day to
// 90 days after it, so that stepping to a neighbouring month finds its events
// already loaded.
DayRange MonthViewQueryRange(const CCHSDate& selected);

// True when `selected` lies in the shown month or the month just before or
// after it (whose events the last query already brought).
bool IsNeighbourMonth(const CCHSDate& shownMonth, const CCHSDate& selected);

// What the month state's Query does.
struct MonthQueryPlan {
  bool ask = false;             // ask the provider for `range`
  DayRange range;
  bool redrawOnAnswer = false;  // redraw when the answer arrives
  CCHSDate shownMonth;          // first day of the month now shown
};
// `shownMonth` is the month shown so far (the state starts with 1 January
// 1980). A new month or `force` asks again. A neighbouring month is drawn at
// once from what the last answer brought, so its answer redraws only when
// forced; a month further away has nothing to draw until its answer comes.
MonthQueryPlan PlanMonthQuery(const CCHSDate& shownMonth, const CCHSDate& selected, bool force);

// ---- fonts and colours of the calendar's drawing ---------------------------

// A font as the resource library describes it.
struct ViewFont {
  std::wstring face;
  float points = 9;
  int style = 0;  // Gdiplus::FontStyle bits
};

// The GDI+ font for `font`; a face that is not installed falls back to
// Tahoma, then to the generic sans-serif face (GDI+ has no fallback of its
// own and would draw nothing).
std::unique_ptr<Gdiplus::Font> MakeViewFont(const ViewFont& font);

// Look-ups in the resource library that keep `fallback` for an unknown key.
ViewFont LoadViewFont(const wchar_t* key, const ViewFont& fallback);
Gdiplus::ARGB LoadViewColour(const wchar_t* key, Gdiplus::ARGB fallback);
std::wstring LoadViewText(const wchar_t* key);
Gdiplus::Image* LoadViewImage(const wchar_t* name);  // owned by the library

// Draws frame `frame` of an image strip of `frames` frames side by side
// (normal, hover, pressed) into `at`.
void DrawImageFrame(Gdiplus::Graphics& g, Gdiplus::Image* image, int frames, int frame, const RECT& at);

bool PointInRect(const RECT& rc, POINT pt);  // left <= x < right, top <= y < bottom

Gdiplus::RectF ToRectF(const RECT& rc);
void FillViewRect(Gdiplus::Graphics& g, Gdiplus::ARGB colour, const RECT& rc);
// A vertical gradient from `top` to `bottom` over `rc`.
void FillViewGradient(Gdiplus::Graphics& g, Gdiplus::ARGB top, Gdiplus::ARGB bottom, const RECT& rc);
// One line of text centred vertically in `rc`, cut with an ellipsis when it
// is too long.
void DrawViewText(Gdiplus::Graphics& g, const std::wstring& text, const Gdiplus::Font& font, Gdiplus::ARGB colour,
                  const Gdiplus::RectF& rc, Gdiplus::StringAlignment align);
float ViewTextWidth(Gdiplus::Graphics& g, const std::wstring& text, const Gdiplus::Font& font);

// ---- month body -----------------------------------------------------------

// The events of one day, in the order the provider gave them.
struct DayModel {
  CCHSDate day;
  std::vector<CCalendarData> events;
};

constexpr int kMonthRows = 6;
constexpr int kMonthColumns = 7;
constexpr int kMonthCells = kMonthRows * kMonthColumns;
constexpr int kDayStripHeight = 20;   // the day number and lunar text at a cell's top
constexpr int kEventInset = 2;        // event lines start this far into the event area
constexpr int kEventLineHeight = 18;
constexpr int kEventLineTrim = 21;    // a line is the cell width less this
constexpr int kCountMarkerSize = 18;

namespace month_colours {
constexpr Gdiplus::ARGB kTodayFill = 0xFF4D90D4;
constexpr Gdiplus::ARGB kTodayText = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kSelectedFill = 0xFF91BDEA;
constexpr Gdiplus::ARGB kSelectedText = 0xFF476C8E;
constexpr Gdiplus::ARGB kMonthFill = 0xFFC8D6E6;  // days of the selected month
constexpr Gdiplus::ARGB kMonthText = 0xFF4B6B93;
constexpr Gdiplus::ARGB kOtherFill = 0xFFDBE6EF;  // leading and trailing days
constexpr Gdiplus::ARGB kOtherText = 0xFFC0CFE1;
constexpr Gdiplus::ARGB kEventText = 0xFF355885;
constexpr Gdiplus::ARGB kPastEventText = 0xFFABC0D7;  // events of days before today
constexpr Gdiplus::ARGB kMarkerFill = 0xB4B4783C;
constexpr Gdiplus::ARGB kMarkerText = 0xFF191919;
constexpr Gdiplus::ARGB kHeaderLine = 0x6498ABC7;
}  // namespace month_colours

struct MonthBodyInput {
  int width = 0;   // the body's client size
  int height = 0;
  CCHSDate selected;  // its month is the month shown
  CCHSDate today;
  const std::vector<DayModel>* days = nullptr;
  // Lunar names and the language they are shown in; no names, or a language
  // other than Chinese, draws no lunar text.
  const CLunarNames* lunarNames = nullptr;
  int languageId = kLanguageOther;
  int lineHeight = kEventLineHeight;
};

struct MonthCell {
  RECT rect{};
  RECT strip{};  // the top strip: day number, then lunar text
  CCHSDate day;
  Gdiplus::ARGB fill = 0;
  Gdiplus::ARGB text = 0;
  std::wstring number;
  std::wstring lunar;
  int eventCount = 0;
  bool marker = false;  // more events than lines: the count is shown
  RECT markerRect{};
};

struct MonthEventLine {
  RECT rect{};
  int cell = 0;
  std::wstring topic;
  Gdiplus::ARGB colour = 0;
};

enum class MonthHitKind { Day, Event };

struct MonthHitItem {
  RECT rect{};
  MonthHitKind kind = MonthHitKind::Day;
  CCHSDate day;
  CCalendarData event;  // a copy, for event lines
};

struct MonthBodyLayout {
  int width = 0;
  int height = 0;
  CCHSDate gridStart;
  int linesPerCell = 0;
  std::vector<MonthCell> cells;        // 42, row by row, Sunday first
  std::vector<MonthEventLine> lines;
  std::vector<MonthHitItem> hits;      // the first that holds a point wins
};

MonthBodyLayout LayoutMonthBody(const MonthBodyInput& input);

// The first recorded item that holds `pt`, or null.
const MonthHitItem* HitTestMonthBody(const MonthBodyLayout& layout, POINT pt);

struct MonthLook {
  ViewFont dayFont{L"Tahoma", 9, 0};         // "tamix_font_gdiplusone"
  ViewFont eventFont{L"\u5FAE\u8F6F\u96C5\u9ED1", 12, 0};  // 12-point Microsoft YaHei
  ViewFont markerFont{L"Tahoma", 8, 1};      // "tamix_font_gdiplusfive"
  Gdiplus::ARGB background = 0xFFFFFFFF;     // shows between the cells
};
// The fonts of the resource library.
MonthLook LoadMonthLook();

void PaintMonthBody(Gdiplus::Graphics& g, const MonthBodyLayout& layout, const MonthLook& look);

// ---- month header ---------------------------------------------------------

constexpr int kMonthHeaderHeight = 60;
constexpr int kMonthTitleHeight = 30;  // the weekday row starts below it
constexpr int kMonthHeaderLineY = 59;

enum class MonthHeaderButton : int { None = -1, PrevYear = 0, PrevMonth, NextMonth, NextYear };

struct MonthHeaderLayout {
  int width = 0;
  RECT buttons[4]{};  // by MonthHeaderButton, left to right
  RECT title{};
  std::wstring titleText;  // "%04d-%02d"
  RECT weekRow{};
  RECT weekdays[7]{};  // Sunday first, the body's columns
};

// The title and its four buttons centred in the top 30 pixels; the weekday
// row below, in the same columns as the body's cells.
MonthHeaderLayout LayoutMonthHeader(int width, const CCHSDate& selected, SIZE buttonSize = {20, 20});
MonthHeaderButton HitTestMonthHeader(const MonthHeaderLayout& layout, POINT pt);
// The selected day after a button (None leaves it).
CCHSDate ApplyMonthHeaderButton(MonthHeaderButton button, const CCHSDate& selected);

struct MonthHeaderLook {
  Gdiplus::ARGB backTop = 0xFFF4F9FF;      // "tamix_color_calendar_right_month_bk_top"
  Gdiplus::ARGB backBottom = 0xFFD5E6F8;   // "..._right_month_bk_bottom"
  Gdiplus::ARGB weekTop = 0xFFEAF3FD;      // "..._right_week_bk_top"
  Gdiplus::ARGB weekBottom = 0xFFD0E3F7;   // "..._right_week_bk_bottom"
  Gdiplus::ARGB text = 0xFF1F3A5F;         // "tamix_color_calendar_default_text"
  ViewFont titleFont{L"Tahoma", 10, 0};    // "tamix_font_gdiplustwo"
  ViewFont weekFont{L"Tahoma", 9, 0};      // "tamix_font_gdiplusone"
  std::wstring weekdayNames[7];            // "calendar.sunday.full" ...
  Gdiplus::Image* buttonImages[4]{};       // by MonthHeaderButton; borrowed
  int buttonFrames = 3;                    // normal, hover, pressed
};
MonthHeaderLook LoadMonthHeaderLook();

// `hot` is drawn hovered, or pressed with `pressed`.
void PaintMonthHeader(Gdiplus::Graphics& g, const MonthHeaderLayout& layout, const MonthHeaderLook& look,
                      MonthHeaderButton hot = MonthHeaderButton::None, bool pressed = false);

}  // namespace Calendar
