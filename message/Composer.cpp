#include "message/Composer.h"

#include <algorithm>

#include "controls/ResText.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/Text.h"

namespace Message {

std::wstring CComposer::AppendPhrase(const std::wstring& text, const std::wstring& phrase) {
  std::wstring result = text.substr(0, kPhraseReadLimit) + phrase;
  if (result.size() > static_cast<size_t>(kComposerLimit)) {
    size_t keep = kComposerLimit;
    if (result[keep - 1] >= 0xD800 && result[keep - 1] <= 0xDBFF) --keep;
    result.resize(keep);
  }
  return result;
}

void CComposer::Bind(HWND dialog, int editId, int noteId) {
  m_dialog = dialog;
  m_editId = editId;
  m_noteId = noteId;
}

std::wstring CComposer::Text(int maxChars) const {
  HWND edit = Edit();
  const int length = ::GetWindowTextLengthW(edit);
  const int wanted = maxChars < 0 ? length : std::min(length, maxChars);
  std::wstring text(static_cast<size_t>(wanted) + 1, L'\0');
  const int read = ::GetWindowTextW(edit, text.data(), wanted + 1);
  text.resize(static_cast<size_t>(std::max(read, 0)));
  return text;
}

void CComposer::UpdateNote() {
  if (!m_dialog) return;
  const int count = ::GetWindowTextLengthW(Edit());
  const std::wstring note =
      wf::FormatText(qs::ResText(L"jorvhelper.newsms.note").c_str(), count, count / kCharactersPerMessage);
  ::SetDlgItemTextW(m_dialog, m_noteId, note.c_str());
}

void CComposer::AppendChosenPhrase() {
  std::wstring phrase;
  if (!m_dialog || !JorvSelectPhrase(phrase)) return;
  const std::wstring text = AppendPhrase(Text(kPhraseReadLimit), phrase);
  HWND edit = Edit();
  ::SetWindowTextW(edit, text.c_str());
  ::SendMessageW(edit, EM_SETSEL, text.size(), text.size());
  // A multi-line edit reports no change for text set by a program.
  UpdateNote();
}

bool CComposer::TakeMessage(const std::wstring& number, int32_t cardId, CSMSData& message) {
  const std::wstring text = Text();
  if (text.empty() || number.empty()) return false;
  message = CSMSData{};
  message.m_phoneNumber = number;
  message.m_body = text;
  message.m_cardId = cardId;
  ::SetWindowTextW(Edit(), L"");
  UpdateNote();
  return true;
}

}  // namespace Message
