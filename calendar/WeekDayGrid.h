// The week and day views apart from any window: the days each view shows and
// asks the provider for, stepping by weeks and days, where a timed event
// stands on the 24-hour grid and how overlapping events share a day's column,
// the headers (buttons, title, the week's column titles, the all-day strip),
// the body's hour labels, lines, event boxes and half-hour cells at a scroll
// position, and what a point hits. Layout functions answer plain structs; the
// renderers draw a layout with a look and change nothing. The week and day
// states and body windows ask these; tests ask them directly.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "calendar/MonthGrid.h"

namespace Calendar {

// ---- the time grid --------------------------------------------------------

constexpr int kHourHeight = 60;                  // one minute is one pixel
constexpr int kTimeGridHeight = 24 * kHourHeight;
constexpr int kHalfHourHeight = kHourHeight / 2;
constexpr int kTimeLabelWidth = 50;              // the hour labels' column
constexpr int kDayViewColumnLeft = 52;           // the day view's boxes start here
constexpr int kHourLabelWidth = 49;              // a label's cell, left of the column's line
constexpr int kHourLabelHeight = 59;             // above the hour's line

// Minutes since midnight of a time text's hour and minute.
int MinuteOfDay(const std::wstring& timeText);

// Where a timed event stands in the column of `day`, in grid pixels (0 at
// midnight, kTimeGridHeight at the next).
struct TimeSpan {
  float y = 0;
  float height = 0;
};
// False for an all-day event (it belongs to the all-day strip), for one that
// does not reach into `day`, and for one that takes no time of it (it ends at
// the day's midnight, or ends when it starts): none of these has a box.
bool PlaceTimedEvent(const CCalendarData& event, const CCHSDate& day, TimeSpan& span);

// A timed event's box in a day's column. x and width are body pixels, y and
// height grid pixels (add the scroll position's negative to draw).
struct EventBox {
  Gdiplus::RectF rect;
  int column = 0;        // the day's column in the view
  int order = 0;         // the event's place in its day model
  std::wstring topic;
  Gdiplus::ARGB colour = 0;  // of the topic; set by the body layout
};

// The boxes of one day's timed events in the column [left, left + width),
// in the day's order. Overlapping events share the column side by side:
// each takes the room the earlier ones it overlaps leave free, or, when they
// fill the column, all of them are narrowed to equal slots, the later event
// rightmost. An event that overlaps nothing keeps the whole width.
std::vector<EventBox> LayoutDayEvents(const CCHSDate& day, const std::vector<CCalendarData>& events, float left,
                                      float width, int column = 0);

// ---- days shown and asked for ---------------------------------------------

// The Sunday on or before `day`: the week view's first column.
CCHSDate WeekStart(const CCHSDate& day);

// What the week or day state's Query does.
struct TimeQueryPlan {
  bool ask = false;             // ask the provider for `range`
  DayRange range;
  bool redrawOnAnswer = false;  // redraw when the answer arrives
  CCHSDate shownFirst;          // the week's Sunday, or the day, now shown
};
// Week: a new week or `force` asks for the week before, the week shown and
// the week after. A neighbouring week (or the same) is drawn at once from the
// last answer, so its answer redraws only when forced; a week further away
// has nothing to draw until its answer comes. `shownWeek` is the Sunday shown
// so far (the state starts with 1 January 1980).
TimeQueryPlan PlanWeekQuery(const CCHSDate& shownWeek, const CCHSDate& selected, bool force);
// Day: the same with the day before, the day and the day after.
TimeQueryPlan PlanDayQuery(const CCHSDate& shownDay, const CCHSDate& selected, bool force);

enum class TimeHeaderButton : int { None = -1, Prev = 0, Next };

// The selected day after a button: the week view steps by seven days, the
// day view by one (None leaves it).
CCHSDate ApplyWeekHeaderButton(TimeHeaderButton button, const CCHSDate& selected);
CCHSDate ApplyDayHeaderButton(TimeHeaderButton button, const CCHSDate& selected);

// ---- hit items ------------------------------------------------------------

enum class TimeHitKind { Event, Cell };

struct TimeHitItem {
  RECT rect{};
  TimeHitKind kind = TimeHitKind::Cell;
  CCHSDate day;
  int hour = 0;    // cells: the half hour's start
  int minute = 0;
  CCalendarData event;  // events: a copy
};

// ---- texts ----------------------------------------------------------------

struct TimeViewTexts {
  std::wstring weekdayNames[7];  // "calendar.sunday.full" ...
  std::wstring weekTitleFormat;  // "calendar_weekview_format": year, month, week number
  std::wstring allDay;           // "pim.calendar.allday"
};
TimeViewTexts LoadTimeViewTexts();

// ---- headers --------------------------------------------------------------

constexpr int kWeekHeaderHeight = 102;
constexpr int kDayHeaderHeight = 62;
constexpr int kTimeTitleHeight = 30;      // buttons and title
constexpr int kWeekColumnTitlesBottom = 62;  // the week's column titles lie below the title row
constexpr int kAllDayLineHeight = 18;

struct WeekColumnTitle {
  RECT rect{};
  CCHSDate day;
  std::wstring name;   // the weekday's full name
  std::wstring date;   // MM-DD
  std::wstring lunar;  // in the right half; Chinese only
  bool today = false;
  bool selected = false;
  bool weekend = false;
};

struct AllDayLine {
  RECT rect{};
  int column = 0;
  std::wstring topic;
  Gdiplus::ARGB colour = 0;
};

struct AllDayMarker {  // more all-day events than lines: their count
  RECT rect{};
  int count = 0;
};

struct TimeHeaderInput {
  int width = 0;  // the control's, the same as the body's
  CCHSDate selected;
  CCHSDate today;
  const std::vector<DayModel>* days = nullptr;
  const TimeViewTexts* texts = nullptr;  // none: no names, an empty title
  const CLunarNames* lunarNames = nullptr;
  int languageId = kLanguageOther;
  SIZE buttonSize{20, 20};
};

struct TimeHeaderLayout {
  int width = 0;
  int height = 0;  // kWeekHeaderHeight or kDayHeaderHeight
  RECT buttons[2]{};  // by TimeHeaderButton
  RECT title{};
  std::wstring titleText;
  RECT titleRow{};                       // the week's column titles (empty for the day)
  std::vector<WeekColumnTitle> columns;  // week: seven, Sunday first
  RECT allDayStrip{};
  RECT allDayLabel{};
  std::wstring allDayText;
  std::vector<AllDayLine> allDay;
  std::vector<AllDayMarker> markers;
  std::vector<TimeHitItem> hits;  // the all-day lines
};

// The title between the two buttons in the top 30 pixels; for the week the
// seven column titles over the body's columns below; then the all-day strip
// with its label in the hour labels' column and each day's all-day events as
// lines in that day's column.
TimeHeaderLayout LayoutWeekHeader(const TimeHeaderInput& input);
TimeHeaderLayout LayoutDayHeader(const TimeHeaderInput& input);
TimeHeaderButton HitTestTimeHeader(const TimeHeaderLayout& layout, POINT pt);
const TimeHitItem* HitTestAllDay(const TimeHeaderLayout& layout, POINT pt);

struct TimeHeaderLook {
  Gdiplus::ARGB backTop = 0xFFF4F9FF;       // "tamix_color_calendar_right_month_bk_top"
  Gdiplus::ARGB backBottom = 0xFFD5E6F8;    // "..._right_month_bk_bottom"
  Gdiplus::ARGB weekTop = 0xFFEAF3FD;       // "..._right_week_bk_top"
  Gdiplus::ARGB weekBottom = 0xFFD0E3F7;    // "..._right_week_bk_bottom"
  Gdiplus::ARGB titleText = 0xFF1F3A5F;     // "tamix_color_calendar_left_month_text"
  Gdiplus::ARGB dayText = 0xFF1F3A5F;       // "tamix_color_calendar_default_text"
  Gdiplus::ARGB todayFill = 0xFF2B7BD6;     // "..._left_body_today_bk"
  Gdiplus::ARGB todayText = 0xFFFFFFFF;     // "..._left_body_today_text"
  Gdiplus::ARGB selectedFill = 0xFFBFDBF7;  // "..._left_body_seldate_bk"
  Gdiplus::ARGB weekendText = 0xFFC0504D;   // "..._right_week_dayoff_text"
  Gdiplus::ARGB eventFill = 0xFFDCE8F6;     // all-day lines are drawn as the body's boxes
  Gdiplus::ARGB eventFrame = 0xFF6F93C0;
  ViewFont titleFont{L"Tahoma", 10, 0};     // "tamix_font_gdiplustwo"
  ViewFont dayFont{L"Tahoma", 9, 0};        // "tamix_font_gdiplusone"
  ViewFont allDayFont{L"Tahoma", 10, 0};    // "tamix_font_gdiplustwo"
  // Microsoft YaHei, smaller than the body's 12 points so that a line fits
  // in its 18 pixels.
  ViewFont allDayEventFont{L"\u5FAE\u8F6F\u96C5\u9ED1", 9, 0};
  ViewFont markerFont{L"Tahoma", 8, 1};     // "tamix_font_gdiplusfive"
  Gdiplus::Image* buttonImages[2]{};        // by TimeHeaderButton; borrowed
  int buttonFrames = 3;                     // normal, hover, pressed
};
TimeHeaderLook LoadTimeHeaderLook();

// A column title's colours: the fill today's, else the selected day's, else
// none (0: the row's gradient shows); the text today's, else a weekend's,
// else the ordinary.
struct TitleColours {
  Gdiplus::ARGB fill = 0;
  Gdiplus::ARGB text = 0;
};
TitleColours TitleColoursOf(const TimeHeaderLook& look, const WeekColumnTitle& title);

// `hot` is drawn hovered, or pressed with `pressed`.
void PaintTimeHeader(Gdiplus::Graphics& g, const TimeHeaderLayout& layout, const TimeHeaderLook& look,
                     TimeHeaderButton hot = TimeHeaderButton::None, bool pressed = false);

// ---- body -----------------------------------------------------------------

// The largest scroll position that still fills a body `visibleHeight` high.
int MaxTimeScroll(int visibleHeight);
int ClampTimeScroll(int position, int visibleHeight);

struct TimeBodyInput {
  int width = 0;   // the body's client size: what is visible of the grid
  int height = 0;
  int scroll = 0;  // the grid's y at the body's top
  CCHSDate selected;
  CCHSDate today;
  const std::vector<DayModel>* days = nullptr;
};

struct TimeColumn {
  CCHSDate day;
  int left = 0;
  int width = 0;
  bool past = false;  // before today: its topics are drawn pale
};

struct HourLabel {
  RECT rect{};  // client coordinates
  int hour = 0;
};

struct TimeBodyLayout {
  int width = 0;
  int height = 0;
  int scroll = 0;
  std::vector<TimeColumn> columns;
  std::vector<EventBox> boxes;     // every timed event of the shown days, grid coordinates
  std::vector<HourLabel> labels;   // the visible hours
  std::vector<RECT> lines;         // one pixel wide or high, client coordinates
  // Client coordinates, only what is visible: the boxes (the one drawn on
  // top first), then the half-hour cells; the first that holds a point wins.
  std::vector<TimeHitItem> hits;
};

// Seven columns of (width - 50) / 7, Sunday first, from x 50.
TimeBodyLayout LayoutWeekBody(const TimeBodyInput& input);
// One column from x 52 to the right edge.
TimeBodyLayout LayoutDayBody(const TimeBodyInput& input);

const TimeHitItem* HitTestTimeBody(const TimeBodyLayout& layout, POINT pt);

// A box's pixels: its rectangle rounded to whole pixels, in client
// coordinates. It is drawn one pixel inside these.
RECT BoxPixels(const TimeBodyLayout& layout, const EventBox& box);

namespace time_colours {
constexpr Gdiplus::ARGB kHourText = 0xFF476791;
constexpr Gdiplus::ARGB kGridLine = 0xFF98ABC7;
constexpr Gdiplus::ARGB kEventText = month_colours::kEventText;
constexpr Gdiplus::ARGB kPastEventText = month_colours::kPastEventText;
}  // namespace time_colours

struct TimeBodyLook {
  Gdiplus::ARGB bodyFirst = 0xFFFFFFFF;  // "tamix_color_calendar_right_week_body_first": midnight
  Gdiplus::ARGB bodyLast = 0xFFF0F6FD;   // "..._right_week_body_last": the day's end
  ViewFont hourFont{L"Tahoma", 13, 0};   // "tamix_font_gdiplusseven"
  ViewFont eventFont{L"\u5FAE\u8F6F\u96C5\u9ED1", 12, 0};
  Gdiplus::ARGB boxFill = 0xFFDCE8F6;
  Gdiplus::ARGB boxFrame = 0xFF6F93C0;
};
TimeBodyLook LoadTimeBodyLook();

void PaintTimeBody(Gdiplus::Graphics& g, const TimeBodyLayout& layout, const TimeBodyLook& look);

}  // namespace Calendar
