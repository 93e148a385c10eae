// Families of skin images. Each function draws one frame (or one whole
// image) of the given size; the catalogue in SkinImages.cpp decides which
// family, state and glyph each image name gets and lays frames side by side.
#pragma once
#include "SkinGlyphs.h"
#include "SkinPaint.h"

namespace tamixres::skin {

// --- controls (SkinControls.cpp) ---
Pixels PushButton(int w, int h, State state);
Pixels ToolbarButton(int w, int h, State state, Glyph glyph);
struct BoxLook {
  bool checked = false;
  bool disabled = false;
  bool focused = false;
};
Pixels CheckBox(int w, int h, BoxLook look);
Pixels RadioBox(int w, int h, BoxLook look);
Pixels DropButton(int w, int h, State state);  // drop-down button of a combo box
Pixels Tab(int w, int h, bool selected);
// One button of a row of joined buttons (the view and mode switches); the
// corners say where the row ends.
Pixels SegmentButton(int w, int h, bool selected, Glyph glyph, unsigned corners);
Pixels NavButton(int w, int h, State state, Glyph glyph);  // round arrow buttons of the calendar headers
Pixels CloseButton(int w, int h, State state);
Pixels SearchField(int w, int h, bool focused);
Pixels Icon(int w, int h, Glyph glyph, const Ink& ink);
Pixels SmallRoundButton(int w, int h, Glyph glyph);  // add-group button of the tree

// --- surfaces (SkinSurfaces.cpp) ---
Pixels MainBackground(int w, int h);
Pixels DialogBackground(int w, int h, float radius);
enum class FramePart { TopLeft, Top, TopRight, Left, Centre, Right, BottomLeft, Bottom, BottomRight };
Pixels FramePiece(int w, int h, FramePart part);
Pixels TreeBackground(int w, int h);
enum class TreeItemKind { Selected, Heading, Plain };
Pixels TreeItem(int w, int h, TreeItemKind kind);
Pixels ListHeaderSpan(int w, int h);
Pixels ListHeaderSeparator(int w, int h);
Pixels ProgressTrough(int w, int h);
enum class ProgressPart { Begin, Body, End };
Pixels ProgressFill(int w, int h, ProgressPart part);
Pixels GroupBand(int w, int h);
Pixels Photo(int w, int h);
Pixels NoCard(int w, int h);
Pixels MainMenuIcon(int w, int h, State state);

}  // namespace tamixres::skin
