// Backgrounds, window frames, tree and list parts, the progress bar, the
// contact photo placeholder, the no-SIM picture and the main-menu icon.
#include "SkinFamilies.h"

#include <algorithm>

namespace tamixres::skin {
namespace {

// The side panels (tree, selected tab) share these, so that a selected tab
// runs on into the tree under it without a seam.
Color PanelTop() { return Mix(GetTheme().white, GetTheme().pale, 0.85f); }
Color PanelBottom() { return Mix(GetTheme().pale, GetTheme().band, 0.6f); }
// Body colour of skinned windows: the centre tile and the inside of the frame.
Color WindowBody() { return Mix(GetTheme().pale, GetTheme().white, 0.45f); }

Pixels Cut(const Pixels& from, int x, int y, int w, int h) {
  Pixels out(w, h);
  out.Place(from, -x, -y);
  return out;
}

void Fill(Graphics& g, const RectF& r, Color color) {
  Gdiplus::SolidBrush brush(color);
  g.FillRectangle(&brush, r);
}

}  // namespace

Pixels MainBackground(int w, int h) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    constexpr float kToolbar = 36;  // height of the tab and toolbar row
    FillVertical(g, RectF(0, 0, static_cast<float>(w), kToolbar), t.headerTop, Mix(t.headerBottom, t.headerTop, 0.3f));
    HLine(g, 0, static_cast<float>(w), 0, Faded(t.white, 0.9f));
    HLine(g, 0, static_cast<float>(w), kToolbar - 1, Faded(t.line, 0.75f));
    FillVertical(g, RectF(0, kToolbar, static_cast<float>(w), h - kToolbar), t.white, t.pale);
  });
}

Pixels DialogBackground(int w, int h, float radius) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    RectF r(0.5f, 0.5f, w - 1.0f, h - 1.0f);
    FillRound(g, r, radius, t.white, t.pale);
    // A light band fading out under the title area.
    float band = std::min(44.0f, h / 3.0f);
    FillRound(g, RectF(0.5f, 0.5f, w - 1.0f, band), radius, Faded(t.band, 0.95f), Faded(t.band, 0), kTopCorners);
    StrokeRound(g, Inset(r, 1, 1), radius - 1, Faded(t.white, 0.85f), 1);
    StrokeRound(g, r, radius, t.frameLine, 1);
  });
}

Pixels FramePiece(int w, int h, FramePart part) {
  if (part == FramePart::Centre) return Paint(w, h, [&](Graphics& g) {
      Fill(g, RectF(0, 0, static_cast<float>(w), static_cast<float>(h)), WindowBody());
    });
  // Draw a small whole window whose border is as thick as the piece and cut
  // the piece out of it, so that the nine pieces always fit together.
  bool horizontal = part == FramePart::Top || part == FramePart::Bottom;
  bool vertical = part == FramePart::Left || part == FramePart::Right;
  int thick = horizontal ? h : w;
  int length = horizontal ? w : vertical ? h : 1;
  int size = 2 * thick + length;
  const Theme& t = GetTheme();
  Pixels window = Paint(size, size, [&](Graphics& g) {
    RectF r(0.5f, 0.5f, size - 1.0f, size - 1.0f);
    float radius = thick - 0.5f;  // the border's curve ends where the straight edges begin
    FillRound(g, r, radius, WindowBody(), WindowBody());
    StrokeRound(g, Inset(r, 1, 1), radius - 1, Faded(t.white, 0.9f), 1);
    StrokeRound(g, r, radius, t.frameLine, 1);
  });
  int farEdge = thick + length;
  switch (part) {
    case FramePart::TopLeft: return Cut(window, 0, 0, w, h);
    case FramePart::Top: return Cut(window, thick, 0, w, h);
    case FramePart::TopRight: return Cut(window, size - w, 0, w, h);
    case FramePart::Left: return Cut(window, 0, thick, w, h);
    case FramePart::Right: return Cut(window, farEdge, thick, w, h);
    case FramePart::BottomLeft: return Cut(window, 0, size - h, w, h);
    case FramePart::Bottom: return Cut(window, thick, farEdge, w, h);
    default: return Cut(window, size - w, size - h, w, h);
  }
}

Pixels TreeBackground(int w, int h) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    FillVertical(g, RectF(0, 0, static_cast<float>(w), static_cast<float>(h)), PanelTop(), PanelBottom());
    VLine(g, w - 1.0f, 0, static_cast<float>(h), Faded(t.line, 0.7f));
  });
}

Pixels TreeItem(int w, int h, TreeItemKind kind) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    float fw = static_cast<float>(w), fh = static_cast<float>(h);
    switch (kind) {
      case TreeItemKind::Selected:
        FillVertical(g, RectF(0, 0, fw, fh), Lighter(t.selected, 0.4f), t.selected);
        HLine(g, 0, fw, 0, Mix(t.selected, t.accent, 0.3f));
        HLine(g, 0, fw, fh - 1, Mix(t.selected, t.accent, 0.45f));
        Fill(g, RectF(0, 0, 3, fh), t.accent);
        break;
      case TreeItemKind::Heading:
        // Top-level rows: a faint sheen over the panel and a separator.
        FillVertical(g, RectF(0, 0, fw, fh - 1), Faded(t.white, 0.75f), Faded(t.white, 0.1f));
        HLine(g, 0, fw, fh - 1, Faded(t.line, 0.45f));
        break;
      case TreeItemKind::Plain:
        // The panel shows through; only a short separator, indented like the child rows.
        HLine(g, 14, fw - 10, fh - 1, Faded(t.line, 0.3f));
        break;
    }
  });
}

Pixels ListHeaderSpan(int w, int h) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    FillVertical(g, RectF(0, 0, static_cast<float>(w), h - 1.0f), t.white, Mix(t.band, t.headerBottom, 0.5f));
    HLine(g, 0, static_cast<float>(w), 0, Faded(t.white, 0.9f));
    HLine(g, 0, static_cast<float>(w), h - 1.0f, Faded(t.frameLine, 0.75f));
  });
}

Pixels ListHeaderSeparator(int w, int h) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    // A groove: dark line with a light one beside it, leaving the ends of the
    // header (and its bottom line) to the span underneath.
    float top = std::min(6.0f, h / 4.0f), bottom = h - top;
    VLine(g, 0, top, bottom, Faded(t.line, 0.85f));
    if (w > 1) VLine(g, 1, top, bottom, Faded(t.white, 0.95f));
  });
}

Pixels ProgressTrough(int w, int h) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    RectF r(0.5f, 0.5f, w - 1.0f, h - 1.0f);
    FillRound(g, r, h / 2.0f, Mix(t.band, t.faceBottom, 0.5f), t.white);
    StrokeRound(g, r, h / 2.0f, Faded(t.frameLine, 0.8f), 1);
  });
}

Pixels ProgressFill(int w, int h, ProgressPart part) {
  const Theme& t = GetTheme();
  // One short bar drawn whole; the ends and a middle slice are cut out of it.
  // The bar sits one pixel inside the trough, its ends as round as it is high.
  float radius = (h - 2) / 2.0f;
  int length = 2 * static_cast<int>(radius + 1) + 2 * w + 8;
  Pixels bar = Paint(length, h, [&](Graphics& g) {
    RectF r(1, 1, length - 2.0f, h - 2.0f);
    FillRound(g, r, radius, Lighter(t.accent, 0.3f), Darker(t.accent, 0.08f));
    FillRound(g, RectF(2, 1.5f, length - 4.0f, (h - 2) / 2.0f), radius, Faded(t.white, 0.45f),
              Faded(t.white, 0.08f));
  });
  switch (part) {
    case ProgressPart::Begin: return Cut(bar, 0, 0, w, h);
    case ProgressPart::End: return Cut(bar, length - w, 0, w, h);
    default: return Cut(bar, length / 2, 0, w, h);
  }
}

Pixels GroupBand(int w, int h) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    RectF r(0, 0, static_cast<float>(w), h - 1.0f);
    FillVertical(g, r, Mix(t.band, t.white, 0.5f), t.band);
    Fill(g, RectF(0, 0, 3, h - 1.0f), t.accent);
    HLine(g, 0, static_cast<float>(w), h - 1.0f, Faded(t.line, 0.7f));
  });
}

Pixels Photo(int w, int h) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    RectF r(0.5f, 0.5f, w - 1.0f, h - 1.0f);
    float radius = std::min(w, h) / 14.0f;
    FillRound(g, r, radius, Mix(t.band, t.white, 0.3f), t.selected);
    // The silhouette stands on the bottom edge, cut by the rounded frame.
    Gdiplus::GraphicsPath frame;
    AddRoundRect(frame, r, radius);
    Gdiplus::GraphicsState saved = g.Save();
    g.SetClip(&frame);
    float size = std::min(w, h) * 0.74f;
    Color figure = Faded(t.white, 0.92f);
    DrawGlyph(g, glyph::Person, RectF((w - size) / 2, h - size * 14.4f / 16 - 0.5f, size, size),
              Ink{figure, figure, figure});
    g.Restore(saved);
    StrokeRound(g, Inset(r, 1, 1), radius - 1, Faded(t.white, 0.7f), 1);
    StrokeRound(g, r, radius, Faded(t.frameLine, 0.8f), 1);
  });
}

Pixels NoCard(int w, int h) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    // A SIM card, greyed, with a "none" mark under it.
    float cw = w * 0.7f, ch = cw * 1.3f, x = (w - cw) / 2, y = 4.5f, cut = cw * 0.25f;
    PointF card[] = {PointF(x, y), PointF(x + cw - cut, y), PointF(x + cw, y + cut), PointF(x + cw, y + ch),
                     PointF(x, y + ch)};
    Gdiplus::LinearGradientBrush body(RectF(x, y - 1, cw, ch + 2), t.white, Greyed(t.band, 0.5f),
                                      Gdiplus::LinearGradientModeVertical);
    g.FillPolygon(&body, card, 5);
    Gdiplus::Pen outline(Greyed(t.frameLine, 0.5f), 1.2f);
    outline.SetLineJoin(Gdiplus::LineJoinRound);
    g.DrawPolygon(&outline, card, 5);
    RectF chip(x + cw * 0.22f, y + ch * 0.38f, cw * 0.56f, ch * 0.38f);
    FillRound(g, chip, 3, Greyed(Mix(t.band, t.line, 0.35f), 0.5f), Greyed(Mix(t.band, t.line, 0.55f), 0.5f));
    StrokeRound(g, chip, 3, Greyed(t.frameLine, 0.5f), 1);
    Gdiplus::Pen contact(Faded(Greyed(t.frameLine, 0.5f), 0.6f), 1);
    g.DrawLine(&contact, chip.X, chip.Y + chip.Height / 2, chip.X + chip.Width, chip.Y + chip.Height / 2);
    g.DrawLine(&contact, chip.X + chip.Width / 2, chip.Y, chip.X + chip.Width / 2, chip.Y + chip.Height);
    float r = std::min(w * 0.18f, (h - (y + ch)) / 2 - 3), cx = w / 2.0f, cy = y + ch + (h - (y + ch)) / 2;
    Gdiplus::Pen mark(t.warm, 2.4f);
    g.DrawEllipse(&mark, cx - r, cy - r, 2 * r, 2 * r);
    float d = r * 0.7071f;
    g.DrawLine(&mark, cx - d, cy - d, cx + d, cy + d);
  });
}

Pixels MainMenuIcon(int w, int h, State state) {
  const Theme& t = GetTheme();
  // One drawing for the four states; a tone turns every colour of it.
  auto tone = [state](Color c) {
    switch (state) {
      case State::Hover: return Lighter(c, 0.2f);
      case State::Pressed: return Darker(c, 0.16f);
      case State::Disabled: return Lighter(Greyed(c, 1), 0.35f);
      default: return c;
    }
  };
  float shift = state == State::Pressed ? 1.0f : 0.0f;
  return Paint(w, h, [&](Graphics& g) {
    g.ScaleTransform(w / 72.0f, h / 72.0f);  // designed on a 72 x 72 grid
    if (state == State::Hover) {
      for (int i = 0; i < 6; ++i) {
        float inset = 3.0f + i * 3.5f;
        Gdiplus::SolidBrush halo(Faded(Lighter(t.accent, 0.6f), 0.09f));
        g.FillEllipse(&halo, inset, inset, 72 - 2 * inset, 72 - 2 * inset);
      }
    }
    g.TranslateTransform(shift, shift);
    Color shadow = Faded(t.ink, state == State::Pressed ? 0.12f : 0.2f);

    // the address card
    RectF card(6.5f, 13.5f, 46, 34);
    FillRound(g, Offset(card, 1, 2), 5, shadow, shadow);
    FillRound(g, card, 5, tone(t.white), tone(t.pale));
    FillRound(g, RectF(card.X, card.Y, card.Width, 8), 5, tone(Lighter(t.line, 0.15f)), tone(t.line), kTopCorners);
    StrokeRound(g, card, 5, tone(t.frameLine), 1);
    Gdiplus::SolidBrush person(tone(t.accent));
    g.FillEllipse(&person, 12.5f, 25.0f, 10.0f, 10.0f);
    Gdiplus::GraphicsPath shoulders;
    shoulders.AddArc(9.5f, 36.5f, 16.0f, 14.0f, 180, 180);
    shoulders.CloseFigure();
    Gdiplus::GraphicsState clip = g.Save();
    Gdiplus::GraphicsPath cardPath;
    AddRoundRect(cardPath, card, 5);
    g.SetClip(&cardPath);
    g.FillPath(&person, &shoulders);
    g.Restore(clip);
    for (int i = 0; i < 3; ++i) {
      Gdiplus::Pen text(tone(i == 0 ? t.subInk : Faded(t.line, 0.9f)), 2.4f);
      text.SetStartCap(Gdiplus::LineCapRound);
      text.SetEndCap(Gdiplus::LineCapRound);
      g.DrawLine(&text, 29.5f, 27.5f + i * 5.5f, i == 0 ? 46.0f : 41.0f, 27.5f + i * 5.5f);
    }

    // the calendar page over its corner
    RectF page(33.5f, 31.5f, 33, 33);
    FillRound(g, Offset(page, 1, 2), 5, shadow, shadow);
    FillRound(g, page, 5, tone(t.white), tone(t.pale));
    FillRound(g, RectF(page.X, page.Y, page.Width, 10), 5, tone(Lighter(t.accent, 0.2f)), tone(t.accent), kTopCorners);
    StrokeRound(g, page, 5, tone(Darker(t.frameLine, 0.05f)), 1);
    for (float x : {41.0f, 58.0f}) FillRound(g, RectF(x, 28, 3, 7), 1.5f, tone(t.ink), tone(t.ink));
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 4; ++col) {
        bool today = row == 1 && col == 2;
        Gdiplus::SolidBrush cell(tone(today ? t.warm : Faded(t.line, 0.55f)));
        g.FillRectangle(&cell, RectF(37.5f + col * 7, 45 + row * 6, 5, 4));
      }
  });
}

}  // namespace tamixres::skin
