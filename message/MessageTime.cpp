// Message time texts (MessageTime.h).
#include <windows.h>

#include "framework/Text.h"
#include "message/MessageTime.h"

namespace Message {

std::wstring MessageTimeText(int year, int month, int day, int hour, int minute, int second) {
  return wf::FormatText(L"%04d%02d%02dT%02d%02d%02dZ", year, month, day, hour, minute, second);
}

std::wstring MessageTimeNow() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return MessageTimeText(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

std::wstring TimeShown(const std::wstring& t) {
  if (t.size() <= 13) return t;
  // Characters 13..14 may be cut short in a 14-character text.
  return t.substr(0, 4) + L"-" + t.substr(4, 2) + L"-" + t.substr(6, 2) + L" " + t.substr(9, 2) + L":" +
         t.substr(11, 2) + L":" + t.substr(13, 2);
}

std::wstring DayKey(const std::wstring& timeText) { return TimeShown(timeText).substr(0, 10); }

}  // namespace Message
