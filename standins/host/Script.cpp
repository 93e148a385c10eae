#include "Script.h"

#include <cwchar>
#include <map>
#include <sstream>

namespace shell {
namespace {
// Command → number of arguments.
const std::map<std::wstring, size_t> kCommands = {
    {L"wait", 1}, {L"shot", 1}, {L"connect", 0}, {L"disconnect", 0}, {L"lang", 1}, {L"size", 2},
    {L"click", 1}, {L"tab", 1}, {L"tree", 1}, {L"receive", 1}, {L"exit", 0},
};
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
    if (step.args.size() != known->second) {
      error = L"\"" + step.command + L"\" takes " + std::to_wstring(known->second) + L" argument(s)";
      return false;
    }
    long number = 0;
    if (step.command == L"wait" || step.command == L"size" || step.command == L"click" || step.command == L"tab" ||
        step.command == L"receive") {
      for (const std::wstring& arg : step.args) {
        if (!ParseNumber(arg, number) || number < 0) {
          error = L"\"" + step.command + L"\" needs a number, not \"" + arg + L"\"";
          return false;
        }
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

}  // namespace shell
