#include "message/MessageDetailWnd.h"

#include <commctrl.h>

#include <algorithm>

#include "controls/ResText.h"
#include "frame/suite/BaseLibrary.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/ActivationContext.h"
#include "framework/Module.h"
#include "framework/Text.h"
#include "message/MessageTexts.h"
#include "message/MessageTime.h"
#include "message/SMSChatWnd.h"

namespace {

using Message::CSMSData;

// The layout map: design client area 558 x 419 pixels. The party sits at the
// top left with the record button at the top right; the bubble takes what the
// window grows by; the phrase button, the note, the composer and the send row
// keep to the bottom.

constexpr UINT kLT = kLayoutLeft | kLayoutTop;
constexpr UINT kLTR = kLayoutLeft | kLayoutTop | kLayoutRight;
constexpr UINT kTR = kLayoutTop | kLayoutRight;
constexpr UINT kLB = kLayoutLeft | kLayoutBottom;
constexpr UINT kRB = kLayoutRight | kLayoutBottom;
constexpr UINT kLRB = kLayoutLeft | kLayoutRight | kLayoutBottom;

constexpr CLayoutPane::Row kDetailLayout[] = {
    {IDC_DETAIL_PHOTO, kLT, 12, 12, 80, 80},
    {IDC_DETAIL_NAME, kLTR, 104, 18, 300, 22},
    {IDC_DETAIL_NUMBER, kLTR, 104, 44, 300, 20},
    {IDC_DETAIL_RECORD, kTR, 446, 12, 100, 28},
    {IDC_DETAIL_BUBBLE, kLayoutAll, 12, 102, 534, 176},
    {IDC_DETAIL_PHRASE, kLB, 12, 286, 68, 27},
    {IDC_DETAIL_NOTE, kRB, 296, 290, 250, 20},
    {IDC_DETAIL_EDIT, kLRB, 12, 318, 534, 56},
    {IDC_DETAIL_NOCARD, kRB, 160, 388, 290, 20},
    {IDC_DETAIL_SEND, kRB, 466, 382, 80, 30},
};

// The controls that may hold the focus, watched for Escape.
constexpr int kFocusable[] = {IDC_DETAIL_BUBBLE, IDC_DETAIL_EDIT, IDC_DETAIL_PHRASE, IDC_DETAIL_RECORD,
                              IDC_DETAIL_SEND};
constexpr UINT_PTR kEscapeWatch = 0x4445;

// The send button's faces, cut from "comm_button.png" as the shared skin cuts it.
struct ButtonCut {
  int state, x;
};
constexpr ButtonCut kSendFaces[] = {
    {qs::kButtonNormal, 0},    {qs::kButtonFocused, 84},  {qs::kButtonHover, 84},
    {qs::kButtonPressed, 168}, {qs::kButtonDisabled, 252},
};

}  // namespace

CMessageDetailWnd::CMessageDetailWnd() = default;
CMessageDetailWnd::~CMessageDetailWnd() = default;

bool CMessageDetailWnd::Create(HWND owner, IChatOwner* chatOwner) {
  m_chatOwner = chatOwner;
  // The template names the bubble control's class.
  if (!CQsChartModeContrl::RegisterWindowClass()) {
    LOG::E(PIM_ERROR_LOG, "CMessageDetailWnd: the bubble control's window class cannot be registered");
    return false;
  }
  HINSTANCE resources = wf::GetResourceInstance();
  // Common controls 6 for the dialog's controls, as for the main window.
  wf::ScopedActivationContext manifest(resources, 2);
  // A popup's owner is a top-level window; the main window is a child of the host's.
  HWND topLevel = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
  if (!wf::CDialogImpl<CMessageDetailWnd>::Create(topLevel, 0, resources)) {
    LOG::E(PIM_ERROR_LOG, "CMessageDetailWnd: dialog template %d is missing or damaged", IDD_MESSAGE_DETAIL);
    return false;
  }
  return true;
}

void CMessageDetailWnd::DefineLayout() {
  CLayoutPane* root = GetRootPane();
  if (!root) return;
  root->AddItems(kDetailLayout, "CMessageDetailWnd");
}

// ---- set-up ----

LRESULT CMessageDetailWnd::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  SetBackgroundImage(L"sms_chart_bk.png");
  m_composer.Bind(m_hWnd, IDC_DETAIL_EDIT, IDC_DETAIL_NOTE);
  BindControls();
  InitSkin();
  ::SetDlgItemTextW(m_hWnd, IDC_DETAIL_PHRASE, qs::ResText(L"pim.sms.comphrase").c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_DETAIL_RECORD, qs::ResText(L"pim.sms.chartrecord").c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_DETAIL_SEND, L"\u53d1\u9001");
  ::SetDlgItemTextW(m_hWnd, IDC_DETAIL_NOCARD, qs::ResText(L"easydial.static.nocardprompt").c_str());
  WatchEscape();
  SetSimCards(m_cards);
  ShowParty();
  m_composer.UpdateNote();
  return FALSE;  // created hidden: no focus to give
}

void CMessageDetailWnd::BindControls() {
  if (!m_bubble.SubclassDlgItem(IDC_DETAIL_BUBBLE, m_hWnd))
    LOG::E(PIM_ERROR_LOG, "CMessageDetailWnd: the bubble control %d is missing", IDC_DETAIL_BUBBLE);
  // One message to read: nothing to select it for.
  m_bubble.SetReadOnly(true);
  struct TextStatic {
    CQsStatic& control;
    int id;
    const wchar_t* font;
  };
  for (const TextStatic& s : {TextStatic{m_name, IDC_DETAIL_NAME, L"tamix_font_gdione"},
                              TextStatic{m_number, IDC_DETAIL_NUMBER, L"tamix_font_gditwo"},
                              TextStatic{m_note, IDC_DETAIL_NOTE, L"tamix_font_gditwo"},
                              TextStatic{m_noCard, IDC_DETAIL_NOCARD, L"tamix_font_gditwo"}}) {
    s.control.SubclassDlgItem(s.id, m_hWnd);
    s.control.SetStateFontFromKey(qs::kFallbackState, s.font);
    s.control.SetStateColorFromKey(qs::kFallbackState, L"tamix_color_one");
  }
  // The stock picture: the handset's photo data has no format the plug-in can draw.
  m_photo.SubclassDlgItem(IDC_DETAIL_PHOTO, m_hWnd);
  m_photo.SetStateImageFromKey(qs::kFallbackState, L"sms_contact_bigphoto.png");

  for (CQsButton* button : {&m_phrase, &m_record}) {
    button->SubclassDlgItem(button == &m_phrase ? IDC_DETAIL_PHRASE : IDC_DETAIL_RECORD, m_hWnd);
    button->SetStateFontFromKey(qs::kButtonNormal, L"tamix_font_gditwo");
  }
  m_send.SubclassDlgItem(IDC_DETAIL_SEND, m_hWnd);
  for (const ButtonCut& cut : kSendFaces) m_send.SetStateImageFromKey(cut.state, L"comm_button.png", cut.x, 0, 84, 37);
  m_send.SetStateFontFromKey(qs::kButtonNormal, L"tamix_font_gdione");
  m_send.SetStateColorFromKey(qs::kButtonNormal, L"tamix_color_one");

  std::wstring face;
  double points = 0;
  int32_t style = 0;
  if (GetFontEx(L"tamix_font_gdione", face, points, style)) {
    m_editFont.Reset(MakeFont(face, points, style));
    ::SendDlgItemMessageW(m_hWnd, IDC_DETAIL_EDIT, WM_SETFONT, reinterpret_cast<WPARAM>(m_editFont.Get()), FALSE);
  }
}

void CMessageDetailWnd::WatchEscape() {
  for (int id : kFocusable)
    ::SetWindowSubclass(::GetDlgItem(m_hWnd, id), EscapeProc, kEscapeWatch, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK CMessageDetailWnd::EscapeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    reinterpret_cast<CMessageDetailWnd*>(data)->Hide();
    return 0;
  }
  if (message == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, EscapeProc, kEscapeWatch);
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

// ---- what the controller shows ----

void CMessageDetailWnd::ShowMessage(const CSMSData& message, const Contact::CContactData* contact) {
  m_message = message;
  m_contact = contact ? *contact : Contact::CContactData{};
  if (!m_hWnd) {
    LOG::E(PIM_ERROR_LOG, "CMessageDetailWnd: a message is shown before the window is made");
    return;
  }
  chat::BubbleItem item;
  item.text = message.m_body;
  item.time = Message::TimeShown(message.m_time);
  item.side = message.m_state == CSMSData::kStateOutgoing ? chat::kSideRight : chat::kSideLeft;
  // Our own messages need no name over them.
  if (item.side == chat::kSideLeft) item.party = Message::PartyShown(message);
  m_bubble.SetItems({std::move(item)}, false);
  ShowParty();
  ShowWindow(SW_SHOW);
  ::BringWindowToTop(m_hWnd);
}

void CMessageDetailWnd::Hide() {
  if (m_hWnd) ShowWindow(SW_HIDE);
}

// The name is the contact's, else the one the message carries; the caption
// names the party by it, or by the number when there is none.
void CMessageDetailWnd::ShowParty() {
  if (!m_hWnd) return;
  std::wstring name = m_contact.m_name[Contact::kDisplayName];
  if (name.empty()) name = m_message.m_contactName;
  ::SetDlgItemTextW(m_hWnd, IDC_DETAIL_NAME, name.c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_DETAIL_NUMBER, m_message.m_phoneNumber.c_str());
  SetWindowText(Message::TruncateParty(name.empty() ? m_message.m_phoneNumber : name).c_str());
}

void CMessageDetailWnd::SetSimCards(const SimCardList& cards) {
  m_cards = cards;
  if (!m_hWnd) return;
  const bool usable = !m_cards.empty();
  m_send.EnableWindow(usable);
  ::ShowWindow(::GetDlgItem(m_hWnd, IDC_DETAIL_NOCARD), usable ? SW_HIDE : SW_SHOW);
}

// ---- composer ----

LRESULT CMessageDetailWnd::OnEditChange(WORD, WORD, HWND, BOOL&) {
  m_composer.UpdateNote();
  return 0;
}

LRESULT CMessageDetailWnd::OnPhrase(WORD, WORD, HWND, BOOL&) {
  m_composer.AppendChosenPhrase();
  return 0;
}

LRESULT CMessageDetailWnd::OnSend(WORD, WORD, HWND, BOOL&) {
  if (m_cards.empty() || !m_chatOwner) return 0;
  // Nothing to send, or no one to send it to: the text stays.
  CSMSData reply;
  if (m_composer.TakeMessage(m_message.m_phoneNumber, m_cards.front().m_cardId, reply)) m_chatOwner->SendFromChat(reply);
  return 0;
}

LRESULT CMessageDetailWnd::OnRecord(WORD, WORD, HWND, BOOL&) {
  if (m_chatOwner && !m_message.m_phoneNumber.empty()) m_chatOwner->ShowConversationOf(m_message.m_phoneNumber);
  return 0;
}

LRESULT CMessageDetailWnd::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
  Hide();
  return 0;
}

LRESULT CMessageDetailWnd::OnCancel(WORD, WORD, HWND, BOOL&) {
  Hide();
  return 0;
}
