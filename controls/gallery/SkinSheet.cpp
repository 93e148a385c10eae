// The skin sheet: every image of the resource library on one picture (small
// images at twice their size, on a checkerboard that shows what is
// transparent), and mock-ups of the main window and two dialogs at their real
// size, to judge the skin by eye.
#include "SkinSheet.h"

#include <algorithm>
#include <string>
#include <vector>

#include "standins/res/ResourceTools.h"
#include "framework/GdiPlus.h"
#include "framework/Screenshot.h"

namespace {

Gdiplus::Image* Image(const std::wstring& name) {
  Gdiplus::Image* image = nullptr;
  GetImage(name, image);
  return image;
}

void Draw(Gdiplus::Graphics& g, const std::wstring& name, int x, int y, int frame = -1, int frames = 1) {
  Gdiplus::Image* image = Image(name);
  if (!image) return;
  int w = static_cast<int>(image->GetWidth()), h = static_cast<int>(image->GetHeight());
  int step = w / frames;
  if (frame < 0) g.DrawImage(image, x, y, w, h);
  else g.DrawImage(image, Gdiplus::Rect(x, y, step, h), frame * step, 0, step, h, Gdiplus::UnitPixel);
}

// The images in place on a mock-up of the main window, at their real size.
void DrawMainWindow(Gdiplus::Graphics& g, int x0, int y0, Gdiplus::Font& font) {
  Gdiplus::GraphicsState saved = g.Save();
  g.TranslateTransform(static_cast<float>(x0), static_cast<float>(y0));
  Draw(g, L"comm_middle_background.png", 0, 0);
  for (int i = 0; i < 3; ++i) Draw(g, L"pim_tab.png", 1 + 62 * i, 0, i == 0 ? 0 : 1, 2);
  const wchar_t* tools[] = {L"pim_button_add.png", L"pim_button_delete_normal.png", L"pim_button_import_normal.png",
                            L"pim_button_import_normal.png", L"pim_button_refresh.png"};
  const wchar_t* labels[] = {L"New", L"Delete", L"Import", L"Export", L"Refresh"};
  Gdiplus::SolidBrush text(Gdiplus::Color(0xFF1F3A5F));
  Gdiplus::StringFormat centred;
  centred.SetAlignment(Gdiplus::StringAlignmentCenter);
  centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  for (int i = 0; i < 5; ++i) {
    int state = i == 2 ? 1 : i == 3 ? 3 : i == 4 ? 2 : 0;  // show hover, disabled and pressed too
    Draw(g, tools[i], 191 + 96 * i, 3, state, 4);
    g.DrawString(labels[i], -1, &font, Gdiplus::RectF(191.0f + 96 * i + 22, 3, 72, 31), &centred, &text);
  }
  Draw(g, L"common_waiting_samll.gif", 678, 6);
  Draw(g, L"pic_mode_list_select.png", 730, 4);
  Draw(g, L"pic_mode_chat.png", 768, 4);
  Draw(g, L"pim1_searchedit_select.png", 812, 3);
  const wchar_t* tabs[] = {L"Contacts", L"Messages", L"Calendar"};
  for (int i = 0; i < 3; ++i)
    g.DrawString(tabs[i], -1, &font, Gdiplus::RectF(1.0f + 62 * i, 4, 62, 32), &centred, &text);
  Draw(g, L"pim_tree_bg.png", 1, 36);
  const wchar_t* rows[] = {L"pim_treeitem_unselectEx.png", L"pim_treeitem_select.png", L"pim_treeitem_unselect2.png",
                           L"pim_treeitem_unselect2.png", L"pim_treeitem_unselectEx.png"};
  const wchar_t* names[] = {L"All(12)", L"Phone(9)", L"Favourites(2)", L"Card one(3)", L"Groups(2)"};
  Gdiplus::StringFormat left;
  left.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  for (int i = 0; i < 5; ++i) {
    Draw(g, rows[i], 1, 36 + 30 * i);
    g.DrawString(names[i], -1, &font, Gdiplus::RectF(22, 36.0f + 30 * i, 160, 30), &left, &text);
  }
  Draw(g, L"pim_favorite_select.png", 160, 36 + 30 * 2 + 7);
  Draw(g, L"pim_button_groupadd.png", 160, 36 + 30 * 4 + 5);
  for (int x = 187; x < 959; x += 8) Draw(g, L"comm_listheaer_span.png", x, 36);
  int columns[] = {187, 227, 347, 507, 707, 859};
  for (int c : columns) Draw(g, L"comm_listheaer_sep.png", c - 1, 36);
  Draw(g, L"pim_checkbox_unselect.png", 198, 41);
  for (int r = 0; r < 4; ++r) {
    int y = 64 + 30 * r;
    if (r == 0) {
      Gdiplus::SolidBrush band(Gdiplus::Color(0xFFEAF2FC));
      g.FillRectangle(&band, 187, y, 772, 30);
      Draw(g, L"pim_list_Group_corner.png", 187, y);
      Draw(g, L"pim_list_detail_open.png", 196, y + 7);
      continue;
    }
    Draw(g, r == 2 ? L"pim_checkbox_select.png" : L"pim_checkbox_unselect.png", 192, y + 6);
    Draw(g, r == 1 ? L"pim_favorite_select.png" : L"pim_favorite_unselect.png", 212, y + 7);
    Draw(g, r == 3 ? L"sms_lockicon_lock.png" : L"sms_lockicon_unlock.png", 240, y + 7);
    Draw(g, r == 1 ? L"sms_messageicon_noread.png" : L"sms_messageicon_readed.png", 262, y + 7);
    Draw(g, L"pim_calendar_icon.png", 284, y + 7);
    Draw(g, L"pim_list_detail.png", 900, y + 7);
  }
  g.Restore(saved);
}

// A progress window and a window framed by the nine frame pieces.
void DrawDialogs(Gdiplus::Graphics& g, int x0, int y0, Gdiplus::Font& font) {
  Gdiplus::GraphicsState saved = g.Save();
  g.TranslateTransform(static_cast<float>(x0), static_cast<float>(y0));
  Gdiplus::SolidBrush text(Gdiplus::Color(0xFF1F3A5F));
  Gdiplus::Image* background = Image(L"common_jorvhelper_background.png");
  g.DrawImage(background, 0, 0, 360, 170);
  g.DrawString(L"Export", -1, &font, Gdiplus::PointF(14, 9), &text);
  Draw(g, L"common_close.png", 334, 10, 1, 4);
  g.DrawString(L"Exporting contacts...   120/200", -1, &font, Gdiplus::PointF(30, 50), &text);
  Draw(g, L"pim_progress_bg.png", 30, 78);
  int filled = 180;
  Draw(g, L"pim_progress_front_begin.png", 30, 78);
  for (int x = 37; x < 30 + filled - 7; x += 4) Draw(g, L"pim_progress_front_body.png", x, 78);
  Draw(g, L"pim_progress_front_end.png", 30 + filled - 7, 78);
  Draw(g, L"comm_button.png", 138, 114, 0, 5);
  Gdiplus::StringFormat centred;
  centred.SetAlignment(Gdiplus::StringAlignmentCenter);
  centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  g.DrawString(L"Cancel", -1, &font, Gdiplus::RectF(138, 114, 84, 37), &centred, &text);

  // nine pieces, tiled as a skinned window does
  int fx = 0, fy = 200, fw = 360, fh = 160, t = 6;
  Draw(g, L"comm_frame_topleft.png", fx, fy);
  Draw(g, L"comm_frame_topright.png", fx + fw - t, fy);
  Draw(g, L"comm_frame_bottomleft.png", fx, fy + fh - t);
  Draw(g, L"comm_frame_bottomright.png", fx + fw - t, fy + fh - t);
  for (int x = fx + t; x < fx + fw - t; x += 16) {
    int w = std::min(16, fx + fw - t - x);
    g.DrawImage(Image(L"comm_frame_top.png"), Gdiplus::Rect(x, fy, w, t), 0, 0, w, t, Gdiplus::UnitPixel);
    g.DrawImage(Image(L"comm_frame_bottom.png"), Gdiplus::Rect(x, fy + fh - t, w, t), 0, 0, w, t, Gdiplus::UnitPixel);
    for (int y = fy + t; y < fy + fh - t; y += 16) {
      int h = std::min(16, fy + fh - t - y);
      g.DrawImage(Image(L"comm_frame_center.png"), Gdiplus::Rect(x, y, w, h), 0, 0, w, h, Gdiplus::UnitPixel);
    }
  }
  for (int y = fy + t; y < fy + fh - t; y += 16) {
    int h = std::min(16, fy + fh - t - y);
    g.DrawImage(Image(L"comm_frame_left.png"), Gdiplus::Rect(fx, y, t, h), 0, 0, t, h, Gdiplus::UnitPixel);
    g.DrawImage(Image(L"comm_frame_right.png"), Gdiplus::Rect(fx + fw - t, y, t, h), 0, 0, t, h, Gdiplus::UnitPixel);
  }
  Draw(g, L"comm_checkbox.png", fx + 20, fy + 24, 1, 4);
  g.DrawString(L"Remember this choice", -1, &font, Gdiplus::PointF(fx + 44.0f, fy + 25.0f), &text);
  Draw(g, L"comm_radiobox.png", fx + 20, fy + 52, 1, 4);
  g.DrawString(L"XML", -1, &font, Gdiplus::PointF(fx + 44.0f, fy + 55.0f), &text);
  Draw(g, L"comm_radiobox.png", fx + 100, fy + 52, 3, 4);
  g.DrawString(L"Excel", -1, &font, Gdiplus::PointF(fx + 124.0f, fy + 55.0f), &text);
  Gdiplus::SolidBrush white(Gdiplus::Color(0xFFFFFFFF));
  Gdiplus::Pen edge(Gdiplus::Color(0xFF7FA8D6));
  g.FillRectangle(&white, fx + 20, fy + 84, 140, 23);
  g.DrawRectangle(&edge, fx + 20, fy + 84, 140, 23);
  Draw(g, L"comm_combox.png", fx + 141, fy + 84, 0, 4);
  g.DrawString(L"Card one", -1, &font, Gdiplus::PointF(fx + 26.0f, fy + 88.0f), &text);
  Draw(g, L"comm_button.png", fx + 160, fy + 110, 1, 5);
  Draw(g, L"comm_button.png", fx + 250, fy + 110, 4, 5);
  Gdiplus::SolidBrush light(Gdiplus::Color(0xFFFFFFFF));
  g.DrawString(L"Browse", -1, &font, Gdiplus::RectF(fx + 160.0f, fy + 110.0f, 84, 37), &centred, &text);
  g.DrawString(L"OK", -1, &font, Gdiplus::RectF(fx + 250.0f, fy + 110.0f, 84, 37), &centred, &light);
  g.Restore(saved);
}

}  // namespace

bool WriteSkinSheet(const std::wstring& path) {
  constexpr int kSheetWidth = 1700, kMargin = 12, kLabel = 16;
  // Flow layout: small images twice their size, large backgrounds at their own.
  struct Placed {
    std::wstring name;
    int x, y, w, h, zoom;
  };
  std::vector<Placed> placed;
  int x = kMargin, y = kMargin, rowHeight = 0;
  // In the table's order, which keeps each family together.
  for (const std::wstring& name : GetImageNames()) {
    Gdiplus::Image* image = Image(name);
    if (!image) continue;
    int width = static_cast<int>(image->GetWidth()), height = static_cast<int>(image->GetHeight());
    int zoom = width > 430 || height > 150 ? 1 : 2;
    int w = std::max(width * zoom, 190), h = height * zoom + kLabel;
    if (x + w > kSheetWidth - kMargin) {
      x = kMargin;
      y += rowHeight + kMargin;
      rowHeight = 0;
    }
    placed.push_back({name, x, y, width * zoom, height * zoom, zoom});
    x += w + kMargin;
    rowHeight = std::max(rowHeight, h);
  }
  int mockTop = y + rowHeight + 2 * kMargin;
  Gdiplus::Bitmap sheet(kSheetWidth, mockTop + 528 + kMargin, PixelFormat32bppARGB);
  if (sheet.GetLastStatus() != Gdiplus::Ok) return false;
  {
    Gdiplus::Graphics g(&sheet);
    g.Clear(Gdiplus::Color(0xFFFFFFFF));
    Gdiplus::FontFamily family(L"Tahoma");
    Gdiplus::Font font(&family, 11, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush labelInk(Gdiplus::Color(0xFF505860));
    // A checkerboard under each image shows what is transparent.
    Gdiplus::HatchBrush checks(Gdiplus::HatchStyleLargeCheckerBoard, Gdiplus::Color(0xFFE4E4E4),
                               Gdiplus::Color(0xFFF8F8F8));
    g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    for (const Placed& p : placed) {
      g.FillRectangle(&checks, p.x, p.y, p.w, p.h);
      if (Gdiplus::Image* image = Image(p.name)) g.DrawImage(image, p.x, p.y, p.w, p.h);
      std::wstring label = p.name + (p.zoom == 1 ? L" (1x)" : L"");
      g.DrawString(label.c_str(), -1, &font, Gdiplus::PointF(static_cast<float>(p.x), static_cast<float>(p.y + p.h + 1)),
                   &labelInk);
    }
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeDefault);
    Gdiplus::Font uiFont(&family, 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    DrawMainWindow(g, kMargin, mockTop, uiFont);
    DrawDialogs(g, kMargin + 990, mockTop, uiFont);
  }
  return wf::SaveImageAsPng(sheet, path);
}
