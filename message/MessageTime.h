// Message time texts: plain computation, no resources (the simulated handset
// uses them too). Times are local wall-clock time; the Z is a fixed letter.
#pragma once
#include <string>

namespace Message {

// "%04d%02d%02dT%02d%02d%02dZ"; the local wall-clock time when no time is given.
std::wstring MessageTimeText(int year, int month, int day, int hour, int minute, int second);
std::wstring MessageTimeNow();

// "YYYY-MM-DD HH:MM:SS" for a time text longer than 13 characters; shorter
// texts unchanged.
std::wstring TimeShown(const std::wstring& timeText);
// The first 10 characters of the time shown: the day rows are grouped by.
std::wstring DayKey(const std::wstring& timeText);

}  // namespace Message
