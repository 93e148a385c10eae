#include "ComposeRules.h"

#include <algorithm>
#include <string_view>

namespace jorv {
namespace {

bool IsSeparator(wchar_t c) { return c == L';' || c == L',' || c == L'\xFF1B' || c == L'\xFF0C'; }

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\x3000'; }

std::wstring Trim(const std::wstring& text) {
  size_t first = 0, last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The GSM 03.38 default alphabet: its basic table outside ASCII letters and
// digits, and its extension table (escape + character: two septets).
constexpr wchar_t kGsmBasic[] =
    L"@\x00A3$\x00A5\x00E8\x00E9\x00F9\x00EC\x00F2\x00C7\n\x00D8\x00F8\r\x00C5\x00E5"
    L"\x0394_\x03A6\x0393\x039B\x03A9\x03A0\x03A8\x03A3\x0398\x039E\x00C6\x00E6\x00DF\x00C9"
    L" !\"#\x00A4%&'()*+,-./:;<=>?\x00A1\x00C4\x00D6\x00D1\x00DC\x00A7\x00BF\x00E4\x00F6\x00F1\x00FC\x00E0";
constexpr wchar_t kGsmExtension[] = L"\f^{}\\[~]|\x20AC";

// How many parts of `part` units the characters fill, each character's units
// (`sizes`) kept in one part.
int Parts(const std::vector<int>& sizes, int part) {
  int parts = 1, used = 0;
  for (int size : sizes) {
    if (used + size > part) {
      ++parts;
      used = 0;
    }
    used += size;
  }
  return parts;
}

}  // namespace

// --- recipients --------------------------------------------------------------

bool IsPhoneNumber(const std::wstring& entry) {
  if (entry.empty() || entry.size() > kMaxNumberLength) return false;
  bool digit = false;
  for (size_t i = 0; i < entry.size(); ++i) {
    wchar_t c = entry[i];
    if (c >= L'0' && c <= L'9') digit = true;
    else if (c == L'+') {
      if (i != 0) return false;
    } else if (c != L'*' && c != L'#' && c != L'-' && c != L' ' && c != L'(' && c != L')') {
      return false;
    }
  }
  return digit;
}

std::wstring NormaliseNumber(const std::wstring& entry) {
  std::wstring number;
  for (wchar_t c : entry)
    if ((c >= L'0' && c <= L'9') || c == L'+' || c == L'*' || c == L'#') number += c;
  return number;
}

Recipients SplitRecipients(const std::wstring& text) {
  Recipients out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = start;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    std::wstring entry = Trim(text.substr(start, end - start));
    if (!entry.empty()) {
      if (!IsPhoneNumber(entry)) {
        if (out.invalid.empty()) out.invalid = entry;
      } else {
        std::wstring number = NormaliseNumber(entry);
        if (std::find(out.numbers.begin(), out.numbers.end(), number) == out.numbers.end())
          out.numbers.push_back(number);
      }
    }
    start = end + 1;
  }
  return out;
}

// --- the character counter -------------------------------------------------------

int GsmSeptets(wchar_t c) {
  if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9')) return 1;
  if (c != 0 && std::wstring_view(kGsmBasic).find(c) != std::wstring_view::npos) return 1;
  if (c != 0 && std::wstring_view(kGsmExtension).find(c) != std::wstring_view::npos) return 2;
  return 0;
}

SmsCount CountSms(const std::wstring& text) {
  SmsCount count;
  std::vector<int> septets, units;
  for (size_t i = 0; i < text.size(); ++i) {
    ++count.characters;
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;
      units.push_back(2);
      count.unicode = true;
      continue;
    }
    units.push_back(1);
    int size = GsmSeptets(text[i]);
    if (size == 0) count.unicode = true;
    septets.push_back(size);
  }
  if (count.characters == 0) return count;
  if (count.unicode) {
    int total = 0;
    for (int size : units) total += size;
    count.messages = total <= kUnicodeSingle ? 1 : Parts(units, kUnicodePart);
  } else {
    int total = 0;
    for (int size : septets) total += size;
    count.messages = total <= kGsmSingle ? 1 : Parts(septets, kGsmPart);
  }
  return count;
}

// --- the message text ------------------------------------------------------------

std::wstring BodyFromEdit(const std::wstring& editText) {
  std::wstring body;
  body.reserve(editText.size());
  for (size_t i = 0; i < editText.size(); ++i) {
    if (editText[i] == L'\r') {
      body += L'\n';
      if (i + 1 < editText.size() && editText[i + 1] == L'\n') ++i;
    } else {
      body += editText[i];
    }
  }
  return body;
}

std::wstring EditFromBody(const std::wstring& body) {
  std::wstring text;
  text.reserve(body.size() + body.size() / 16);
  for (wchar_t c : BodyFromEdit(body)) {
    if (c == L'\n') text += L'\r';
    text += c;
  }
  return text;
}

// --- send and save --------------------------------------------------------------

ComposeCheck CheckCompose(const std::wstring& recipientsText, const std::wstring& editText, bool send, bool hasCard) {
  ComposeCheck check;
  check.recipients = SplitRecipients(recipientsText);
  check.body = BodyFromEdit(editText);
  check.count = CountSms(check.body);
  if (send && !hasCard) check.problem = ComposeProblem::kNoCard;
  else if (!check.recipients.invalid.empty()) check.problem = ComposeProblem::kInvalidNumber;
  else if (check.recipients.numbers.empty()) check.problem = ComposeProblem::kNoRecipient;
  else if (send && Trim(check.body).empty()) check.problem = ComposeProblem::kNoText;
  else if (check.count.messages > kMaxMessages) check.problem = ComposeProblem::kTooLong;
  return check;
}

std::vector<Message::CSMSData> ComposedMessages(const ComposeCheck& check, int cardId, bool saveAsDraft,
                                                const std::wstring& time, const Message::CSMSData* draft) {
  std::wstring draftNumber;
  if (draft) {
    Recipients drafted = SplitRecipients(draft->m_phoneNumber);
    if (drafted.numbers.size() == 1 && drafted.invalid.empty()) draftNumber = drafted.numbers.front();
  }
  std::vector<Message::CSMSData> messages;
  if (check.problem != ComposeProblem::kNone) return messages;
  for (const std::wstring& number : check.recipients.numbers) {
    Message::CSMSData message;
    message.m_phoneNumber = number;
    message.m_body = check.body;
    message.m_time = time;
    message.m_cardId = cardId;
    message.m_read = 1;  // one's own message
    message.m_state = Message::CSMSData::kStateComposed;
    if (saveAsDraft) {
      message.m_folderId = Message::kFolderDrafts;
      message.m_draftMarker = Message::CSMSData::kDraftMarker;
    } else {
      message.m_folderId = Message::kFolderOutbox;
    }
    if (!draftNumber.empty() && number == draftNumber) {
      message.m_contactId = draft->m_contactId;
      message.m_contactName = draft->m_contactName;
    }
    messages.push_back(std::move(message));
  }
  return messages;
}

}  // namespace jorv
