#include "Script.h"

#include <cwchar>
#include <cwctype>
#include <map>
#include <sstream>

namespace shell {
namespace {
// Command → number of arguments. "type" takes the control and then the rest
// of the step as one text, which may hold blanks or be empty.
const std::map<std::wstring, size_t> kCommands = {
    {L"wait", 1}, {L"shot", 1}, {L"connect", 0}, {L"disconnect", 0}, {L"lang", 1}, {L"size", 2},
    {L"click", 1}, {L"tab", 1}, {L"tree", 1},    {L"receive", 1},    {L"exit", 0}, {L"idle", 0},
    {L"type", 2},  {L"row", 2},        {L"command", 1},   {L"until", 1},     {L"press", 2},  {L"fill", 3},
    {L"delay", 1}, {L"pick", 3},  {L"node", 2},  {L"key", 2},  {L"cell", 3},
    {L"menu", 1},
};

// Commands whose every argument is a number of zero or more.
bool TakesNumbers(const std::wstring& command) {
  return command == L"wait" || command == L"size" || command == L"click" || command == L"tab" ||
         command == L"receive" || command == L"row" || command == L"command" || command == L"delay" ||
         command == L"node" || command == L"key" || command == L"cell" || command == L"menu";
}

// Commands whose argument after the window's title key is a number.
bool TakesTitleThenNumber(const std::wstring& command) {
  return command == L"press" || command == L"fill" || command == L"pick";
}

std::wstring Trimmed(const std::wstring& text) {
  size_t first = 0, last = text.size();
  while (first < last && std::iswspace(text[first])) ++first;
  while (last > first && std::iswspace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// Splits "type <id> <text>" into the id and the text after it.
void SplitTypeStep(const std::wstring& part, ScriptStep& step) {
  std::wstring rest = Trimmed(part).substr(step.command.size());
  rest = Trimmed(rest);
  size_t end = 0;
  while (end < rest.size() && !std::iswspace(rest[end])) ++end;
  step.args.clear();
  if (end == 0) return;  // no control: refused below
  step.args.push_back(rest.substr(0, end));
  step.args.push_back(Trimmed(rest.substr(end)));
}
}  // namespace

bool ParseNumber(const std::wstring& text, long& value) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  value = std::wcstol(text.c_str(), &end, 0);
  return end && *end == L'\0';
}

bool ParseScript(const std::wstring& text, std::vector<ScriptStep>& steps, std::wstring& error) {
  steps.clear();
  std::wstringstream all(text);
  std::wstring part;
  while (std::getline(all, part, L';')) {
    std::wstringstream words(part);
    ScriptStep step;
    if (!(words >> step.command)) continue;  // empty step
    for (std::wstring word; words >> word;) step.args.push_back(word);
    auto known = kCommands.find(step.command);
    if (known == kCommands.end()) {
      error = L"unknown command \"" + step.command + L"\"";
      return false;
    }
    if (step.command == L"type") SplitTypeStep(part, step);
    if (step.args.size() != known->second) {
      error = step.command == L"type" ? L"\"type\" takes a control id and a text"
                                      : L"\"" + step.command + L"\" takes " + std::to_wstring(known->second) +
                                            L" argument(s)";
      return false;
    }
    long number = 0;
    const size_t numbers = TakesNumbers(step.command) ? step.args.size() : step.command == L"type" ? 1 : 0;
    if (TakesTitleThenNumber(step.command) && (!ParseNumber(step.args[1], number) || number < 0)) {
      error = L"\"" + step.command + L"\" needs a control id, not \"" + step.args[1] + L"\"";
      return false;
    }
    if (step.command == L"pick" && (!ParseNumber(step.args[2], number) || number < 0)) {
      error = L"\"pick\" needs a row number, not \"" + step.args[2] + L"\"";
      return false;
    }
    for (size_t i = 0; i < numbers; ++i) {
      if (!ParseNumber(step.args[i], number) || number < 0) {
        error = L"\"" + step.command + L"\" needs a number, not \"" + step.args[i] + L"\"";
        return false;
      }
    }
    if (step.command == L"lang" && step.args[0] != L"en" && step.args[0] != L"zhcn" && step.args[0] != L"zhtw") {
      error = L"\"lang\" takes en, zhcn or zhtw";
      return false;
    }
    steps.push_back(std::move(step));
  }
  return true;
}

bool PickListRow(HWND window, int controlId, int row, std::wstring& problem) {
  HWND list = window ? ::GetDlgItem(window, controlId) : nullptr;
  wchar_t className[32] = {};
  if (list) ::GetClassNameW(list, className, 32);
  const std::wstring name = L"the list box " + std::to_wstring(controlId);
  if (!list || _wcsicmp(className, L"ListBox") != 0) {
    problem = L"no list box " + std::to_wstring(controlId) + L" in the window";
    return false;
  }
  // What a user cannot click, a script does not either.
  if (!::IsWindowVisible(list) || !::IsWindowEnabled(list)) {
    problem = name + L" is hidden or disabled";
    return false;
  }
  const auto rows = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
  if (row < 0 || row >= rows) {
    problem = name + L" has " + std::to_wstring(rows) + L" rows, no row " + std::to_wstring(row);
    return false;
  }
  // A user scrolls to the row first.
  ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
  RECT rc{}, client{};
  ::GetClientRect(list, &client);
  if (::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc)) == LB_ERR ||
      !::IntersectRect(&rc, &rc, &client)) {
    problem = L"row " + std::to_wstring(row) + L" of " + name + L" is not on screen";
    return false;
  }
  // Posted, as the mouse's messages come: the list selects the row on the
  // press and tells its window LBN_SELCHANGE on the release.
  const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(list, WM_LBUTTONUP, 0, at);
  return true;
}

}  // namespace shell
