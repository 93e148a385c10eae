// CSMSChatWnd: the conversation window of the messages page. The messages
// exchanged with one phone number as speech bubbles (CQsChartModeContrl), the
// contact's photo, name and number, and a composer whose text is sent through
// one of the handset's SIM cards. A hidden child dialog of the main window,
// made from the resource module's template and skinned; the main window moves
// it over the message list and its layout map stretches it.
//
// The messages controller fills it (IChatOwner is the controller's side):
// sending a reply, forwarding a bubble's message and deleting bubbles go back
// to the controller, which answers by appending and removing bubbles here.
//
// Bubbles are in time order, oldest at the top; bubble i shows Messages()[i].
// A message whose state is CSMSData::kStateOutgoing is a right-hand bubble,
// every other one a left-hand bubble.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "contact/ContactData.h"
#include "content/Content.h"
#include "content/SimCard.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/SkinWindow.h"
#include "frame/DialogLayout.h"
#include "frame/resmodule/PimResIds.h"
#include "framework/DialogImpl.h"
#include "message/ChartModeContrl.h"
#include "message/ChatOwner.h"
#include "message/Composer.h"
#include "message/MessageData.h"

class CSMSChatWnd : public wf::CDialogImpl<CSMSChatWnd>,
                    public CQsSkinWindowUI<CSMSChatWnd, 1>,
                    public CDialogLayout<CSMSChatWnd> {
 public:
  enum { IDD = IDD_SMS_CHAT };
  using SkinBase = CQsSkinWindowUI<CSMSChatWnd, 1>;
  using LayoutBase = CDialogLayout<CSMSChatWnd>;

  // Commands of the bubble menu.
  static constexpr UINT kCommandDelete = 0x7101;
  static constexpr UINT kCommandForward = 0x7102;

  CSMSChatWnd();
  ~CSMSChatWnd() override;

  // Creates the window hidden, as a child of `parent`; `owner` receives the
  // sends, forwards and deletes (it may be null: they are then dropped).
  bool Create(HWND parent, IChatOwner* owner);

  void SetConversationCount(int count) { m_conversationCount = count; }
  int ConversationCount() const { return m_conversationCount; }
  // Shows the conversation with `number`: its messages as bubbles, in time
  // order, the newest in view.
  void SetConversation(const std::wstring& number, const std::vector<Message::CSMSData>& messages);
  // New messages at the end, as left (received) or right (sent) bubbles,
  // whatever their state says.
  void AppendReceived(const std::vector<Message::CSMSData>& messages);
  void AppendSent(const std::vector<Message::CSMSData>& messages);
  // Removes the bubbles of the messages with these ids.
  void RemoveMessages(const IdList& ids);
  // The contact shown beside the bubbles; null shows no contact.
  void SetContact(const Contact::CContactData* contact);
  // The handset's SIM cards: rebuilds the send buttons.
  void SetSimCards(const SimCardList& cards);
  // No conversation and no contact.
  void Clear();

  const std::wstring& Number() const { return m_number; }
  const std::vector<Message::CSMSData>& Messages() const { return m_messages; }
  const Contact::CContactData& ShownContact() const { return m_contact; }
  // The messages chosen for an export: the selected bubble's.
  int CheckedCount() const;
  std::vector<Message::CSMSData> CheckedMessages() const;
  CQsChartModeContrl& Bubbles() { return m_bubbles; }

  // The layout map (called by the layout base at initialisation).
  void DefineLayout();

  BEGIN_MSG_MAP(CSMSChatWnd)
    CHAIN_MSG_MAP(LayoutBase)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenu)
    COMMAND_HANDLER(IDC_CHAT_EDIT, EN_CHANGE, OnEditChange)
    COMMAND_ID_HANDLER(IDC_CHAT_PHRASE, OnPhrase)
    COMMAND_ID_HANDLER(IDC_CHAT_SEND_ONE, OnSend)
    COMMAND_ID_HANDLER(IDC_CHAT_SEND_TWO, OnSend)
    COMMAND_ID_HANDLER(kCommandDelete, OnDeleteBubble)
    COMMAND_ID_HANDLER(kCommandForward, OnForwardBubble)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnContextMenu(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEditChange(WORD, WORD, HWND, BOOL&);
  LRESULT OnPhrase(WORD, WORD, HWND, BOOL&);
  LRESULT OnSend(WORD, WORD id, HWND, BOOL&);
  LRESULT OnDeleteBubble(WORD, WORD, HWND, BOOL&);
  LRESULT OnForwardBubble(WORD, WORD, HWND, BOOL&);

  void BindControls();
  void MakeToolTips();
  // The bubbles of `messages`, on the side their state gives, or on `side`.
  std::vector<chat::BubbleItem> BubblesOf(const std::vector<Message::CSMSData>& messages, int side = 0) const;
  void ShowParty();
  void Notice(const wchar_t* key);

  IChatOwner* m_owner = nullptr;
  std::wstring m_number;
  std::vector<Message::CSMSData> m_messages;
  Contact::CContactData m_contact;
  SimCardList m_cards;
  int m_conversationCount = 0;
  std::optional<Message::CSMSData> m_menuMessage;  // the bubble the menu was opened on

  CQsChartModeContrl m_bubbles;
  Message::CComposer m_composer;
  CQsStatic m_title, m_name, m_numberText, m_note, m_prompt, m_photo, m_noCardImage;
  CQsButton m_phrase;
  CQsButton m_send[2];
  HWND m_toolTip = nullptr;
  wf::ScopedFont m_editFont;
};
