// Frames of the skinned controls: push, toolbar, view and arrow buttons,
// check and radio boxes, the combo box's drop-down button, tabs and the
// search field. Faces come from MakeFace, so every family shows its states
// the same way: hover lighter with a soft halo, pressed darker and pushed in,
// focused with an accent ring, disabled grey.
#include "SkinFamilies.h"

#include <algorithm>

namespace tamixres::skin {
namespace {

RectF FaceRect(int w, int h) { return RectF(1.5f, 1.5f, w - 3.0f, h - 3.0f); }

// A soft line under a raised face, so that it stands off the background.
void DropShadow(Graphics& g, const RectF& r, float radius, unsigned corners = kAllCorners) {
  Color shadow = Faded(GetTheme().frameLine, 0.28f);
  FillRound(g, Offset(r, 0, 1), radius, shadow, shadow, corners);
}

bool Raised(State state) { return state != State::Pressed && state != State::Disabled; }

}  // namespace

Pixels PushButton(int w, int h, State state) {
  return Paint(w, h, [&](Graphics& g) {
    RectF r = FaceRect(w, h);
    if (Raised(state)) DropShadow(g, r, 4.5f);
    DrawFace(g, r, 4.5f, MakeFace(PlainButtonPalette(), state));
  });
}

Pixels ToolbarButton(int w, int h, State state, Glyph glyph) {
  return Paint(w, h, [&](Graphics& g) {
    RectF r = FaceRect(w, h);
    Face face = MakeFace(ToolbarPalette(), state);
    if (Raised(state)) DropShadow(g, r, 4);
    DrawFace(g, r, 4, face);
    // The glyph keeps to the left; the control writes its text to the right of it.
    float size = 16;
    DrawGlyph(g, glyph, RectF(9 + face.shift, (h - size) / 2 + face.shift, size, size), face.ink);
  });
}

namespace {

struct BoxColours {
  Color top, bottom, border, mark;
};

BoxColours BoxColoursFor(BoxLook look) {
  const Theme& t = GetTheme();
  BoxColours c;
  if (look.checked) c = {Lighter(t.accent, 0.25f), Darker(t.accent, 0.04f), Darker(t.accent, 0.22f), t.white};
  else c = {t.white, Mix(t.pale, t.band, 0.4f), look.focused ? t.accent : t.frameLine, t.white};
  if (look.disabled) {
    c.top = Greyed(Lighter(c.top, 0.35f), 1);
    c.bottom = Greyed(Lighter(c.bottom, 0.35f), 1);
    c.border = Greyed(Lighter(c.border, 0.4f), 1);
    c.mark = Color(0xFFF8F8F8);
  }
  return c;
}

}  // namespace

Pixels CheckBox(int w, int h, BoxLook look) {
  return Paint(w, h, [&](Graphics& g) {
    BoxColours c = BoxColoursFor(look);
    float size = std::min(w, h) - 4.0f;
    RectF box((w - size) / 2 + 0.5f, (h - size) / 2 + 0.5f, size - 1, size - 1);
    if (look.focused) StrokeRound(g, Inset(box, -1.4f, -1.4f), 4.4f, Faded(GetTheme().accent, 0.5f), 1.8f);
    FillRound(g, box, 3, c.top, c.bottom);
    StrokeRound(g, box, 3, c.border, 1);
    if (look.checked) DrawGlyph(g, glyph::Tick, Inset(box, 0.5f, 0.5f), Ink{c.mark, c.mark, c.mark});
  });
}

Pixels RadioBox(int w, int h, BoxLook look) {
  return Paint(w, h, [&](Graphics& g) {
    BoxColours c = BoxColoursFor(look);
    float size = std::min(w, h) - 4.0f;
    RectF disc((w - size) / 2 + 0.5f, (h - size) / 2 + 0.5f, size - 1, size - 1);
    if (look.focused) StrokeRound(g, Inset(disc, -1.4f, -1.4f), size, Faded(GetTheme().accent, 0.5f), 1.8f);
    FillRound(g, disc, size, c.top, c.bottom);
    StrokeRound(g, disc, size, c.border, 1);
    if (look.checked) {
      RectF dot = Inset(disc, disc.Width * 0.31f, disc.Height * 0.31f);
      FillRound(g, dot, size, c.mark, c.mark);
    }
  });
}

Pixels DropButton(int w, int h, State state) {
  return Paint(w, h, [&](Graphics& g) {
    RectF r = FaceRect(w, h);
    Face face = MakeFace(ToolbarPalette(), state);
    DrawFace(g, r, 3, face);
    float size = std::min(w - 6.0f, 12.0f);
    DrawGlyph(g, glyph::ChevronDown,
              RectF((w - size) / 2 + face.shift / 2, (h - size) / 2 + face.shift, size, size), face.ink);
  });
}

Pixels Tab(int w, int h, bool selected) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    if (selected) {
      // Open at the bottom, so that the tab runs on into the tree below it.
      RectF body(0.5f, 0.5f, w - 1.0f, h + 6.0f);
      FillRound(g, body, 5, t.white, Mix(t.white, t.pale, 0.85f), kTopCorners);
      StrokeRound(g, body, 5, t.frameLine, 1, kTopCorners);
      FillRound(g, RectF(1, 1, w - 2.0f, 3), 4, Lighter(t.accent, 0.2f), t.accent, kTopCorners);
    } else {
      RectF body(1.5f, 4.5f, w - 3.0f, h + 2.0f);
      FillRound(g, body, 4, Mix(t.band, t.white, 0.45f), Mix(t.band, t.faceBottom, 0.6f), kTopCorners);
      StrokeRound(g, body, 4, Faded(t.line, 0.85f), 1, kTopCorners);
      HLine(g, 0, static_cast<float>(w), h - 1.0f, t.frameLine);
    }
  });
}

Pixels SegmentButton(int w, int h, bool selected, Glyph glyph, unsigned corners) {
  return Paint(w, h, [&](Graphics& g) {
    // Joined buttons share their borders: only the ends of the row draw an
    // outer edge; every button's right edge lies outside it and is drawn by
    // its neighbour's left edge.
    float x0 = (corners & kLeftCorners) ? 1.5f : 0.5f;
    float x1 = (corners & kRightCorners) ? w - 1.5f : w + 0.5f;
    RectF r(x0, 1.5f, x1 - x0, h - 3.0f);
    Face face = MakeFace(ToolbarPalette(), selected ? State::Selected : State::Normal);
    if (!selected) DropShadow(g, r, 4, corners);
    DrawFace(g, r, 4, face, corners);
    float size = 16;
    float cx = (x0 + std::min(x1, w - 0.5f)) / 2;
    DrawGlyph(g, glyph, RectF(cx - size / 2, (h - size) / 2, size, size), face.ink);
  });
}

Pixels NavButton(int w, int h, State state, Glyph glyph) {
  return Paint(w, h, [&](Graphics& g) {
    RectF r = FaceRect(w, h);
    Face face = MakeFace(ToolbarPalette(), state);
    if (state == State::Normal) {
      // At rest the button is only a light disc on the header's gradient.
      face.top = Faded(face.top, 0.6f);
      face.bottom = Faded(face.bottom, 0.6f);
      face.border = Faded(face.border, 0.6f);
    }
    DrawFace(g, r, r.Width, face);
    float size = std::min(w, h) * 0.62f;
    DrawGlyph(g, glyph, RectF((w - size) / 2 + face.shift / 2, (h - size) / 2 + face.shift / 2, size, size),
              face.ink);
  });
}

Pixels CloseButton(int w, int h, State state) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    RectF disc(0.5f, 0.5f, w - 1.0f, h - 1.0f);
    Ink ink{t.subInk, t.subInk, t.white};
    float shift = 0;
    if (state == State::Hover || state == State::Pressed) {
      Color red = state == State::Hover ? Lighter(t.warm, 0.1f) : Darker(t.warm, 0.18f);
      FillRound(g, disc, w, Lighter(red, 0.15f), red);
      ink.main = t.white;
      shift = state == State::Pressed ? 0.5f : 0;
    } else if (state == State::Disabled) {
      ink.main = Greyed(t.mutedInk, 1);
    }
    DrawGlyph(g, glyph::Cross, RectF(shift, shift, static_cast<float>(w), static_cast<float>(h)), ink);
  });
}

Pixels SearchField(int w, int h, bool focused) {
  const Theme& t = GetTheme();
  return Paint(w, h, [&](Graphics& g) {
    RectF r = FaceRect(w, h);
    if (focused) StrokeRound(g, Inset(r, -0.8f, -0.8f), 4.8f, Faded(t.accent, 0.3f), 1.6f);
    // A faint shade under the top edge makes the field read as sunk in.
    FillRound(g, r, 4, Mix(t.pale, t.band, 0.5f), t.white);
    FillRound(g, Inset(r, 0.5f, 2.5f), 4, t.white, t.white);
    StrokeRound(g, r, 4, focused ? t.accent : Mix(t.line, t.frameLine, 0.3f), 1);
    float size = 14;
    Ink ink{focused ? t.accent : t.subInk, t.accent, t.white};
    DrawGlyph(g, glyph::Magnifier, RectF(w - 9 - size, (h - size) / 2, size, size), ink);
  });
}

Pixels Icon(int w, int h, Glyph glyph, const Ink& ink) {
  return Paint(w, h, [&](Graphics& g) {
    DrawGlyph(g, glyph, RectF(0, 0, static_cast<float>(w), static_cast<float>(h)), ink);
  });
}

Pixels SmallRoundButton(int w, int h, Glyph glyph) {
  return Paint(w, h, [&](Graphics& g) {
    RectF r = FaceRect(w, h);
    Face face = MakeFace(ToolbarPalette(), State::Normal);
    DropShadow(g, r, r.Width);
    DrawFace(g, r, r.Width, face);
    float size = std::min(w, h) * 0.6f;
    DrawGlyph(g, glyph, RectF((w - size) / 2, (h - size) / 2, size, size), face.ink);
  });
}

}  // namespace tamixres::skin
