// The host program's top-level window, "TamixShell": a bar across the top
// with the plug-in's menu button, the plug-in's window filling the rest, and
// a status bar with the running task, the handset's state and the language. It implements
// the host's callback object for the plug-in.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "PluginSlot.h"
#include "Script.h"
#include "ToastWindow.h"
#include "frame/AppInterface.h"
#include "framework/WindowImpl.h"

namespace shell {

struct ShellOptions {
  std::wstring pluginFolder;   // where PimPlugin.dll and PimRes.dll are
  std::wstring screensFolder;  // where "shot" writes its files
  std::vector<ScriptStep> script;
  bool connected = true;       // the handset is plugged in at start
  std::wstring handsetFile;    // the simulated handset's file; empty: the library's default
};

class CShellWindow : public wf::CWindowImpl<CShellWindow>, public IAppHost {
 public:
  DECLARE_WND_CLASS_EX(L"TamixShellWindow", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_BTNFACE)

  static constexpr int kAppBarHeight = 88;

  explicit CShellWindow(ShellOptions options) : m_options(std::move(options)) {}

  // Creates the window, loads the plug-in and starts it; false with `error`.
  bool Open(std::wstring& error);
  // The exit code for the program: 0, or 2 when an automation step failed.
  int exitCode() const { return m_exitCode; }
  // The plug-in's main window, or null while it is not running.
  HWND PluginWindow() const { return m_plugin.window(); }

  // IAppHost
  HWND GetHostWindow() override { return m_hWnd; }
  void ActivateApp(const std::wstring& viewUri) override;
  void ShowTrayTip(int32_t kind, const std::wstring& text) override;
  void SetRunningTask(const std::wstring& text, bool running) override;

  // The area the plug-in's window fills, in client coordinates.
  RECT PluginArea() const;
  void DrawAppBar(HDC dc, const RECT& rc) const;

  BEGIN_MSG_MAP(CShellWindow)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(kCmdConnect, OnConnect)
    COMMAND_ID_HANDLER(kCmdDisconnect, OnDisconnect)
    COMMAND_ID_HANDLER(kCmdReceiveOne, OnReceive)
    COMMAND_ID_HANDLER(kCmdReceiveSeveral, OnReceive)
    COMMAND_RANGE_HANDLER(kCmdLanguageFirst, kCmdLanguageLast, OnLanguage)
    COMMAND_ID_HANDLER(kCmdAbout, OnAbout)
    COMMAND_ID_HANDLER(kCmdExit, OnExit)
  END_MSG_MAP()

 private:
  enum : WORD {
    kCmdConnect = 100,
    kCmdDisconnect,
    kCmdExit,
    kCmdAbout,
    kCmdReceiveOne,
    kCmdReceiveSeveral,
    kCmdLanguageFirst = 120,  // en, zhcn, zhtw
    kCmdLanguageLast = 122,
  };
  static constexpr UINT_PTR kScriptTimer = 1;
  static constexpr int kStatusBarId = 1;

  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnConnect(WORD, WORD, HWND, BOOL&);
  LRESULT OnDisconnect(WORD, WORD, HWND, BOOL&);
  LRESULT OnReceive(WORD, WORD id, HWND, BOOL&);
  LRESULT OnLanguage(WORD, WORD, HWND, BOOL&);
  LRESULT OnAbout(WORD, WORD, HWND, BOOL&);
  LRESULT OnExit(WORD, WORD, HWND, BOOL&);

  void BuildMenu();
  void UpdateStatus();
  void SetConnected(bool connected);
  void SetLanguage(int language);  // 0 zh-CN, 1 zh-TW, 2 en-US
  bool StartPlugin(std::wstring& error);
  RECT AppButtonRect() const;

  // Automation.
  void RunNextStep();
  bool RunStep(const ScriptStep& step, UINT& delay);
  void Fail(const std::wstring& message);
  // "idle": answers false (with the reason) when the host did not settle.
  // A visible window of this thread titled with the text of `titleKey`.
  HWND FindTitled(const std::wstring& titleKey);
  // A step that waits for a window runs again, at most this many times (50 ms apart).
  static constexpr int kStepRetryLimit = 400;
  int m_stepRetries = 0;
  bool WaitUntilIdle(std::wstring& problem);
  // "type" and "row": false with the reason when the control cannot take it.
  bool TypeInto(int controlId, const std::wstring& text, std::wstring& problem);
  // Clicks item `item`, in the middle of the row or of one column's cell.
  bool ClickRow(int controlId, int item, std::wstring& problem, int column = -1);
  bool ClickNode(int controlId, int index, std::wstring& problem);
  // A control of the plug-in window, or of a window placed inside it.
  static HWND FindControl(HWND plugin, int controlId);
  static HWND LabelEditOr(HWND control);
  static HWND OpenPopupMenu();

  ShellOptions m_options;
  PluginSlot m_plugin;
  CToastWindow m_toast;
  HWND m_status = nullptr;
  std::wstring m_runningTask;
  bool m_hover = false;
  bool m_pressed = false;
  size_t m_nextStep = 0;
  int m_exitCode = 0;
};

// Writes the window tree under `root` (class, text, control id, visibility,
// rectangle in the parent's client coordinates), one window per line,
// indented by depth. Below a tree view come its items, one line each,
// "[item] <text>" indented by level; below a list view "items=<count>" and
// its first kListedRows items, "[row <index>]" and every column's text, tab
// separated. Line breaks and tabs in texts are written as \n, \r and \t.
std::wstring DescribeWindowTree(HWND root);
constexpr int kListedRows = 50;

// The visible top-level windows of this process other than `except` (owned
// popups such as the contact card or a message box), each described as above.
std::wstring DescribeOtherWindows(HWND except);

// Hands one message of the host's queue on: keyboard navigation inside the
// plug-in's dialog window, everything else translated and dispatched.
void DispatchHostMessage(HWND pluginWindow, MSG& msg);

}  // namespace shell
