// The mini month calendar apart from any window: two consecutive months, one
// above the other, with today, the selected day and the days that hold events
// marked. The rules that move the shown month (following the selected day, a
// double-click outside both months, the previous and next buttons), the days
// it asks the provider about, where every part lies, what a point hits, and
// a renderer that draws a layout with a look. CCalendarCtrl asks these;
// tests ask them directly.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "calendar/MonthGrid.h"

namespace Calendar {

constexpr int kMiniBlocks = 2;           // the shown month and the month after it
constexpr int kMiniBlockHeight = 212;
constexpr int kMiniTitleHeight = 30;
constexpr int kMiniWeekRowHeight = 26;
constexpr int kMiniGridHeight = 156;     // six rows of 26
constexpr int kMiniWidthTrim = 5;        // a column is (block width - 5) / 7 wide
constexpr int kMiniButtonMargin = 4;     // the buttons' distance from the title's ends

// ---- the shown month ------------------------------------------------------
// A shown month is given as any day of it; the answers are first days.

// The days whose events mark the two blocks: from the upper block's first
// cell to the day after the lower block's last cell.
DayRange MiniMonthQueryRange(const CCHSDate& shownMonth);

// True when `day` lies in the shown month or the month after it.
bool InMiniMonths(const CCHSDate& shownMonth, const CCHSDate& day);

// The shown month once the selected day has changed: kept while the day is
// in either block (December shown and a January day selected included),
// otherwise the selected day's month.
CCHSDate MiniMonthFollow(const CCHSDate& shownMonth, const CCHSDate& selected);

// The shown month after a double-click on `day`: a leading or trailing day
// of a grid that lies in neither month moves it one month back (a day before
// the shown month) or forward (a day after both).
CCHSDate MiniMonthAfterDoubleClick(const CCHSDate& shownMonth, const CCHSDate& day);

// The previous (-1) and next (+1) buttons: the shown month and the selected
// day move together, the day clamped to the new month's length.
struct MiniMonthStep {
  CCHSDate shownMonth;
  CCHSDate selected;
};
MiniMonthStep StepMiniMonth(const CCHSDate& shownMonth, const CCHSDate& selected, int months);

// ---- layout ---------------------------------------------------------------

struct MiniMonthInput {
  int width = 0;   // the client size; a block is as wide as the client
  int height = 0;
  CCHSDate shownMonth;
  CCHSDate today;
  CCHSDate selected;
  const std::vector<CCHSDate>* eventDays = nullptr;  // drawn bold
  // The title's format with the year and the month as its two integers
  // ("calendar.date.format").
  std::wstring titleFormat = L"%04d-%02d";
  SIZE buttonSize{20, 20};
};

struct MiniCell {
  RECT rect{};
  CCHSDate day;
  std::wstring number;
  bool inMonth = false;   // in the block's month; otherwise a leading or trailing day
  bool today = false;
  bool selected = false;
  bool bold = false;      // the day holds events
};

struct MiniBlock {
  CCHSDate month;  // its first day
  RECT rect{};
  RECT title{};
  std::wstring titleText;
  RECT weekRow{};
  RECT weekdays[7]{};  // Sunday first
  RECT grid{};
  std::vector<MiniCell> cells;  // 42, row by row, from the Sunday on or before the 1st
};

enum class MiniHitKind { None, Day, PrevButton, NextButton };

struct MiniHitItem {
  RECT rect{};
  MiniHitKind kind = MiniHitKind::None;
  CCHSDate day;          // for days
  bool inMonth = false;  // only such days select on a single click
};

struct MiniMonthLayout {
  int width = 0;
  int height = 0;
  MiniBlock blocks[kMiniBlocks];
  RECT prevButton{};  // both in the upper block's title bar
  RECT nextButton{};
  std::vector<MiniHitItem> hits;  // the buttons, then every drawn day
};

MiniMonthLayout LayoutMiniMonth(const MiniMonthInput& input);

// The first recorded item that holds `pt`, or null.
const MiniHitItem* HitTestMiniMonth(const MiniMonthLayout& layout, POINT pt);

// ---- drawing --------------------------------------------------------------

struct MiniMonthLook {
  Gdiplus::ARGB background = 0xFFE1F0FA;
  Gdiplus::ARGB titleTop = 0xFFEEF5FD;        // "tamix_color_calendar_left_month_bk_top"
  Gdiplus::ARGB titleBottom = 0xFFCFE2F7;     // "..._left_month_bk_bottom"
  Gdiplus::ARGB titleText = 0xFF1F3A5F;       // "..._left_month_text"
  Gdiplus::ARGB weekBack = 0xFFDDEBF9;        // "..._left_week_bk"
  Gdiplus::ARGB weekText = 0xFF4A6A90;        // "..._left_week_text"
  Gdiplus::ARGB otherMonthText = 0xFFA7B9CF;  // "..._left_body_othermonth_text"
  Gdiplus::ARGB thisMonthText = 0xFF1F3A5F;   // "..._left_body_thismonth_text"
  Gdiplus::ARGB todayText = 0xFFFFFFFF;       // "..._left_body_today_text"
  Gdiplus::ARGB todayBack = 0xFF2B7BD6;       // "..._left_body_today_bk"
  Gdiplus::ARGB selectedBack = 0xFFBFDBF7;    // "..._left_body_seldate_bk"
  Gdiplus::ARGB lines = 0xFF7FA8D6;           // "tamix_color_five"
  ViewFont titleFont{L"Tahoma", 10, 0};       // "tamix_font_gdiplustwo"
  ViewFont weekFont{L"Tahoma", 10, 0};        // "tamix_font_gdiplustwo"
  ViewFont dayFont{L"Tahoma", 9, 0};          // "tamix_font_gdiplusone"; bold for event days
  std::wstring weekdayNames[7];               // "calendar.sunday.short" ...
  Gdiplus::Image* prevImage = nullptr;        // "pim_calendar_prev.png"; borrowed
  Gdiplus::Image* nextImage = nullptr;        // "pim_calendar_next.png"
  int buttonFrames = 3;                       // normal, hover, pressed
};
// Colours, fonts, texts and images of the resource library.
MiniMonthLook LoadMiniMonthLook();

// `hot` (PrevButton or NextButton) is drawn hovered, or pressed with `pressed`.
// Texts are drawn with GDI into `dc`, surfaces and images with GDI+.
void PaintMiniMonth(HDC dc, const MiniMonthLayout& layout, const MiniMonthLook& look,
                    MiniHitKind hot = MiniHitKind::None, bool pressed = false);

}  // namespace Calendar
