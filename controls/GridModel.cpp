#include "controls/GridModel.h"

std::wstring CQsGridCell::ReadableText() const {
  if (!text.empty() || actions.empty()) return text;
  std::wstring joined;
  for (const CQsGridAction& action : actions) {
    if (action.text.empty()) continue;
    if (!joined.empty()) joined += L' ';
    joined += action.text;
  }
  return joined;
}
