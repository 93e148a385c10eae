#include "SkinPaint.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/suite/ResourceLibrary.h"

namespace tamixres::skin {
namespace {

Color TableColor(const wchar_t* key, uint32_t fallback) {
  BYTE a = 0, r = 0, g = 0, b = 0;
  if (GetColorARGB(key, a, r, g, b)) return Color(a, r, g, b);
  return Color(fallback);
}

BYTE Channel(float value) { return static_cast<BYTE>(std::clamp(value, 0.0f, 255.0f) + 0.5f); }

// A quarter circle as a fine polyline. GDI+ arcs are Bézier curves that some
// implementations flatten coarsely, which shows at the joins of tiled frame
// pieces; a polyline ends exactly where the straight edge begins.
void AddCorner(Gdiplus::GraphicsPath& path, float cx, float cy, float radius, float startDegrees) {
  constexpr float kPi = 3.14159265f;
  int segments = std::max(8, static_cast<int>(radius * 6));
  std::vector<PointF> points;
  for (int i = 0; i <= segments; ++i) {
    float angle = (startDegrees + 90.0f * i / segments) * kPi / 180;
    points.emplace_back(cx + radius * std::cos(angle), cy + radius * std::sin(angle));
  }
  path.AddLines(points.data(), static_cast<INT>(points.size()));
}

}  // namespace

const Theme& GetTheme() {
  static const Theme theme = [] {
    Theme t;
    t.ink = TableColor(L"tamix_color_one", 0xFF1F3A5F);
    t.subInk = TableColor(L"tamix_color_calendar_left_week_text", 0xFF4A6A90);
    t.mutedInk = TableColor(L"tamix_color_calendar_left_body_othermonth_text", 0xFFA7B9CF);
    t.line = TableColor(L"tamix_color_five", 0xFF7FA8D6);
    t.accent = TableColor(L"tamix_color_eight", 0xFF2B7BD6);
    t.faceTop = TableColor(L"tamix_color_calendar_left_month_bk_top", 0xFFEEF5FD);
    t.faceBottom = TableColor(L"tamix_color_calendar_left_month_bk_bottom", 0xFFCFE2F7);
    t.band = TableColor(L"tamix_color_calendar_left_week_bk", 0xFFDDEBF9);
    t.selected = TableColor(L"tamix_color_calendar_left_body_seldate_bk", 0xFFBFDBF7);
    t.pale = TableColor(L"tamix_color_calendar_right_week_body_last", 0xFFF0F6FD);
    t.headerTop = TableColor(L"tamix_color_calendar_right_month_bk_top", 0xFFF4F9FF);
    t.headerBottom = TableColor(L"tamix_color_calendar_right_month_bk_bottom", 0xFFD5E6F8);
    t.warm = TableColor(L"tamix_color_calendar_right_week_dayoff_text", 0xFFC0504D);
    t.white = TableColor(L"tamix_color_calendar_left_body_today_text", 0xFFFFFFFF);
    // No key for these: a warm gold that sits well beside the blues, and an
    // outline a little darker than the line colour so frames hold their shape.
    t.gold = Color(0xFFF0B03C);
    t.frameLine = Mix(t.line, t.ink, 0.3f);
    return t;
  }();
  return theme;
}

Color Mix(Color from, Color to, float t) {
  auto mix = [t](BYTE a, BYTE b) { return Channel(a + (b - a) * t); };
  return Color(mix(from.GetA(), to.GetA()), mix(from.GetR(), to.GetR()), mix(from.GetG(), to.GetG()),
               mix(from.GetB(), to.GetB()));
}

Color Lighter(Color c, float t) { return Mix(c, Color(c.GetA(), 255, 255, 255), t); }
Color Darker(Color c, float t) { return Mix(c, Color(c.GetA(), 0, 0, 0), t); }

Color Greyed(Color c, float t) {
  BYTE grey = Channel(Lightness(c) * 255.0f);
  return Mix(c, Color(c.GetA(), grey, grey, grey), t);
}

Color Faded(Color c, float alpha) { return Color(Channel(c.GetA() * alpha), c.GetR(), c.GetG(), c.GetB()); }

float Lightness(Color c) { return (0.2126f * c.GetR() + 0.7152f * c.GetG() + 0.0722f * c.GetB()) / 255.0f; }

void AddRoundRect(Gdiplus::GraphicsPath& path, const RectF& r, float radius, unsigned corners) {
  radius = std::min({radius, r.Width / 2, r.Height / 2});
  float right = r.X + r.Width, bottom = r.Y + r.Height;
  path.StartFigure();
  if (radius > 0 && (corners & kTopLeft)) AddCorner(path, r.X + radius, r.Y + radius, radius, 180);
  else path.AddLine(r.X, r.Y, r.X, r.Y);
  if (radius > 0 && (corners & kTopRight)) AddCorner(path, right - radius, r.Y + radius, radius, 270);
  else path.AddLine(right, r.Y, right, r.Y);
  if (radius > 0 && (corners & kBottomRight)) AddCorner(path, right - radius, bottom - radius, radius, 0);
  else path.AddLine(right, bottom, right, bottom);
  if (radius > 0 && (corners & kBottomLeft)) AddCorner(path, r.X + radius, bottom - radius, radius, 90);
  else path.AddLine(r.X, bottom, r.X, bottom);
  path.CloseFigure();
}

void FillRound(Graphics& g, const RectF& r, float radius, Color top, Color bottom, unsigned corners) {
  Gdiplus::GraphicsPath path;
  AddRoundRect(path, r, radius, corners);
  // The brush's rectangle reaches past the shape, so that anti-aliased edge
  // pixels do not pick up the colour of the gradient's wrapped-around end.
  Gdiplus::LinearGradientBrush brush(RectF(r.X - 1, r.Y - 1, r.Width + 2, r.Height + 2), top, bottom,
                                     Gdiplus::LinearGradientModeVertical);
  g.FillPath(&brush, &path);
}

void StrokeRound(Graphics& g, const RectF& r, float radius, Color color, float width, unsigned corners) {
  if (color.GetA() == 0) return;
  Gdiplus::GraphicsPath path;
  AddRoundRect(path, r, radius, corners);
  Gdiplus::Pen pen(color, width);
  g.DrawPath(&pen, &path);
}

void FillVertical(Graphics& g, const RectF& r, Color top, Color bottom) {
  Gdiplus::LinearGradientBrush brush(RectF(r.X, r.Y - 1, r.Width, r.Height + 2), top, bottom,
                                     Gdiplus::LinearGradientModeVertical);
  g.FillRectangle(&brush, r);
}

void HLine(Graphics& g, float x0, float x1, float y, Color color) {
  Gdiplus::SolidBrush brush(color);
  g.FillRectangle(&brush, RectF(x0, y, x1 - x0, 1));
}

void VLine(Graphics& g, float x, float y0, float y1, Color color) {
  Gdiplus::SolidBrush brush(color);
  g.FillRectangle(&brush, RectF(x, y0, 1, y1 - y0));
}

RectF Inset(const RectF& r, float dx, float dy) { return RectF(r.X + dx, r.Y + dy, r.Width - 2 * dx, r.Height - 2 * dy); }
RectF Offset(const RectF& r, float dx, float dy) { return RectF(r.X + dx, r.Y + dy, r.Width, r.Height); }

Ink InkFor(State state) {
  const Theme& t = GetTheme();
  switch (state) {
    case State::Hover:
    case State::HoverFocused:
      return {Mix(t.ink, t.accent, 0.35f), Lighter(t.accent, 0.12f), t.white};
    case State::Pressed:
      return {Darker(t.ink, 0.15f), Darker(t.accent, 0.15f), t.white};
    case State::Disabled:
      return {Greyed(Darker(t.mutedInk, 0.05f), 1), Greyed(t.mutedInk, 1), Color(0xFFF7F7F7)};
    case State::Default:
    case State::Selected:
      return {t.white, t.white, t.accent};
    default:
      return {t.ink, t.accent, t.white};
  }
}

FacePalette PlainButtonPalette() {
  const Theme& t = GetTheme();
  return {Lighter(t.faceTop, 0.5f), t.faceBottom, t.frameLine};
}

FacePalette ToolbarPalette() {
  const Theme& t = GetTheme();
  return {t.white, Mix(t.band, t.faceBottom, 0.3f), Faded(t.line, 0.9f)};
}

Face MakeFace(const FacePalette& p, State state) {
  const Theme& t = GetTheme();
  Face f;
  f.top = p.top;
  f.bottom = p.bottom;
  f.border = p.border;
  f.shine = Faded(t.white, 0.85f);
  f.ring = Color(0, 0, 0, 0);
  f.glow = Color(0, 0, 0, 0);
  f.ink = InkFor(state);
  switch (state) {
    case State::Normal:
      break;
    case State::Focused:
      f.ring = Faded(Lighter(t.accent, 0.2f), 0.85f);
      f.border = Mix(p.border, t.accent, 0.5f);
      break;
    case State::Hover:
    case State::HoverFocused:
      f.top = t.white;
      f.bottom = Lighter(p.bottom, 0.55f);
      f.border = Mix(p.border, t.accent, 0.55f);
      f.glow = Faded(t.accent, 0.25f);
      if (state == State::HoverFocused) f.ring = Faded(Lighter(t.accent, 0.2f), 0.85f);
      break;
    case State::Pressed:
      // Lit from below and pushed in: the gradient turns over and darkens.
      f.top = Darker(Mix(p.bottom, t.accent, 0.25f), 0.06f);
      f.bottom = Mix(p.bottom, p.top, 0.35f);
      f.border = Darker(Mix(p.border, t.accent, 0.5f), 0.2f);
      f.shine = Faded(Darker(f.top, 0.35f), 0.45f);
      f.shift = 1;
      break;
    case State::Disabled:
      f.top = Greyed(Lighter(p.top, 0.4f), 1);
      f.bottom = Greyed(Lighter(p.bottom, 0.45f), 1);
      f.border = Greyed(Lighter(p.border, 0.4f), 1);
      f.shine = Faded(t.white, 0.5f);
      break;
    case State::Default:
    case State::Selected:
      f.top = Lighter(t.accent, 0.28f);
      f.bottom = Darker(t.accent, 0.04f);
      f.border = Darker(t.accent, 0.25f);
      f.shine = Faded(t.white, 0.4f);
      break;
  }
  return f;
}

void DrawFace(Graphics& g, const RectF& r, float radius, const Face& face, unsigned corners) {
  if (face.glow.GetA()) StrokeRound(g, Inset(r, -1, -1), radius + 1, face.glow, 1.5f, corners);
  FillRound(g, r, radius, face.top, face.bottom, corners);
  if (face.shine.GetA()) {
    // A highlight (or, pressed, a shadow) along the inside of the top edge,
    // fading out by the middle of the face.
    Gdiplus::GraphicsPath path;
    AddRoundRect(path, Inset(r, 1, 1), std::max(radius - 1, 0.0f), corners);
    RectF band(r.X, r.Y, r.Width, std::max(r.Height / 2, 2.0f));
    Gdiplus::LinearGradientBrush fade(band, face.shine, Faded(face.shine, 0), Gdiplus::LinearGradientModeVertical);
    Gdiplus::Pen pen(&fade, 1);
    Gdiplus::GraphicsState saved = g.Save();
    g.SetClip(band);
    g.DrawPath(&pen, &path);
    g.Restore(saved);
  }
  StrokeRound(g, r, radius, face.border, 1, corners);
  if (face.ring.GetA()) StrokeRound(g, Inset(r, 1.5f, 1.5f), std::max(radius - 1.5f, 0.5f), face.ring, 2, corners);
}

void Pixels::Place(const Pixels& frame, int x, int y) {
  for (int row = 0; row < frame.height; ++row) {
    int ty = y + row;
    if (ty < 0 || ty >= height) continue;
    for (int col = 0; col < frame.width; ++col) {
      int tx = x + col;
      if (tx < 0 || tx >= width) continue;
      argb[static_cast<size_t>(ty) * width + tx] = frame.argb[static_cast<size_t>(row) * frame.width + col];
    }
  }
}

Pixels Paint(int width, int height, const Painter& paint) {
  Pixels out(width, height);
  if (width <= 0 || height <= 0) return out;
  // Small images get 16 samples a pixel; large backgrounds are mostly
  // straight lines and gradients and would only cost memory.
  int area = width * height;
  int s = area <= 40000 ? 4 : area <= 250000 ? 2 : 1;
  Gdiplus::Bitmap big(width * s, height * s, PixelFormat32bppARGB);
  if (big.GetLastStatus() != Gdiplus::Ok) return out;
  {
    Graphics g(&big);
    g.Clear(Color(0, 0, 0, 0));
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.ScaleTransform(static_cast<float>(s), static_cast<float>(s));
    paint(g);
  }
  Gdiplus::BitmapData data{};
  Gdiplus::Rect all(0, 0, width * s, height * s);
  if (big.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return out;
  // Box filter on premultiplied values, so that transparent samples do not
  // darken the edge of a shape.
  const int n = s * s;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint64_t sa = 0, sr = 0, sg = 0, sb = 0;
      for (int j = 0; j < s; ++j) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) +
                                                            static_cast<ptrdiff_t>(y * s + j) * data.Stride);
        for (int i = 0; i < s; ++i) {
          uint32_t p = row[x * s + i];
          uint32_t a = p >> 24;
          sa += a;
          sr += a * ((p >> 16) & 0xFF);
          sg += a * ((p >> 8) & 0xFF);
          sb += a * (p & 0xFF);
        }
      }
      uint32_t pixel = 0;
      if (sa) {
        uint32_t a = static_cast<uint32_t>((sa + n / 2) / n);
        uint32_t r = static_cast<uint32_t>((sr + sa / 2) / sa), gg = static_cast<uint32_t>((sg + sa / 2) / sa),
                 b = static_cast<uint32_t>((sb + sa / 2) / sa);
        pixel = (a << 24) | (r << 16) | (gg << 8) | b;
      }
      out.argb[static_cast<size_t>(y) * width + x] = pixel;
    }
  }
  big.UnlockBits(&data);
  return out;
}

Gdiplus::Bitmap* ToBitmap(const Pixels& pixels) {
  if (pixels.width <= 0 || pixels.height <= 0) return nullptr;
  auto* bitmap = new Gdiplus::Bitmap(pixels.width, pixels.height, PixelFormat32bppARGB);
  Gdiplus::BitmapData data{};
  Gdiplus::Rect all(0, 0, pixels.width, pixels.height);
  if (bitmap->GetLastStatus() != Gdiplus::Ok ||
      bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
    delete bitmap;
    return nullptr;
  }
  for (int y = 0; y < pixels.height; ++y)
    std::memcpy(static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                pixels.argb.data() + static_cast<size_t>(y) * pixels.width, pixels.width * sizeof(uint32_t));
  bitmap->UnlockBits(&data);
  return bitmap;
}

}  // namespace tamixres::skin
