// How a module's callback takes a reply apart: it compares the reply's URI, as
// a whole string, with the literals the operation can carry, in a fixed order
// (the first match wins, no match means the reply is not for it), then tests
// the status, logging the operation's success or failure line.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

namespace content {

constexpr int kNoMatch = -1;

// The index of the first candidate equal to `uri` (case-sensitive, whole
// string), or kNoMatch.
int MatchUri(const std::wstring& uri, std::initializer_list<const wchar_t*> candidates);

// Writes `successLine` (when status is 0) or `failureLine` to the information
// log and answers whether the reply succeeded. A null line writes nothing.
bool ReplySucceeded(uint32_t status, const char* successLine, const char* failureLine);

}  // namespace content
