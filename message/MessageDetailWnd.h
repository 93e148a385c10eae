// CMessageDetailWnd: one message of the messages page in a popup of its own:
// the party's photo, name and number, the message as a bubble
// (CQsChartModeContrl, read-only) on the side its state gives, and a composer
// whose reply goes to the message's number through the first SIM card. The
// conversation-record button asks the controller for the whole conversation
// with that number.
//
// Made once, hidden, from the resource module's template, owned by the main
// window's top-level window; ShowMessage fills and raises it, closing it (the
// close box, Escape) only hides it. Its layout map keeps the bubble growing
// with the window and the composer row at the bottom.
//
// Sending, like everything else it asks for, goes through IChatOwner (the
// messages controller); a sent reply is shown by the conversation window, not
// here.
#pragma once
#include <string>

#include "contact/ContactData.h"
#include "content/SimCard.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/SkinWindow.h"
#include "frame/DialogLayout.h"
#include "frame/resmodule/PimResIds.h"
#include "framework/DialogImpl.h"
#include "framework/Gdi.h"
#include "message/ChartModeContrl.h"
#include "message/ChatOwner.h"
#include "message/Composer.h"
#include "message/MessageData.h"

class CMessageDetailWnd : public wf::CDialogImpl<CMessageDetailWnd>,
                          public CQsSkinWindowUI<CMessageDetailWnd, 0>,
                          public CDialogLayout<CMessageDetailWnd> {
 public:
  enum { IDD = IDD_MESSAGE_DETAIL };
  using SkinBase = CQsSkinWindowUI<CMessageDetailWnd, 0>;
  using LayoutBase = CDialogLayout<CMessageDetailWnd>;

  CMessageDetailWnd();
  ~CMessageDetailWnd() override;

  // Creates the window hidden, owned by the top-level window of `owner`;
  // `chatOwner` receives the sends and the record requests (it may be null:
  // they are then dropped).
  bool Create(HWND owner, IChatOwner* chatOwner);
  // Shows `message` with its party's contact (null: none known) and brings
  // the window up. The composer keeps what was typed.
  void ShowMessage(const Message::CSMSData& message, const Contact::CContactData* contact);
  void Hide();
  // The handset's SIM cards; replies go through the first. Without a card the
  // send button is disabled and the no-card prompt shown.
  void SetSimCards(const SimCardList& cards);

  const Message::CSMSData& ShownMessage() const { return m_message; }
  CQsChartModeContrl& Bubble() { return m_bubble; }

  // The layout map (called by the layout base at initialisation).
  void DefineLayout();

  BEGIN_MSG_MAP(CMessageDetailWnd)
    CHAIN_MSG_MAP(LayoutBase)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    COMMAND_HANDLER(IDC_DETAIL_EDIT, EN_CHANGE, OnEditChange)
    COMMAND_ID_HANDLER(IDC_DETAIL_PHRASE, OnPhrase)
    COMMAND_ID_HANDLER(IDC_DETAIL_SEND, OnSend)
    COMMAND_ID_HANDLER(IDC_DETAIL_RECORD, OnRecord)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEditChange(WORD, WORD, HWND, BOOL&);
  LRESULT OnPhrase(WORD, WORD, HWND, BOOL&);
  LRESULT OnSend(WORD, WORD, HWND, BOOL&);
  LRESULT OnRecord(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

  void BindControls();
  // Escape hides the window from whichever control has the focus: the host's
  // message loop runs the dialog manager only for its own children.
  void WatchEscape();
  static LRESULT CALLBACK EscapeProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void ShowParty();

  IChatOwner* m_chatOwner = nullptr;
  Message::CSMSData m_message;
  Contact::CContactData m_contact;
  SimCardList m_cards;

  CQsChartModeContrl m_bubble;
  Message::CComposer m_composer;
  CQsStatic m_photo, m_name, m_number, m_note, m_noCard;
  CQsButton m_phrase, m_record, m_send;
  wf::ScopedFont m_editFont;
};
