// Small pictures drawn on buttons and in lists. Each glyph draws in a
// 16 x 16 design box with the colours of an Ink; DrawGlyph maps that box
// onto any rectangle.
#pragma once
#include "SkinPaint.h"

namespace tamixres::skin {

using Glyph = void (*)(Graphics& g, const Ink& ink);

void DrawGlyph(Graphics& g, Glyph glyph, const RectF& box, const Ink& ink);

namespace glyph {
// toolbar
void Plus(Graphics& g, const Ink& ink);        // plus in a filled circle
void Refresh(Graphics& g, const Ink& ink);     // two circling arrows
void Import(Graphics& g, const Ink& ink);      // arrow down into a tray
void Trash(Graphics& g, const Ink& ink);       // waste bin
void Magnifier(Graphics& g, const Ink& ink);
// view and mode buttons
void ListLines(Graphics& g, const Ink& ink);
void Chat(Graphics& g, const Ink& ink);        // two speech bubbles
void CalendarDay(Graphics& g, const Ink& ink);
void CalendarWeek(Graphics& g, const Ink& ink);
void CalendarMonth(Graphics& g, const Ink& ink);
// arrows and marks
void ChevronLeft(Graphics& g, const Ink& ink);
void ChevronRight(Graphics& g, const Ink& ink);
void ChevronUp(Graphics& g, const Ink& ink);
void ChevronDown(Graphics& g, const Ink& ink);
void DoubleLeft(Graphics& g, const Ink& ink);
void DoubleRight(Graphics& g, const Ink& ink);
void Cross(Graphics& g, const Ink& ink);
void Tick(Graphics& g, const Ink& ink);
// list icons
void StarFull(Graphics& g, const Ink& ink);
void StarEmpty(Graphics& g, const Ink& ink);
void LockClosed(Graphics& g, const Ink& ink);
void LockOpen(Graphics& g, const Ink& ink);
void EnvelopeClosed(Graphics& g, const Ink& ink);
void EnvelopeOpen(Graphics& g, const Ink& ink);
void CalendarPage(Graphics& g, const Ink& ink);
void GroupCorner(Graphics& g, const Ink& ink);
void Person(Graphics& g, const Ink& ink);
void PlusSmall(Graphics& g, const Ink& ink);   // a bare plus sign
void Spinner(Graphics& g, const Ink& ink);
}  // namespace glyph

}  // namespace tamixres::skin
