#include "message/SMSChatWnd.h"

#include <commctrl.h>

#include <algorithm>
#include <unordered_set>

#include "controls/ResText.h"
#include "frame/suite/BaseLibrary.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/ActivationContext.h"
#include "framework/Module.h"
#include "framework/PopupMenu.h"
#include "framework/Text.h"
#include "message/MessageTexts.h"
#include "message/MessageTime.h"

namespace {

using Message::CSMSData;

const wchar_t* const kFrameImages[skin::kFramePieces] = {
    L"comm_frame_topleft.png",    L"comm_frame_top.png",    L"comm_frame_topright.png",
    L"comm_frame_left.png",       L"comm_frame_center.png", L"comm_frame_right.png",
    L"comm_frame_bottomleft.png", L"comm_frame_bottom.png", L"comm_frame_bottomright.png",
};

// The layout map: design client area 773 x 486 pixels. The bubbles and the
// composer stretch; the phrase button keeps to the bottom left; the note, the
// contact and the send area follow the right edge.
constexpr UINT kLT = kLayoutLeft | kLayoutTop;
constexpr UINT kTR = kLayoutTop | kLayoutRight;
constexpr UINT kLB = kLayoutLeft | kLayoutBottom;
constexpr UINT kRB = kLayoutRight | kLayoutBottom;

constexpr CLayoutPane::Row kChatLayout[] = {
    {IDC_CHAT_TITLE, kLT, 12, 12, 540, 18},
    {IDC_CHAT_BUBBLES, kLayoutAll, 12, 31, 547, 300},
    {IDC_CHAT_PHRASE, kLB, 12, 333, 68, 27},
    {IDC_CHAT_NOTE, kRB, 428, 340, 129, 20},
    {IDC_CHAT_EDIT, kLayoutAll, 12, 360, 547, 114},
    {IDC_CHAT_PHOTO, kTR, 595, 41, 139, 139},
    {IDC_CHAT_NAME, kTR, 595, 189, 139, 30},
    {IDC_CHAT_NUMBER, kTR, 595, 220, 139, 30},
    {IDC_CHAT_NOCARD_PROMPT, kRB, 595, 310, 165, 56},
    {IDC_CHAT_NOCARD_IMAGE, kRB, 621, 362, 69, 107},
    {IDC_CHAT_SEND_ONE, kRB, 594, 433, 68, 37},
    {IDC_CHAT_SEND_TWO, kRB, 667, 433, 68, 37},
};

// The send buttons' faces, cut from "comm_button.png" as the shared skin cuts it.
struct ButtonCut {
  int state, x;
};
constexpr ButtonCut kSendFaces[] = {
    {qs::kButtonNormal, 0},   {qs::kButtonFocused, 84},   {qs::kButtonHover, 84},
    {qs::kButtonPressed, 168}, {qs::kButtonDisabled, 252},
};

std::wstring SendLabel(const CSimInfo& card) {
  switch (getDisplayCardType(card)) {
    case 1: return qs::ResText(L"pim.button.twocard");
    case 2: return qs::ResText(L"pim.button.onecard");
    case 3: return qs::ResText(L"pim.button.threecard");
    default: return wf::FormatText(qs::ResText(L"pim.sms.cardname").c_str(), card.m_cardId);
  }
}

void Show(HWND dialog, int id, bool shown) { ::ShowWindow(::GetDlgItem(dialog, id), shown ? SW_SHOW : SW_HIDE); }

}  // namespace

CSMSChatWnd::CSMSChatWnd() = default;

CSMSChatWnd::~CSMSChatWnd() {
  if (m_toolTip && ::IsWindow(m_toolTip)) ::DestroyWindow(m_toolTip);
}

bool CSMSChatWnd::Create(HWND parent, IChatOwner* owner) {
  m_owner = owner;
  // The template names the bubble control's class.
  if (!CQsChartModeContrl::RegisterWindowClass()) {
    LOG::E(PIM_ERROR_LOG, "CSMSChatWnd: the bubble control's window class cannot be registered");
    return false;
  }
  HINSTANCE resources = wf::GetResourceInstance();
  // Common controls 6 for the dialog's controls, as for the main window.
  wf::ScopedActivationContext manifest(resources, 2);
  if (!wf::CDialogImpl<CSMSChatWnd>::Create(parent, 0, resources)) {
    LOG::E(PIM_ERROR_LOG, "CSMSChatWnd: dialog template %d is missing or damaged", IDD_SMS_CHAT);
    return false;
  }
  return true;
}

void CSMSChatWnd::DefineLayout() {
  CLayoutPane* root = GetRootPane();
  if (!root) return;
  root->AddItems(kChatLayout, "CSMSChatWnd");
}

// ---- set-up ----

LRESULT CSMSChatWnd::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  SetFrameImages(kFrameImages);
  m_composer.Bind(m_hWnd, IDC_CHAT_EDIT, IDC_CHAT_NOTE);
  BindControls();
  InitSkin();
  ::SetDlgItemTextW(m_hWnd, IDC_CHAT_PHRASE, qs::ResText(L"pim.sms.comphrase").c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_CHAT_NOCARD_PROMPT, qs::ResText(L"easydial.static.nocardprompt").c_str());
  MakeToolTips();
  SetSimCards(m_cards);
  ShowParty();
  m_composer.UpdateNote();
  return FALSE;  // a hidden child takes no focus
}

LRESULT CSMSChatWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  // The tool tip is owned by the top-level window, which outlives this one.
  if (m_toolTip) ::DestroyWindow(m_toolTip);
  m_toolTip = nullptr;
  bHandled = FALSE;
  return 0;
}

void CSMSChatWnd::BindControls() {
  if (!m_bubbles.SubclassDlgItem(IDC_CHAT_BUBBLES, m_hWnd))
    LOG::E(PIM_ERROR_LOG, "CSMSChatWnd: the bubble control %d is missing", IDC_CHAT_BUBBLES);
  struct TextStatic {
    CQsStatic& control;
    int id;
    const wchar_t* font;
  };
  for (const TextStatic& s : {TextStatic{m_title, IDC_CHAT_TITLE, L"tamix_font_gdione"},
                              TextStatic{m_name, IDC_CHAT_NAME, L"tamix_font_gdione"},
                              TextStatic{m_numberText, IDC_CHAT_NUMBER, L"tamix_font_gditwo"},
                              TextStatic{m_note, IDC_CHAT_NOTE, L"tamix_font_gditwo"},
                              TextStatic{m_prompt, IDC_CHAT_NOCARD_PROMPT, L"tamix_font_gditwo"}}) {
    s.control.SubclassDlgItem(s.id, m_hWnd);
    s.control.SetStateFontFromKey(qs::kFallbackState, s.font);
    s.control.SetStateColorFromKey(qs::kFallbackState, L"tamix_color_one");
  }
  m_photo.SubclassDlgItem(IDC_CHAT_PHOTO, m_hWnd);
  m_photo.SetStateImageFromKey(qs::kFallbackState, L"sms_contact_bigphoto.png");
  m_noCardImage.SubclassDlgItem(IDC_CHAT_NOCARD_IMAGE, m_hWnd);
  m_noCardImage.SetStateImageFromKey(qs::kFallbackState, L"easydial_nocard.png");

  m_phrase.SubclassDlgItem(IDC_CHAT_PHRASE, m_hWnd);
  m_phrase.SetStateFontFromKey(qs::kButtonNormal, L"tamix_font_gditwo");
  for (int k = 0; k < 2; ++k) {
    CQsButton& send = m_send[k];
    send.SubclassDlgItem(k == 0 ? IDC_CHAT_SEND_ONE : IDC_CHAT_SEND_TWO, m_hWnd);
    for (const ButtonCut& cut : kSendFaces) send.SetStateImageFromKey(cut.state, L"comm_button.png", cut.x, 0, 84, 37);
    send.SetStateFontFromKey(qs::kButtonNormal, L"tamix_font_gdione");
    send.SetStateColorFromKey(qs::kButtonNormal, L"tamix_color_one");
  }

  std::wstring face;
  double points = 0;
  int32_t style = 0;
  if (GetFontEx(L"tamix_font_gdione", face, points, style)) {
    m_editFont.Reset(MakeFont(face, points, style));
    ::SendDlgItemMessageW(m_hWnd, IDC_CHAT_EDIT, WM_SETFONT, reinterpret_cast<WPARAM>(m_editFont.Get()), FALSE);
  }
}

void CSMSChatWnd::MakeToolTips() {
  m_toolTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                wf::GetCodeInstance(), nullptr);
  if (!m_toolTip) return;
  std::wstring tip = qs::ResText(L"common.tip.clicksend");
  for (int id : {IDC_CHAT_SEND_ONE, IDC_CHAT_SEND_TWO}) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(m_hWnd, id));
    tool.lpszText = tip.data();
    ::SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// ---- what the controller shows ----

std::vector<chat::BubbleItem> CSMSChatWnd::BubblesOf(const std::vector<CSMSData>& messages, int side) const {
  std::vector<chat::BubbleItem> items;
  items.reserve(messages.size());
  for (const CSMSData& message : messages) {
    chat::BubbleItem item;
    item.text = message.m_body;
    item.time = Message::TimeShown(message.m_time);
    item.side = side ? side : message.m_state == CSMSData::kStateOutgoing ? chat::kSideRight : chat::kSideLeft;
    // Our own messages need no name over them.
    if (item.side == chat::kSideLeft) item.party = Message::PartyShown(message);
    items.push_back(std::move(item));
  }
  return items;
}

void CSMSChatWnd::SetConversation(const std::wstring& number, const std::vector<CSMSData>& messages) {
  m_number = number;
  m_messages = messages;
  // Time texts sort as their times do; equal times keep the order given.
  std::stable_sort(m_messages.begin(), m_messages.end(),
                   [](const CSMSData& a, const CSMSData& b) { return a.m_time < b.m_time; });
  m_menuMessage.reset();
  m_bubbles.SetItems(BubblesOf(m_messages));
  ShowParty();
}

void CSMSChatWnd::AppendReceived(const std::vector<CSMSData>& messages) {
  m_messages.insert(m_messages.end(), messages.begin(), messages.end());
  m_bubbles.AppendItems(BubblesOf(messages, chat::kSideLeft));
}

void CSMSChatWnd::AppendSent(const std::vector<CSMSData>& messages) {
  m_messages.insert(m_messages.end(), messages.begin(), messages.end());
  m_bubbles.AppendItems(BubblesOf(messages, chat::kSideRight));
}

void CSMSChatWnd::RemoveMessages(const IdList& ids) {
  const std::unordered_set<ContentId> gone(ids.begin(), ids.end());
  std::vector<int> indices;
  std::vector<CSMSData> kept;
  kept.reserve(m_messages.size());
  for (size_t i = 0; i < m_messages.size(); ++i) {
    if (gone.count(m_messages[i].m_id))
      indices.push_back(static_cast<int>(i));
    else
      kept.push_back(std::move(m_messages[i]));
  }
  m_messages = std::move(kept);
  if (!indices.empty()) m_bubbles.RemoveItems(indices);
}

void CSMSChatWnd::SetContact(const Contact::CContactData* contact) {
  m_contact = contact ? *contact : Contact::CContactData{};
  ShowParty();
}

void CSMSChatWnd::Clear() {
  m_number.clear();
  m_messages.clear();
  m_contact = Contact::CContactData{};
  m_menuMessage.reset();
  m_bubbles.ClearItems();
  ShowParty();
}

// The title names the other party: the contact's name, else the name the
// messages carry, else the number. The photo is the stock picture: the
// handset's photo data has no format the plug-in can draw.
void CSMSChatWnd::ShowParty() {
  if (!m_hWnd) return;
  std::wstring name = m_contact.m_name[Contact::kDisplayName];
  if (name.empty() && !m_messages.empty()) name = m_messages.back().m_contactName;
  const std::wstring party = name.empty() ? m_number : name;
  const std::wstring title = party.empty() ? std::wstring() : qs::ResText(L"pim.sms.chattip") + Message::TruncateParty(party);
  ::SetDlgItemTextW(m_hWnd, IDC_CHAT_TITLE, title.c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_CHAT_NAME, name.c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_CHAT_NUMBER, m_number.c_str());
}

void CSMSChatWnd::SetSimCards(const SimCardList& cards) {
  m_cards = cards;
  if (!m_hWnd) return;
  // One or two cards: a button for each. None, or more than the two slots
  // the handset has, leaves nothing to choose from.
  const size_t count = m_cards.size();
  const bool usable = count == 1 || count == 2;
  auto card = m_cards.begin();
  for (int k = 0; k < 2; ++k) {
    const bool shown = usable && static_cast<size_t>(k) < count;
    if (shown) m_send[k].SetWindowText(SendLabel(*card++));
    Show(m_hWnd, k == 0 ? IDC_CHAT_SEND_ONE : IDC_CHAT_SEND_TWO, shown);
  }
  Show(m_hWnd, IDC_CHAT_NOCARD_PROMPT, !usable);
  Show(m_hWnd, IDC_CHAT_NOCARD_IMAGE, !usable);
}

int CSMSChatWnd::CheckedCount() const { return static_cast<int>(CheckedMessages().size()); }

std::vector<CSMSData> CSMSChatWnd::CheckedMessages() const {
  const int selected = m_bubbles.GetSelectedIndex();
  if (selected < 0 || static_cast<size_t>(selected) >= m_messages.size()) return {};
  return {m_messages[static_cast<size_t>(selected)]};
}

// ---- composer ----

LRESULT CSMSChatWnd::OnEditChange(WORD, WORD, HWND, BOOL&) {
  m_composer.UpdateNote();
  return 0;
}

LRESULT CSMSChatWnd::OnPhrase(WORD, WORD, HWND, BOOL&) {
  m_composer.AppendChosenPhrase();
  return 0;
}

LRESULT CSMSChatWnd::OnSend(WORD, WORD id, HWND, BOOL&) {
  const size_t index = id == IDC_CHAT_SEND_ONE ? 0 : 1;
  if (m_cards.size() > 2 || index >= m_cards.size() || !m_owner) return 0;
  // Nothing to send, or no one to send it to (no conversation): the text stays.
  CSMSData message;
  if (m_composer.TakeMessage(m_number, std::next(m_cards.begin(), static_cast<long>(index))->m_cardId, message))
    m_owner->SendFromChat(message);
  return 0;
}

// ---- the bubble menu ----

LRESULT CSMSChatWnd::OnContextMenu(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  if (reinterpret_cast<HWND>(wParam) != m_bubbles.m_hWnd || !m_bubbles.m_hWnd) {
    bHandled = FALSE;
    return 0;
  }
  int index = -1;
  POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (lParam == -1) {  // from the keyboard: the selected bubble
    index = m_bubbles.GetSelectedIndex();
    chat::BubbleGeometry g;
    if (!m_bubbles.GetItemGeometry(index, g)) return 0;
    screen = POINT{g.bubble.left + chat::kTextPadding, g.bubble.top + chat::kTextPadding};
    ::ClientToScreen(m_bubbles, &screen);
  } else {
    POINT client = screen;
    ::ScreenToClient(m_bubbles, &client);
    index = m_bubbles.HitTest(client).item;
    m_bubbles.SetSelectedIndex(index);
  }
  if (index < 0 || static_cast<size_t>(index) >= m_messages.size()) return 0;
  m_menuMessage = m_messages[static_cast<size_t>(index)];
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuW(menu, MF_STRING, kCommandDelete, qs::ResText(L"common.delete").c_str());
  ::AppendMenuW(menu, MF_STRING, kCommandForward, qs::ResText(L"pim.menu.transmit").c_str());
  wf::TrackPopup(menu, screen.x, screen.y, m_hWnd);
  ::DestroyMenu(menu);
  return 0;
}

void CSMSChatWnd::Notice(const wchar_t* key) {
  JorvMessageBox(m_hWnd, qs::ResText(key).c_str(), qs::ResText(L"common.caption.tip").c_str(), JORV_MB_NOTICE, 0, 0);
}

LRESULT CSMSChatWnd::OnDeleteBubble(WORD, WORD, HWND, BOOL&) {
  if (!m_menuMessage) return 0;
  const CSMSData message = *m_menuMessage;
  m_menuMessage.reset();
  if (message.m_lock != 0) {
    Notice(L"pim.sms.lockmsg");
    return 0;
  }
  if (message.m_folderId == Message::kFolderSimOne || message.m_folderId == Message::kFolderSimTwo) {
    Notice(L"pim.sms.cardmsg");
    return 0;
  }
  if (JorvMessageBox(m_hWnd, qs::ResText(L"pim.sms.delchatmsg").c_str(),
                     qs::ResText(L"common.messagebox.tamixtip").c_str(), JORV_MB_CONFIRM, 0, 0) != 1)
    return 0;
  if (m_owner) m_owner->DeleteFromChat(IdList{message.m_id});
  return 0;
}

LRESULT CSMSChatWnd::OnForwardBubble(WORD, WORD, HWND, BOOL&) {
  if (!m_menuMessage) return 0;
  const CSMSData message = *m_menuMessage;
  m_menuMessage.reset();
  if (m_owner) m_owner->ForwardFromChat(message);
  return 0;
}
