#include "ComposeWindow.h"

#include <commctrl.h>

#include <cstdint>
#include <iterator>
#include <utility>

#include "DialogLook.h"
#include "controls/SkinPaint.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/Module.h"
#include "framework/Text.h"

namespace jorv {
namespace {

constexpr int kCornerRadius = 12;

}  // namespace

LRESULT CScrollingEdit::OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  DefWindowProc(msg, wParam, lParam);
  RECT window = GetWindowRect();
  ::OffsetRect(&window, -window.left, -window.top);
  HDC dc = ::GetWindowDC(m_hWnd);
  PaintBorder(dc, window);
  ::ReleaseDC(m_hWnd, dc);
  return 0;
}

CComposeWindow::CComposeWindow(Setup setup, const SimCardList& cards) : m_setup(std::move(setup)) {
  for (const CSimInfo& card : cards) m_cards.push_back(Card{card.m_cardId, CardLabel(card)});
}

std::wstring CComposeWindow::CardLabel(const CSimInfo& card) {
  const wchar_t* kind = L"pim.unkowncard";
  switch (getDisplayCardType(card)) {
    case 1: kind = L"pim.gnetcard"; break;
    case 2: kind = L"pim.cnetcard"; break;
    case 3: kind = L"pim.wnetcard"; break;
    default: break;
  }
  return wf::FormatText(Text(L"jorvhelper.newsms.cardlabel").c_str(), card.m_cardId, Text(kind).c_str());
}

CComposeWindow::Outcome CComposeWindow::Run(HWND owner) {
  INT_PTR result = DoModal(owner, 0, wf::GetCodeInstance());
  if (result == kSend || result == kSave) return static_cast<Outcome>(result);
  return kCancelled;  // cancelled, or the dialog could not be made
}

LRESULT CComposeWindow::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  SetBackgroundImage(L"common_jorvhelper_background.png");
  SetUpFonts();
  InitSkin();
  std::wstring title = Text(L"jorvhelper.newsms.title");
  SetWindowText(title);  // tests and assistive technology find the window by it
  m_title.SetWindowText(title);
  ::SetDlgItemTextW(m_hWnd, IDC_JORV_COMPOSE_CLOSE, Text(L"common.button.cancel").c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_JORV_COMPOSE_TO_LABEL, Text(L"jorvhelper.newsms.to").c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_JORV_COMPOSE_TEXT_LABEL, Text(L"jorvhelper.newsms.content").c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_JORV_COMPOSE_CARD_LABEL, Text(L"jorvhelper.newsms.card").c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_JORV_COMPOSE_SEND, Text(L"jorvhelper.newsms.send").c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_JORV_COMPOSE_SAVE, Text(L"jorvhelper.newsms.save").c_str());
  ::SetDlgItemTextW(m_hWnd, IDCANCEL, Text(L"common.button.cancel").c_str());

  HWND to = GetDlgItem(IDC_JORV_COMPOSE_TO);
  HWND text = GetDlgItem(IDC_JORV_COMPOSE_TEXT);
  // A group of several hundred contacts still fits; text set by the program
  // is never cut by these limits, only typing is stopped.
  ::SendMessageW(to, EM_LIMITTEXT, 0x7FFFFFFE, 0);
  ::SendMessageW(text, EM_LIMITTEXT, kMaxTextLength, 0);
  std::wstring cue = Text(L"jorvhelper.newsms.tocue");
  ::SendMessageW(to, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(cue.c_str()));
  ::SetWindowTextW(to, m_setup.recipients.c_str());
  ::SetWindowTextW(text, EditFromBody(m_setup.body).c_str());
  if (!m_setup.editable) {
    // An existing message opened for reading: shown as it is, nothing to send or save.
    ::SendMessageW(to, EM_SETREADONLY, TRUE, 0);
    ::SendMessageW(text, EM_SETREADONLY, TRUE, 0);
    ::EnableWindow(GetDlgItem(IDC_JORV_COMPOSE_SAVE), FALSE);
  }
  FillCards();
  PlaceNote();
  UpdateNote();

  if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE)) ::DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
  ApplyOutline();
  HWND focus = m_setup.editable && m_setup.recipients.empty() ? to : text;
  ::SetFocus(focus);
  if (focus == text) ::SendMessageW(text, EM_SETSEL, -1, -1);  // caret after the text, nothing selected
  return FALSE;  // the focus is set
}

void CComposeWindow::SetUpFonts() {
  // The fields take the dialogs' font and the main text colour of the
  // resource library, the title the same font in bold, the notes the body
  // font in the lists' second colour; the other labels keep the skin's default.
  FontChoice dialogFont = FontOf(L"tamix_font_gditwo");
  m_editFont.Reset(MakeFont(dialogFont.face, dialogFont.points, dialogFont.style));
  m_editText = Colour(L"tamix_color_one", m_editText);
  m_editBrush.Reset(::CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF)));
  for (int id : {IDC_JORV_COMPOSE_TO, IDC_JORV_COMPOSE_TEXT, IDC_JORV_COMPOSE_CARD})
    ::SendMessageW(GetDlgItem(id), WM_SETFONT, reinterpret_cast<WPARAM>(m_editFont.Get()), FALSE);

  m_title.SubclassWindow(GetDlgItem(IDC_JORV_COMPOSE_TITLE));
  m_title.SetStateFont(qs::kFallbackState, dialogFont.face, dialogFont.points, dialogFont.style | 1);  // bold
  m_title.SetStateColorFromKey(qs::kFallbackState, L"tamix_color_one");
  m_note.SubclassWindow(GetDlgItem(IDC_JORV_COMPOSE_NOTE));
  m_note.SetStateFontFromKey(qs::kFallbackState, L"tamix_font_gdione");
  m_note.SetStateColorFromKey(qs::kFallbackState, L"tamix_color_eight");
  m_noCard.SubclassWindow(GetDlgItem(IDC_JORV_COMPOSE_NOCARD));
  m_noCard.SetStateFontFromKey(qs::kFallbackState, L"tamix_font_gdione");
  m_noCard.SetStateColorFromKey(qs::kFallbackState, L"tamix_color_eight");

  m_text.SubclassWindow(GetDlgItem(IDC_JORV_COMPOSE_TEXT));
  const int buttons[] = {IDC_JORV_COMPOSE_SEND, IDC_JORV_COMPOSE_SAVE, IDCANCEL};
  for (size_t i = 0; i < std::size(buttons); ++i) {
    if (!m_buttons[i].SubclassWindow(GetDlgItem(buttons[i]))) continue;
    for (int state = qs::kButtonNormal; state < qs::kButtonDisabled; ++state)
      m_buttons[i].SetStateColorFromKey(state, L"tamix_color_one");
    m_buttons[i].SetStateTextColor(qs::kButtonDisabled, skin::theme::kDisabledText);  // Send without a card
  }

  if (m_close.SubclassWindow(GetDlgItem(IDC_JORV_COMPOSE_CLOSE))) {
    m_close.UseCloseBox();
  }
}

void CComposeWindow::FillCards() {
  HWND combo = GetDlgItem(IDC_JORV_COMPOSE_CARD);
  int chosen = 0;
  for (const Card& card : m_cards) {
    auto index = static_cast<int>(::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(card.label.c_str())));
    if (index < 0) continue;
    ::SendMessageW(combo, CB_SETITEMDATA, index, static_cast<LPARAM>(card.id));
    if (card.id == m_setup.preferredCard) chosen = index;
  }
  bool none = m_cards.empty();
  if (!none) ::SendMessageW(combo, CB_SETCURSEL, chosen, 0);
  ::ShowWindow(combo, none ? SW_HIDE : SW_SHOW);
  m_noCard.SetWindowText(none ? Text(L"jorvhelper.newsms.nocard") : std::wstring());
  m_noCard.ShowWindow(none ? SW_SHOW : SW_HIDE);
  // Without a card a message can only be kept as a draft.
  ::EnableWindow(GetDlgItem(IDC_JORV_COMPOSE_SEND), !none && m_setup.editable);
}

void CComposeWindow::PlaceNote() {
  if (m_setup.showNote) return;
  m_note.ShowWindow(SW_HIDE);
  wf::CWindow text(GetDlgItem(IDC_JORV_COMPOSE_TEXT));
  RECT textRect = text.GetRectInParent();
  RECT noteRect = m_note.GetRectInParent();
  text.MoveWindow(textRect.left, textRect.top, textRect.right - textRect.left, noteRect.bottom - textRect.top);
}

void CComposeWindow::UpdateNote() {
  if (!m_setup.showNote) return;
  SmsCount count = CountSms(BodyFromEdit(ItemText(IDC_JORV_COMPOSE_TEXT)));
  m_note.SetWindowText(wf::FormatText(Text(L"jorvhelper.newsms.note").c_str(), count.characters, count.messages));
}

LRESULT CComposeWindow::OnTextChange(WORD, WORD, HWND, BOOL&) {
  UpdateNote();
  return 0;
}

std::wstring CComposeWindow::ItemText(int id) const {
  HWND item = GetDlgItem(id);
  int length = ::GetWindowTextLengthW(item);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = ::GetWindowTextW(item, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

void CComposeWindow::Tell(const std::wstring& text) {
  JorvMessageBox(m_hWnd, text.c_str(), Text(L"common.messagebox.tamixtip").c_str(), JORV_MB_NOTICE, 0, 0);
}

void CComposeWindow::Finish(bool send) {
  if (!m_setup.editable) return;  // a message opened for reading is neither sent nor saved
  ComposeCheck check =
      CheckCompose(ItemText(IDC_JORV_COMPOSE_TO), ItemText(IDC_JORV_COMPOSE_TEXT), send, !m_cards.empty());
  int focus = 0;
  switch (check.problem) {
    case ComposeProblem::kNone:
      break;
    case ComposeProblem::kNoCard:
      Tell(Text(L"jorvhelper.newsms.nocard"));
      return;
    case ComposeProblem::kNoRecipient:
      Tell(Text(L"jorvhelper.newsms.norecipient"));
      focus = IDC_JORV_COMPOSE_TO;
      break;
    case ComposeProblem::kInvalidNumber:
      Tell(wf::FormatText(Text(L"jorvhelper.newsms.badnumber").c_str(), check.recipients.invalid.c_str()));
      focus = IDC_JORV_COMPOSE_TO;
      break;
    case ComposeProblem::kNoText:
      Tell(Text(L"jorvhelper.newsms.notext"));
      focus = IDC_JORV_COMPOSE_TEXT;
      break;
    case ComposeProblem::kTooLong:
      Tell(wf::FormatText(Text(L"jorvhelper.newsms.toolong").c_str(), kMaxMessages));
      focus = IDC_JORV_COMPOSE_TEXT;
      break;
  }
  if (check.problem != ComposeProblem::kNone) {
    if (focus) ::SetFocus(GetDlgItem(focus));
    return;
  }
  m_chosenCard = 0;
  HWND combo = GetDlgItem(IDC_JORV_COMPOSE_CARD);
  auto index = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
  if (index >= 0) m_chosenCard = static_cast<int>(::SendMessageW(combo, CB_GETITEMDATA, index, 0));
  m_accepted = std::move(check);
  EndDialog(send ? kSend : kSave);
}

LRESULT CComposeWindow::OnCtlColorEdit(UINT, WPARAM wParam, LPARAM, BOOL&) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetTextColor(dc, m_editText);
  ::SetBkColor(dc, RGB(0xFF, 0xFF, 0xFF));
  return reinterpret_cast<LRESULT>(m_editBrush.Get());
}

LRESULT CComposeWindow::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  ApplyOutline();
  bHandled = FALSE;
  return 0;
}

void CComposeWindow::ApplyOutline() { skin::ApplyRoundedOutline(m_hWnd, kCornerRadius); }

LRESULT CComposeWindow::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  ::ReleaseCapture();
  ::SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  return 0;
}

}  // namespace jorv
