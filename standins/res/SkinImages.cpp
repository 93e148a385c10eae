// The catalogue of skin images: which family, states and glyph each image
// name is drawn with. Sizes and frame counts come from the image table; a
// state image has its frames side by side, each `width / frames` apart.
#include "SkinImages.h"

#include <functional>
#include <map>
#include <vector>

#include "SkinFamilies.h"

namespace tamixres {
namespace {

using namespace skin;

using Recipe = std::function<Pixels(const ImageEntry&)>;
using FramePainter = std::function<Pixels(int w, int h, int index)>;

// Frames side by side, `width / frames` apart; each is `used` pixels wide
// (0: the whole step), the rest of its step stays transparent.
Recipe Strip(FramePainter frame, int used = 0) {
  return [frame, used](const ImageEntry& e) {
    Pixels image(e.width, e.height);
    int frames = e.frames > 0 ? e.frames : 1;
    int step = e.width / frames;
    int w = used > 0 && used < step ? used : step;
    for (int i = 0; i < frames; ++i) image.Place(frame(w, e.height, i), i * step, 0);
    return image;
  };
}

Recipe States(std::vector<State> states, std::function<Pixels(int, int, State)> paint, int used = 0) {
  return Strip([states, paint](int w, int h, int i) { return paint(w, h, states[i % states.size()]); }, used);
}

Recipe Whole(std::function<Pixels(int, int)> paint) {
  return [paint](const ImageEntry& e) { return paint(e.width, e.height); };
}

Recipe Toolbar(Glyph glyph) {
  return States({State::Normal, State::Hover, State::Pressed, State::Disabled},
                [glyph](int w, int h, State s) { return ToolbarButton(w, h, s, glyph); });
}

Recipe Boxes(std::vector<BoxLook> looks, Pixels (*paint)(int, int, BoxLook), int used = 0) {
  return Strip([looks, paint](int w, int h, int i) { return paint(w, h, looks[i % looks.size()]); }, used);
}

Recipe Segment(Glyph glyph, bool selected, unsigned corners) {
  return Whole([=](int w, int h) { return SegmentButton(w, h, selected, glyph, corners); });
}

Recipe Nav(Glyph glyph) {
  return States({State::Normal, State::Hover, State::Pressed},
                [glyph](int w, int h, State s) { return NavButton(w, h, s, glyph); });
}

Recipe Glyphic(Glyph glyph, Ink ink) {
  return Whole([=](int w, int h) { return Icon(w, h, glyph, ink); });
}

Recipe Frame(FramePart part) {
  return Whole([part](int w, int h) { return FramePiece(w, h, part); });
}

const std::map<std::wstring, Recipe>& Catalogue() {
  static const std::map<std::wstring, Recipe> catalogue = [] {
    const Theme& t = GetTheme();
    const Ink plain{t.ink, t.accent, t.white};
    const Ink quiet{t.subInk, t.accent, t.white};
    const Ink muted{Mix(t.mutedInk, t.subInk, 0.25f), t.mutedInk, t.white};
    std::map<std::wstring, Recipe> c;

    // Shared skin of the standard controls, in the frame orders the skin cuts.
    c[L"comm_button.png"] =
        States({State::Normal, State::HoverFocused, State::Pressed, State::Disabled, State::Default}, PushButton);
    const std::vector<BoxLook> boxOrder = {{true, true, false}, {true, false, false}, {false, true, false},
                                           {false, false, false}};
    c[L"comm_checkbox.png"] = Boxes(boxOrder, CheckBox);
    c[L"comm_checkbox_select_focus.png"] = Boxes({{true, false, true}}, CheckBox);
    c[L"comm_checkbox_unselect_focus.png"] = Boxes({{false, false, true}}, CheckBox);
    c[L"comm_radiobox.png"] = Boxes(boxOrder, RadioBox, 18);
    c[L"comm_combox.png"] =
        States({State::Normal, State::Hover, State::Pressed, State::Disabled}, DropButton, 18);

    // Main menu button of the plug-in, one file per state.
    c[L"pim_mainmenu_normal.png"] = Whole([](int w, int h) { return MainMenuIcon(w, h, State::Normal); });
    c[L"pim_mainmenu_over.png"] = Whole([](int w, int h) { return MainMenuIcon(w, h, State::Hover); });
    c[L"pim_mainmenu_down.png"] = Whole([](int w, int h) { return MainMenuIcon(w, h, State::Pressed); });
    c[L"pim_mainmenu_disabled.png"] = Whole([](int w, int h) { return MainMenuIcon(w, h, State::Disabled); });

    // Main window: background, tabs, toolbar, search fields, view switches.
    c[L"comm_middle_background.png"] = Whole(MainBackground);
    c[L"pim_tab.png"] = Strip([](int w, int h, int i) { return Tab(w, h, i == 0); });
    c[L"pim_button_add.png"] = Toolbar(glyph::Plus);
    c[L"pim_button_refresh.png"] = Toolbar(glyph::Refresh);
    c[L"pim_button_import_normal.png"] = Toolbar(glyph::Import);
    c[L"pim_button_delete_normal.png"] = Toolbar(glyph::Trash);
    c[L"common_waiting_samll.gif"] = Glyphic(glyph::Spinner, plain);
    c[L"pim1_searchedit_normal.png"] = Whole([](int w, int h) { return SearchField(w, h, false); });
    c[L"pim1_searchedit_select.png"] = Whole([](int w, int h) { return SearchField(w, h, true); });
    c[L"pic_mode_list.png"] = Segment(glyph::ListLines, false, kLeftCorners);
    c[L"pic_mode_list_select.png"] = Segment(glyph::ListLines, true, kLeftCorners);
    c[L"pic_mode_chat.png"] = Segment(glyph::Chat, false, kRightCorners);
    c[L"pic_mode_chat_select.png"] = Segment(glyph::Chat, true, kRightCorners);
    // The calendar's switches stand in a row: list, month, week, day.
    c[L"pim_calendar_list_unsel.png"] = Segment(glyph::ListLines, false, kLeftCorners);
    c[L"pim_calendar_list_sel.png"] = Segment(glyph::ListLines, true, kLeftCorners);
    c[L"pim_calendar_month_unsel.png"] = Segment(glyph::CalendarMonth, false, kNoCorners);
    c[L"pim_calendar_month_sel.png"] = Segment(glyph::CalendarMonth, true, kNoCorners);
    c[L"pim_calendar_week_unsel.png"] = Segment(glyph::CalendarWeek, false, kNoCorners);
    c[L"pim_calendar_week_sel.png"] = Segment(glyph::CalendarWeek, true, kNoCorners);
    c[L"pim_calendar_day_unsel.png"] = Segment(glyph::CalendarDay, false, kRightCorners);
    c[L"pim_calendar_day_sel.png"] = Segment(glyph::CalendarDay, true, kRightCorners);

    // Side trees.
    c[L"pim_tree_bg.png"] = Whole(TreeBackground);
    c[L"pim_treeitem_select.png"] = Whole([](int w, int h) { return TreeItem(w, h, TreeItemKind::Selected); });
    c[L"pim_treeitem_unselectEx.png"] = Whole([](int w, int h) { return TreeItem(w, h, TreeItemKind::Heading); });
    c[L"pim_treeitem_unselect2.png"] = Whole([](int w, int h) { return TreeItem(w, h, TreeItemKind::Plain); });
    c[L"pim_button_groupadd.png"] = Whole([](int w, int h) { return SmallRoundButton(w, h, glyph::PlusSmall); });

    // Module lists.
    c[L"pim_checkbox_unselect.png"] = Boxes({{false, false, false}}, CheckBox);
    c[L"pim_checkbox_select.png"] = Boxes({{true, false, false}}, CheckBox);
    c[L"pim_favorite_select.png"] = Glyphic(glyph::StarFull, Ink{t.ink, t.gold, t.white});
    c[L"pim_favorite_unselect.png"] = Glyphic(glyph::StarEmpty, muted);
    c[L"pim_list_detail_open.png"] = Glyphic(glyph::ChevronDown, quiet);
    c[L"pim_list_detail_close.png"] = Glyphic(glyph::ChevronRight, quiet);
    c[L"pim_list_detail_down.png"] = Glyphic(glyph::ChevronDown, Ink{t.accent, t.accent, t.white});
    c[L"pim_list_detail_up.png"] = Glyphic(glyph::ChevronUp, Ink{t.accent, t.accent, t.white});
    c[L"pim_list_detail.png"] = Glyphic(glyph::Trash, Ink{Darker(t.warm, 0.1f), t.warm, t.white});
    c[L"pim_list_Group_corner.png"] = Glyphic(glyph::GroupCorner, plain);
    c[L"pim_calendar_icon.png"] = Glyphic(glyph::CalendarPage, quiet);
    c[L"comm_listheaer_sep.png"] = Whole(ListHeaderSeparator);
    c[L"comm_listheaer_span.png"] = Whole(ListHeaderSpan);
    c[L"sms_lockicon_lock.png"] = Glyphic(glyph::LockClosed, plain);
    c[L"sms_lockicon_unlock.png"] = Glyphic(glyph::LockOpen, muted);
    c[L"sms_messageicon_readed.png"] = Glyphic(glyph::EnvelopeOpen, muted);
    c[L"sms_messageicon_noread.png"] = Glyphic(glyph::EnvelopeClosed, plain);

    // Dialogs and popups.
    c[L"pim_contactgroup_bg.png"] = Whole([](int w, int h) { return DialogBackground(w, h, 12); });
    c[L"common_jorvhelper_background.png"] = Whole([](int w, int h) { return DialogBackground(w, h, 8); });
    c[L"common_jorvhelper_disinf_group.png"] = Whole(GroupBand);
    c[L"common_close.png"] = States({State::Normal, State::Hover, State::Pressed, State::Disabled}, CloseButton);
    c[L"pim_progress_bg.png"] = Whole(ProgressTrough);
    c[L"pim_progress_front_begin.png"] = Whole([](int w, int h) { return ProgressFill(w, h, ProgressPart::Begin); });
    c[L"pim_progress_front_body.png"] = Whole([](int w, int h) { return ProgressFill(w, h, ProgressPart::Body); });
    c[L"pim_progress_front_end.png"] = Whole([](int w, int h) { return ProgressFill(w, h, ProgressPart::End); });
    c[L"Jorvhelper_newcontact_btn_normal.png"] = Whole([](int w, int h) { return PushButton(w, h, State::Normal); });
    c[L"Jorvhelper_newcontact_btn_nmousein.png"] = Whole([](int w, int h) { return PushButton(w, h, State::Hover); });
    c[L"Jorvhelper_newcontact_btn_down.png"] = Whole([](int w, int h) { return PushButton(w, h, State::Pressed); });

    // Conversation and message detail windows.
    c[L"sms_contact_bigphoto.png"] = Whole(Photo);
    c[L"easydial_nocard.png"] = Whole(NoCard);
    c[L"sms_chart_bk.png"] = Whole([](int w, int h) { return DialogBackground(w, h, 6); });

    // Calendar header buttons.
    c[L"pim_calendar_prevyear.png"] = Nav(glyph::DoubleLeft);
    c[L"pim_calendar_prev.png"] = Nav(glyph::ChevronLeft);
    c[L"pim_calendar_next.png"] = Nav(glyph::ChevronRight);
    c[L"pim_calendar_nextyear.png"] = Nav(glyph::DoubleRight);

    // The nine pieces of a skinned window's frame.
    c[L"comm_frame_topleft.png"] = Frame(FramePart::TopLeft);
    c[L"comm_frame_top.png"] = Frame(FramePart::Top);
    c[L"comm_frame_topright.png"] = Frame(FramePart::TopRight);
    c[L"comm_frame_left.png"] = Frame(FramePart::Left);
    c[L"comm_frame_center.png"] = Frame(FramePart::Centre);
    c[L"comm_frame_right.png"] = Frame(FramePart::Right);
    c[L"comm_frame_bottomleft.png"] = Frame(FramePart::BottomLeft);
    c[L"comm_frame_bottom.png"] = Frame(FramePart::Bottom);
    c[L"comm_frame_bottomright.png"] = Frame(FramePart::BottomRight);
    return c;
  }();
  return catalogue;
}

}  // namespace

Gdiplus::Bitmap* DrawSkinImage(const std::wstring& name, const ImageEntry& entry) {
  if (entry.width <= 0 || entry.height <= 0) return nullptr;
  const auto& catalogue = Catalogue();
  auto recipe = catalogue.find(name);
  // A name the catalogue does not know yet still gets its size and frames,
  // as plain push-button faces, so that a new table row never breaks a screen.
  Pixels drawn = recipe != catalogue.end()
                     ? recipe->second(entry)
                     : States({State::Normal, State::Hover, State::Pressed, State::Disabled}, PushButton)(entry);
  if (drawn.width != entry.width || drawn.height != entry.height) {
    Pixels sized(entry.width, entry.height);
    sized.Place(drawn, 0, 0);
    drawn = std::move(sized);
  }
  return ToBitmap(drawn);
}

}  // namespace tamixres
