// The skin drawn by the resource library: every image of the table at its
// size, state frames that can be told apart, rounded shapes with transparent
// corners, the pixel rules of the states, and tiles that join without seams.
// (ControlGallery --sheet <png> draws every image on one sheet to look at.)
#include <gtest/gtest.h>
#include "framework/GdiPlus.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "ResourceTables.h"
#include "TestSupport.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Text.h"

namespace {

// --- reading images as pixels ---

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
  uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
  int Alpha(int x, int y) const { return At(x, y) >> 24; }
  Picture Part(int x, int y, int w, int h) const {
    Picture p{w, h, {}};
    for (int row = y; row < y + h; ++row)
      for (int col = x; col < x + w; ++col) p.argb.push_back(At(col, row));
    return p;
  }
  // Frame i of an image whose frames are `step` apart and `used` wide.
  Picture Frame(int i, int step, int used = 0) const { return Part(i * step, 0, used ? used : step, height); }
};

Gdiplus::Image* Image(const std::wstring& name) {
  Gdiplus::Image* image = nullptr;
  GetImage(name, image);
  return image;
}

Picture Load(const std::wstring& name) {
  Picture p;
  Gdiplus::Image* image = Image(name);
  if (!image || image->GetType() != Gdiplus::ImageTypeBitmap) return p;
  auto* bitmap = static_cast<Gdiplus::Bitmap*>(image);
  Gdiplus::Rect all(0, 0, static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()));
  Gdiplus::BitmapData data{};
  if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return p;
  p.width = all.Width;
  p.height = all.Height;
  for (int y = 0; y < p.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
    p.argb.insert(p.argb.end(), row, row + p.width);
  }
  bitmap->UnlockBits(&data);
  return p;
}

std::string Utf8(const std::wstring& text) { return wf::ToUtf8(text); }

// --- measures ---

double Red(uint32_t p) { return ((p >> 16) & 0xFF) / 255.0; }
double Green(uint32_t p) { return ((p >> 8) & 0xFF) / 255.0; }
double Blue(uint32_t p) { return (p & 0xFF) / 255.0; }
double LightnessOf(uint32_t p) { return 0.2126 * Red(p) + 0.7152 * Green(p) + 0.0722 * Blue(p); }
// Colourfulness as the spread of the channels (0 for any grey); unlike HSL
// saturation it does not call a near-white tint "saturated".
double ChromaOf(uint32_t p) {
  return std::max({Red(p), Green(p), Blue(p)}) - std::min({Red(p), Green(p), Blue(p)});
}

// Mean of a measure over the pixels that are mostly opaque (what the eye sees as the shape).
template <class Measure>
double MeanOverShape(const Picture& p, Measure measure) {
  double sum = 0;
  int count = 0;
  for (uint32_t px : p.argb)
    if ((px >> 24) >= 160) {
      sum += measure(px);
      ++count;
    }
  return count ? sum / count : 0;
}

int DifferentPixels(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height) return a.width * a.height;
  int count = 0;
  for (size_t i = 0; i < a.argb.size(); ++i) {
    uint32_t x = a.argb[i], y = b.argb[i];
    for (int shift = 0; shift < 32; shift += 8)
      if (std::abs(static_cast<int>((x >> shift) & 0xFF) - static_cast<int>((y >> shift) & 0xFF)) > 12) {
        ++count;
        break;
      }
  }
  return count;
}

int ChannelGap(uint32_t x, uint32_t y) {
  int gap = 0;
  for (int shift = 0; shift < 32; shift += 8)
    gap = std::max(gap, std::abs(static_cast<int>((x >> shift) & 0xFF) - static_cast<int>((y >> shift) & 0xFF)));
  return gap;
}

// Centre of what is drawn on a face in columns x0..x1, found as the
// difference from a column `plain` that holds only the face (faces change
// from top to bottom, not from left to right).
void GlyphCentre(const Picture& p, int x0, int x1, int plain, double& cx, double& cy) {
  double sx = 0, sy = 0, n = 0;
  for (int y = 4; y < p.height - 4; ++y)
    for (int x = x0; x < x1; ++x) {
      double weight = ChannelGap(p.At(x, y), p.At(plain, y));
      sx += weight * x;
      sy += weight * y;
      n += weight;
    }
  cx = n ? sx / n : -1;
  cy = n ? sy / n : -1;
}

// The image table exactly as built into the library.
std::string_view BuiltInImageText() {
  HMODULE library = ::GetModuleHandleW(L"TamixRes.dll");
  HRSRC info = library ? ::FindResourceW(library, L"IMAGES", RT_RCDATA) : nullptr;
  if (!info) return {};
  return std::string_view(static_cast<const char*>(::LockResource(::LoadResource(library, info))),
                          ::SizeofResource(library, info));
}

tamixres::Tables BuiltInImageTable() {
  tamixres::Tables tables;
  tamixres::LoadImages(BuiltInImageText(), tables);
  return tables;
}

// --- sizes and frames ---

TEST(SkinImages, EveryImageOfTheTableIsDrawnAtItsSizeWithVisiblePixels) {
  tamixres::Tables tables = BuiltInImageTable();
  EXPECT_TRUE(tables.problems.empty());
  ASSERT_GE(tables.images.size(), 65u);
  for (const auto& [name, entry] : tables.images) {
    SCOPED_TRACE(Utf8(name));
    EXPECT_EQ(entry.width % entry.frames, 0) << "frames must share the width evenly";
    Picture p = Load(name);
    ASSERT_EQ(p.width, entry.width);
    ASSERT_EQ(p.height, entry.height);
    int visible = static_cast<int>(std::count_if(p.argb.begin(), p.argb.end(), [](uint32_t px) { return (px >> 24) > 0; }));
    EXPECT_GT(visible, 0) << "an image with nothing drawn";
  }
  // The controls cut these rectangles; the frames must be where they cut.
  EXPECT_EQ(Load(L"comm_button.png").width, 5 * 84);
  EXPECT_EQ(Load(L"comm_radiobox.png").width, 4 * 20);
  EXPECT_EQ(Load(L"comm_combox.png").width, 4 * 24);
  Picture tabs = Load(L"pim_tab.png");
  EXPECT_EQ(3 * (tabs.width / 2), 186) << "three tabs of one frame's width fill the 186-pixel strip";
  EXPECT_EQ(tabs.height, 36);
}

TEST(SkinImages, StatesOfAControlCanBeToldApart) {
  // Frames side by side: every pair must differ in a fair share of pixels.
  tamixres::Tables tables = BuiltInImageTable();
  int multiFrame = 0;
  for (const auto& [name, entry] : tables.images) {
    if (entry.frames < 2) continue;
    ++multiFrame;
    Picture p = Load(name);
    int step = entry.width / entry.frames;
    for (int i = 0; i < entry.frames; ++i)
      for (int j = i + 1; j < entry.frames; ++j)
        EXPECT_GT(DifferentPixels(p.Frame(i, step), p.Frame(j, step)), step * entry.height / 20)
            << Utf8(name) << " frames " << i << " and " << j;
  }
  EXPECT_GE(multiFrame, 10);
  // States kept in files of their own.
  const std::vector<std::vector<const wchar_t*>> sets = {
      {L"pim_mainmenu_normal.png", L"pim_mainmenu_over.png", L"pim_mainmenu_down.png", L"pim_mainmenu_disabled.png"},
      {L"pim1_searchedit_normal.png", L"pim1_searchedit_select.png"},
      {L"pic_mode_list.png", L"pic_mode_list_select.png"},
      {L"pic_mode_chat.png", L"pic_mode_chat_select.png"},
      {L"pim_calendar_list_unsel.png", L"pim_calendar_list_sel.png"},
      {L"pim_calendar_day_unsel.png", L"pim_calendar_day_sel.png"},
      {L"pim_calendar_week_unsel.png", L"pim_calendar_week_sel.png"},
      {L"pim_calendar_month_unsel.png", L"pim_calendar_month_sel.png"},
      {L"Jorvhelper_newcontact_btn_normal.png", L"Jorvhelper_newcontact_btn_nmousein.png",
       L"Jorvhelper_newcontact_btn_down.png"},
      {L"pim_checkbox_unselect.png", L"pim_checkbox_select.png"},
      {L"pim_favorite_select.png", L"pim_favorite_unselect.png"},
      {L"sms_lockicon_lock.png", L"sms_lockicon_unlock.png"},
      {L"sms_messageicon_readed.png", L"sms_messageicon_noread.png"},
      {L"pim_list_detail_open.png", L"pim_list_detail_close.png"},
      {L"pim_list_detail_down.png", L"pim_list_detail_up.png"},
      {L"pim_treeitem_select.png", L"pim_treeitem_unselectEx.png", L"pim_treeitem_unselect2.png"},
      // each view switch shows its own picture
      {L"pim_calendar_list_unsel.png", L"pim_calendar_month_unsel.png", L"pim_calendar_week_unsel.png"},
  };
  for (const auto& set : sets)
    for (size_t i = 0; i < set.size(); ++i)
      for (size_t j = i + 1; j < set.size(); ++j) {
        Picture a = Load(set[i]), b = Load(set[j]);
        int w = std::min(a.width, b.width);
        EXPECT_GT(DifferentPixels(a.Part(0, 0, w, a.height), b.Part(0, 0, w, b.height)), 8)
            << Utf8(set[i]) << " vs " << Utf8(set[j]);
      }
}

// --- shapes ---

struct Corners {
  const wchar_t* name;
  int frames;   // frames to check
  int step;     // their spacing
  int used;     // width of each frame (0: the step)
  bool opaqueMiddle;
};

TEST(SkinImages, RoundedShapesLetTheParentShowThroughTheirCorners) {
  const Corners shapes[] = {
      {L"comm_button.png", 5, 84, 0, true},
      {L"pim_button_add.png", 4, 94, 0, true},
      {L"pim_button_refresh.png", 4, 94, 0, true},
      {L"pim_button_import_normal.png", 4, 94, 0, true},
      {L"pim_button_delete_normal.png", 4, 94, 0, true},
      {L"comm_checkbox.png", 4, 18, 0, true},
      {L"comm_checkbox_select_focus.png", 1, 18, 0, true},
      {L"comm_radiobox.png", 4, 20, 18, true},
      {L"comm_combox.png", 4, 24, 18, true},
      {L"pim1_searchedit_normal.png", 1, 138, 0, true},
      {L"pim1_searchedit_select.png", 1, 138, 0, true},
      {L"Jorvhelper_newcontact_btn_normal.png", 1, 72, 0, true},
      {L"pim_progress_bg.png", 1, 300, 0, true},
      {L"pim_mainmenu_normal.png", 1, 72, 0, false},
      {L"pim_calendar_next.png", 3, 20, 0, false},
      {L"common_jorvhelper_background.png", 1, 380, 0, true},
      {L"pim_contactgroup_bg.png", 1, 320, 0, true},
      {L"sms_contact_bigphoto.png", 1, 139, 0, true},
      {L"pim_button_groupadd.png", 1, 20, 0, true},
      {L"common_waiting_samll.gif", 1, 22, 0, false},
  };
  for (const Corners& s : shapes) {
    Picture p = Load(s.name);
    ASSERT_GT(p.width, 0) << Utf8(s.name);
    for (int i = 0; i < s.frames; ++i) {
      Picture f = p.Frame(i, s.step, s.used);
      SCOPED_TRACE(Utf8(s.name) + " frame " + std::to_string(i));
      EXPECT_EQ(f.Alpha(0, 0), 0);
      EXPECT_EQ(f.Alpha(f.width - 1, 0), 0);
      EXPECT_EQ(f.Alpha(0, f.height - 1), 0);
      EXPECT_EQ(f.Alpha(f.width - 1, f.height - 1), 0);
      if (s.opaqueMiddle) {
        EXPECT_EQ(f.Alpha(f.width / 2, f.height / 2), 255);
      }
    }
  }
  // Joined view switches are rounded only at the two ends of their row.
  Picture first = Load(L"pim_calendar_list_unsel.png"), middle = Load(L"pim_calendar_week_unsel.png"),
          last = Load(L"pim_calendar_day_unsel.png");
  EXPECT_EQ(first.Alpha(0, 0), 0);
  EXPECT_GT(first.Alpha(first.width - 1, 2), 200) << "runs on into its neighbour";
  EXPECT_GT(middle.Alpha(0, 2), 200);
  EXPECT_GT(middle.Alpha(middle.width - 1, 2), 200);
  EXPECT_EQ(last.Alpha(last.width - 1, 0), 0);
  // Tabs: rounded at the top; the selected one is open at the bottom so it
  // runs on into the tree under it.
  Picture tabs = Load(L"pim_tab.png");
  for (int i = 0; i < 2; ++i) {
    Picture tab = tabs.Frame(i, 62);
    EXPECT_EQ(tab.Alpha(0, 0), 0);
    EXPECT_EQ(tab.Alpha(61, 0), 0);
  }
  EXPECT_EQ(tabs.Frame(0, 62).Alpha(31, 35), 255);
  // The window frame's outer corners are transparent, the inner ones body.
  EXPECT_EQ(Load(L"comm_frame_topleft.png").Alpha(0, 0), 0);
  EXPECT_EQ(Load(L"comm_frame_topright.png").Alpha(5, 0), 0);
  EXPECT_EQ(Load(L"comm_frame_bottomleft.png").Alpha(0, 5), 0);
  EXPECT_EQ(Load(L"comm_frame_bottomright.png").Alpha(5, 5), 0);
  // Unselected tree rows and the header groove leave their background alone.
  Picture plainRow = Load(L"pim_treeitem_unselect2.png");
  EXPECT_EQ(plainRow.Alpha(plainRow.width / 2, plainRow.height / 2), 0);
  EXPECT_EQ(Load(L"comm_listheaer_sep.png").Alpha(0, 0), 0);
}

// --- pixel rules of the states ---

TEST(SkinImages, HoverIsLighterPressedDarkerAndShiftedDisabledGreyFocusRinged) {
  auto light = [](const Picture& p) { return MeanOverShape(p, LightnessOf); };
  auto chroma = [](const Picture& p) { return MeanOverShape(p, ChromaOf); };
  // the face inside its border, where a focus ring or halo does not count
  auto face = [](const Picture& p) { return p.Part(5, 5, p.width - 10, p.height - 10); };
  struct Strip {
    const wchar_t* name;
    int step, used, normal, hover, pressed, disabled;
  };
  const Strip strips[] = {
      {L"comm_button.png", 84, 0, 0, 1, 2, 3},
      {L"pim_button_add.png", 94, 0, 0, 1, 2, 3},
      {L"pim_button_refresh.png", 94, 0, 0, 1, 2, 3},
      {L"pim_button_import_normal.png", 94, 0, 0, 1, 2, 3},
      {L"pim_button_delete_normal.png", 94, 0, 0, 1, 2, 3},
      {L"comm_combox.png", 24, 18, 0, 1, 2, 3},
  };
  for (const Strip& s : strips) {
    SCOPED_TRACE(Utf8(s.name));
    Picture p = Load(s.name);
    Picture normal = p.Frame(s.normal, s.step, s.used), hover = p.Frame(s.hover, s.step, s.used),
            pressed = p.Frame(s.pressed, s.step, s.used), disabled = p.Frame(s.disabled, s.step, s.used);
    EXPECT_GT(light(face(hover)), light(face(normal)));
    EXPECT_LT(light(face(pressed)), light(face(normal)) - 0.02);
    EXPECT_LT(chroma(disabled), chroma(normal) * 0.5);
  }
  // Toolbar glyphs move down and right while pressed.
  for (const wchar_t* name : {L"pim_button_add.png", L"pim_button_delete_normal.png", L"pim_button_import_normal.png"}) {
    Picture p = Load(name);
    double nx, ny, px, py;
    GlyphCentre(p.Frame(0, 94), 5, 30, 60, nx, ny);
    GlyphCentre(p.Frame(2, 94), 5, 30, 60, px, py);
    EXPECT_NEAR(px - nx, 1.0, 0.5) << Utf8(name);
    EXPECT_NEAR(py - ny, 1.0, 0.5) << Utf8(name);
  }
  // The focused (and hover) push button has an accent ring inside its border.
  Picture button = Load(L"comm_button.png");
  Picture ringBand = button.Frame(1, 84).Part(2, 10, 3, 17), plainBand = button.Frame(0, 84).Part(2, 10, 3, 17);
  EXPECT_GT(chroma(ringBand), chroma(plainBand) + 0.15);
  // Check boxes: the disabled ones are grey, the focused ones ringed outside the box.
  Picture boxes = Load(L"comm_checkbox.png");
  EXPECT_LT(chroma(boxes.Frame(0, 18)), chroma(boxes.Frame(1, 18)) * 0.5) << "checked, disabled";
  EXPECT_LT(chroma(boxes.Frame(2, 18)), chroma(boxes.Frame(3, 18)) + 0.01) << "unchecked, disabled";
  Picture radios = Load(L"comm_radiobox.png");
  EXPECT_LT(chroma(radios.Frame(0, 20, 18)), chroma(radios.Frame(1, 20, 18)) * 0.5);
  Picture checkedFocus = Load(L"comm_checkbox_select_focus.png"), uncheckedFocus = Load(L"comm_checkbox_unselect_focus.png");
  EXPECT_EQ(boxes.Frame(1, 18).Alpha(9, 0), 0);
  EXPECT_GT(checkedFocus.Alpha(9, 0), 40) << "ring outside the box";
  EXPECT_GT(uncheckedFocus.Alpha(9, 0), 40);
  EXPECT_LT(ChannelGap(checkedFocus.At(9, 9), boxes.Frame(1, 18).At(9, 9)), 8) << "same box inside the ring";
  // The main-menu icon follows the same rules.
  Picture menu = Load(L"pim_mainmenu_normal.png");
  EXPECT_GT(light(Load(L"pim_mainmenu_over.png")), light(menu));
  EXPECT_LT(light(Load(L"pim_mainmenu_down.png")), light(menu));
  EXPECT_LT(chroma(Load(L"pim_mainmenu_disabled.png")), 0.05);
  // A selected view switch is filled with the accent colour.
  EXPECT_GT(chroma(Load(L"pim_calendar_week_sel.png")), chroma(Load(L"pim_calendar_week_unsel.png")) + 0.3);
  EXPECT_GT(chroma(Load(L"pic_mode_chat_select.png")), chroma(Load(L"pic_mode_chat.png")) + 0.3);
}

// --- tiles ---

void ExpectColumnsAlike(const Picture& p, int tolerance, const std::string& what) {
  for (int x = 1; x < p.width; ++x)
    for (int y = 0; y < p.height; ++y)
      ASSERT_LE(ChannelGap(p.At(x, y), p.At(0, y)), tolerance) << what << " column " << x << " row " << y;
}

Picture Turned(const Picture& p) {  // rows become columns
  Picture t{p.height, p.width, std::vector<uint32_t>(p.argb.size())};
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) t.argb[static_cast<size_t>(x) * t.width + y] = p.At(x, y);
  return t;
}

TEST(SkinImages, TiledPiecesRepeatAndJoinWithoutSeams) {
  // Tiles repeat exactly along the direction they are tiled in.
  ExpectColumnsAlike(Load(L"comm_frame_top.png"), 0, "top edge");
  ExpectColumnsAlike(Load(L"comm_frame_bottom.png"), 0, "bottom edge");
  ExpectColumnsAlike(Turned(Load(L"comm_frame_left.png")), 0, "left edge");
  ExpectColumnsAlike(Turned(Load(L"comm_frame_right.png")), 0, "right edge");
  Picture centre = Load(L"comm_frame_center.png");
  ExpectColumnsAlike(centre, 0, "centre");
  ExpectColumnsAlike(Turned(centre), 0, "centre");
  ExpectColumnsAlike(Load(L"comm_listheaer_span.png"), 0, "list header");
  Picture body = Load(L"pim_progress_front_body.png");
  ExpectColumnsAlike(body, 0, "progress body");

  // Corners join their edges, and the frame's inside is the centre's colour.
  Picture topLeft = Load(L"comm_frame_topleft.png"), top = Load(L"comm_frame_top.png"),
          left = Load(L"comm_frame_left.png"), bottomRight = Load(L"comm_frame_bottomright.png");
  for (int y = 0; y < top.height; ++y)
    EXPECT_LE(ChannelGap(topLeft.At(topLeft.width - 1, y), top.At(0, y)), 24) << "top-left to top, row " << y;
  for (int x = 0; x < left.width; ++x)
    EXPECT_LE(ChannelGap(topLeft.At(x, topLeft.height - 1), left.At(x, 0)), 24) << "top-left to left, column " << x;
  EXPECT_EQ(topLeft.At(topLeft.width - 1, topLeft.height - 1), centre.At(0, 0));
  EXPECT_EQ(bottomRight.At(0, 0), centre.At(0, 0));
  EXPECT_EQ(top.At(0, top.height - 1), centre.At(0, 0));
  EXPECT_NE(top.At(0, 0), centre.At(0, 0)) << "the edge carries a border line";

  // The progress bar's ends meet its body.
  Picture begin = Load(L"pim_progress_front_begin.png"), end = Load(L"pim_progress_front_end.png");
  for (int y = 0; y < body.height; ++y) {
    EXPECT_LE(ChannelGap(begin.At(begin.width - 1, y), body.At(0, y)), 16) << "begin, row " << y;
    EXPECT_LE(ChannelGap(end.At(0, y), body.At(0, y)), 16) << "end, row " << y;
  }
  EXPECT_EQ(Load(L"pim_progress_bg.png").height, body.height) << "the fill runs in the trough";
}

}  // namespace
