// What the conversation window asks of the messages controller: sending a
// reply typed in its composer, forwarding a bubble's message in the compose
// dialog, and deleting bubbles' messages from the phone.
#pragma once
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

 protected:
  ~IChatOwner() = default;
};
