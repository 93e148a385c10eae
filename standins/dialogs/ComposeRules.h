// What the compose window decides, as plain code without windows or
// resources, so that tests reach it directly: how the recipients are read,
// how many messages a text makes, whether a send or a save may go ahead, and
// the message records the window answers with.
#pragma once
#include <string>
#include <vector>

#include "message/MessageData.h"

namespace jorv {

// --- recipients --------------------------------------------------------------

// A number may hold digits, '+' (first only), '*', '#', '-', spaces and
// parentheses, at least one digit, and at most this many characters.
constexpr size_t kMaxNumberLength = 40;

struct Recipients {
  // The numbers as they are sent: normalised (NormaliseNumber), in the order
  // typed, each once.
  std::vector<std::wstring> numbers;
  // The first entry that is not a phone number, trimmed as typed; empty when
  // every entry is one.
  std::wstring invalid;
};

// Splits the recipients field on ';' and ',' (and their full-width forms that
// Chinese input methods type), trims blanks around each entry, drops empty
// entries and numbers already listed (compared normalised).
Recipients SplitRecipients(const std::wstring& text);
bool IsPhoneNumber(const std::wstring& entry);
// The number as the handset dials it: digits, '+', '*' and '#' only, so that
// "138 0013-8000" and "13800138000" are one recipient and one conversation.
std::wstring NormaliseNumber(const std::wstring& entry);

// --- the character counter -------------------------------------------------------

// A text in the GSM 7-bit default alphabet goes 160 septets to a single
// message and 153 to each part of a longer one (the rest carries the
// concatenation header); the extension characters (^ { } [ ] ~ \ | € and form
// feed) take two septets and are never split between parts. Any character
// outside the alphabet makes the whole text UCS-2: 70 units for a single
// message, 67 per part, a surrogate pair kept whole.
constexpr int kGsmSingle = 160;
constexpr int kGsmPart = 153;
constexpr int kUnicodeSingle = 70;
constexpr int kUnicodePart = 67;
// The longest text a message may be sent in, in parts.
constexpr int kMaxMessages = 10;
// The most characters the text field takes (10 parts of plain GSM text).
constexpr int kMaxTextLength = kMaxMessages * kGsmPart;

struct SmsCount {
  int characters = 0;    // characters typed; a line break counts one, a surrogate pair one
  int messages = 0;      // messages the text is sent in; 0 for an empty text
  bool unicode = false;  // holds a character outside the GSM 7-bit alphabet
};

// Septets a character takes in the GSM 7-bit default alphabet (1, or 2 for the
// extension table), 0 when it is not in the alphabet.
int GsmSeptets(wchar_t c);
SmsCount CountSms(const std::wstring& text);

// --- the message text ------------------------------------------------------------

// Message bodies keep "\n" line breaks; the edit control wants "\r\n".
std::wstring BodyFromEdit(const std::wstring& editText);
std::wstring EditFromBody(const std::wstring& body);

// --- send and save --------------------------------------------------------------

enum class ComposeProblem {
  kNone,
  kNoCard,         // sending needs a SIM card
  kNoRecipient,    // no number at all
  kInvalidNumber,  // Recipients::invalid names it
  kNoText,         // sending needs a text other than blanks
  kTooLong,        // more than kMaxMessages messages
};

struct ComposeCheck {
  ComposeProblem problem = ComposeProblem::kNone;
  Recipients recipients;
  SmsCount count;
  std::wstring body;  // the text with "\n" line breaks
};

// Checks the fields for a send (`send`) or a save as draft. A draft may have
// an empty text and needs no card; both need at least one valid number, and
// every number typed must be valid.
ComposeCheck CheckCompose(const std::wstring& recipientsText, const std::wstring& editText, bool send, bool hasCard);

// One message per recipient of an accepted check: its number, the text, the
// time text `time`, the chosen card `cardId` (0 for none), read, state
// "composed on the computer and not sent"; a draft goes to the drafts folder
// with the draft marker, a message to send to the outbox. The contact of
// `draft` (may be null) is kept for a recipient whose number is the draft's
// only number.
std::vector<Message::CSMSData> ComposedMessages(const ComposeCheck& check, int cardId, bool saveAsDraft,
                                                const std::wstring& time, const Message::CSMSData* draft);

}  // namespace jorv
