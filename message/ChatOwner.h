// What the conversation and message detail windows ask of the messages
// controller: sending a reply typed in a composer, forwarding a bubble's
// message in the compose dialog, deleting bubbles' messages from the phone,
// and showing the whole conversation with a number.
#pragma once
#include <string>

#include "content/Content.h"
#include "message/MessageData.h"

class IChatOwner {
 public:
  // A reply from the composer: the controller clears its sending-from-compose
  // flag and sends the message (the answer appends it as a sent bubble).
  virtual void SendFromChat(const Message::CSMSData& message) = 0;
  // Forward: the compose dialog with the message's body.
  virtual void ForwardFromChat(const Message::CSMSData& message) = 0;
  // Deletes the messages (already confirmed by the user); the answer removes
  // their bubbles through CSMSChatWnd::RemoveMessages.
  virtual void DeleteFromChat(const IdList& ids) = 0;
  // The conversation record of a message shown in the detail window: the
  // conversation with `number`. A controller without conversations ignores it.
  virtual void ShowConversationOf(const std::wstring& /*number*/) {}

 protected:
  ~IChatOwner() = default;
};
