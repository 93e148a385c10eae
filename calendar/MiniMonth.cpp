#include "calendar/MiniMonth.h"

#include <algorithm>

#include "framework/Gdi.h"
#include "framework/Text.h"

namespace Calendar {

// ---- the shown month ------------------------------------------------------

DayRange MiniMonthQueryRange(const CCHSDate& shownMonth) {
  const CCHSDate following = FirstOfMonth(StepMonth(FirstOfMonth(shownMonth), 1));
  return {GridStart(shownMonth), AddDays(following, kMonthCells - following.WeekDay())};
}

bool InMiniMonths(const CCHSDate& shownMonth, const CCHSDate& day) {
  const int apart = MonthsBetween(shownMonth, day);
  return apart == 0 || apart == 1;
}

CCHSDate MiniMonthFollow(const CCHSDate& shownMonth, const CCHSDate& selected) {
  return FirstOfMonth(InMiniMonths(shownMonth, selected) ? shownMonth : selected);
}

CCHSDate MiniMonthAfterDoubleClick(const CCHSDate& shownMonth, const CCHSDate& day) {
  const CCHSDate first = FirstOfMonth(shownMonth);
  if (InMiniMonths(first, day)) return first;
  return StepMonth(first, day < first ? -1 : 1);
}

MiniMonthStep StepMiniMonth(const CCHSDate& shownMonth, const CCHSDate& selected, int months) {
  return {StepMonth(FirstOfMonth(shownMonth), months), StepMonth(selected, months)};
}

// ---- layout ---------------------------------------------------------------

MiniMonthLayout LayoutMiniMonth(const MiniMonthInput& input) {
  MiniMonthLayout layout;
  layout.width = input.width;
  layout.height = input.height;
  const int column = std::max(0, (input.width - kMiniWidthTrim) / kMonthColumns);
  const int row = kMiniGridHeight / kMonthRows;
  const int left = (input.width - kMonthColumns * column) / 2;

  std::vector<CCHSDate> eventDays;
  if (input.eventDays) eventDays = *input.eventDays;
  std::sort(eventDays.begin(), eventDays.end());

  const int bw = input.buttonSize.cx, bh = input.buttonSize.cy;
  const int buttonTop = (kMiniTitleHeight - bh) / 2;
  layout.prevButton = {kMiniButtonMargin, buttonTop, kMiniButtonMargin + bw, buttonTop + bh};
  layout.nextButton = {input.width - kMiniButtonMargin - bw, buttonTop, input.width - kMiniButtonMargin,
                       buttonTop + bh};
  layout.hits.push_back({layout.prevButton, MiniHitKind::PrevButton, {}, false});
  layout.hits.push_back({layout.nextButton, MiniHitKind::NextButton, {}, false});

  CCHSDate month = FirstOfMonth(input.shownMonth);
  for (int b = 0; b < kMiniBlocks; ++b, month = StepMonth(month, 1)) {
    MiniBlock& block = layout.blocks[b];
    const int top = b * kMiniBlockHeight;
    block.month = month;
    block.rect = {0, top, input.width, top + kMiniBlockHeight};
    block.title = {0, top, input.width, top + kMiniTitleHeight};
    block.titleText = wf::FormatText(input.titleFormat.c_str(), month.Year(), month.Month());
    const int weekTop = top + kMiniTitleHeight, gridTop = weekTop + kMiniWeekRowHeight;
    block.weekRow = {0, weekTop, input.width, gridTop};
    for (int j = 0; j < kMonthColumns; ++j)
      block.weekdays[j] = {left + j * column, weekTop, left + (j + 1) * column, gridTop};
    block.grid = {left, gridTop, left + kMonthColumns * column, gridTop + kMiniGridHeight};

    block.cells.reserve(kMonthCells);
    CCHSDate day = GridStart(month);
    for (int i = 0; i < kMonthRows; ++i) {
      for (int j = 0; j < kMonthColumns; ++j, day.NextDay()) {
        MiniCell cell;
        const int x = left + j * column, y = gridTop + i * row;
        cell.rect = {x, y, x + column, y + row};
        cell.day = day;
        cell.number = std::to_wstring(day.Day());
        cell.inMonth = SameMonth(day, month);
        cell.today = day == input.today;
        cell.selected = day == input.selected;
        cell.bold = std::binary_search(eventDays.begin(), eventDays.end(), day);
        layout.hits.push_back({cell.rect, MiniHitKind::Day, day, cell.inMonth});
        block.cells.push_back(std::move(cell));
      }
    }
  }
  return layout;
}

const MiniHitItem* HitTestMiniMonth(const MiniMonthLayout& layout, POINT pt) {
  for (const MiniHitItem& item : layout.hits)
    if (PointInRect(item.rect, pt)) return &item;
  return nullptr;
}

// ---- drawing --------------------------------------------------------------

MiniMonthLook LoadMiniMonthLook() {
  MiniMonthLook look;
  auto colour = [](const wchar_t* key, Gdiplus::ARGB& value) { value = LoadViewColour(key, value); };
  colour(L"tamix_color_calendar_left_month_bk_top", look.titleTop);
  colour(L"tamix_color_calendar_left_month_bk_bottom", look.titleBottom);
  colour(L"tamix_color_calendar_left_month_text", look.titleText);
  colour(L"tamix_color_calendar_left_week_bk", look.weekBack);
  colour(L"tamix_color_calendar_left_week_text", look.weekText);
  colour(L"tamix_color_calendar_left_body_othermonth_text", look.otherMonthText);
  colour(L"tamix_color_calendar_left_body_thismonth_text", look.thisMonthText);
  colour(L"tamix_color_calendar_left_body_today_text", look.todayText);
  colour(L"tamix_color_calendar_left_body_today_bk", look.todayBack);
  colour(L"tamix_color_calendar_left_body_seldate_bk", look.selectedBack);
  colour(L"tamix_color_five", look.lines);
  look.titleFont = LoadViewFont(L"tamix_font_gdiplustwo", look.titleFont);
  look.weekFont = LoadViewFont(L"tamix_font_gdiplustwo", look.weekFont);
  look.dayFont = LoadViewFont(L"tamix_font_gdiplusone", look.dayFont);
  static const wchar_t* const kDays[7] = {L"calendar.sunday.short",   L"calendar.monday.short",
                                          L"calendar.tuesday.short",  L"calendar.wednesday.short",
                                          L"calendar.thursday.short", L"calendar.friday.short",
                                          L"calendar.saturday.short"};
  for (int i = 0; i < 7; ++i) look.weekdayNames[i] = LoadViewText(kDays[i]);
  look.prevImage = LoadViewImage(L"pim_calendar_prev.png");
  look.nextImage = LoadViewImage(L"pim_calendar_next.png");
  return look;
}

namespace {

COLORREF ToColorRef(Gdiplus::ARGB colour) {
  return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

HFONT CreateGdiFont(HDC dc, const ViewFont& font, bool bold) {
  LOGFONTW lf{};
  lf.lfHeight = -::MulDiv(static_cast<int>(font.points * 10 + 0.5f), ::GetDeviceCaps(dc, LOGPIXELSY), 720);
  lf.lfWeight = bold || (font.style & Gdiplus::FontStyleBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (font.style & Gdiplus::FontStyleItalic) != 0;
  lf.lfUnderline = (font.style & Gdiplus::FontStyleUnderline) != 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, font.face.empty() ? L"Tahoma" : font.face.c_str(), LF_FACESIZE);
  return ::CreateFontIndirectW(&lf);
}

// Unclipped: a weekday name a little wider than its narrow column still reads
// whole.
void DrawCentred(HDC dc, const std::wstring& text, HFONT font, Gdiplus::ARGB colour, RECT rc) {
  if (text.empty()) return;
  wf::ScopedSelect select(dc, font);
  ::SetTextColor(dc, ToColorRef(colour));
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

// Weekday names wider than their columns ("Wed" in a narrow block) are all
// cut to the same number of first characters, the most that lets every one
// fit (at least one), so the row reads evenly.
void FitWeekdayNames(HDC dc, HFONT font, const std::wstring (&names)[7], int width, std::wstring (&fitted)[7]) {
  wf::ScopedSelect select(dc, font);
  size_t keep = 0;
  for (const std::wstring& name : names) keep = std::max(keep, name.size());
  auto fits = [&](const std::wstring& text) {
    SIZE extent{};
    return ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent) && extent.cx <= width - 2;
  };
  for (const std::wstring& name : names)
    while (keep > 1 && !fits(name.substr(0, keep))) --keep;
  for (int i = 0; i < 7; ++i) fitted[i] = names[i].substr(0, keep);
}

void FillSolid(HDC dc, Gdiplus::ARGB colour, const RECT& rc) {
  wf::ScopedBrush brush(::CreateSolidBrush(ToColorRef(colour)));
  ::FillRect(dc, &rc, brush);
}

// A one-pixel outline just inside `rc`.
void Frame(HDC dc, Gdiplus::ARGB colour, const RECT& rc) {
  wf::ScopedBrush brush(::CreateSolidBrush(ToColorRef(colour)));
  ::FrameRect(dc, &rc, brush);
}

}  // namespace

void PaintMiniMonth(HDC dc, const MiniMonthLayout& layout, const MiniMonthLook& look, MiniHitKind hot, bool pressed) {
  // Surfaces and images with GDI+ (gradients, image strips).
  {
    Gdiplus::Graphics g(dc);
    FillViewRect(g, look.background,
                 RECT{0, 0, layout.width, std::max(layout.height, kMiniBlocks * kMiniBlockHeight)});
    for (const MiniBlock& block : layout.blocks) {
      FillViewGradient(g, look.titleTop, look.titleBottom, block.title);
      FillViewRect(g, look.weekBack, block.weekRow);
      for (const MiniCell& cell : block.cells) {
        if (cell.selected) FillViewRect(g, look.selectedBack, cell.rect);
        if (cell.today) {
          // Selected as well: the selection shows as a rim round today's fill.
          RECT fill = cell.rect;
          if (cell.selected) ::InflateRect(&fill, -2, -2);
          FillViewRect(g, look.todayBack, fill);
        }
      }
    }
    auto button = [&](Gdiplus::Image* image, const RECT& at, MiniHitKind kind) {
      DrawImageFrame(g, image, look.buttonFrames, hot == kind ? (pressed ? 2 : 1) : 0, at);
    };
    button(look.prevImage, layout.prevButton, MiniHitKind::PrevButton);
    button(look.nextImage, layout.nextButton, MiniHitKind::NextButton);
  }

  // Texts and lines with GDI: GDI+ under Wine draws a bold Tahoma exactly as
  // the regular one, and bold is all that marks a day with events.
  wf::ScopedFont titleFont(CreateGdiFont(dc, look.titleFont, false));
  wf::ScopedFont weekFont(CreateGdiFont(dc, look.weekFont, false));
  wf::ScopedFont dayFont(CreateGdiFont(dc, look.dayFont, false));
  wf::ScopedFont boldFont(CreateGdiFont(dc, look.dayFont, true));
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  for (const MiniBlock& block : layout.blocks) {
    DrawCentred(dc, block.titleText, titleFont, look.titleText, block.title);
    std::wstring names[7];
    FitWeekdayNames(dc, weekFont, look.weekdayNames, block.weekdays[0].right - block.weekdays[0].left, names);
    for (int j = 0; j < kMonthColumns; ++j) DrawCentred(dc, names[j], weekFont, look.weekText, block.weekdays[j]);
    // The line under the weekday row.
    FillSolid(dc, look.lines, RECT{block.grid.left, block.grid.top - 1, block.grid.right, block.grid.top});
    for (const MiniCell& cell : block.cells) {
      const Gdiplus::ARGB text = cell.today ? look.todayText : cell.inMonth ? look.thisMonthText : look.otherMonthText;
      DrawCentred(dc, cell.number, cell.bold ? boldFont : dayFont, text, cell.rect);
    }
    Frame(dc, look.lines, block.rect);
  }
  ::SetBkMode(dc, oldMode);
}

}  // namespace Calendar
