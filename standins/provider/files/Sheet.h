// One worksheet as the spreadsheet formats carry it: rows of cell texts,
// the first row the header. Numbers and dates a spreadsheet program saved
// come back as the text it would show for them.
#pragma once
#include <string>
#include <vector>

namespace files {

struct Sheet {
  std::wstring name;                            // the tab's name
  std::vector<std::vector<std::wstring>> rows;  // rows may be ragged
};

}  // namespace files
