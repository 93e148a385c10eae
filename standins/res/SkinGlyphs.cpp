#include "SkinGlyphs.h"

#include <cmath>
#include <initializer_list>
#include <vector>

namespace tamixres::skin {
namespace {

constexpr float kPi = 3.14159265f;

void Rounded(Gdiplus::Pen& pen) {
  pen.SetStartCap(Gdiplus::LineCapRound);
  pen.SetEndCap(Gdiplus::LineCapRound);
  pen.SetLineJoin(Gdiplus::LineJoinRound);
}

void Polyline(Graphics& g, Color color, float width, std::initializer_list<PointF> points) {
  Gdiplus::Pen pen(color, width);
  Rounded(pen);
  std::vector<PointF> p(points);
  g.DrawLines(&pen, p.data(), static_cast<INT>(p.size()));
}

void Line(Graphics& g, Color color, float width, float x0, float y0, float x1, float y1) {
  Polyline(g, color, width, {PointF(x0, y0), PointF(x1, y1)});
}

void Polygon(Graphics& g, Color color, std::initializer_list<PointF> points) {
  Gdiplus::SolidBrush brush(color);
  std::vector<PointF> p(points);
  g.FillPolygon(&brush, p.data(), static_cast<INT>(p.size()));
}

void Disc(Graphics& g, Color color, float cx, float cy, float r) {
  Gdiplus::SolidBrush brush(color);
  g.FillEllipse(&brush, cx - r, cy - r, 2 * r, 2 * r);
}

void Ring(Graphics& g, Color color, float width, float cx, float cy, float r) {
  Gdiplus::Pen pen(color, width);
  g.DrawEllipse(&pen, cx - r, cy - r, 2 * r, 2 * r);
}

// An arc around (cx, cy) ending in an arrowhead that points along the turn.
void ArcArrow(Graphics& g, Color color, float cx, float cy, float r, float start, float sweep) {
  Gdiplus::Pen pen(color, 1.8f);
  pen.SetStartCap(Gdiplus::LineCapRound);
  g.DrawArc(&pen, cx - r, cy - r, 2 * r, 2 * r, start, sweep);
  float end = (start + sweep) * kPi / 180;
  PointF tip(cx + r * std::cos(end), cy + r * std::sin(end));
  float dx = -std::sin(end), dy = std::cos(end);  // clockwise tangent (y points down)
  float nx = std::cos(end), ny = std::sin(end);
  Polygon(g, color, {PointF(tip.X + dx * 2.6f, tip.Y + dy * 2.6f), PointF(tip.X + nx * 2.5f, tip.Y + ny * 2.5f),
                     PointF(tip.X - nx * 2.5f, tip.Y - ny * 2.5f)});
}

void Page(Graphics& g, const Ink& ink, Color header) {
  RectF page(1.5f, 2.5f, 13, 12);
  FillRound(g, page, 1.8f, ink.paper, ink.paper);
  FillRound(g, RectF(1.5f, 2.5f, 13, 3.5f), 1.8f, header, header, kTopCorners);
  StrokeRound(g, page, 1.8f, ink.main, 1.2f);
  Line(g, ink.main, 1.4f, 5, 1, 5, 3.5f);
  Line(g, ink.main, 1.4f, 11, 1, 11, 3.5f);
}

}  // namespace

void DrawGlyph(Graphics& g, Glyph glyph, const RectF& box, const Ink& ink) {
  Gdiplus::GraphicsState saved = g.Save();
  g.TranslateTransform(box.X, box.Y);
  g.ScaleTransform(box.Width / 16, box.Height / 16);
  glyph(g, ink);
  g.Restore(saved);
}

namespace glyph {

void Plus(Graphics& g, const Ink& ink) {
  FillRound(g, RectF(1, 1, 14, 14), 7, Lighter(ink.accent, 0.18f), Darker(ink.accent, 0.08f));
  StrokeRound(g, RectF(1, 1, 14, 14), 7, Darker(ink.accent, 0.15f), 0.8f);
  Line(g, ink.paper, 2, 8, 4.6f, 8, 11.4f);
  Line(g, ink.paper, 2, 4.6f, 8, 11.4f, 8);
}

void PlusSmall(Graphics& g, const Ink& ink) {
  Line(g, ink.accent, 2, 8, 3.5f, 8, 12.5f);
  Line(g, ink.accent, 2, 3.5f, 8, 12.5f, 8);
}

void Refresh(Graphics& g, const Ink& ink) {
  ArcArrow(g, ink.accent, 8, 8, 5.4f, 195, 130);
  ArcArrow(g, ink.accent, 8, 8, 5.4f, 15, 130);
}

void Import(Graphics& g, const Ink& ink) {
  Polyline(g, ink.main, 1.6f, {PointF(2.2f, 9.5f), PointF(2.2f, 13.8f), PointF(13.8f, 13.8f), PointF(13.8f, 9.5f)});
  Line(g, ink.accent, 2, 8, 1.5f, 8, 8.5f);
  Polygon(g, ink.accent, {PointF(4.2f, 7.2f), PointF(8, 11.4f), PointF(11.8f, 7.2f)});
}

void Trash(Graphics& g, const Ink& ink) {
  Gdiplus::SolidBrush paper(ink.paper);
  PointF can[] = {PointF(3.6f, 5.6f), PointF(4.7f, 14.3f), PointF(11.3f, 14.3f), PointF(12.4f, 5.6f)};
  g.FillPolygon(&paper, can, 4);
  Gdiplus::Pen pen(ink.main, 1.4f);
  Rounded(pen);
  g.DrawPolygon(&pen, can, 4);
  Line(g, ink.main, 1.6f, 2.4f, 3.9f, 13.6f, 3.9f);
  Polyline(g, ink.main, 1.3f, {PointF(6.2f, 3.6f), PointF(6.6f, 1.8f), PointF(9.4f, 1.8f), PointF(9.8f, 3.6f)});
  Line(g, ink.accent, 1.2f, 6.6f, 7.6f, 6.9f, 12.2f);
  Line(g, ink.accent, 1.2f, 9.4f, 7.6f, 9.1f, 12.2f);
}

void Magnifier(Graphics& g, const Ink& ink) {
  Disc(g, Faded(ink.paper, 0.6f), 6.6f, 6.6f, 4.6f);
  Ring(g, ink.main, 1.7f, 6.6f, 6.6f, 4.6f);
  Line(g, ink.main, 2.4f, 10.2f, 10.2f, 13.8f, 13.8f);
}

void ListLines(Graphics& g, const Ink& ink) {
  for (float y : {3.8f, 8.0f, 12.2f}) {
    Disc(g, ink.accent, 2.8f, y, 1.35f);
    Line(g, ink.main, 1.6f, 6, y, 14, y);
  }
}

void Chat(Graphics& g, const Ink& ink) {
  // the other party's bubble behind, ours in front
  StrokeRound(g, RectF(1, 1.5f, 9.5f, 7), 2.2f, ink.main, 1.3f);
  Polyline(g, ink.main, 1.3f, {PointF(3, 8.5f), PointF(2.4f, 11), PointF(5.5f, 8.5f)});
  FillRound(g, RectF(5.5f, 6, 9.5f, 7), 2.2f, ink.accent, ink.accent);
  Polygon(g, ink.accent, {PointF(11.5f, 12.5f), PointF(13.8f, 15.2f), PointF(13.2f, 12.5f)});
  for (float x : {7.9f, 10.25f, 12.6f}) Disc(g, ink.paper, x, 9.5f, 0.85f);
}

void CalendarDay(Graphics& g, const Ink& ink) {
  Page(g, ink, ink.main);
  FillRound(g, RectF(4.5f, 7.5f, 7, 5), 1, ink.accent, ink.accent);
}

void CalendarWeek(Graphics& g, const Ink& ink) {
  Page(g, ink, ink.main);
  for (int i = 0; i < 5; ++i) {
    float x = 3.4f + i * 2.0f;
    Gdiplus::SolidBrush faint(Faded(ink.main, 0.35f)), strong(ink.accent);
    g.FillRectangle(&faint, RectF(x, 7.4f, 1.4f, 1.4f));
    g.FillRectangle(&strong, RectF(x, 9.6f, 1.4f, 2.0f));
    g.FillRectangle(&faint, RectF(x, 12.3f, 1.4f, 1.4f));
  }
}

void CalendarMonth(Graphics& g, const Ink& ink) {
  Page(g, ink, ink.main);
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 5; ++col) {
      Gdiplus::SolidBrush dot(row == 1 && col == 2 ? ink.accent : ink.main);
      g.FillRectangle(&dot, RectF(3.3f + col * 2.05f, 7.3f + row * 2.2f, 1.4f, 1.4f));
    }
}

void ChevronLeft(Graphics& g, const Ink& ink) {
  Polyline(g, ink.main, 1.8f, {PointF(10, 3.5f), PointF(5.5f, 8), PointF(10, 12.5f)});
}
void ChevronRight(Graphics& g, const Ink& ink) {
  Polyline(g, ink.main, 1.8f, {PointF(6, 3.5f), PointF(10.5f, 8), PointF(6, 12.5f)});
}
void ChevronUp(Graphics& g, const Ink& ink) {
  Polyline(g, ink.main, 1.8f, {PointF(3.5f, 10.2f), PointF(8, 5.7f), PointF(12.5f, 10.2f)});
}
void ChevronDown(Graphics& g, const Ink& ink) {
  Polyline(g, ink.main, 1.8f, {PointF(3.5f, 5.8f), PointF(8, 10.3f), PointF(12.5f, 5.8f)});
}
void DoubleLeft(Graphics& g, const Ink& ink) {
  Polyline(g, ink.main, 1.7f, {PointF(8, 3.5f), PointF(3.5f, 8), PointF(8, 12.5f)});
  Polyline(g, ink.main, 1.7f, {PointF(12.5f, 3.5f), PointF(8, 8), PointF(12.5f, 12.5f)});
}
void DoubleRight(Graphics& g, const Ink& ink) {
  Polyline(g, ink.main, 1.7f, {PointF(3.5f, 3.5f), PointF(8, 8), PointF(3.5f, 12.5f)});
  Polyline(g, ink.main, 1.7f, {PointF(8, 3.5f), PointF(12.5f, 8), PointF(8, 12.5f)});
}

void Cross(Graphics& g, const Ink& ink) {
  Line(g, ink.main, 1.8f, 4.5f, 4.5f, 11.5f, 11.5f);
  Line(g, ink.main, 1.8f, 11.5f, 4.5f, 4.5f, 11.5f);
}

void Tick(Graphics& g, const Ink& ink) {
  Polyline(g, ink.paper, 2.1f, {PointF(3.6f, 8.4f), PointF(6.7f, 11.4f), PointF(12.4f, 4.9f)});
}

namespace {
std::vector<PointF> StarPoints() {
  std::vector<PointF> p;
  for (int i = 0; i < 10; ++i) {
    float angle = (-90 + i * 36) * kPi / 180;
    float r = i % 2 ? 3.1f : 7.2f;
    p.emplace_back(8 + r * std::cos(angle), 8.6f + r * std::sin(angle));
  }
  return p;
}
}  // namespace

void StarFull(Graphics& g, const Ink& ink) {
  auto p = StarPoints();
  Gdiplus::LinearGradientBrush fill(RectF(0, 0, 16, 17), Lighter(ink.accent, 0.25f), Darker(ink.accent, 0.05f),
                                    Gdiplus::LinearGradientModeVertical);
  g.FillPolygon(&fill, p.data(), static_cast<INT>(p.size()));
  Gdiplus::Pen pen(Darker(ink.accent, 0.22f), 0.9f);
  pen.SetLineJoin(Gdiplus::LineJoinRound);
  g.DrawPolygon(&pen, p.data(), static_cast<INT>(p.size()));
}

void StarEmpty(Graphics& g, const Ink& ink) {
  auto p = StarPoints();
  Gdiplus::SolidBrush fill(Faded(ink.paper, 0.7f));
  g.FillPolygon(&fill, p.data(), static_cast<INT>(p.size()));
  Gdiplus::Pen pen(ink.main, 1.1f);
  pen.SetLineJoin(Gdiplus::LineJoinRound);
  g.DrawPolygon(&pen, p.data(), static_cast<INT>(p.size()));
}

void LockClosed(Graphics& g, const Ink& ink) {
  Gdiplus::Pen shackle(ink.main, 1.6f);
  Gdiplus::GraphicsPath path;
  path.AddLine(5.2f, 7.5f, 5.2f, 5.2f);
  path.AddArc(5.2f, 2.0f, 5.6f, 5.6f, 180, 180);
  path.AddLine(10.8f, 5.2f, 10.8f, 7.5f);
  g.DrawPath(&shackle, &path);
  FillRound(g, RectF(3, 7, 10, 7.5f), 1.5f, Lighter(ink.accent, 0.15f), Darker(ink.accent, 0.1f));
  StrokeRound(g, RectF(3, 7, 10, 7.5f), 1.5f, Darker(ink.accent, 0.2f), 0.8f);
  Disc(g, ink.paper, 8, 10, 1.2f);
  Line(g, ink.paper, 1.1f, 8, 10.5f, 8, 12.3f);
}

void LockOpen(Graphics& g, const Ink& ink) {
  Gdiplus::Pen shackle(ink.main, 1.4f);
  Gdiplus::GraphicsPath path;
  path.AddLine(8.8f, 7.5f, 8.8f, 4.6f);
  path.AddArc(8.8f, 1.4f, 5.2f, 5.2f, 180, 180);
  path.AddLine(14.0f, 4.0f, 14.0f, 5.2f);
  g.DrawPath(&shackle, &path);
  FillRound(g, RectF(1.8f, 7, 10, 7.5f), 1.5f, ink.paper, ink.paper);
  StrokeRound(g, RectF(1.8f, 7, 10, 7.5f), 1.5f, ink.main, 1.1f);
  Disc(g, ink.main, 6.8f, 10.4f, 1.0f);
}

void EnvelopeClosed(Graphics& g, const Ink& ink) {
  RectF body(1.5f, 3.5f, 13, 9.5f);
  FillRound(g, body, 1.4f, Lighter(ink.accent, 0.15f), Darker(ink.accent, 0.05f));
  StrokeRound(g, body, 1.4f, Darker(ink.accent, 0.2f), 0.9f);
  Polyline(g, ink.paper, 1.2f, {PointF(2.6f, 4.8f), PointF(8, 9.0f), PointF(13.4f, 4.8f)});
}

void EnvelopeOpen(Graphics& g, const Ink& ink) {
  Gdiplus::SolidBrush paper(ink.paper);
  PointF outline[] = {PointF(1.5f, 7), PointF(8, 2.2f), PointF(14.5f, 7), PointF(14.5f, 14.5f), PointF(1.5f, 14.5f)};
  g.FillPolygon(&paper, outline, 5);
  Gdiplus::Pen pen(ink.main, 1.1f);
  pen.SetLineJoin(Gdiplus::LineJoinRound);
  g.DrawPolygon(&pen, outline, 5);
  Polyline(g, ink.main, 1.0f, {PointF(1.8f, 7.2f), PointF(8, 11.4f), PointF(14.2f, 7.2f)});
  Polyline(g, Faded(ink.main, 0.6f), 0.9f, {PointF(2, 14.2f), PointF(6.3f, 10.2f)});
  Polyline(g, Faded(ink.main, 0.6f), 0.9f, {PointF(14, 14.2f), PointF(9.7f, 10.2f)});
}

void CalendarPage(Graphics& g, const Ink& ink) {
  Page(g, ink, ink.accent);
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 4; ++col) {
      Gdiplus::SolidBrush dot(row == 1 && col == 3 ? ink.accent : Faded(ink.main, 0.55f));
      g.FillRectangle(&dot, RectF(3.6f + col * 2.5f, 8.0f + row * 2.8f, 1.6f, 1.6f));
    }
}

void GroupCorner(Graphics& g, const Ink& ink) {
  // A folded-down corner in the accent colour, sitting in the top left of a header row.
  Gdiplus::GraphicsPath path;
  path.AddLine(0.0f, 0.0f, 10.0f, 0.0f);
  path.AddLine(10.0f, 0.0f, 0.0f, 10.0f);
  path.CloseFigure();
  Gdiplus::LinearGradientBrush fill(RectF(0, 0, 10, 10), Lighter(ink.accent, 0.2f), Darker(ink.accent, 0.08f),
                                    Gdiplus::LinearGradientModeForwardDiagonal);
  g.FillPath(&fill, &path);
  Line(g, Faded(ink.paper, 0.7f), 0.8f, 1.5f, 6.3f, 6.3f, 1.5f);
}

void Person(Graphics& g, const Ink& ink) {
  Disc(g, ink.main, 8, 5.6f, 3.3f);
  Gdiplus::GraphicsPath body;
  body.AddArc(2.2f, 9.4f, 11.6f, 10.0f, 180, 180);
  body.CloseFigure();
  Gdiplus::SolidBrush brush(ink.main);
  g.FillPath(&brush, &body);
}

void Spinner(Graphics& g, const Ink& ink) {
  constexpr int kSpokes = 10;
  for (int i = 0; i < kSpokes; ++i) {
    float angle = (-90 + i * 360.0f / kSpokes) * kPi / 180;
    float c = std::cos(angle), s = std::sin(angle);
    // the head of the turning trail is at the top, the tail fades behind it
    float strength = 1.0f - static_cast<float>((kSpokes - i) % kSpokes) / kSpokes;
    Line(g, Faded(ink.accent, 0.15f + 0.85f * strength), 1.7f, 8 + 3.6f * c, 8 + 3.6f * s, 8 + 6.6f * c,
         8 + 6.6f * s);
  }
}

}  // namespace glyph
}  // namespace tamixres::skin
