// The compose window: the recipients, the text with its character note, the
// SIM card to send with, and Send, Save (as a draft) and Cancel. A skinned
// modal dialog of this library, with rounded corners, moved by dragging
// anywhere on it. What may be sent or saved is decided by ComposeRules; the
// window only shows its verdicts and keeps the user's input when it refuses.
#pragma once
#include <string>
#include <vector>

#include "ComposeRules.h"
#include "JorvHelperIds.h"
#include "content/SimCard.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/QsEdit.h"
#include "controls/SkinWindow.h"
#include "framework/DialogImpl.h"
#include "framework/Gdi.h"

namespace jorv {

// The skinned edit with its vertical scroll bar: the platform draws the bar,
// then the skin's border goes over the platform's.
class CScrollingEdit : public CQsEdit {
 public:
  BEGIN_MSG_MAP(CScrollingEdit)
    MESSAGE_HANDLER(WM_NCPAINT, OnNcPaint)
    CHAIN_MSG_MAP(CQsEdit)
  END_MSG_MAP()

 private:
  LRESULT OnNcPaint(UINT, WPARAM, LPARAM, BOOL&);
};

class CComposeWindow : public wf::CDialogImpl<CComposeWindow>, public CQsSkinWindowUI<CComposeWindow, 0> {
 public:
  enum { IDD = IDD_JORV_COMPOSE };
  using SkinBase = CQsSkinWindowUI<CComposeWindow, 0>;
  enum Outcome : INT_PTR { kCancelled = 0, kSend = 1, kSave = 2 };

  struct Setup {
    std::wstring recipients;  // as the draft holds them: numbers separated by ";"
    std::wstring body;        // the draft's text
    int preferredCard = 0;    // the card chosen at first when it is among the cards
    bool editable = true;     // false: an existing message shown for reading
    bool showNote = true;     // the character note under the text
  };

  CComposeWindow(Setup setup, const SimCardList& cards);

  // Runs the dialog modal over `owner` (may be null). kSend or kSave once the
  // fields passed the checks (then Accepted() and ChosenCard() hold them),
  // kCancelled for Cancel, Escape or the close box.
  Outcome Run(HWND owner);
  const ComposeCheck& Accepted() const { return m_accepted; }
  int ChosenCard() const { return m_chosenCard; }

  // What a card is listed as: its card id and its network kind.
  static std::wstring CardLabel(const CSimInfo& card);

  BEGIN_MSG_MAP(CComposeWindow)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_CTLCOLOREDIT, OnCtlColorEdit)
    COMMAND_HANDLER(IDC_JORV_COMPOSE_TEXT, EN_CHANGE, OnTextChange)
    COMMAND_ID_HANDLER(IDC_JORV_COMPOSE_SEND, OnSend)
    COMMAND_ID_HANDLER(IDOK, OnSend)
    COMMAND_ID_HANDLER(IDC_JORV_COMPOSE_SAVE, OnSave)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(IDC_JORV_COMPOSE_CLOSE, OnCancel)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

 private:
  struct Card {
    int id;
    std::wstring label;
  };

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCtlColorEdit(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTextChange(WORD, WORD, HWND, BOOL&);
  LRESULT OnSend(WORD, WORD, HWND, BOOL&) { Finish(true); return 0; }
  LRESULT OnSave(WORD, WORD, HWND, BOOL&) { Finish(false); return 0; }
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&) { EndDialog(kCancelled); return 0; }

  void SetUpFonts();
  void FillCards();
  // Without the note the text takes its room.
  void PlaceNote();
  void UpdateNote();
  // Checks the fields for a send or a save; ends the dialog when they pass,
  // else tells the user why and leaves everything as typed.
  void Finish(bool send);
  void Tell(const std::wstring& text);
  std::wstring ItemText(int id) const;
  void ApplyOutline();

  Setup m_setup;
  std::vector<Card> m_cards;
  ComposeCheck m_accepted;
  int m_chosenCard = 0;
  CQsStatic m_title;
  CQsStatic m_note;
  CQsStatic m_noCard;
  CQsButton m_close;
  CQsButton m_buttons[3];  // Send, Save, Cancel
  CScrollingEdit m_text;
  wf::ScopedFont m_editFont;
  wf::ScopedBrush m_editBrush;
  COLORREF m_editText = RGB(0x1F, 0x3A, 0x5F);
};

}  // namespace jorv
