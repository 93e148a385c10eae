// The reply composer that the conversation window and the message detail
// window share: a multi-line edit and its character note in a dialog, the
// phrase picker appending to it, and the message it makes for sending.
#pragma once
#include <windows.h>

#include <string>

#include "message/MessageData.h"

namespace Message {

class CComposer {
 public:
  // The note's divisor: the characters one message holds.
  static constexpr int kCharactersPerMessage = 670;
  // A chosen phrase is appended to this much of the text, and the result cut
  // to kComposerLimit characters.
  static constexpr int kPhraseReadLimit = 1024;
  static constexpr int kComposerLimit = 800;

  // The composer's text with a chosen phrase appended: the first
  // kPhraseReadLimit characters of `text`, the phrase, all cut to
  // kComposerLimit characters (a character of two units kept whole or not at
  // all).
  static std::wstring AppendPhrase(const std::wstring& text, const std::wstring& phrase);

  // The edit and the note of `dialog`.
  void Bind(HWND dialog, int editId, int noteId);

  // The text typed, at most `maxChars` characters of it (-1: all).
  std::wstring Text(int maxChars = -1) const;
  // The note: "jorvhelper.newsms.note" with the count and the count / 670.
  void UpdateNote();
  // Asks the shared phrase picker for a phrase and appends it (the caret
  // after it); nothing when the picker is left without one.
  void AppendChosenPhrase();
  // The message typed, to `number` through card `cardId`; false (and the
  // text kept) when there is nothing to send or no one to send it to.
  bool TakeMessage(const std::wstring& number, int32_t cardId, CSMSData& message);

 private:
  HWND Edit() const { return ::GetDlgItem(m_dialog, m_editId); }

  HWND m_dialog = nullptr;
  int m_editId = 0;
  int m_noteId = 0;
};

}  // namespace Message
