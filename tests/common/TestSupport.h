// Helpers shared by the test programs.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// Runs the thread's pending messages until none is left (or the deadline
// passes). Callbacks of worker threads arrive as messages, so tests pump
// before they assert.
void PumpMessages(DWORD maxMilliseconds = 2000);

// Pumps until `done` answers true or the deadline passes; answers `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD maxMilliseconds = 5000);

// A top-level window of a plain class to parent test windows.
HWND CreateTestParent(int width = 800, int height = 600, const wchar_t* title = L"test parent");

// A fresh temporary folder (removed with its contents by the destructor).
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& path() const { return m_path; }
  std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

 private:
  std::wstring m_path;
};

// The folder of the running test program.
std::wstring ProgramFolder();

// Reads a whole file (binary).
std::string ReadFile(const std::wstring& path);

}  // namespace testing_support
