#include "content/ReplyDispatch.h"

#include "frame/suite/BaseLibrary.h"

namespace content {

int MatchUri(const std::wstring& uri, std::initializer_list<const wchar_t*> candidates) {
  int index = 0;
  for (const wchar_t* candidate : candidates) {
    if (candidate && uri == candidate) return index;
    ++index;
  }
  return kNoMatch;
}

bool ReplySucceeded(uint32_t status, const char* successLine, const char* failureLine) {
  const char* line = status == 0 ? successLine : failureLine;
  if (line) LOG::I(PIM_INFO_LOG, "%s", line);
  return status == 0;
}

}  // namespace content
