// The painting kit behind the skin images: the theme's colours, colour
// arithmetic, rounded shapes, button faces by state, and a renderer that
// draws at several times the resolution and averages down, so that curves
// come out anti-aliased the same way on every GDI+ (Wine's fills paths
// without anti-aliasing).
#pragma once
#include <windows.h>
#include "framework/GdiPlus.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace tamixres::skin {

using Gdiplus::Color;
using Gdiplus::Graphics;
using Gdiplus::PointF;
using Gdiplus::RectF;

// Colours of the light-blue theme. Most come from the colour table, so that
// the images match the texts and the drawn parts of the screens; the few that
// the table has no key for are derived from those.
struct Theme {
  Color ink;         // main text colour: glyph outlines
  Color subInk;      // secondary text: quieter glyphs
  Color mutedInk;    // text of other months: disabled glyphs
  Color line;        // lines and frames
  Color accent;      // highlighted text, selections, checked boxes
  Color faceTop;     // raised faces, top of the gradient
  Color faceBottom;  // raised faces, bottom of the gradient
  Color band;        // light bands (weekday rows)
  Color selected;    // selected day / item
  Color pale;        // lightest body colour
  Color headerTop;   // header gradients
  Color headerBottom;
  Color warm;        // day-off red: destructive actions, "no" marks
  Color gold;        // favourite star
  Color frameLine;   // outline of windows and fields (line darkened towards ink)
  Color white;
};
const Theme& GetTheme();

// --- colour arithmetic (every channel, alpha included, is mixed) ---
Color Mix(Color from, Color to, float t);  // t 0 → from, 1 → to
Color Lighter(Color c, float t);           // towards white, keeping alpha
Color Darker(Color c, float t);            // towards black, keeping alpha
Color Greyed(Color c, float t);            // towards the grey of the same lightness
Color Faded(Color c, float alpha);         // alpha multiplied
float Lightness(Color c);                  // 0..1, perceptual weights

// --- shapes ---
enum Corners : unsigned { kTopLeft = 1, kTopRight = 2, kBottomRight = 4, kBottomLeft = 8, kAllCorners = 15,
                          kLeftCorners = kTopLeft | kBottomLeft, kRightCorners = kTopRight | kBottomRight,
                          kTopCorners = kTopLeft | kTopRight, kNoCorners = 0 };
void AddRoundRect(Gdiplus::GraphicsPath& path, const RectF& r, float radius, unsigned corners = kAllCorners);
void FillRound(Graphics& g, const RectF& r, float radius, Color top, Color bottom, unsigned corners = kAllCorners);
void StrokeRound(Graphics& g, const RectF& r, float radius, Color color, float width = 1,
                 unsigned corners = kAllCorners);
// A vertical gradient over a plain rectangle.
void FillVertical(Graphics& g, const RectF& r, Color top, Color bottom);
// A 1-pixel horizontal or vertical line covering whole pixels (x, y are pixel indices).
void HLine(Graphics& g, float x0, float x1, float y, Color color);
void VLine(Graphics& g, float x, float y0, float y1, Color color);
RectF Inset(const RectF& r, float dx, float dy);
RectF Offset(const RectF& r, float dx, float dy);

// --- states of controls ---
enum class State { Normal, Hover, Pressed, Focused, HoverFocused, Disabled, Default, Selected };

// Colours for glyphs: outlines, coloured parts, light interiors.
struct Ink {
  Color main, accent, paper;
};
Ink InkFor(State state);

// The look of a button face in one state.
struct Face {
  Color top, bottom;  // body gradient
  Color border;
  Color shine;        // highlight line just inside the top border
  Color ring;         // focus ring (transparent when none)
  Color glow;         // soft halo outside the border on hover (transparent when none)
  Ink ink;            // glyphs on the face
  float shift = 0;    // content offset while pressed
};
// The normal look of a family of faces; the other states are derived from it
// (hover lighter, pressed darker and inverted, disabled grey, focused ringed).
struct FacePalette {
  Color top, bottom, border;
};
FacePalette PlainButtonPalette();    // push buttons, dialog buttons
FacePalette ToolbarPalette();        // toolbar and view buttons, drop-down buttons
Face MakeFace(const FacePalette& palette, State state);
// Draws a face into r, leaving room outside the border for the ring and glow
// (callers inset r by about 1.5 px).
void DrawFace(Graphics& g, const RectF& r, float radius, const Face& face, unsigned corners = kAllCorners);

// --- rendering ---
// ARGB pixels of one image or frame, row by row.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
  Pixels() = default;
  Pixels(int w, int h) : width(w), height(h), argb(static_cast<size_t>(w) * h, 0) {}
  // Copies `frame` in at (x, y), cut at this image's edges.
  void Place(const Pixels& frame, int x, int y);
};

using Painter = std::function<void(Graphics&)>;
// Draws `paint` in logical pixels over a width x height image, supersampled
// (the factor falls with the image's area).
Pixels Paint(int width, int height, const Painter& paint);
// The pixels as a new 32-bit ARGB GDI+ bitmap (the caller owns it), or null.
Gdiplus::Bitmap* ToBitmap(const Pixels& pixels);

}  // namespace tamixres::skin
